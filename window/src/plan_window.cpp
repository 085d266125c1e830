#include "window/plan_window.h"

#include "form/program_texts.h"
#include "window/comparison_chart_view.h"
#include "window/dialog_resources.h"
#include "window/plan_chart_view.h"
#include "window/plan_printout.h"
#include "window/plan_table_model.h"
#include "window/printing_module.h"
#include "window/qt_text.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <memory>
#include <numeric>
#include <utility>

namespace ratalia {
namespace {

// Room for the window's frame around its client area, which Qt knows only once it is shown.
constexpr QSize frameAllowance(16, 48);

QString defaultPath(const FileKind& kind, std::u16string_view name)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(!documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath())
        .filePath(qtText(name) + QLatin1Char('.') + qtText(kind.extension));
}

// A table of whole rows, as both views show them.
QTableView* newTable(QAbstractItemModel* model, QWidget* parent)
{
    auto* table = new QTableView(parent);
    table->setModel(model);
    table->verticalHeader()->hide();
    // Rows of one height: the view places any row without measuring the others.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table->horizontalHeader()->setStretchLastSection(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    // Tab leaves the table for the buttons, as in any dialog; the arrows move inside it.
    table->setTabKeyNavigation(false);
    return table;
}

// A label that shows a sentence of the model's: plain text, wrapped.
QLabel* sentence(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

// The file in place of the old one where every byte reached the disk: a
// flush that fails (a full disk) would otherwise be lost in the commit,
// which then puts an empty file in the old one's place.
bool commitWhole(QSaveFile& file)
{
    if (file.flush() && file.commit())
        return true;
    file.cancelWriting();
    return false;
}

QPageLayout a4Layout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 15, 18, 15),
                       QPageLayout::Millimeter);
}

} // namespace

PlanWindow::PlanWindow(Warn warn, FormEvents& mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window), warn_(std::move(warn)), form_(mainWindow.form().numbers(), mainWindow)
{
    setObjectName(QStringLiteral("PlanWindow"));
    setWindowTitle(qtText(texts::planTitle));
    setAccessibleName(qtText(texts::planTitle));
    setMinimumSize(PlanWindowLayout::minimumWidth, PlanWindowLayout::minimumHeight);

    auto* layout = new QVBoxLayout(this);
    auto* parts = new QHBoxLayout;
    parts->addWidget(buildInputs());
    auto* right = new QVBoxLayout;
    keyFigures_ = sentence("KeyFigures", this);
    keyFigures_->setAccessibleName(qtText(PlanWindowLayout::keyFiguresName));
    QFont bold = keyFigures_->font();
    bold.setBold(true);
    keyFigures_->setFont(bold);
    // Two lines kept for it, so that nothing below moves as the figures change.
    keyFigures_->setFixedHeight(2 * keyFigures_->fontMetrics().lineSpacing() + 4);
    right->addWidget(keyFigures_);
    right->addWidget(buildViews(), 1);
    parts->addLayout(right, 1);
    layout->addLayout(parts, 1);

    auto* foot = new QHBoxLayout;
    status_ = sentence("Status", this);
    status_->setFixedHeight(2 * status_->fontMetrics().lineSpacing() + 4);
    // Shown only while it says something: on a small screen its lines go to the table.
    status_->hide();
    foot->addWidget(status_, 1);
    layout->addLayout(foot);
    auto* buttons = new QHBoxLayout;
    for (const PlanCommandLayout& command : PlanWindowLayout::commands()) {
        if (command.id == PlanCommand::StartClean || offersCommand(command.id))
            continue; // in the inputs' column
        auto* button = new QPushButton(qtText(command.caption), this);
        button->setObjectName(QString::fromLatin1(command.objectName));
        button->setAccessibleName(qtText(command.accessibleName));
        button->setToolTip(qtText(command.toolTip));
        button->setAutoDefault(false);
        if (command.id == PlanCommand::Close)
            buttons->addStretch(1);
        buttons->addWidget(button);
        buttons_[command.id] = button;
        connect(button, &QPushButton::clicked, this, [this, id = command.id] { run(id); });
    }
    layout->addLayout(buttons);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    for (const PlanCommandLayout& command : PlanWindowLayout::commands())
        if (!command.shortcut.empty()) {
            auto* key = new QShortcut(QKeySequence(qtText(command.shortcut)), this);
            connect(key, &QShortcut::activated, this, [this, id = command.id] { run(id); });
        }

    // Tab: from the table to the buttons, the inputs in their order, the views' tabs, the view.
    for (const PlanCommand command :
         {PlanCommand::Copy, PlanCommand::ExportCsv, PlanCommand::Print, PlanCommand::SavePdf, PlanCommand::Close})
        tabOrder_.push_back(buttons_[command]);
    tabOrder_.push_back(offers_);
    tabOrder_.push_back(buttons_[PlanCommand::NewOffer]);
    tabOrder_.push_back(buttons_[PlanCommand::RemoveOffer]);
    tabOrder_.push_back(offerName_);
    for (const PlanCommand command : {PlanCommand::OpenOffers, PlanCommand::SaveOffers, PlanCommand::SaveOffersAs})
        tabOrder_.push_back(buttons_[command]);
    for (const PlanInputSpec& spec : planInputSpecs())
        tabOrder_.push_back(spec.listed() ? static_cast<QWidget*>(choices_[spec.id]) : fields_[spec.id]);
    tabOrder_.push_back(buttons_[PlanCommand::StartClean]);
    tabOrder_.push_back(views_->tabBar());
    for (QWidget* view : {static_cast<QWidget*>(table_), static_cast<QWidget*>(years_), static_cast<QWidget*>(chart_),
                          static_cast<QWidget*>(comparisonTable_), static_cast<QWidget*>(comparisonChart_)})
        tabOrder_.push_back(view);

    form_.addObserver(*this);
    planChanged();
}

