#include "window/plan_window.h"

#include "core/program_texts.h"
#include "window/plan_printout.h"
#include "window/plan_table_model.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace ratalia {
namespace {

const Text planTitle(texts::planTitle);
constexpr int figureCount = 5;

QString shown(const Text& text) { return QString::fromStdU16String(text); }

QPushButton* button(const QString& caption, const char* objectName, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAccessibleName(QString(caption).remove(QLatin1Char('&')).remove(QChar(u'…')));
    b->setAutoDefault(false);
    return b;
}

// A long plan takes seconds to print (100 000 rows are about 2 000 pages):
// the pointer says so meanwhile.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

Text notSaved(const QString& path)
{
    return u"Impossibile salvare il piano in «" + path.toStdU16String() +
           u"». Il file non è stato scritto: scegliere un'altra cartella o un altro nome e riprovare.";
}

QString defaultPath(const char* extension)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(!documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath())
        .filePath(QStringLiteral("piano-di-ammortamento.") + QLatin1String(extension));
}

} // namespace

PlanWindow::PlanWindow(Warn warn, QWidget* parent) : QWidget(parent, Qt::Window), warn_(std::move(warn))
{
    setObjectName(QStringLiteral("PlanWindow"));
    setWindowTitle(shown(planTitle));
    setAccessibleName(shown(planTitle));

    auto* layout = new QVBoxLayout(this);
    auto* figures = new QFormLayout;
    figures->setLabelAlignment(Qt::AlignLeft);
    const char* figureNames[figureCount] = {"Capital", "Duration", "AnnualRate", "MonthlyRate", "Installment"};
    for (const char* name : figureNames) {
        auto* label = new QLabel(this);
        auto* value = new QLabel(this);
        value->setObjectName(QString::fromLatin1(name));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setBuddy(value);
        figures->addRow(label, value);
        figures_.emplace_back(label, value);
    }
    layout->addLayout(figures);

    model_ = nullptr;
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("Installments"));
    table_->setAccessibleName(QStringLiteral("Rate del piano"));
    table_->verticalHeader()->hide();
    // Rows of one height: the view places any row without measuring the others.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    layout->addWidget(table_, 1);

    totals_ = new QLabel(this);
    totals_->setObjectName(QStringLiteral("Totals"));
    totals_->setTextFormat(Qt::PlainText);
    totals_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(totals_);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("Note"));
    note_->setTextFormat(Qt::PlainText);
    note_->setWordWrap(true);
    layout->addWidget(note_);

    auto* buttons = new QHBoxLayout;
    QPushButton* copyButton = button(QStringLiteral("&Copia"), "Copy", this);
    QPushButton* csvButton = button(QStringLiteral("&Esporta CSV…"), "ExportCsv", this);
    QPushButton* printButton = button(QStringLiteral("&Stampa…"), "Print", this);
    QPushButton* pdfButton = button(QStringLiteral("Salva &PDF…"), "SavePdf", this);
    QPushButton* closeButton = button(QStringLiteral("C&hiudi"), "Close", this);
    copyButton->setToolTip(QStringLiteral("Copia la tabella negli appunti, pronta per un foglio di calcolo"));
    csvButton->setToolTip(QStringLiteral("Salva la tabella in un file CSV"));
    printButton->setToolTip(QStringLiteral("Stampa il piano"));
    pdfButton->setToolTip(QStringLiteral("Salva il piano, pronto da stampare, in un file PDF"));
    for (QPushButton* b : {copyButton, csvButton, printButton, pdfButton})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);

    connect(copyButton, &QPushButton::clicked, this, &PlanWindow::copy);
    connect(csvButton, &QPushButton::clicked, this, &PlanWindow::chooseCsvFile);
    connect(printButton, &QPushButton::clicked, this, &PlanWindow::print);
    connect(pdfButton, &QPushButton::clicked, this, &PlanWindow::choosePdfFile);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    resize(640, 620);
}

void PlanWindow::showPlan(const LoanTerms& terms, AmortizationPlan plan, AmountText amounts, const NumberText& numbers)
{
    amounts_ = amounts;
    loanFigures_ = loanFigures(terms, plan, amounts, numbers);
    for (std::size_t k = 0; k < figures_.size() && k < loanFigures_.size(); ++k) {
        figures_[k].first->setText(shown(loanFigures_[k].label) + QLatin1Char(':'));
        figures_[k].second->setText(shown(loanFigures_[k].value));
        figures_[k].second->setAccessibleName(shown(loanFigures_[k].label));
    }
    QStringList totals;
    for (const Figure& total : planTotals(plan, amounts))
        totals << shown(total.label) + QStringLiteral(": ") + shown(total.value);
    totals_->setText(totals.join(QStringLiteral("    ")));
    note_->setText(shown(differenceNote(plan, amounts)));

    auto* previous = model_;
    model_ = new PlanTableModel(std::move(plan), amounts, this);
    table_->setModel(model_);
    delete previous;
    // The amounts share the width; the number keeps what its largest needs.
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    table_->setColumnWidth(0, fontMetrics().horizontalAdvance(QString::number(model_->rowCount() * 10)) + 12);
    QWidget::show();
    raise();
    activateWindow();
}

const AmortizationPlan* PlanWindow::plan() const { return model_ ? &model_->plan() : nullptr; }

Text PlanWindow::tabSeparated() const { return model_ ? delimitedPlan(model_->plan(), amounts_, u'\t') : Text(); }

void PlanWindow::copy() { QGuiApplication::clipboard()->setText(shown(tabSeparated())); }

bool PlanWindow::exportCsv(const QString& path)
{
    if (!model_)
        return false;
    const QByteArray bytes =
        QString::fromStdU16String(delimitedPlan(model_->plan(), amounts_, csvDelimiter(amounts_.decimalSeparator())))
            .toUtf8();
    // Written beside the target and renamed over it: a failed write leaves
    // the old file, or none, never half of one.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    warn_(notSaved(path), u"Esporta CSV");
    return false;
}

bool PlanWindow::paint(QPagedPaintDevice& device) const
{
    const PlanReport report{model_->plan(), amounts_, loanFigures_, planTotals(model_->plan(), amounts_),
                            differenceNote(model_->plan(), amounts_)};
    return paintPlan(device, report) > 0;
}

bool PlanWindow::savePdf(const QString& path)
{
    if (!model_)
        return false;
    QSaveFile file(path);
    bool painted = false;
    if (file.open(QIODevice::WriteOnly)) {
        const BusyCursor busy;
        QPdfWriter writer(&file);
        writer.setTitle(shown(planTitle));
        writer.setCreator(QStringLiteral("Ratalia"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
        writer.setResolution(300);
        painted = paint(writer);
    }
    if (painted && file.commit())
        return true;
    file.cancelWriting();
    warn_(notSaved(path), u"Salva PDF");
    return false;
}

void PlanWindow::chooseCsvFile()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Esporta il piano in CSV"),
                                                      defaultPath("csv"), QStringLiteral("File CSV (*.csv)"));
    if (!path.isEmpty())
        exportCsv(path);
}

void PlanWindow::choosePdfFile()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Salva il piano in PDF"), defaultPath("pdf"),
                                                      QStringLiteral("File PDF (*.pdf)"));
    if (!path.isEmpty())
        savePdf(path);
}

void PlanWindow::print()
{
    if (!model_)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(shown(planTitle));
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Stampa il piano di ammortamento"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    bool painted = false;
    {
        const BusyCursor busy;
        painted = paint(printer);
    }
    if (!painted)
        warn_(u"Impossibile stampare il piano: la stampante non ha accettato il lavoro.", u"Stampa");
}

} // namespace ratalia
