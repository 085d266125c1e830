// The Windows window as a user meets it, under Wine: keys sent with SendInput
// through the message loop, then every field's text, the option pair, the
// buttons' states and the focus read back from the controls; and every
// control where the layout table puts it.

#include "core/contact_links.h"
#include "core/version.h"
#include "support/names.h"
#include "support/test_form.h"
#include "win32/main_window.h"
#include "win32/platform.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace ratalia::test {
namespace {

std::string narrow(HWND control)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return std::string(text.begin(), text.end());
}

// Records each message and shows it in a real message box, which the test
// closes with Enter as a user would.
class AnsweredMessageBox : public WindowsMessageBox {
public:
    void show(const Text& message, const Text& title) override
    {
        shown.push_back(std::string(title.begin(), title.end()));
        SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
            KillTimer(nullptr, timer);
            INPUT keys[2]{};
            keys[0].type = keys[1].type = INPUT_KEYBOARD;
            keys[0].ki.wVk = keys[1].ki.wVk = VK_RETURN;
            keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, keys, sizeof(INPUT));
        });
        WindowsMessageBox::show(message, title);
    }
    std::vector<std::string> shown;
};

class Win32WindowTest : public testing::Test {
protected:
    Win32WindowTest() : events(NumberText(u','), messages, links), window(events, GetModuleHandleW(nullptr))
    {
        messages.setOwner(window.handle());
        ShowWindow(window.handle(), SW_SHOW);
        SetForegroundWindow(window.handle());
        pump();
    }

    // Runs the program's message loop until the keys sent so far are handled.
    void pump()
    {
        for (int quiet = 0; quiet < 8;) {
            MSG message;
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                quiet = 0;
                if (!window.translate(message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            } else {
                ++quiet;
                Sleep(10);
            }
        }
    }

    // "alt+C", "shift+TAB", "ENTER", "KEYPAD_ENTER", "RIGHT" or characters to type.
    void press(const std::string& chord)
    {
        std::vector<INPUT> keys;
        auto key = [&](WORD code, bool up, DWORD flags = 0) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = code;
            input.ki.dwFlags = flags | (up ? KEYEVENTF_KEYUP : 0);
            keys.push_back(input);
        };
        std::vector<WORD> modifiers;
        std::string rest = chord;
        for (const auto& [name, code] : {std::pair<std::string, WORD>{"alt+", VK_MENU}, {"shift+", VK_SHIFT}})
            if (rest.rfind(name, 0) == 0) {
                modifiers.push_back(code);
                rest = rest.substr(name.size());
            }
        for (const WORD m : modifiers)
            key(m, false);
        const std::pair<const char*, WORD> named[] = {{"TAB", VK_TAB},     {"ENTER", VK_RETURN}, {"ESC", VK_ESCAPE},
                                                      {"RIGHT", VK_RIGHT}, {"DOWN", VK_DOWN},    {"UP", VK_UP},
                                                      {"LEFT", VK_LEFT},   {"BACK", VK_BACK},    {"SPACE", VK_SPACE}};
        bool done = false;
        for (const auto& [name, code] : named)
            if (rest == name) {
                key(code, false);
                key(code, true);
                done = true;
            }
        if (rest == "KEYPAD_ENTER") {
            key(VK_RETURN, false, KEYEVENTF_EXTENDEDKEY);
            key(VK_RETURN, true, KEYEVENTF_EXTENDEDKEY);
        } else if (!done) {
            for (const char c : rest) { // letters and digits by their virtual keys
                key(static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c), false);
                key(static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c), true);
            }
        }
        for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
            key(*it, true);
        SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
        pump();
    }

    std::string focusName() const
    {
        const HWND focus = GetFocus();
        for (const ControlLayout& c : FormLayout::controls())
            if (focus && window.control(c.id) == focus)
                return nameOf(c.id);
        return "no focus";
    }

    std::string seen() const
    {
        std::string out;
        for (int i = 0; i < 8; ++i)
            out += (i > 0 ? "|" : "") + narrow(window.control(static_cast<Field>(i)));
        const bool months = SendMessageW(window.control(DurationUnit::Months), BM_GETCHECK, 0, 0) == BST_CHECKED;
        const bool years = SendMessageW(window.control(DurationUnit::Years), BM_GETCHECK, 0, 0) == BST_CHECKED;
        out += months == years ? " ; both or neither" : months ? " ; mesi" : " ; anni";
        out += std::string(" ; Calcola ") + (IsWindowEnabled(window.control(Button::Calculate)) ? "on" : "off");
        out += std::string(", Arrotonda ") + (IsWindowEnabled(window.control(Button::Round)) ? "on" : "off");
        return out + " ; " + focusName();
    }

    void focus(const ControlId& id)
    {
        SetFocus(window.control(id));
        pump();
    }

    AnsweredMessageBox messages;
    RecordingLinkOpener links;
    FormEvents events;
    MainWindow window;
};

