#include "printing/qt_print_job.h"

#include <QPrintDialog>

#include <memory>

extern "C" Q_DECL_EXPORT ratalia::PrintJob*
ratalia_choose_printer(QWidget* parent, const QString& title, const QString& documentName, const QPageLayout& layout)
{
    auto job = std::make_unique<ratalia::QtPrintJob>();
    job->printer().setDocName(documentName);
    job->printer().setPageLayout(layout);
    QPrintDialog dialog(&job->printer(), parent);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return job.release();
}

// The signature the program resolves the entry with.
static_assert(std::is_same_v<decltype(&ratalia_choose_printer), ratalia::ChoosePrinter>);
