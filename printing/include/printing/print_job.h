#pragma once

// A print run on one of the system's printers, as the print dialog chose it.
// It comes from a module of its own, which carries Qt's print support, so
// that the program loads that library when the user first prints and not at
// every start.

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;
class QWidget;

namespace ratalia {

class PrintJob {
public:
    virtual ~PrintJob() = default;

    // The PDF file the dialog asked for instead of a printer; empty for a printer.
    virtual QString fileName() const = 0;
    virtual QPageLayout pageLayout() const = 0;
    // Where the pages are painted, for a printer.
    virtual QPagedPaintDevice& device() = 0;
    // Withdraws a run that was stopped, where the printer can.
    virtual void abort() = 0;
    // Whether the printer reported an error.
    virtual bool failed() const = 0;
};

// The module's one entry: shows the print dialog with this title over the
// parent and hands over the run it chose (the caller owns it), or nothing
// when the user cancels.
using ChoosePrinter = PrintJob* (*)(QWidget* parent, const QString& title, const QString& documentName,
                                    const QPageLayout& layout);
inline constexpr const char* choosePrinterEntry = "ratalia_choose_printer";
inline constexpr const char* printingModuleName = "ratalia-printing";

} // namespace ratalia