const std::string results = "0,0056250000|446,5932949505|10718,2390788112|718,2390788112|24";

TEST_F(Win32WindowTest, starts_with_the_rate_filled_and_focused)
{
    EXPECT_EQ(seen(), "||6,75||||| ; mesi ; Calcola off, Arrotonda off ; AnnualRate");
    wchar_t title[64]{};
    GetWindowTextW(window.handle(), title, 64);
    EXPECT_EQ(std::wstring(title), L" Ratalia   Ver. " + std::wstring(version, version + std::strlen(version)));
}

TEST_F(Win32WindowTest, keys_do_what_the_linux_window_does)
{
    focus(Field::Capital);
    press("alt+c"); // Calcola is disabled: nothing, and no "c" typed
    EXPECT_EQ(seen(), "||6,75||||| ; mesi ; Calcola off, Arrotonda off ; Capital");
    press("10000");
    press("TAB"); // from the capital to the total interest
    EXPECT_EQ(focusName(), "TotalInterest");
    focus(Field::Duration);
    press("24");
    press("alt+a"); // Arrotonda is disabled
    press("ENTER");
    press("KEYPAD_ENTER");
    press("ESC");
    EXPECT_EQ(seen(), "10000|24|6,75||||| ; mesi ; Calcola on, Arrotonda off ; Duration");
    press("alt+c"); // as on Windows, the access key clicks the button, which takes the focus
    EXPECT_EQ(seen(), "10000|24|6,75|" + results + " ; mesi ; Calcola on, Arrotonda on ; Calculate");
    focus(Field::Installment);
    press("9");
    press("BACK");
    EXPECT_EQ(seen(), "10000|24|6,75|" + results + " ; mesi ; Calcola on, Arrotonda on ; Installment");
    focus(Button::Round);
    press("KEYPAD_ENTER");
    EXPECT_EQ(seen(), "10000|24|6,75|0,0056250000|446,59|10718,24|718,24|24 ; mesi ; Calcola on, Arrotonda on ; Round");
    focus(DurationUnit::Months);
    press("RIGHT");
    EXPECT_EQ(seen(), "10000|24|6,75|0,0056250000|||| ; anni ; Calcola on, Arrotonda off ; Years");
    press("UP");
    EXPECT_EQ(seen(), "10000|24|6,75|0,0056250000|||| ; mesi ; Calcola on, Arrotonda off ; Months");
    focus(Button::Calculate);
    press("ENTER");
    EXPECT_EQ(seen(), "10000|24|6,75|" + results + " ; mesi ; Calcola on, Arrotonda on ; Calculate");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(IsWindowVisible(window.handle()));
}

