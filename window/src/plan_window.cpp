#include "window/plan_window.h"

#include "form/program_texts.h"
#include "window/dialog_resources.h"
#include "window/plan_chart_view.h"
#include "window/plan_printout.h"
#include "window/plan_table_model.h"
#include "window/printing_module.h"
#include "window/qt_text.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>
#include <utility>

namespace ratalia {
namespace {

// What the window would like, in device-independent pixels; it never opens
// larger than the screen's free area, less room for the window's frame.
constexpr QSize preferredSize(820, 900);
constexpr QSize frameAllowance(16, 48);

QString defaultPath(const FileKind& kind, std::u16string_view name)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(!documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath())
        .filePath(qtText(name) + QLatin1Char('.') + qtText(kind.extension));
}

// Asks for all its contents' height, as they are now: Qt's own scroll area
// keeps the size its contents first had, and no more than 24 lines.
class FittingScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override
    {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }

protected:
    // Figures come and go with the plan: as tall as the contents now need,
    // up to what the window can spare.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == widget() && event->type() == QEvent::LayoutRequest) {
            setMaximumHeight(sizeHint().height());
            updateGeometry();
        }
        return QScrollArea::eventFilter(watched, event);
    }
};

// A table of whole rows, as both views show them.
QTableView* newTable(QAbstractItemModel* model, QWidget* parent)
{
    auto* table = new QTableView(parent);
    table->setModel(model);
    table->verticalHeader()->hide();
    // Rows of one height: the view places any row without measuring the others.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    // Tab leaves the table for the buttons, as in any dialog; the arrows move inside it.
    table->setTabKeyNavigation(false);
    return table;
}

QPageLayout a4Layout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 15, 18, 15),
                       QPageLayout::Millimeter);
}

} // namespace

PlanWindow::PlanWindow(Warn warn, const NumberText& numbers, QWidget* parent)
    : QWidget(parent, Qt::Window), warn_(std::move(warn)), form_(numbers)
{
    setObjectName(QStringLiteral("PlanWindow"));
    setWindowTitle(qtText(texts::planTitle));
    setAccessibleName(qtText(texts::planTitle));

    auto* layout = new QVBoxLayout(this);
    // The figures and the inputs scroll, where a small screen leaves them too
    // little room, so that the table and the buttons are always in view.
    auto* top = new QWidget;
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    auto* figures = new QHBoxLayout;
    loanFigures_ = new QFormLayout;
    costFigures_ = new QFormLayout;
    repaymentFigures_ = new QFormLayout;
    for (QFormLayout* list : {loanFigures_, costFigures_, repaymentFigures_})
        list->setLabelAlignment(Qt::AlignLeft);
    figures->addLayout(loanFigures_);
    figures->addSpacing(24);
    auto* costsAndRepayment = new QVBoxLayout;
    costsAndRepayment->addLayout(costFigures_);
    costsAndRepayment->addLayout(repaymentFigures_);
    costsAndRepayment->addStretch(1);
    figures->addLayout(costsAndRepayment);
    figures->addStretch(1);
    topLayout->addLayout(figures);
    buildInputs(topLayout, PlanInputGroup::PlanAndCosts, PlanWindowLayout::inputsTitle, "PlanInputs");
    buildInputs(topLayout, PlanInputGroup::EarlyRepayment, PlanWindowLayout::repaymentTitle, "EarlyRepayment");
    auto* scroll = new FittingScrollArea(this);
    scroll->setObjectName(QStringLiteral("Inputs"));
    scroll->setWidget(top);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    layout->addWidget(scroll);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Status"));
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    status_->hide();
    layout->addWidget(status_);

    // Made before the views it holds, so that Tab goes from the inputs to
    // the tabs, to the view shown, to the buttons.
    views_ = new QTabWidget(this);
    views_->setObjectName(QStringLiteral("PlanViews"));
    views_->tabBar()->setObjectName(QStringLiteral("Views"));
    model_ = new PlanTableModel(form_.amounts(), this);
    table_ = newTable(model_, views_);
    table_->setWordWrap(false);

    yearsModel_ = new YearTableModel(form_.amounts(), this);
    auto* yearsPage = new QWidget(views_);
    auto* yearsLayout = new QVBoxLayout(yearsPage);
    yearsLayout->setContentsMargins(0, 0, 0, 0);
    yearsHint_ = new QLabel(qtText(PlanWindowLayout::yearsNeedDates), yearsPage);
    yearsHint_->setObjectName(QStringLiteral("YearsHint"));
    yearsHint_->setWordWrap(true);
    yearsLayout->addWidget(yearsHint_);
    years_ = newTable(yearsModel_, yearsPage);
    years_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    yearsLayout->addWidget(years_, 1);

    chart_ = new PlanChartView(form_.amounts(), views_);

    for (const PlanViewLayout& view : PlanWindowLayout::views()) {
        QWidget* page = view.id == PlanView::Installments ? static_cast<QWidget*>(table_)
                        : view.id == PlanView::Years      ? yearsPage
                                                          : chart_;
        QWidget* shown = view.id == PlanView::Years ? years_ : page;
        shown->setObjectName(QString::fromLatin1(view.objectName));
        shown->setAccessibleName(qtText(view.accessibleName));
        const int index = views_->addTab(page, qtText(view.caption));
        views_->setTabToolTip(index, qtText(view.toolTip));
    }
    layout->addWidget(views_, 1);

    totals_ = new QLabel(this);
    totals_->setObjectName(QStringLiteral("Totals"));
    totals_->setTextFormat(Qt::PlainText);
    totals_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    totals_->setWordWrap(true);
    layout->addWidget(totals_);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("Note"));
    note_->setTextFormat(Qt::PlainText);
    note_->setWordWrap(true);
    layout->addWidget(note_);

    auto* buttons = new QHBoxLayout;
    for (const PlanCommandLayout& command : PlanWindowLayout::commands()) {
        auto* button = new QPushButton(qtText(command.caption), this);
        button->setObjectName(QString::fromLatin1(command.objectName));
        button->setAccessibleName(qtText(command.accessibleName));
        button->setToolTip(qtText(command.toolTip));
        button->setAutoDefault(false);
        if (command.id == PlanCommand::Close)
            buttons->addStretch(1);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, id = command.id] { run(id); });
    }
    layout->addLayout(buttons);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    form_.addObserver(*this);
}

