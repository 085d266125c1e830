#include "window/form_window.h"

#include "form/contact_links.h"
#include "form/form_events.h"
#include "form/form_layout.h"
#include "form/program_texts.h"
#include "plan/plan_form.h"
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
#include <QCloseEvent>
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
    mirror_.emplace(events_, static_cast<FormWindowObserver&>(*this));
    connectControls();

    events_.load();
    // The focus starts on the first control in tab order that can take it.
    focusNextPrevChild(true);
}

FormWindow::~FormWindow() = default;

void FormWindow::buildControls()
{
    std::array<QWidget*, 3> frames{};
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
            field->setMaxLength(FormLayout::maximumTextLength);
            field->setAccessibleName(QString::fromUtf8(c.accessibleName));
            fields_[index(std::get<Field>(c.id))] = field;
            widget = field;
            break;
        }
        case ControlKind::OptionButton: {
            auto* option = new OptionButton(caption, container);
            option->setAccessibleName(caption);
            const DurationUnit unit = std::get<DurationUnit>(c.id);
            options_[index(unit)] = option;
            widget = option;
            break;
        }
        case ControlKind::PushButton: {
            auto* button = new CommandButton(caption, container);
            button->setAccessibleName(withoutAccessKey(c.caption));
            buttons_[index(std::get<Button>(c.id))] = button;
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
}

void FormWindow::connectControls()
{
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const auto field = static_cast<Field>(i);
        // textChanged, not textEdited: a screen reader that sets the text edits too.
        connect(fields_[i], &QLineEdit::textChanged, this, [this, field](const QString& text) {
            if (const auto model = events_.typed(field, text.toStdU16String()))
                textChanged(field, *model);
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
    connect(planAction_, &QAction::triggered, this, [this] { openPlan(true); });
    planAsIsAction_ = new QAction(qtText(texts::openPlanAsIs), this);
    planAsIsAction_->setObjectName(QStringLiteral("OpenPlanAsIs"));
    planAsIsAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    planAsIsAction_->setShortcutVisibleInContextMenu(true);
    planAsIsAction_->setToolTip(qtText(texts::openPlanAsIsTip));
    addAction(planAsIsAction_);
    connect(planAsIsAction_, &QAction::triggered, this, [this] { openPlan(false); });
    for (QAction* action : {planAction_, planAsIsAction_}) {
        for (const Field field : resultsClearedByAnyChange)
            static_cast<FieldEdit*>(fields_[index(field)])->addContextAction(action);
        static_cast<FieldEdit*>(fields_[index(Field::MonthlyRate)])->addContextAction(action);
    }
}

void FormWindow::planAvailabilityChanged(bool available) { planAction_->setEnabled(available); }

void FormWindow::contextMenuEvent(QContextMenuEvent* event)
{
    loadDialogResources();
    QMenu menu(this);
    menu.addAction(planAction_);
    menu.addAction(planAsIsAction_);
    menu.exec(event->globalPos());
}

void FormWindow::openPlan(bool withCalculation)
{
    if (withCalculation && !events_.planTerms())
        return;
    loadDialogResources();
    if (!planWindow_)
        planWindow_ = new PlanWindow(
            [this](const Text& message, const Text& title) { events_.form().showMessage(message, title); }, events_,
            this);
    planWindow_->open(withCalculation);
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    if (planWindow_ && planWindow_->isVisible() && !planWindow_->settleUnsaved())
        event->ignore();
    else
        event->accept();
}

void FormWindow::openOffers(const QStringList& paths)
{
    openPlan(false);
    planWindow_->openFiles(paths);
}

void FormWindow::textChanged(Field field, const Text& text)
{
    QLineEdit* widget = fields_[static_cast<std::size_t>(field)];
    const QString shown = QString::fromStdU16String(text);
    if (widget->text() != shown)
        widget->setText(shown);
}

void FormWindow::unitChanged(DurationUnit unit) { options_[index(unit)]->setChecked(true); }

void FormWindow::enabledChanged(Button button, bool enabled)
{
    buttons_[static_cast<std::size_t>(button)]->setEnabled(enabled);
}

QWidget* FormWindow::widgetFor(const ControlId& id) const
{
    return findChild<QWidget*>(QString::fromLatin1(FormLayout::control(id).objectName), Qt::FindChildrenRecursively);
}

// The layout's order: the core walks it, the widgets take the focus.
bool FormWindow::focusNextPrevChild(bool next)
{
    std::optional<ControlId> from;
    for (const ControlLayout& c : FormLayout::controls())
        if (focusWidget() && focusWidget()->objectName() == QLatin1String(c.objectName))
            from = c.id;
    const auto stop = FormLayout::nextTabStop(from, next, events_.form().durationUnit(),
                                              [&](const ControlId& id) { return widgetFor(id)->isEnabled(); });
    if (!stop)
        return false;
    widgetFor(*stop)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

} // namespace ratalia
