#pragma once

#include "printing/print_job.h"

#include <QPrinter>

namespace ratalia {

// A run on a QPrinter, as QPrintDialog left it.
class QtPrintJob : public PrintJob {
public:
    QtPrintJob() : printer_(QPrinter::HighResolution) {}

    QPrinter& printer() { return printer_; }

    QString fileName() const override
    {
        return printer_.outputFormat() == QPrinter::PdfFormat ? printer_.outputFileName() : QString();
    }
    QPageLayout pageLayout() const override { return printer_.pageLayout(); }
    QPagedPaintDevice& device() override { return printer_; }
    void abort() override { printer_.abort(); }
    bool failed() const override { return printer_.printerState() == QPrinter::Error; }

private:
    QPrinter printer_;
};

} // namespace ratalia
