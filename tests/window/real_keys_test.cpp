// The keyboard as a user meets it: real key presses made through the X
// server's XTest extension, on the real window, under an X server of the
// test's own. Each case checks what the user sees
// afterwards: every field, the option pair, the buttons and the focus.

#include "support/test_form.h"
#include "window/form_window.h"
#include "window/qt_message_box.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
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

struct KeyCase {
    const char* name;
    const char* capital;
    const char* duration;
    bool calculated; // "&Calcola" pressed before the keys
    const char* focus;
    std::vector<std::string> keys;
    // The fields Text1…Text8 joined by "|", the option, the buttons, the focus.
    std::string expected;
    const char* message = ""; // the title of the message box the keys bring up
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

const std::string results = "0,0056250000|446,5932949505|10718,2390788112|718,2390788112|24";
const std::string rounded = "0,0056250000|446,59|10718,24|718,24|24";

std::vector<KeyCase> keyCases()
{
    static const std::string calculated = "10000|24|6,75|" + results + " ; mesi ; Calcola on, Arrotonda on";
    static const std::string rounding = "10000|24|6,75|" + rounded + " ; mesi ; Calcola on, Arrotonda on";
    static const std::string filled = "10000|24|6,75||||| ; mesi ; Calcola on, Arrotonda off";
    static const std::string noCapital = "|24|6,75||||| ; mesi ; Calcola off, Arrotonda off";
    return {
        {"alt_c_with_calcola_disabled", "", "24", false, "Text1", {"alt+c"}, (noCapital + " ; Text1")},
        {"alt_a_with_arrotonda_disabled", "10000", "24", false, "Text2", {"alt+a"}, (filled + " ; Text2")},
        {"alt_with_no_access_key", "10000", "24", false, "Text3", {"alt+x", "alt+9"}, (filled + " ; Text3")},
        {"alt_c_with_calcola_enabled", "10000", "24", false, "Text1", {"alt+c"}, (calculated + " ; Text1")},
        {"alt_a_with_arrotonda_enabled", "10000", "24", true, "Text3", {"alt+a"}, (rounding + " ; Text3")},
        {"enter_on_calcola", "10000", "24", false, "Command1", {"Return"}, (calculated + " ; Command1")},
        {"keypad_enter_on_calcola", "10000", "24", false, "Command1", {"KP_Enter"},
         (calculated + " ; Command1")},
        {"keypad_enter_on_arrotonda", "10000", "24", true, "Command2", {"KP_Enter"},
         (rounding + " ; Command2")},
        {"space_on_arrotonda", "10000", "24", true, "Command2", {"space"}, (rounding + " ; Command2")},
        {"enter_and_escape_in_a_field", "10000", "24", false, "Text2", {"Return", "KP_Enter", "Escape"},
         (filled + " ; Text2")},
        {"enter_and_escape_on_the_options", "10000", "24", false, "Option1", {"Return", "KP_Enter", "Escape"},
         (filled + " ; Option1")},
        {"arrow_selects_anni", "10000", "24", true, "Option1", {"Right"},
         "10000|24|6,75|0,0056250000|||| ; anni ; Calcola on, Arrotonda off ; Option2"},
        {"arrows_select_mesi_again", "10000", "24", true, "Option1", {"Down", "Up"},
         "10000|24|6,75|0,0056250000|||| ; mesi ; Calcola on, Arrotonda off ; Option1"},
        {"typing_into_a_result_field", "10000", "24", true, "Text5", {"9", "BackSpace", "Delete", "alt+c"},
         (calculated + " ; Text5")},
        {"typing_into_an_input", "", "24", false, "Text1", {"1", "0", "0", "BackSpace", "0"},
         "100|24|6,75||||| ; mesi ; Calcola on, Arrotonda off ; Text1"},
        {"alt_c_on_a_bad_capital_then_enter_closes_the_message", "abc", "24", false, "Text1", {"alt+c"},
         "||6,75||||| ; mesi ; Calcola off, Arrotonda off ; Text1", "Errore"},
    };
}

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

    QWidget* control(const char* name) const { return window->findChild<QWidget*>(QString::fromLatin1(name)); }

    // What the user sees, in the form the cases expect.
    std::string seen() const
    {
        std::string out;
        for (int i = 1; i <= 8; ++i) {
            const auto* field = window->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(i));
            out += (i > 1 ? "|" : "") + field->text().toStdString();
        }
        const auto* months = window->findChild<QRadioButton*>(QStringLiteral("Option1"));
        const auto* years = window->findChild<QRadioButton*>(QStringLiteral("Option2"));
        out += months->isChecked() == years->isChecked() ? " ; both or neither" : months->isChecked() ? " ; mesi" : " ; anni";
        out += std::string(" ; Calcola ") + (control("Command1")->isEnabled() ? "on" : "off");
        out += std::string(", Arrotonda ") + (control("Command2")->isEnabled() ? "on" : "off");
        if (!control("Command3")->isEnabled())
            out += ", Ripristina off";
        const QWidget* focus = QApplication::focusWidget();
        out += " ; " + (focus ? focus->objectName().toStdString() : std::string("no focus"));
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
    events.edit(Field::Text1, QString::fromUtf8(c.capital).toStdU16String());
    events.edit(Field::Text2, QString::fromUtf8(c.duration).toStdU16String());
    if (c.calculated)
        events.click(Button::Command1);
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
    EXPECT_EQ(titles, std::string(c.message).empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
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
    const std::vector<std::string> forward{"Text2",  "Text1", "Text7",    "Text6",   "Text5",    "Text8",
                                           "Command2", "Text4", "Command3", "Option1", "Command1", "Text3"};
    auto walk = [&](const char* chord) {
        std::vector<std::string> stops;
        for (std::size_t i = 0; i < forward.size(); ++i) {
            keyboard.press(chord);
            keyboard.settle(*window);
            stops.push_back(QApplication::focusWidget()->objectName().toStdString());
        }
        return stops;
    };

    events.edit(Field::Text1, u"10000");
    events.edit(Field::Text2, u"24");
    events.click(Button::Command1);
    control("Text3")->setFocus();
    EXPECT_EQ(walk("Tab"), forward);
    std::vector<std::string> backward(forward.rbegin() + 1, forward.rend());
    backward.push_back("Text3");
    EXPECT_EQ(walk("shift+Tab"), backward);
    EXPECT_EQ(seen(), "10000|24|6,75|" + results + " ; mesi ; Calcola on, Arrotonda on ; Text3");

    // With "anni" chosen and both Calcola and Arrotonda disabled.
    events.edit(Field::Text1, u"");
    events.select(Option::Option2);
    control("Command3")->setFocus();
    keyboard.press("Tab");
    keyboard.press("Tab");
    keyboard.settle(*window);
    EXPECT_EQ(seen(), "|24|6,75|0,0056250000|||| ; anni ; Calcola off, Arrotonda off ; Text3");
    keyboard.press("shift+Tab");
    keyboard.settle(*window);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("Option2"));
}

} // namespace
} // namespace ratalia::test

int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
