// The keyboard as a user meets it: real key presses made through the X
// server's XTest extension, on the real window, under an X server of the
// test's own. Each case checks what the user sees
// afterwards: every field, the option pair, the buttons and the focus.

#include "form/form_layout.h"
#include "support/key_cases.h"
#include "support/names.h"
#include "support/plan_expectations.h"
#include "support/test_form.h"
#include "window/form_window.h"
#include "window/plan_window.h"
#include "window/qt_message_box.h"

#include <QAbstractItemView>
#include <QAbstractNativeEventFilter>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ratalia::test {
namespace {

// Counts the key events the X server delivers to the program, so that a test
// knows when every key it pressed has arrived.
class KeyEventCounter : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type == "xcb_generic_event_t") {
            const auto kind = static_cast<xcb_generic_event_t*>(message)->response_type & 0x7f;
            if (kind == XCB_KEY_PRESS || kind == XCB_KEY_RELEASE)
                ++delivered;
        }
        return false;
    }
    int delivered = 0;
};

// A keyboard on the X server. A chord is X key names joined by "+", the
// modifiers first: "alt+c", "shift+Tab", "altgr+ograve", "KP_Enter".
class Keyboard {
public:
    Keyboard() : display_(XOpenDisplay(nullptr)) { QApplication::instance()->installNativeEventFilter(&counter_); }
    ~Keyboard()
    {
        QApplication::instance()->removeNativeEventFilter(&counter_);
        if (display_)
            XCloseDisplay(display_);
    }
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    bool ready() const { return display_ != nullptr; }

    void focus(QWidget* window)
    {
        XSetInputFocus(display_, static_cast<Window>(window->winId()), RevertToParent, CurrentTime);
        XSync(display_, False);
    }

    // Presses and releases the chord; returns false for an unknown key name.
    bool press(const std::string& chord)
    {
        std::vector<KeyCode> keys;
        std::size_t from = 0;
        for (;;) {
            const std::size_t plus = chord.find('+', from + 1);
            const std::string name = chord.substr(from, plus == std::string::npos ? plus : plus - from);
            const std::string key = name == "alt"     ? "Alt_L"
                                    : name == "shift" ? "Shift_L"
                                    : name == "altgr" ? "ISO_Level3_Shift"
                                                      : name;
            const KeySym symbol = XStringToKeysym(key.c_str());
            const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display_, symbol);
            if (code == 0)
                return false;
            keys.push_back(code);
            if (plus == std::string::npos)
                break;
            from = plus + 1;
        }
        for (const KeyCode code : keys)
            XTestFakeKeyEvent(display_, code, True, CurrentTime);
        for (auto it = keys.rbegin(); it != keys.rend(); ++it)
            XTestFakeKeyEvent(display_, *it, False, CurrentTime);
        XSync(display_, False);
        sent_ += 2 * static_cast<int>(keys.size());
        return true;
    }

    // Waits until the program has handled every key pressed so far, and until
    // a button pressed by its access key has finished its click.
    void settle(const QWidget& window) const
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return counter_.delivered >= sent_; }, 5000))
            << counter_.delivered << " of " << sent_ << " key events arrived";
        EXPECT_TRUE(QTest::qWaitFor([&] {
            const auto buttons = window.findChildren<QPushButton*>();
            return std::none_of(buttons.begin(), buttons.end(), [](const QPushButton* b) { return b->isDown(); });
        }));
        QTest::qWait(20);
    }

private:
    Display* display_;
    KeyEventCounter counter_;
    int sent_ = 0;
};