PlanWindow::~PlanWindow() { form_.removeObserver(*this); }

// The order above, round and round, past whatever is hidden or disabled.
bool PlanWindow::focusNextPrevChild(bool next)
{
    const auto at = std::find_if(tabOrder_.begin(), tabOrder_.end(), [](QWidget* stop) {
        return stop == QApplication::focusWidget() || stop->isAncestorOf(QApplication::focusWidget());
    });
    if (at == tabOrder_.end())
        return QWidget::focusNextPrevChild(next);
    const auto count = static_cast<std::ptrdiff_t>(tabOrder_.size());
    std::ptrdiff_t k = at - tabOrder_.begin();
    for (std::ptrdiff_t step = 1; step < count; ++step) {
        QWidget* stop = tabOrder_[static_cast<std::size_t>(((k + (next ? step : -step)) % count + count) % count)];
        if (stop->isVisible() && stop->isEnabled()) {
            stop->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

// The inputs as the core's table lays them out, section by section: every
// change goes to the model, which works the plan out again.
QWidget* PlanWindow::buildInputs()
{
    auto* column = new QWidget;
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(buildOffers(column));
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    std::optional<PlanSection> current;
    QGridLayout* grid = nullptr;
    QGroupBox* group = nullptr;
    int row = 0;
    for (const PlanInputSpec& spec : planInputSpecs()) {
        if (!current || *current != spec.section) {
            current = spec.section;
            group = new QGroupBox(qtText(sectionTitle(spec.section)), column);
            group->setObjectName(QStringLiteral("Section%1").arg(static_cast<int>(spec.section)));
            grid = new QGridLayout(group);
            grid->setColumnStretch(0, 1);
            grid->setVerticalSpacing(2);
            stack->addWidget(group);
            row = 0;
        }
        QWidget* control = nullptr;
        if (spec.listed()) {
            auto* box = new QComboBox(group);
            // As narrow as the column: a long option shows whole in the list.
            box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            box->setMinimumContentsLength(8);
            box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            for (const Text& caption : choiceCaptions(spec.id, form_.numbers()))
                box->addItem(qtText(caption));
            // The model ignores a choice it already has: mirroring it back changes nothing.
            connect(box, &QComboBox::currentIndexChanged, this, [this, id = spec.id](int k) {
                if (k >= 0)
                    form_.choose(id, static_cast<std::size_t>(k));
            });
            choices_[spec.id] = box;
            control = box;
        } else {
            auto* field = new QLineEdit(group);
            field->setPlaceholderText(qtText(spec.placeholder));
            field->setMaxLength(32767);
            connect(field, &QLineEdit::textEdited, this,
                    [this, id = spec.id](const QString& text) { form_.edit(id, text.toStdU16String()); });
            fields_[spec.id] = field;
            control = field;
        }
        control->setObjectName(QString::fromLatin1(spec.objectName));
        control->setAccessibleName(qtText(spec.accessibleName));
        control->setToolTip(qtText(spec.toolTip));
        if (spec.id == PlanInput::Unit) {
            // Beside the duration it is the unit of.
            grid->addWidget(control, row - 2, 1);
            continue;
        }
        // The caption over its field, the unit beside it, what it read under
        // it: the column stays narrow, and nothing moves as a reading appears.
        auto* caption = new QLabel(qtText(spec.caption), group);
        caption->setBuddy(control);
        grid->addWidget(caption, row++, 0, 1, 2);
        grid->addWidget(control, row, 0);
        if (!spec.unit.empty())
            grid->addWidget(new QLabel(qtText(spec.unit), group), row, 1);
        ++row;
        if (!spec.listed()) {
            auto* reading = new QLabel(group);
            reading->setObjectName(QString::fromLatin1(spec.objectName) + QStringLiteral("Reading"));
            reading->setFont(small);
            reading->setTextFormat(Qt::PlainText);
            reading->setFixedHeight(QFontMetrics(small).lineSpacing());
            // A long reading is cut at the column's edge rather than widening the column past the window.
            reading->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
            reading->setForegroundRole(QPalette::PlaceholderText);
            grid->addWidget(reading, row++, 0, 1, 2);
            readings_[spec.id] = reading;
        }
    }
    // What the law allows, at the foot of the early repayment's section.
    auto* note = sentence("PenaltyNote", group);
    note->setText(qtText(PlanWindowLayout::penaltyNote));
    note->setFont(small);
    grid->addWidget(note, row, 0, 1, 2);

    const PlanCommandLayout& clean = PlanWindowLayout::command(PlanCommand::StartClean);
    auto* startClean = new QPushButton(qtText(clean.caption), column);
    startClean->setObjectName(QString::fromLatin1(clean.objectName));
    startClean->setAccessibleName(qtText(clean.accessibleName));
    startClean->setToolTip(qtText(clean.toolTip));
    startClean->setAutoDefault(false);
    connect(startClean, &QPushButton::clicked, this, [this] { run(PlanCommand::StartClean); });
    buttons_[PlanCommand::StartClean] = startClean;
    auto* cleanRow = new QHBoxLayout;
    cleanRow->addWidget(startClean);
    cleanRow->addStretch(1);
    stack->addLayout(cleanRow);
    notice_ = sentence("Notice", column);
    stack->addWidget(notice_);
    stack->addStretch(1);

    inputs_ = new QScrollArea(this);
    inputs_->setObjectName(QStringLiteral("Inputs"));
    inputs_->setAccessibleName(qtText(PlanWindowLayout::inputsName));
    inputs_->setWidget(column);
    inputs_->setWidgetResizable(true);
    inputs_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    inputs_->setFocusPolicy(Qt::NoFocus);
    inputs_->setFixedWidth(PlanWindowLayout::inputsWidth);
    // The field that takes the focus comes into view.
    connect(qApp, &QApplication::focusChanged, inputs_, [this](QWidget*, QWidget* now) {
        if (now && inputs_->widget()->isAncestorOf(now))
            inputs_->ensureWidgetVisible(now);
    });
    return inputs_;
}

// The offers above the inputs: which is shown, a copy of it, its removal,
// its name, and the file they are kept in.
QWidget* PlanWindow::buildOffers(QWidget* parent)
{
    auto* group = new QGroupBox(qtText(PlanWindowLayout::offersHeading), parent);
    group->setObjectName(QStringLiteral("OffersSection"));
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(2);
    const auto button = [&](PlanCommand id) {
        const PlanCommandLayout& command = PlanWindowLayout::command(id);
        auto* made = new QPushButton(qtText(command.caption), group);
        made->setObjectName(QString::fromLatin1(command.objectName));
        made->setAccessibleName(qtText(command.accessibleName));
        made->setToolTip(qtText(command.toolTip));
        made->setAutoDefault(false);
        connect(made, &QPushButton::clicked, this, [this, id] { run(id); });
        buttons_[id] = made;
        return made;
    };
    auto* caption = new QLabel(qtText(PlanWindowLayout::offersCaption), group);
    offers_ = new QComboBox(group);
    offers_->setObjectName(QStringLiteral("Offers"));
    offers_->setAccessibleName(qtText(PlanWindowLayout::offersName));
    offers_->setToolTip(qtText(PlanWindowLayout::offersToolTip));
    offers_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    offers_->setMinimumContentsLength(8);
    offers_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    caption->setBuddy(offers_);
    connect(offers_, &QComboBox::activated, this, [this](int k) {
        if (k >= 0)
            form_.selectOffer(static_cast<std::size_t>(k));
    });
    grid->addWidget(caption, 0, 0, 1, 3);
    grid->addWidget(offers_, 1, 0);
    grid->addWidget(button(PlanCommand::NewOffer), 1, 1);
    grid->addWidget(button(PlanCommand::RemoveOffer), 1, 2);
    auto* nameCaption = new QLabel(qtText(PlanWindowLayout::offerNameCaption), group);
    offerName_ = new QLineEdit(group);
    offerName_->setObjectName(QStringLiteral("OfferName"));
    offerName_->setAccessibleName(qtText(PlanWindowLayout::offerNameName));
    offerName_->setToolTip(qtText(PlanWindowLayout::offerNameToolTip));
    nameCaption->setBuddy(offerName_);
    connect(offerName_, &QLineEdit::textEdited, this,
            [this](const QString& text) { form_.renameOffer(text.toStdU16String()); });
    grid->addWidget(nameCaption, 2, 0, 1, 3);
    grid->addWidget(offerName_, 3, 0, 1, 3);
    auto* files = new QHBoxLayout;
    for (const PlanCommand id : {PlanCommand::OpenOffers, PlanCommand::SaveOffers, PlanCommand::SaveOffersAs})
        files->addWidget(button(id));
    files->addStretch(1);
    grid->addLayout(files, 4, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    return group;
}

// The offers side by side: the table of figures, the sentence on which is
// cheaper, the debts over time.
QWidget* PlanWindow::buildComparison(QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    comparisonTable_ = new QTableWidget(page);
    comparisonTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    comparisonTable_->setTabKeyNavigation(false);
    comparisonTable_->setWordWrap(false);
    comparisonTable_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    comparisonTable_->verticalHeader()->setDefaultSectionSize(comparisonTable_->fontMetrics().height() + 6);
    layout->addWidget(comparisonTable_, 3);
    verdict_ = sentence("Verdict", page);
    verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(verdict_);
    comparisonChart_ = new ComparisonChartView(form_.amounts(), page);
    comparisonChart_->setObjectName(QStringLiteral("ComparisonChart"));
    comparisonChart_->setAccessibleName(qtText(PlanWindowLayout::comparisonChartName));
    layout->addWidget(comparisonChart_, 2);
    return page;
}

QWidget* PlanWindow::buildViews()
{
    body_ = new QStackedWidget(this);
    views_ = new QTabWidget(body_);
    views_->setObjectName(QStringLiteral("PlanViews"));
    views_->tabBar()->setObjectName(QStringLiteral("Views"));

    auto* summaryScroll = new QScrollArea(views_);
    summaryScroll->setWidgetResizable(true);
    summaryScroll->setFrameShape(QFrame::NoFrame);
    summaryScroll->setFocusPolicy(Qt::NoFocus);
    summary_ = new QWidget;
    summaryGrid_ = new QGridLayout(summary_);
    summaryGrid_->setColumnStretch(1, 1);
    summaryScroll->setWidget(summary_);

    auto* installments = new QWidget(views_);
    auto* installmentsLayout = new QVBoxLayout(installments);
    installmentsLayout->setContentsMargins(0, 0, 0, 0);
    model_ = new PlanTableModel(PlanTable::Kind::Installments, form_.amounts(), this);
    table_ = newTable(model_, installments);
    installmentsLayout->addWidget(table_, 1);
    totals_ = sentence("Totals", installments);
    totals_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    installmentsLayout->addWidget(totals_);
    note_ = sentence("Note", installments);
    installmentsLayout->addWidget(note_);

    auto* yearsPage = new QWidget(views_);
    auto* yearsLayout = new QVBoxLayout(yearsPage);
    yearsLayout->setContentsMargins(0, 0, 0, 0);
    yearsHint_ = sentence("YearsHint", yearsPage);
    yearsHint_->setText(qtText(PlanWindowLayout::yearsNeedDates));
    yearsLayout->addWidget(yearsHint_);
    yearsModel_ = new PlanTableModel(PlanTable::Kind::Years, form_.amounts(), this);
    years_ = newTable(yearsModel_, yearsPage);
    yearsLayout->addWidget(years_, 1);

    chart_ = new PlanChartView(form_.amounts(), views_);
    QWidget* comparisonPage = buildComparison(views_);

    for (const PlanViewLayout& view : PlanWindowLayout::views()) {
        QWidget* page = view.id == PlanView::Summary        ? static_cast<QWidget*>(summaryScroll)
                        : view.id == PlanView::Installments ? installments
                        : view.id == PlanView::Years        ? yearsPage
                        : view.id == PlanView::Chart        ? static_cast<QWidget*>(chart_)
                                                            : comparisonPage;
        QWidget* shown = view.id == PlanView::Summary        ? summary_
                         : view.id == PlanView::Installments ? static_cast<QWidget*>(table_)
                         : view.id == PlanView::Years        ? static_cast<QWidget*>(years_)
                         : view.id == PlanView::Chart        ? static_cast<QWidget*>(chart_)
                                                             : static_cast<QWidget*>(comparisonTable_);
        shown->setObjectName(QString::fromLatin1(view.objectName));
        shown->setAccessibleName(qtText(view.accessibleName));
        const int index = views_->addTab(page, qtText(view.caption));
        views_->setTabToolTip(index, qtText(view.toolTip));
    }
    showView(PlanView::Installments);
    // The commands put out what the view shows: the plan, or the comparison.
    connect(views_, &QTabWidget::currentChanged, this, [this] {
        for (const PlanCommand command :
             {PlanCommand::Copy, PlanCommand::ExportCsv, PlanCommand::Print, PlanCommand::SavePdf})
            buttons_[command]->setEnabled(canExport());
    });
    for (QTableView* table : {table_, years_})
        table->viewport()->installEventFilter(this);

    absence_ = sentence("Absence", body_);
    absence_->setAlignment(Qt::AlignCenter);
    absence_->setMargin(24);
    body_->addWidget(views_);
    body_->addWidget(absence_);
    return body_;
}

void PlanWindow::open(bool withCalculation)
{
    if (withCalculation)
        form_.open();
    if (!placed_)
        place();
    QWidget::show();
    raise();
    activateWindow();
    table_->scrollToTop();
    // What the user asked to see: the table, ready for the arrow keys; where
    // there is none yet, the first input, which chooses what is worked out.
    if (plan() && withCalculation)
        table_->setFocus(Qt::OtherFocusReason);
    else
        choices_[PlanInput::Solve]->setFocus(Qt::OtherFocusReason);
}

void PlanWindow::showEvent(QShowEvent* event)
{
    form_.setShown(true);
    QWidget::showEvent(event);
}

void PlanWindow::hideEvent(QHideEvent* event)
{
    form_.setShown(false);
    QWidget::hideEvent(event);
}

void PlanWindow::showInputs()
{
    for (const auto& [id, field] : fields_) {
        const QString text = qtText(form_.shownText(id));
        if (field->text() != text)
            field->setText(text);
        // The figure worked out from the others is the program's: read only, on the window's ground.
        const bool workedOut = form_.workedOut(id);
        if (field->isReadOnly() != workedOut) {
            field->setReadOnly(workedOut);
            QPalette ground = field->palette();
            ground.setColor(QPalette::Base,
                            workedOut ? palette().color(QPalette::Window) : palette().color(QPalette::Base));
            field->setPalette(ground);
        }
        const auto reading = form_.reading(id);
        QLabel* shown = readings_[id];
        shown->setText(
            reading ? (reading->empty() || workedOut ? qtText(*reading) : QStringLiteral("= ") + qtText(*reading))
                    : QStringLiteral("?"));
        field->setAccessibleDescription(id == PlanInput::Penalty ? qtText(PlanWindowLayout::penaltyNote)
                                                                 : shown->text());
    }
    for (const auto& [id, box] : choices_) {
        const auto shown = static_cast<int>(form_.shownChoice(id));
        if (box->currentIndex() != shown)
            box->setCurrentIndex(shown);
    }
}

void PlanWindow::showFigures()
{
    while (QLayoutItem* item = summaryGrid_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int row = 0;
    const auto group = [&](std::u16string_view heading, const std::vector<Figure>& figures) {
        if (figures.empty())
            return;
        auto* title = new QLabel(qtText(heading), summary_);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        summaryGrid_->addWidget(title, row++, 0, 1, 2);
        for (const Figure& figure : figures) {
            auto* label = new QLabel(qtText(figure.label) + QLatin1Char(':'), summary_);
            auto* value = new QLabel(qtText(figure.value), summary_);
            value->setObjectName(QString::fromLatin1(ratalia::objectName(figure.id)));
            // A screen reader says what the figure is and what it is worth.
            value->setAccessibleName(qtText(figure.label) + QStringLiteral(": ") + qtText(figure.value));
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            value->setWordWrap(wrapsOnTwoLines(figure.id));
            label->setBuddy(value);
            summaryGrid_->addWidget(label, row, 0, Qt::AlignTop);
            summaryGrid_->addWidget(value, row++, 1);
        }
        summaryGrid_->setRowMinimumHeight(row++, fontMetrics().height() / 2);
    };
    group(PlanWindowLayout::loanHeading, form_.loanFigures());
    group(PlanWindowLayout::costsHeading, form_.costFigures());
    group(PlanWindowLayout::repaymentHeading, form_.repaymentFigures());
    summaryGrid_->setRowStretch(row, 1);

    keyFigures_->setText(qtText(keyFiguresLine(form_.figures())));
}

void PlanWindow::showOffers()
{
    const auto count = static_cast<int>(form_.offerCount());
    while (offers_->count() > count)
        offers_->removeItem(offers_->count() - 1);
    for (int k = 0; k < count; ++k) {
        const QString name = qtText(form_.offerName(static_cast<std::size_t>(k)));
        if (k == offers_->count())
            offers_->addItem(name);
        else if (offers_->itemText(k) != name)
            offers_->setItemText(k, name);
    }
    offers_->setCurrentIndex(static_cast<int>(form_.currentOffer()));
    const QString name = qtText(form_.offerName(form_.currentOffer()));
    if (offerName_->text() != name)
        offerName_->setText(name);
    buttons_[PlanCommand::RemoveOffer]->setEnabled(count > 1);
    setWindowTitle(qtText(form_.title()));
}

void PlanWindow::showComparison()
{
    const OfferComparison comparison = form_.comparison();
    comparisonTable_->clear();
    comparisonTable_->setColumnCount(static_cast<int>(comparison.names.size()));
    comparisonTable_->setRowCount(static_cast<int>(comparison.rows.size()));
    QStringList names;
    for (const Text& name : comparison.names)
        names << qtText(name);
    comparisonTable_->setHorizontalHeaderLabels(names);
    QStringList labels;
    for (const ComparisonRow& row : comparison.rows)
        labels << qtText(row.label);
    comparisonTable_->setVerticalHeaderLabels(labels);
    for (std::size_t r = 0; r < comparison.rows.size(); ++r) {
        const ComparisonRow& row = comparison.rows[r];
        const std::string_view id = row.id;
        for (std::size_t c = 0; c < row.values.size(); ++c) {
            auto* item = new QTableWidgetItem(qtText(row.values[c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // The cheapest stands out in the rows that make it so.
            if ((id == "Taeg" && comparison.lowestRate[c]) || (id == "CostOfCredit" && comparison.lowestCost[c])) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            comparisonTable_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    comparisonTable_->resizeColumnsToContents();
    Text said = comparison.verdict;
    for (const Text& note : comparison.notes)
        said += u"\n" + note;
    verdict_->setText(qtText(said));
    comparisonChart_->show(comparison);
}

bool PlanWindow::comparing() const { return currentView() == PlanView::Comparison; }

// The comparison goes out whenever there are offers to compare; the plan only while every input was read.
bool PlanWindow::canExport() const { return comparing() ? form_.offerCount() > 0 : form_.canExport(); }

void PlanWindow::planChanged()
{
    showOffers();
    showComparison();
    showInputs();
    showFigures();
    const AmortizationPlan* shown = plan();
    totals_->setText(qtText(totalsLine(form_.totals())));
    note_->setText(qtText(form_.note()));
    showStatus(form_.error() ? qtText(*form_.error()) : QString());
    notice_->setText(form_.notice() ? qtText(*form_.notice()) : QString());
    // Where the loan has no plan, why, in the table's place.
    if (shown) {
        body_->setCurrentWidget(views_);
        absence_->clear();
    } else {
        absence_->setText(form_.refusal() ? qtText(*form_.refusal()) : qtText(PlanWindowLayout::noLoanYet));
        body_->setCurrentWidget(absence_);
    }
    // A new loan opens at its top: scrolled there before its rows come, which keep the place.
    if (form_.loansShown() != loansShown_) {
        loansShown_ = form_.loansShown();
        table_->scrollToTop();
        years_->scrollToTop();
    }
    model_->show(shown);
    yearsModel_->show(shown);
    yearsHint_->setVisible(!shown || !shown->firstDue());
    chart_->show(shown);
    fitColumns(table_);
    fitColumns(years_);
    // Nothing goes out as if it were the plan on screen while an input is wrong.
    for (const PlanCommand command :
         {PlanCommand::Copy, PlanCommand::ExportCsv, PlanCommand::Print, PlanCommand::SavePdf})
        buttons_[command]->setEnabled(canExport());
}

// Each column as wide as its title's longest line and its widest amount;
// what the view has left over shared among them. Never a title cut: a
// narrow view scrolls instead.
void PlanWindow::fitColumns(QTableView* table) const
{
    auto* model = static_cast<PlanTableModel*>(table->model());
    if (!model->table() || model->table()->columnCount() == 0)
        return;
    const PlanTable& shown = *model->table();
    const QFontMetrics cells(table->font());
    const QFontMetrics titles(table->horizontalHeader()->font());
    const int padding = 3 * cells.averageCharWidth();
    const int room = table->viewport()->width();
    // Titles on one line where the view holds them so, on two where not; a
    // view too narrow even then scrolls.
    const auto widthsFor = [&](bool twoLines) {
        std::vector<int> widths;
        for (std::size_t c = 0; c < shown.columnCount(); ++c) {
            int width = cells.horizontalAdvance(qtText(shown.widest(c)));
            for (const Text& line : twoLines ? shown.titleLines(c) : std::vector<Text>{shown.title(c)})
                width = std::max(width, titles.horizontalAdvance(qtText(line)));
            widths.push_back(width + padding);
        }
        return widths;
    };
    std::vector<int> widths = widthsFor(false);
    int total = std::accumulate(widths.begin(), widths.end(), 0);
    const bool twoLines = total > room;
    if (twoLines) {
        widths = widthsFor(true);
        total = std::accumulate(widths.begin(), widths.end(), 0);
    }
    model->setTwoLineTitles(twoLines);
    const int spare = total < room ? (room - total) / static_cast<int>(widths.size()) : 0;
    for (std::size_t c = 0; c < widths.size(); ++c)
        table->setColumnWidth(static_cast<int>(c), widths[c] + spare);
}

bool PlanWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize)
        for (QTableView* table : {table_, years_})
            if (watched == table->viewport())
                fitColumns(table);
    return QWidget::eventFilter(watched, event);
}

// Beside the main window where the screen has room, inside its free area
// whatever the scale: at 1,5 on a 1 280 × 900 screen the preferred size would not fit.
void PlanWindow::place()
{
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    const QSize size = QSize(PlanWindowLayout::preferredWidth, PlanWindowLayout::preferredHeight)
                           .boundedTo(free.size() - frameAllowance)
                           .expandedTo(minimumSize());
    const QRect main = parentWidget() ? parentWidget()->frameGeometry() : QRect();
    const ScreenRect where =
        placeBeside({main.left(), main.top(), main.width(), main.height()},
                    {free.left(), free.top(), free.width(), free.height()}, size.width() + frameAllowance.width(),
                    size.height() + frameAllowance.height(), minimumWidth() + frameAllowance.width());
    resize(QSize(where.width, where.height) - frameAllowance);
    move(where.left, where.top);
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
    if (comparing())
        return comparisonTable(form_.comparison(), u'\t');
    return plan() ? viewTable(currentView(), *plan(), form_.amounts(), u'\t') : Text();
}

void PlanWindow::run(PlanCommand command)
{
    switch (command) {
    case PlanCommand::Copy:
        copy();
        break;
    case PlanCommand::ExportCsv:
        if (!canExport())
            break;
        if (const QString path =
                comparing() ? chooseFile(PlanWindowLayout::comparisonCsvFile, PlanWindowLayout::comparisonFileName)
                            : chooseFile(viewFileKind(currentView(), *plan()), viewFileName(currentView(), *plan()));
            !path.isEmpty())
            exportCsv(path);
        break;
    case PlanCommand::Print:
        choosePrinter();
        break;
    case PlanCommand::SavePdf:
        if (!canExport())
            break;
        if (const QString path =
                comparing() ? chooseFile(PlanWindowLayout::comparisonPdfFile, PlanWindowLayout::comparisonFileName)
                            : chooseFile(PlanWindowLayout::pdfFile, PlanWindowLayout::defaultFileName);
            !path.isEmpty())
            savePdf(path);
        break;
    case PlanCommand::Close:
        close();
        break;
    case PlanCommand::StartClean:
        form_.startClean();
        break;
    case PlanCommand::NewOffer:
        form_.copyOffer();
        offerName_->setFocus(Qt::OtherFocusReason);
        offerName_->selectAll();
        break;
    case PlanCommand::RemoveOffer:
        form_.removeOffer();
        break;
    case PlanCommand::OpenOffers:
        chooseOffersFile();
        break;
    case PlanCommand::SaveOffers:
        saveOffers(false);
        break;
    case PlanCommand::SaveOffersAs:
        saveOffers(true);
        break;
    }
}

void PlanWindow::chooseOffersFile()
{
    if (!settleUnsaved())
        return;
    loadDialogResources();
    const FileKind& kind = PlanWindowLayout::offersFile;
    QFileDialog dialog(this, qtText(PlanWindowLayout::openOffersTitle),
                       QFileInfo(defaultPath(kind, PlanWindowLayout::offersFileName)).path(),
                       qtText(kind.description) + QStringLiteral(" (*.") + qtText(kind.extension) + QLatin1Char(')'));
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Several files at once: their offers side by side.
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        openFiles(dialog.selectedFiles());
}

bool PlanWindow::openFiles(const QStringList& paths)
{
    std::vector<OffersFileBytes> files;
    for (const QString& path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            warn_(notOpenedMessage(path.toStdU16String()), Text(PlanWindowLayout::openOffersTitle));
            return false;
        }
        const QByteArray bytes = file.readAll();
        files.push_back({path.toStdU16String(), bytes.toStdString()});
    }
    if (const auto refused = form_.openFiles(files)) {
        warn_(*refused, Text(PlanWindowLayout::openOffersTitle));
        return false;
    }
    return true;
}

bool PlanWindow::saveFile(const QString& path)
{
    const std::string bytes = form_.fileBytes();
    // Written beside the file and renamed over it: the old file, or none, where that fails.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
        commitWhole(file)) {
        form_.saved(path.toStdU16String());
        return true;
    }
    warn_(offersNotSavedText(path.toStdU16String()), Text(PlanWindowLayout::offersFile.dialogTitle));
    return false;
}

bool PlanWindow::saveOffers(bool choose)
{
    QString path = form_.filePath() && !choose ? qtText(*form_.filePath()) : QString();
    if (path.isEmpty())
        path = chooseFile(PlanWindowLayout::offersFile, PlanWindowLayout::offersFileName);
    return !path.isEmpty() && saveFile(path);
}

bool PlanWindow::settleUnsaved()
{
    const auto question = form_.unsavedQuestion();
    if (!question)
        return true;
    loadDialogResources();
    QMessageBox box(QMessageBox::Question, qtText(PlanWindowLayout::unsavedTitle), qtText(*question),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("UnsavedQuestion"));
    box.button(QMessageBox::Save)->setText(QStringLiteral("Salva"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Non salvare"));
    box.button(QMessageBox::Cancel)->setText(qtText(cancelCaption));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return saveOffers(false);
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void PlanWindow::closeEvent(QCloseEvent* event)
{
    if (settleUnsaved())
        event->accept();
    else
        event->ignore();
}

void PlanWindow::copy()
{
    if (canExport())
        QGuiApplication::clipboard()->setText(qtText(tabSeparated()));
}

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
    if (!canExport())
        return false;
    const AmountText& amounts = form_.amounts();
    const char16_t delimiter = csvDelimiter(amounts.decimalSeparator());
    const QByteArray bytes = qtText(comparing() ? comparisonTable(form_.comparison(), delimiter)
                                                : viewTable(currentView(), *plan(), amounts, delimiter))
                                 .toUtf8();
    // Written beside the target and renamed over it: a failed write leaves
    // the old file, or none, never half of one.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && commitWhole(file))
        return true;
    warn_(notSavedMessage(path.toStdU16String()), u"Esporta CSV");
    return false;
}

bool PlanWindow::savePdf(const QString& path) { return savePdf(path, a4Layout()); }

bool PlanWindow::savePdf(const QString& path, const QPageLayout& layout)
{
    if (!canExport())
        return false;
    QSaveFile file(path);
    Outcome outcome = Outcome::Failed;
    if (file.open(QIODevice::WriteOnly)) {
        QPdfWriter writer(&file);
        writer.setTitle(qtText(texts::planTitle));
        writer.setCreator(QStringLiteral("Ratalia"));
        writer.setPageLayout(layout);
        writer.setResolution(300);
        outcome = paintPages(writer, PlanWindowLayout::saveProgressTitle);
    }
    // The PDF is written out when its painter ends: only the commit knows
    // whether every byte reached the disk.
    if (outcome == Outcome::Done && commitWhole(file))
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
    if (!canExport())
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
    if (!canExport())
        return false;
    // Printing to a file is saving a PDF, and so whole or not at all.
    if (!job.fileName().isEmpty())
        return savePdf(job.fileName(), job.pageLayout());
    const Outcome outcome = paintPages(job.device(), PlanWindowLayout::printProgressTitle);
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

PlanWindow::Outcome PlanWindow::paintPages(QPagedPaintDevice& device, std::u16string_view title)
{
    // The printout keeps its own copy: a change meanwhile changes the window, not the pages.
    const std::optional<OfferComparison> comparison =
        comparing() ? std::optional<OfferComparison>(form_.comparison()) : std::nullopt;
    const std::optional<PlanReport> report = comparing() ? std::nullopt : form_.report();
    const PlanPrintout printout =
        comparison ? PlanPrintout(device, *comparison, form_.amounts()) : PlanPrintout(device, *report);
    QPainter painter;
    if (!painter.begin(&device))
        return Outcome::Failed;
    // A long plan (100 000 rows are about 2 000 pages) takes seconds: the
    // window keeps painting meanwhile, shows how far it got, and may stop.
    const auto pages = static_cast<int>(printout.pageCount());
    QProgressDialog progress(qtText(pageProgress(1, printout.pageCount())), qtText(cancelCaption), 0, pages, this);
    progress.setObjectName(QStringLiteral("Progress"));
    progress.setWindowTitle(qtText(title));
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

void PlanWindow::note(std::u16string_view text) { showStatus(qtText(text)); }

void PlanWindow::showStatus(const QString& text)
{
    status_->setText(text);
    status_->setVisible(!text.isEmpty());
}

} // namespace ratalia
