#include "window/form_window.h"

#include "core/contact_links.h"
#include "core/form_events.h"
#include "core/form_layout.h"
#include "core/program_texts.h"
#include "window/accessibility.h"
#include "window/command_button.h"
#include "window/dialog_resources.h"
#include "window/field_edit.h"
#include "window/frame_box.h"
#include "window/link_label.h"
#include "window/option_button.h"
#include "window/plan_window.h"
#include "window/qt_text.h"
#include "window/window_icon.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>

#include <algorithm>

namespace ratalia {
namespace {

QRect pixels(const ControlLayout& c)
{
    constexpr int t = FormLayout::twipsPerPixel;
    return {c.left / t, c.top / t, c.width / t, c.height / t};
}

// 8.25 points at 96 dpi, in pixels so that Qt's scaling enlarges text and
// layout alike. Liberation Sans Narrow stands in where the preferred face is
// missing: it keeps the 13-pixel line the labels are sized for, and its
// narrower letters fit the captions into the widths they were laid out in.
// The installed families are listed rather than asked for by name: a name
// look-up resolves aliases through fontconfig, which costs more than the rest
// of the start-up, and so would a family list with a missing first choice.
QFont windowFont()
{
    const QString preferred = QStringLiteral("MS Sans Serif");
    QFont font(QFontDatabase::families().contains(preferred) ? preferred : QStringLiteral("Liberation Sans Narrow"));
    font.setPixelSize(11);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QString withoutAccessKey(const char* caption) { return QString::fromUtf8(caption).remove(QLatin1Char('&')); }

template <typename E> std::size_t index(E e) { return static_cast<std::size_t>(e); }

} // namespace

FormWindow::FormWindow(FormEvents& events, QWidget* parent) : QWidget(parent), events_(events)
{
    installAccessibility();
    setObjectName(QString::fromLatin1(FormLayout::objectName));
    setWindowTitle(QString::fromStdString(FormLayout::caption()));
    setWindowIcon(applicationIcon());
    setFont(windowFont());
    setFixedSize(FormLayout::clientWidth / FormLayout::twipsPerPixel,
                 FormLayout::clientHeight / FormLayout::twipsPerPixel);

    buildControls();
    buildPlanAction();
    events_.form().describeTo(*this);
    events_.form().addObserver(*this);
    connectControls();

    events_.load();
    refreshPlanAction();
    // The focus starts on the first control in tab order that can take it.
    focusNextPrevChild(true);
}

FormWindow::~FormWindow() { events_.form().removeObserver(*this); }

void FormWindow::buildControls()
{
    std::array<QWidget*, 3> frames{};
    std::vector<std::pair<int, QWidget*>> stops;
    for (const ControlLayout& c : FormLayout::controls()) {
        QWidget* container = c.container ? frames[index(*c.container)] : this;
        const QString caption = c.caption ? QString::fromUtf8(c.caption) : QString();
        QWidget* widget = nullptr;
        switch (c.kind) {
        case ControlKind::Frame:
            widget = new FrameBox(caption, container);
            frames[index(std::get<Frame>(c.id))] = widget;
            break;
        case ControlKind::Label: {
            auto* label = new QLabel(caption, container);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::LinkLabel: {
            const Link target = std::get<Link>(c.id);
            auto* link = new LinkLabel(container);
            link->setTextFormat(Qt::PlainText);
            link->setText(QString::fromStdString(ContactLinks::caption(target)));
            link->setToolTip(QString::fromUtf8(c.toolTip));
            link->setAccessibleName(link->text());
            link->setAccessibleDescription(link->toolTip());
            connect(link, &LinkLabel::clicked, this, [this, target] { events_.click(target); });
            widget = link;
            break;
        }
        case ControlKind::InputField:
        case ControlKind::ResultField: {
            auto* field = new FieldEdit(container);
            field->setReadOnly(c.kind == ControlKind::ResultField);
            field->setAccessibleName(QString::fromUtf8(c.accessibleName));
            fields_[index(std::get<Field>(c.id))] = field;
            stops.emplace_back(c.tabIndex, field);
            widget = field;
            break;
        }
        case ControlKind::OptionButton: {
            auto* option = new OptionButton(caption, container);
            option->setAccessibleName(caption);
            const DurationUnit unit = std::get<DurationUnit>(c.id);
            options_[index(unit)] = option;
            // The pair is one stop, held by its first button.
            if (unit == DurationUnit::Months)
                stops.emplace_back(c.tabIndex, option);
            widget = option;
            break;
        }
        case ControlKind::PushButton: {
            auto* button = new CommandButton(caption, container);
            button->setAccessibleName(withoutAccessKey(c.caption));
            buttons_[index(std::get<Button>(c.id))] = button;
            stops.emplace_back(c.tabIndex, button);
            widget = button;
            break;
        }
        }
        widget->setObjectName(QString::fromLatin1(c.objectName));
        widget->setGeometry(pixels(c));
        // Never seen, so never announced as showing either.
        if (FormLayout::liesOutsideClientArea(c))
            widget->hide();
    }
    options_[0]->setPartner(options_[1]);
    options_[1]->setPartner(options_[0]);
    std::sort(stops.begin(), stops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& stop : stops)
        tabStops_.push_back(stop.second);
}

void FormWindow::connectControls()
{
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const auto field = static_cast<Field>(i);
        // textChanged, not textEdited: a screen reader that sets the text edits too.
        connect(fields_[i], &QLineEdit::textChanged, this, [this, field](const QString& text) {
            events_.edit(field, text.toStdU16String());
            // A read-only field the user somehow changed shows the model again.
            if (fields_[static_cast<std::size_t>(field)]->text().toStdU16String() != events_.form().text(field))
                textChanged(field, events_.form().text(field));
        });
    }
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        connect(buttons_[i], &QPushButton::clicked, this, [this, i] { events_.click(static_cast<Button>(i)); });
    for (std::size_t i = 0; i < options_.size(); ++i)
        connect(options_[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                events_.choose(static_cast<DurationUnit>(i));
        });
}

void FormWindow::buildPlanAction()
{
    planAction_ = new QAction(qtText(texts::openPlan), this);
    planAction_->setObjectName(QStringLiteral("OpenPlan"));
    planAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    planAction_->setShortcutVisibleInContextMenu(true);
    planAction_->setToolTip(QStringLiteral("La quota interessi e la quota capitale di ogni rata"));
    addAction(planAction_);
    connect(planAction_, &QAction::triggered, this, &FormWindow::openPlan);
    for (const Field field : resultsClearedByAnyChange)
        static_cast<FieldEdit*>(fields_[index(field)])->addContextAction(planAction_);
    static_cast<FieldEdit*>(fields_[index(Field::MonthlyRate)])->addContextAction(planAction_);
}

void FormWindow::refreshPlanAction()
{
    refreshPending_ = false;
    planAction_->setEnabled(events_.hasPlan());
}

// A calculation hands over what it worked with only once it has returned,
// after its last change: look once the change is over.
void FormWindow::schedulePlanRefresh()
{
    if (!refreshPending_) {
        refreshPending_ = true;
        QMetaObject::invokeMethod(this, &FormWindow::refreshPlanAction, Qt::QueuedConnection);
    }
}

void FormWindow::contextMenuEvent(QContextMenuEvent* event)
{
    refreshPlanAction();
    loadDialogResources();
    QMenu menu(this);
    menu.addAction(planAction_);
    menu.exec(event->globalPos());
}

void FormWindow::openPlan()
{
    const auto terms = events_.planTerms();
    if (!terms)
        return;
    const NumberText& numbers = events_.form().numbers();
    auto plan = amortizationPlan(*terms, numbers);
    const AmountText amounts(numbers.decimalSeparator(), numbers.groupSeparator());
    if (const auto* refusal = std::get_if<PlanRefusal>(&plan)) {
        events_.form().showMessage(refusalText(*refusal, amounts), Text(texts::planTitle));
        return;
    }
    loadDialogResources();
    if (!planWindow_)
        planWindow_ = new PlanWindow(
            [this](const Text& message, const Text& title) { events_.form().showMessage(message, title); }, numbers,
            this);
    planWindow_->showLoan(*terms);
}

void FormWindow::textChanged(Field field, const Text& text)
{
    QLineEdit* widget = fields_[static_cast<std::size_t>(field)];
    const QString shown = QString::fromStdU16String(text);
    if (widget->text() != shown)
        widget->setText(shown);
    schedulePlanRefresh();
}

void FormWindow::unitChanged(DurationUnit unit)
{
    options_[index(unit)]->setChecked(true);
    schedulePlanRefresh();
}

void FormWindow::enabledChanged(Button button, bool enabled)
{
    buttons_[static_cast<std::size_t>(button)]->setEnabled(enabled);
    schedulePlanRefresh();
}

bool FormWindow::focusNextPrevChild(bool next)
{
    QRadioButton* selectedOption = options_[events_.form().inMonths() ? 0 : 1];
    auto stopOf = [&](QWidget* widget) -> QWidget* {
        return (widget == options_[0] || widget == options_[1]) ? options_[0] : widget;
    };
    const auto count = static_cast<int>(tabStops_.size());
    const auto current = std::find(tabStops_.begin(), tabStops_.end(), stopOf(focusWidget()));
    int index = current == tabStops_.end() ? (next ? -1 : count) : static_cast<int>(current - tabStops_.begin());
    for (int tried = 0; tried < count; ++tried) {
        index = (index + (next ? 1 : -1) + count) % count;
        QWidget* candidate = tabStops_[static_cast<std::size_t>(index)];
        if (candidate == options_[0])
            candidate = selectedOption;
        if (candidate->isEnabled()) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

} // namespace ratalia