TEST_F(Win32WindowTest, tab_and_shift_tab_walk_the_whole_order)
{
    events.edit(Field::Capital, u"10000");
    events.edit(Field::Duration, u"24");
    events.click(Button::Calculate);
    focus(Field::AnnualRate);
    const std::vector<std::string> forward{"Duration",    "Capital",          "TotalInterest", "TotalPaid",
                                           "Installment", "InstallmentCount", "Round",         "MonthlyRate",
                                           "ResetRate",   "Months",           "Calculate",     "AnnualRate"};
    std::vector<std::string> stops;
    for (std::size_t i = 0; i < forward.size(); ++i) {
        press("TAB");
        stops.push_back(focusName());
    }
    EXPECT_EQ(stops, forward);
    stops.clear();
    for (std::size_t i = 0; i < forward.size(); ++i) {
        press("shift+TAB");
        stops.push_back(focusName());
    }
    std::vector<std::string> backward(forward.rbegin() + 1, forward.rend());
    backward.push_back("AnnualRate");
    EXPECT_EQ(stops, backward);
}

TEST_F(Win32WindowTest, a_bad_capital_ends_in_the_message_closed_with_enter)
{
    focus(Field::Capital);
    press("abc");
    focus(Field::Duration);
    press("24");
    press("alt+c");
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Errore"});
    EXPECT_EQ(seen().substr(0, seen().find(" ; ")), "||6,75|||||");
}

// A click on each link opens its target; the pointer over them is the hand,
// and each has its tooltip.
TEST_F(Win32WindowTest, links_open_their_targets_with_hand_and_tooltip)
{
    auto clickOn = [&](HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
        const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
        INPUT mouse[3]{};
        for (INPUT& input : mouse)
            input.type = INPUT_MOUSE;
        mouse[0].mi.dx = MulDiv(r.left + 5, 65535, width);
        mouse[0].mi.dy = MulDiv((r.top + r.bottom) / 2, 65535, height);
        mouse[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        mouse[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        mouse[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(3, mouse, sizeof(INPUT));
        pump();
    };
    clickOn(window.control(Link::Email));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    clickOn(window.control(Link::WebSite));
    EXPECT_EQ(links.opened, (std::vector<std::string>{ContactLinks::mailTarget(), ContactLinks::webTarget()}));

    const HWND tips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
    ASSERT_NE(tips, nullptr);
    for (const auto& [link, expected] :
         {std::pair{Link::Email, L"E-mail"}, std::pair{Link::WebSite, L"Sito disegni CAD"}}) {
        wchar_t text[64]{};
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = window.handle();
        tool.uId = reinterpret_cast<UINT_PTR>(window.control(link));
        tool.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(std::wstring(text), expected);
    }
}

// The separator comes from the regional settings, whatever they are.
TEST(Win32RegionalSettingsTest, separator_follows_the_locale)
{
    EXPECT_EQ(regionalDecimalSeparator(L"it-IT"), u',');
    EXPECT_EQ(regionalDecimalSeparator(L"en-US"), u'.');
}

TEST_F(Win32WindowTest, every_control_stands_where_the_layout_puts_it)
{
    const UINT dpi = GetDpiForWindow(window.handle());
    auto pixels = [&](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
    RECT client{};
    GetClientRect(window.handle(), &client);
    EXPECT_EQ(client.right, pixels(FormLayout::clientWidth));
    EXPECT_EQ(client.bottom, pixels(FormLayout::clientHeight));
    for (const ControlLayout& c : FormLayout::controls()) {
        if (std::holds_alternative<std::monostate>(c.id))
            continue; // plain labels stand for nothing to look them up by
        SCOPED_TRACE(nameOf(c.id));
        RECT r{};
        GetWindowRect(window.control(c.id), &r);
        MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&r), 2);
        const int left = c.left + (c.container ? FormLayout::control(*c.container).left : 0);
        const int top = c.top + (c.container ? FormLayout::control(*c.container).top : 0);
        EXPECT_EQ(r.left, pixels(left));
        EXPECT_EQ(r.top, pixels(top));
        EXPECT_EQ(r.right - r.left, pixels(c.width));
        EXPECT_EQ(r.bottom - r.top, pixels(c.height));
    }
    EXPECT_NE(GetWindowLongW(window.control(Field::Installment), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(GetWindowLongW(window.control(Field::Capital), GWL_STYLE) & ES_READONLY, 0);
}

} // namespace
} // namespace ratalia::test