class RealKeysTest : public testing::TestWithParam<KeyCase> {
protected:
    RealKeysTest() : events(NumberText(u','), messages, links), window(std::make_unique<FormWindow>(events))
    {
        messages.setParent(window.get());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        keyboard.focus(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename W = QWidget> W* control(const ControlId& id) const
    {
        return window->findChild<W*>(QString::fromLatin1(FormLayout::control(id).objectName));
    }
    // What the focused control stands for.
    static std::string focusName()
    {
        const QWidget* focus = QApplication::focusWidget();
        for (const ControlLayout& c : FormLayout::controls())
            if (focus && focus->objectName() == QLatin1String(c.objectName))
                return nameOf(c.id);
        return "no focus";
    }

    // What the user sees, in the form the cases expect.
    std::string seen() const
    {
        std::string out;
        for (int i = 0; i < 8; ++i)
            out += (i > 0 ? "|" : "") + control<QLineEdit>(static_cast<Field>(i))->text().toStdString();
        const auto* months = control<QRadioButton>(DurationUnit::Months);
        const auto* years = control<QRadioButton>(DurationUnit::Years);
        out += months->isChecked() == years->isChecked() ? " ; both or neither"
               : months->isChecked()                     ? " ; mesi"
                                                         : " ; anni";
        out += std::string(" ; Calcola ") + (control(Button::Calculate)->isEnabled() ? "on" : "off");
        out += std::string(", Arrotonda ") + (control(Button::Round)->isEnabled() ? "on" : "off");
        if (!control(Button::ResetRate)->isEnabled())
            out += ", Ripristina off";
        out += " ; " + focusName();
        return out;
    }

    // Closes every message box the keys bring up with a real Enter, noting its title.
    void answerMessagesWithEnter(std::vector<std::string>& titles)
    {
        auto* watcher = new QTimer(window.get());
        QObject::connect(watcher, &QTimer::timeout, [this, &titles] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box->property("answered").toBool())
                return;
            box->setProperty("answered", true);
            titles.push_back(box->windowTitle().toStdString());
            keyboard.focus(box); // as a window manager gives a new dialog the keyboard
            keyboard.press("Return");
            QTimer::singleShot(3000, box, [box] {
                ADD_FAILURE() << "Enter did not close the message box";
                box->reject();
            });
        });
        watcher->start(50);
    }

    Keyboard keyboard;
    QtMessageBox messages;
    RecordingLinkOpener links;
    FormEvents events;
    std::unique_ptr<FormWindow> window;
};