PlanWindow::~PlanWindow() { form_.removeObserver(*this); }

// A group of inputs as the core lays them out: every change goes to the
// model, which works the plan out again.
void PlanWindow::buildInputs(QBoxLayout* into, PlanInputGroup which, std::u16string_view title, const char* name)
{
    auto* group = new QGroupBox(qtText(title), this);
    group->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(group);
    int rows = 0;
    for (const PlanInputLayout& input : PlanWindowLayout::inputsOf(which)) {
        auto* caption = new QLabel(qtText(input.caption), group);
        QWidget* control = nullptr;
        if (input.choice) {
            auto* box = new QComboBox(group);
            const auto options = PlanWindowLayout::choices(input.id, form_.numbers());
            for (const PlanChoice& option : options)
                box->addItem(qtText(option.caption));
            connect(box, &QComboBox::currentIndexChanged, this, [this, id = input.id, options](int k) {
                if (k >= 0)
                    form_.choose(id, options[static_cast<std::size_t>(k)]);
            });
            choices_[input.id] = box;
            control = box;
        } else {
            auto* field = new QLineEdit(group);
            field->setPlaceholderText(qtText(input.placeholder));
            connect(field, &QLineEdit::textChanged, this,
                    [this, id = input.id](const QString& text) { form_.edit(id, text.toStdU16String()); });
            fields_[input.id] = field;
            control = field;
        }
        control->setObjectName(QString::fromLatin1(input.objectName));
        control->setAccessibleName(qtText(input.accessibleName));
        control->setToolTip(qtText(input.toolTip));
        caption->setBuddy(control);
        const int column = input.column * 3;
        grid->addWidget(caption, input.row, column);
        if (input.unit.empty()) {
            grid->addWidget(control, input.row, column + 1, 1, 2);
        } else {
            grid->addWidget(control, input.row, column + 1);
            grid->addWidget(new QLabel(qtText(input.unit), group), input.row, column + 2);
        }
        rows = std::max(rows, input.row + 1);
    }
    if (which == PlanInputGroup::EarlyRepayment) {
        auto* note = new QLabel(qtText(PlanWindowLayout::penaltyNote), group);
        note->setObjectName(QStringLiteral("PenaltyNote"));
        note->setWordWrap(true);
        QFont small = note->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        note->setFont(small);
        grid->addWidget(note, rows, 0, 1, 6);
        // Read with the field it is about.
        if (QLineEdit* penalty = fields_[PlanInput::Penalty])
            penalty->setAccessibleDescription(qtText(PlanWindowLayout::penaltyNote));
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    into->addWidget(group);
}

void PlanWindow::showLoan(const LoanTerms& terms)
{
    status_->hide();
    form_.showLoan(terms);
    if (!placed_)
        fitIntoScreen();
    QWidget::show();
    raise();
    activateWindow();
    // What the user asked to see: the table, ready for the arrow keys.
    table_->setFocus(Qt::OtherFocusReason);
}

void PlanWindow::showFigures(QFormLayout* layout, const std::vector<Figure>& figures)
{
    while (layout->rowCount() > 0)
        layout->removeRow(0);
    const auto value = [this](const Figure& figure) {
        auto* label = new QLabel(qtText(figure.value), this);
        label->setObjectName(QString::fromLatin1(ratalia::objectName(figure.id)));
        label->setAccessibleName(qtText(figure.label));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setWordWrap(wrapsOnTwoLines(figure.id));
        return label;
    };
    for (std::size_t k = 0; k < figures.size(); ++k) {
        const Figure& figure = figures[k];
        auto* label = new QLabel(qtText(figure.label) + QLatin1Char(':'), this);
        QLabel* shown = value(figure);
        label->setBuddy(shown);
        // The TAEG beside the annual rate, as a foglio informativo shows them.
        if (figure.id == FigureId::AnnualRate && k + 1 < figures.size() && figures[k + 1].id == FigureId::Taeg) {
            auto* pair = new QHBoxLayout;
            pair->addWidget(shown);
            pair->addSpacing(16);
            pair->addWidget(new QLabel(qtText(figures[k + 1].label) + QLatin1Char(':'), this));
            pair->addWidget(value(figures[k + 1]));
            pair->addStretch(1);
            layout->addRow(label, pair);
            ++k;
            continue;
        }
        layout->addRow(label, shown);
    }
}

void PlanWindow::planChanged()
{
    showFigures(loanFigures_, form_.loanFigures());
    showFigures(costFigures_, form_.costFigures());
    showFigures(repaymentFigures_, form_.repaymentFigures());
    QStringList totals;
    for (const Figure& total : form_.totals())
        totals << qtText(total.label) + QStringLiteral(": ") + qtText(total.value);
    totals_->setText(totals.join(QStringLiteral("    ")));
    note_->setText(qtText(form_.note()));
    if (form_.message())
        note(*form_.message());
    else
        status_->hide();
    model_->show(form_.plan());
    yearsModel_->show(form_.plan());
    yearsHint_->setVisible(!form_.plan() || !form_.plan()->firstDue());
    chart_->show(form_.plan());
    // The amounts share the width; the number keeps what its largest needs.
    QHeaderView* header = table_->horizontalHeader();
    if (model_->columnCount() > 0) {
        header->setSectionResizeMode(QHeaderView::Stretch);
        header->setSectionResizeMode(0, QHeaderView::Fixed);
        table_->setColumnWidth(0, fontMetrics().horizontalAdvance(QString::number(model_->rowCount() * 10)) + 12);
    }
}

// Inside the free area of the screen the main window is on, whatever the
// scale: at 1.5 on a 1280 × 900 screen 640 × 620 would not fit.
void PlanWindow::fitIntoScreen()
{
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    const QSize size = preferredSize.boundedTo(free.size() - frameAllowance).expandedTo(minimumSizeHint());
    resize(size);
    move(free.left() + std::max(0, (free.width() - size.width() - frameAllowance.width()) / 2),
         free.top() + std::max(0, (free.height() - size.height() - frameAllowance.height()) / 2));
    placed_ = true;
}

PlanView PlanWindow::currentView() const
{
    return PlanWindowLayout::views()[static_cast<std::size_t>(std::max(0, views_->currentIndex()))].id;
}

void PlanWindow::showView(PlanView view)
{
    const auto views = PlanWindowLayout::views();
    for (std::size_t k = 0; k < views.size(); ++k)
        if (views[k].id == view)
            views_->setCurrentIndex(static_cast<int>(k));
}

Text PlanWindow::tabSeparated() const
{
    return plan() ? viewTable(currentView(), *plan(), form_.amounts(), u'\t') : Text();
}

void PlanWindow::run(PlanCommand command)
{
    status_->hide();
    switch (command) {
    case PlanCommand::Copy:
        copy();
        break;
    case PlanCommand::ExportCsv:
        if (const QString path = chooseFile(PlanWindowLayout::csvFile, plan() ? viewFileName(currentView(), *plan())
                                                                              : PlanWindowLayout::defaultFileName);
            !path.isEmpty())
            exportCsv(path);
        break;
    case PlanCommand::Print:
        choosePrinter();
        break;
    case PlanCommand::SavePdf:
        if (const QString path = chooseFile(PlanWindowLayout::pdfFile, PlanWindowLayout::defaultFileName);
            !path.isEmpty())
            savePdf(path);
        break;
    case PlanCommand::Close:
        close();
        break;
    }
}

void PlanWindow::copy() { QGuiApplication::clipboard()->setText(qtText(tabSeparated())); }

QString PlanWindow::chooseFile(const FileKind& kind, std::u16string_view name)
{
    loadDialogResources();
    QFileDialog dialog(this, qtText(kind.dialogTitle), defaultPath(kind, name),
                       qtText(kind.description) + QStringLiteral(" (*.") + qtText(kind.extension) + QLatin1Char(')'));
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog adds the extension before it asks about overwriting; the
    // core's rule makes sure of it whatever dialog the desktop provides.
    dialog.setDefaultSuffix(qtText(kind.extension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return qtText(withExtension(dialog.selectedFiles().first().toStdU16String(), kind));
}

bool PlanWindow::exportCsv(const QString& path)
{
    if (!plan())
        return false;
    const AmountText& amounts = form_.amounts();
    const QByteArray bytes =
        qtText(viewTable(currentView(), *plan(), amounts, csvDelimiter(amounts.decimalSeparator()))).toUtf8();
    // Written beside the target and renamed over it: a failed write leaves
    // the old file, or none, never half of one.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    warn_(notSavedMessage(path.toStdU16String()), u"Esporta CSV");
    return false;
}

bool PlanWindow::savePdf(const QString& path) { return savePdf(path, a4Layout()); }

bool PlanWindow::savePdf(const QString& path, const QPageLayout& layout)
{
    if (!plan())
        return false;
    QSaveFile file(path);
    Outcome outcome = Outcome::Failed;
    if (file.open(QIODevice::WriteOnly)) {
        QPdfWriter writer(&file);
        writer.setTitle(qtText(texts::planTitle));
        writer.setCreator(QStringLiteral("Ratalia"));
        writer.setPageLayout(layout);
        writer.setResolution(300);
        outcome = paintPages(writer);
    }
    // The PDF is written out when its painter ends: only the commit knows
    // whether every byte reached the disk.
    if (outcome == Outcome::Done && file.commit())
        return true;
    file.cancelWriting();
    if (outcome == Outcome::Cancelled)
        note(saveCancelledNote);
    else
        warn_(notSavedMessage(path.toStdU16String()), u"Salva PDF");
    return false;
}

void PlanWindow::choosePrinter()
{
    if (!plan())
        return;
    loadDialogResources();
    const ChoosePrinter choose = printingModule();
    if (!choose) {
        warn_(Text(noPrintingMessage), u"Stampa");
        return;
    }
    const std::unique_ptr<PrintJob> job(
        choose(this, qtText(PlanWindowLayout::printDialogTitle), qtText(texts::planTitle), a4Layout()));
    if (job)
        print(*job);
}

bool PlanWindow::print(PrintJob& job)
{
    if (!plan())
        return false;
    // Printing to a file is saving a PDF, and so whole or not at all.
    if (!job.fileName().isEmpty())
        return savePdf(job.fileName(), job.pageLayout());
    const Outcome outcome = paintPages(job.device());
    if (outcome == Outcome::Cancelled) {
        job.abort();
        note(printCancelledNote);
        return false;
    }
    if (outcome == Outcome::Failed || job.failed()) {
        warn_(Text(printFailedMessage), u"Stampa");
        return false;
    }
    return true;
}

PlanWindow::Outcome PlanWindow::paintPages(QPagedPaintDevice& device)
{
    const PlanReport report = *form_.report();
    const PlanPrintout printout(device, report);
    QPainter painter;
    if (!painter.begin(&device))
        return Outcome::Failed;
    // A long plan (100 000 rows are about 2 000 pages) takes seconds: the
    // window keeps painting meanwhile, shows how far it got, and may stop.
    const auto pages = static_cast<int>(printout.pageCount());
    QProgressDialog progress(qtText(pageProgress(1, printout.pageCount())), qtText(cancelCaption), 0, pages, this);
    progress.setObjectName(QStringLiteral("Progress"));
    progress.setWindowTitle(qtText(texts::planTitle));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    QElapsedTimer sinceShown;
    sinceShown.start();
    for (int k = 0; k < pages; ++k) {
        // A few times a second is enough to keep the windows painting and
        // the count moving, and costs the pages nothing.
        if (k == 0 || sinceShown.elapsed() >= 40) {
            progress.setLabelText(qtText(pageProgress(static_cast<std::size_t>(k) + 1, printout.pageCount())));
            progress.setValue(k);
            sinceShown.restart();
        }
        if (progress.wasCanceled()) {
            painter.end();
            return Outcome::Cancelled;
        }
        if (k > 0 && !device.newPage()) {
            painter.end();
            return Outcome::Failed;
        }
        printout.paintPage(painter, static_cast<std::size_t>(k));
    }
    progress.setValue(pages);
    return painter.end() ? Outcome::Done : Outcome::Failed;
}

void PlanWindow::note(std::u16string_view text)
{
    status_->setText(qtText(text));
    status_->show();
}

} // namespace ratalia