TEST_P(RealKeysTest, shows_what_the_keys_should_do)
{
    const KeyCase& c = GetParam();
    ASSERT_TRUE(keyboard.ready());
    events.edit(Field::Capital, QString::fromUtf8(c.capital).toStdU16String());
    events.edit(Field::Duration, QString::fromUtf8(c.duration).toStdU16String());
    if (c.calculated)
        events.click(Button::Calculate);
    control(c.focus)->setFocus();

    std::vector<std::string> titles;
    answerMessagesWithEnter(titles);
    for (const std::string& chord : c.keys)
        ASSERT_TRUE(keyboard.press(chord)) << chord;
    keyboard.settle(*window);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QApplication::activeModalWidget(); }));
    if (!titles.empty()) { // the window manager's part: the keyboard back to the window
        keyboard.focus(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    EXPECT_EQ(seen(), c.expected);
    EXPECT_EQ(titles,
              std::string(c.message).empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_TRUE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Keys, RealKeysTest, testing::ValuesIn(keyCases()),
                         [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

// Tab walks every stop in tab order and Shift+Tab walks back; a disabled
// button is no stop, and the option pair is one stop at its selected button.
class RealTabTest : public RealKeysTest {};

TEST_F(RealTabTest, tab_and_shift_tab_walk_the_whole_order)
{
    ASSERT_TRUE(keyboard.ready());
    const std::vector<std::string>& forward = mainTabOrder;
    auto walk = [&](const char* chord) {
        std::vector<std::string> stops;
        for (std::size_t i = 0; i < forward.size(); ++i) {
            keyboard.press(chord);
            keyboard.settle(*window);
            stops.push_back(focusName());
        }
        return stops;
    };

    events.edit(Field::Capital, u"10000");
    events.edit(Field::Duration, u"24");
    events.click(Button::Calculate);
    control(Field::AnnualRate)->setFocus();
    EXPECT_EQ(walk("Tab"), forward);
    std::vector<std::string> backward(forward.rbegin() + 1, forward.rend());
    backward.push_back("AnnualRate");
    EXPECT_EQ(walk("shift+Tab"), backward);
    EXPECT_EQ(seen(), "10000|24|6,75|" + keyResults + " ; mesi ; Calcola on, Arrotonda on ; AnnualRate");

    // With "anni" chosen and both Calcola and Arrotonda disabled.
    events.edit(Field::Capital, u"");
    events.choose(DurationUnit::Years);
    control(Button::ResetRate)->setFocus();
    keyboard.press("Tab");
    keyboard.press("Tab");
    keyboard.settle(*window);
    EXPECT_EQ(seen(), "|24|6,75|0,0056250000|||| ; anni ; Calcola off, Arrotonda off ; AnnualRate");
    keyboard.press("shift+Tab");
    keyboard.settle(*window);
    EXPECT_EQ(focusName(), "Years");
}

// Ctrl+P opens the plan only while there is one; Esc closes it.
TEST_F(RealTabTest, ctrl_p_opens_the_plan_and_esc_closes_it)
{
    ASSERT_TRUE(keyboard.ready());
    const auto planShown = [&] {
        const auto* plan = window->findChild<PlanWindow*>();
        return plan && plan->isVisible() ? plan->windowTitle().toStdString() : std::string("no plan");
    };
    events.edit(Field::Capital, u"10000");
    events.edit(Field::Duration, u"24");
    control(Field::Capital)->setFocus();
    ASSERT_TRUE(keyboard.press("Control_L+p"));
    keyboard.settle(*window);
    EXPECT_EQ(planShown(), "no plan");

    events.click(Button::Calculate);
    ASSERT_TRUE(keyboard.press("Control_L+p"));
    keyboard.settle(*window);
    EXPECT_TRUE(QTest::qWaitFor([&] { return planShown() != "no plan"; }));
    EXPECT_EQ(planShown(), "Piano di ammortamento");
    auto* plan = window->findChild<PlanWindow*>();
    ASSERT_EQ(plan->plan()->rows().size(), 24u);

    keyboard.focus(plan); // as a window manager gives a new window the keyboard
    EXPECT_TRUE(QTest::qWaitForWindowActive(plan));
    keyboard.press("Escape");
    keyboard.settle(*plan);
    EXPECT_EQ(planShown(), "no plan");
    keyboard.focus(window.get()); // the window manager's part: the keyboard back to the window
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(seen(), "10000|24|6,75|" + keyResults + " ; mesi ; Calcola on, Arrotonda on ; Capital");
}

// The plan opens with the focus in its table; Tab and Shift+Tab go from
// the table to the buttons, the inputs and back, as in any dialog; the
// arrows move inside the table.
TEST_F(RealTabTest, tab_and_shift_tab_walk_the_plan_window)
{
    ASSERT_TRUE(keyboard.ready());
    events.edit(Field::Capital, u"10000");
    events.edit(Field::Duration, u"24");
    events.click(Button::Calculate);
    control(Field::Capital)->setFocus();
    ASSERT_TRUE(keyboard.press("Control_L+p"));
    keyboard.settle(*window);
    auto* plan = window->findChild<PlanWindow*>();
    ASSERT_NE(plan, nullptr);
    keyboard.focus(plan); // as a window manager gives a new window the keyboard
    ASSERT_TRUE(QTest::qWaitForWindowActive(plan));
    const auto focused = [] {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName().toStdString() : std::string("no focus");
    };
    EXPECT_EQ(focused(), "Installments");
    const auto walk = [&](const char* chord, std::size_t steps) {
        std::vector<std::string> stops;
        for (std::size_t i = 0; i < steps; ++i) {
            keyboard.press(chord);
            keyboard.settle(*plan);
            stops.push_back(focused());
        }
        return stops;
    };
    const std::vector<std::string> forward = planTabOrder(true);
    EXPECT_EQ(walk("Tab", forward.size()), forward);
    std::vector<std::string> backward(forward.rbegin() + 1, forward.rend());
    backward.push_back("Installments");
    EXPECT_EQ(walk("shift+Tab", forward.size()), backward);
    // Inside the table the arrows move from row to row.
    const auto* table = plan->findChild<QAbstractItemView*>(QStringLiteral("Installments"));
    const int row = table->currentIndex().row();
    keyboard.press("Down");
    keyboard.press("Down");
    keyboard.settle(*plan);
    EXPECT_EQ(table->currentIndex().row(), row + 2);
    EXPECT_EQ(focused(), "Installments");
}

// Run on a 1280 × 900 screen at QT_SCALE_FACTOR=1.5 (a CTest entry of its
// own): the plan window, with costs, dates and an early repayment, opens
// inside the free area with its buttons on screen, a chart at least 300
// pixels tall and at least ten rows of its table in view; at the smallest
// size it allows, none of its controls overlaps another.
TEST_F(RealTabTest, the_plan_window_opens_inside_a_small_screen)
{
    events.edit(Field::Capital, u"100000");
    events.edit(Field::Duration, u"240");
    events.edit(Field::AnnualRate, u"3,5");
    events.click(Button::Calculate);
    QCoreApplication::processEvents(); // the menu entry follows the results
    window->findChild<QAction*>(QStringLiteral("OpenPlan"))->trigger();
    auto* plan = window->findChild<PlanWindow*>();
    ASSERT_NE(plan, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(plan));
    for (const auto& [input, text] : {std::pair{PlanInput::InitialFees, u"1.500"},
                                      {PlanInput::InstallmentFee, u"2"},
                                      {PlanInput::FirstDue, u"01/2027"},
                                      {PlanInput::RepayAfter, u"60"},
                                      {PlanInput::RepayAmount, u"20000"},
                                      {PlanInput::Penalty, u"1"}})
        plan->form().edit(input, text);
    QCoreApplication::processEvents();
    const QRect free = plan->screen()->availableGeometry();
    EXPECT_TRUE(free.contains(plan->frameGeometry()))
        << "free " << free.width() << "x" << free.height() << ", window " << plan->frameGeometry().width() << "x"
        << plan->frameGeometry().height() << " at " << plan->frameGeometry().x() << "," << plan->frameGeometry().y();
    for (const char* name : {"Copy", "ExportCsv", "Print", "SavePdf", "Close"}) {
        const auto* button = plan->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible());
        EXPECT_TRUE(free.contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size()))) << name;
    }
    const double ratio = plan->devicePixelRatioF();
    auto* table = plan->findChild<QTableView*>(QStringLiteral("Installments"));
    plan->showView(PlanView::Installments);
    QCoreApplication::processEvents();
    EXPECT_GE(table->viewport()->height() / table->verticalHeader()->defaultSectionSize(), 10);
    plan->showView(PlanView::Chart);
    QCoreApplication::processEvents();
    EXPECT_GE(plan->findChild<QWidget*>(QStringLiteral("Chart"))->height() * ratio, 300.0);

    // The smallest window: every control still apart from every other.
    plan->resize(plan->minimumSize());
    plan->showView(PlanView::Installments);
    QCoreApplication::processEvents();
    std::vector<std::pair<QString, QRect>> shown;
    for (QWidget* control : plan->findChildren<QWidget*>()) {
        const bool leaf = qobject_cast<QPushButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                          qobject_cast<QComboBox*>(control) || qobject_cast<QTableView*>(control);
        if (!leaf || !control->isVisible())
            continue;
        // Only what is in view: a field scrolled out of the inputs' column is nowhere.
        const QRect place(control->mapTo(plan, QPoint(0, 0)), control->size());
        if (!plan->rect().intersects(place))
            continue;
        const QRect visible = control->visibleRegion().boundingRect();
        if (visible.isEmpty())
            continue;
        shown.emplace_back(control->objectName(), QRect(control->mapTo(plan, visible.topLeft()), visible.size()));
    }
    for (std::size_t a = 0; a < shown.size(); ++a)
        for (std::size_t b = a + 1; b < shown.size(); ++b)
            EXPECT_FALSE(shown[a].second.intersects(shown[b].second))
                << shown[a].first.toStdString() << " over " << shown[b].first.toStdString();
}

} // namespace
} // namespace ratalia::test

int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
