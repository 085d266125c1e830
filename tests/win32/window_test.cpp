// The Windows window as a user meets it, under Wine: keys sent with SendInput
// through the message loop, then every field's text, the option pair, the
// buttons' states and the focus read back from the controls; and every
// control where the layout table puts it.

#include "form/contact_links.h"
#include "form/version.h"
#include "loan/offers.h"
#include "support/key_cases.h"
#include "support/names.h"
#include "support/offer_expectations.h"
#include "support/plan_expectations.h"
#include "support/test_form.h"
#include "win32/main_window.h"
#include "win32/plan_window.h"
#include "win32/platform.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
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
        SetTimer(nullptr, 0, 100, pressEnter);
        WindowsMessageBox::show(message, title);
    }
    std::vector<std::string> shown;
    // The window each box was shown over.
    static inline std::vector<HWND> owners;

private:
    // A timer's procedure is a CALLBACK (stdcall on 32-bit Windows), which no lambda converts to.
    static VOID CALLBACK pressEnter(HWND, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(nullptr, timer);
        owners.push_back(GetWindow(GetForegroundWindow(), GW_OWNER));
        INPUT keys[2]{};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_RETURN;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
    }
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

    // A chord named as X names its keys ("alt+c", "shift+Tab", "Return",
    // "KP_Enter", "control+p"), or characters to type ("10000").
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
        for (const auto& [name, code] :
             {std::pair<std::string, WORD>{"alt+", VK_MENU}, {"shift+", VK_SHIFT}, {"control+", VK_CONTROL}})
            if (rest.rfind(name, 0) == 0 && rest.size() > name.size()) {
                modifiers.push_back(code);
                rest = rest.substr(name.size());
            }
        for (const WORD m : modifiers)
            key(m, false);
        const std::pair<const char*, WORD> named[] = {
            {"Tab", VK_TAB},     {"Return", VK_RETURN}, {"Escape", VK_ESCAPE}, {"Right", VK_RIGHT},
            {"Down", VK_DOWN},   {"Up", VK_UP},         {"Left", VK_LEFT},     {"BackSpace", VK_BACK},
            {"space", VK_SPACE}, {"Delete", VK_DELETE}, {"Home", VK_HOME},     {"End", VK_END}};
        bool done = false;
        for (const auto& [name, code] : named)
            if (rest == name) {
                key(code, false);
                key(code, true);
                done = true;
            }
        if (rest == "KP_Enter") {
            key(VK_RETURN, false, KEYEVENTF_EXTENDEDKEY);
            key(VK_RETURN, true, KEYEVENTF_EXTENDEDKEY);
        } else if (!done) {
            for (const char c : rest) { // letters, digits and separators by their virtual keys
                const WORD code = c == ','   ? VK_OEM_COMMA
                                  : c == '.' ? VK_OEM_PERIOD
                                  : c == '/' ? VK_OEM_2
                                             : static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
                key(code, false);
                key(code, true);
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

    ComApartment com; // first made, last gone: as the program's own
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

// The key cases the Linux real-key test presses, pressed here through
// SendInput: the same fields, buttons and focus afterwards.
class Win32KeysTest : public Win32WindowTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(Win32KeysTest, shows_what_the_keys_should_do)
{
    const KeyCase& c = GetParam();
    events.edit(Field::Capital, Text(c.capital, c.capital + std::strlen(c.capital)));
    events.edit(Field::Duration, Text(c.duration, c.duration + std::strlen(c.duration)));
    if (c.calculated)
        events.click(Button::Calculate);
    focus(c.focus);
    for (const std::string& chord : c.keys)
        press(chord);
    EXPECT_EQ(seen(), expectedOnWindows(c));
    EXPECT_EQ(messages.shown,
              std::string(c.message).empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_TRUE(IsWindowVisible(window.handle()));
}

INSTANTIATE_TEST_SUITE_P(Keys, Win32KeysTest, testing::ValuesIn(keyCases()),
                         [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(Win32WindowTest, tab_and_shift_tab_walk_the_whole_order)
{
    events.edit(Field::Capital, u"10000");
    events.edit(Field::Duration, u"24");
    events.click(Button::Calculate);
    focus(Field::AnnualRate);
    std::vector<std::string> stops;
    for (std::size_t i = 0; i < mainTabOrder.size(); ++i) {
        press("Tab");
        stops.push_back(focusName());
    }
    EXPECT_EQ(stops, mainTabOrder);
    stops.clear();
    for (std::size_t i = 0; i < mainTabOrder.size(); ++i) {
        press("shift+Tab");
        stops.push_back(focusName());
    }
    std::vector<std::string> backward(mainTabOrder.rbegin() + 1, mainTabOrder.rend());
    backward.push_back("AnnualRate");
    EXPECT_EQ(stops, backward);
}

// A paste longer than a field holds keeps its first 32 767 characters, as on Linux.
TEST_F(Win32WindowTest, a_field_holds_32767_characters)
{
    const std::wstring digits(40000, L'7');
    SetWindowTextW(window.control(Field::Capital), digits.c_str());
    SendMessageW(window.control(Field::Duration), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits.c_str()));
    pump();
    EXPECT_EQ(events.form().text(Field::Duration).size(), 32767u);
    EXPECT_EQ(GetWindowTextLengthW(window.control(Field::Duration)), 32767);
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

// The plan window as a user meets it on Windows.
class Win32PlanTest : public Win32WindowTest {
protected:
    // A calculation typed for real, then Ctrl+P.
    PlanWindow* openPlan(const char* capital, const char* months, const char* rate)
    {
        for (const auto& [field, text] : {std::pair{Field::Capital, capital}, std::pair{Field::Duration, months},
                                          std::pair{Field::AnnualRate, rate}}) {
            focus(field);
            press("Home");
            press("shift+End");
            press(text);
        }
        focus(Button::Calculate);
        press("Return");
        press("control+p");
        PlanWindow* plan = window.planWindow();
        EXPECT_NE(plan, nullptr);
        EXPECT_TRUE(plan && IsWindowVisible(plan->handle()));
        return plan;
    }
    static std::string textOf(HWND control)
    {
        Text text(static_cast<std::size_t>(GetWindowTextLengthW(control)), u'\0');
        if (!text.empty())
            GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size() + 1));
        return toUtf8(text);
    }
    std::string shown(PlanWindow* plan, const char* name) const
    {
        const HWND control = plan->control(name);
        return control ? textOf(control) : std::string("no ") + name;
    }
    // The cells of a row of a list view, joined by " | ".
    std::string row(PlanWindow* plan, int index, const char* view = "Installments") const
    {
        const HWND list = plan->control(view);
        const int columns = Header_GetItemCount(ListView_GetHeader(list));
        std::string out;
        for (int c = 0; c < columns; ++c) {
            wchar_t cell[64]{};
            ListView_GetItemText(list, index, c, cell, 64);
            const std::wstring_view view(cell);
            out += (c ? " | " : "") + toUtf8(Text(view.begin(), view.end()));
        }
        return out;
    }
    std::string planFocus(PlanWindow* plan) const
    {
        for (const std::string& name : planTabOrder(false))
            if (plan->control(name) == GetFocus())
                return name;
        return "no focus";
    }
    // A right click on the control, with the key to press in the menu it opens.
    void rightClickAndPress(HWND control, WORD key)
    {
        RECT r{};
        GetWindowRect(control, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        // The menu runs its own loop: the key is sent from inside it, and Esc
        // after it if the menu is still open (its one entry greyed).
        pendingKey_ = key;
        SetTimer(nullptr, 0, 300, pressPendingKey);
        INPUT mouse[2]{};
        mouse[0].type = mouse[1].type = INPUT_MOUSE;
        mouse[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
        mouse[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        SendInput(2, mouse, sizeof(INPUT));
        pump();
        Sleep(700);
        pump();
    }
    // Timer procedures are CALLBACKs (stdcall on 32-bit Windows), which no lambda converts to.
    static VOID CALLBACK pressPendingKey(HWND, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(nullptr, timer);
        sendKey(pendingKey_);
        SetTimer(nullptr, 0, 300, closeMenuLeftOpen);
    }
    static VOID CALLBACK closeMenuLeftOpen(HWND, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(nullptr, timer);
        if (FindWindowW(L"#32768", nullptr))
            sendKey(VK_ESCAPE);
    }
    static void sendKey(WORD key)
    {
        INPUT keys[2]{};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = key;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
    }
    static inline WORD pendingKey_ = 0;

    // Once a printout's progress shows, its title and text, then Annulla clicked as a user would.
    static VOID CALLBACK cancelShownProgress(HWND, UINT, UINT_PTR timer, DWORD)
    {
        const HWND progress = FindWindowW(L"RataliaPrintProgress", nullptr);
        if (!progress || !IsWindowVisible(progress))
            return;
        KillTimer(nullptr, timer);
        wchar_t title[64]{}, label[64]{};
        GetWindowTextW(progress, title, 64);
        GetWindowTextW(GetWindow(progress, GW_CHILD), label, 64);
        const std::wstring seen = std::wstring(title) + L": " + label;
        seenProgress_ = toUtf8(Text(seen.begin(), seen.end()));
        SendMessageW(GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);
    }
    static inline std::string seenProgress_;

    // A printer that prints PostScript to a file, as Wine's driver does for
    // a printer on the port FILE:; the driver wants a PPD of the paper.
    static HDC filePrinter()
    {
        static const char ppd[] =
            "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
            "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"RATALIA.PPD\"\n"
            "*Manufacturer: \"Ratalia\"\n*Product: \"(Ratalia test printer)\"\n"
            "*ModelName: \"Ratalia test printer\"\n*ShortNickName: \"Ratalia test printer\"\n"
            "*NickName: \"Ratalia test printer\"\n*PSVersion: \"(3010.000) 0\"\n"
            "*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n"
            "*TTRasterizer: Type42\n*OpenUI *PageSize/Page Size: PickOne\n"
            "*DefaultPageSize: A4\n*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
            "*CloseUI: *PageSize\n*OpenUI *PageRegion: PickOne\n*DefaultPageRegion: A4\n"
            "*PageRegion A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n*CloseUI: *PageRegion\n"
            "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"18 18 577 824\"\n"
            "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n"
            "*DefaultResolution: 300dpi\n";
        wchar_t drivers[MAX_PATH]{};
        DWORD needed = 0;
        GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(drivers), sizeof(drivers), &needed);
        const std::wstring ppdPath = std::wstring(drivers) + L"\\ratalia-test.ppd";
        HANDLE file = CreateFileW(ppdPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, ppd, sizeof(ppd) - 1, &written, nullptr);
        CloseHandle(file);
        wchar_t driverName[] = L"Wine PostScript Driver", path[] = L"wineps.drv", data[] = L"ratalia-test.ppd";
        DRIVER_INFO_3W driver{};
        driver.cVersion = 3;
        driver.pName = driverName;
        driver.pDriverPath = path;
        driver.pDataFile = data;
        driver.pConfigFile = path;
        AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver));
        wchar_t printerName[] = L"Ratalia test printer", port[] = L"FILE:", processor[] = L"WinPrint", type[] = L"RAW";
        PRINTER_INFO_2W printer{};
        printer.pPrinterName = printerName;
        printer.pDriverName = driverName;
        printer.pPortName = port;
        printer.pPrintProcessor = processor;
        printer.pDatatype = type;
        if (HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer)))
            ClosePrinter(added);
        return CreateDCW(L"WINSPOOL", printerName, nullptr, nullptr);
    }
};

TEST_F(Win32PlanTest, opens_from_the_menu_and_with_ctrl_p_and_esc_closes_it)
{
    // The middle of the results' frame, where a label stands, not a field.
    const HWND label = window.control(Frame::Results);
    ASSERT_NE(label, nullptr);
    press("control+p"); // no plan yet: nothing opens
    EXPECT_EQ(window.planWindow(), nullptr);
    rightClickAndPress(label, 'P'); // the entry is greyed
    EXPECT_EQ(window.planWindow(), nullptr);

    events.edit(Field::Capital, u"10000");
    events.edit(Field::Duration, u"24");
    events.click(Button::Calculate);
    rightClickAndPress(label, 'P');
    PlanWindow* plan = window.planWindow();
    ASSERT_NE(plan, nullptr);
    EXPECT_TRUE(IsWindowVisible(plan->handle()));
    EXPECT_EQ(planFocus(plan), "Installments");
    press("Escape");
    EXPECT_FALSE(IsWindowVisible(plan->handle()));
    SetForegroundWindow(window.handle());
    focus(Field::Capital);
    press("control+p");
    EXPECT_TRUE(IsWindowVisible(plan->handle()));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Win32PlanTest, shows_the_figures_the_costs_and_the_rows)
{
    PlanWindow* plan = openPlan("10000", "24", "6,75");
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(shown(plan, "Capital"), "10000");
    EXPECT_EQ(shown(plan, "LoanCapital"), "10.000,00");
    EXPECT_EQ(shown(plan, "LoanDuration"), "24 mesi");
    EXPECT_EQ(shown(plan, "LoanRate"), "6,75 %");
    EXPECT_EQ(shown(plan, "Taeg"), "6,96 %");
    EXPECT_EQ(shown(plan, "Installment"), "446,59");
    EXPECT_EQ(ListView_GetItemCount(plan->control("Installments")), 24);
    EXPECT_EQ(row(plan, 0), "1 | 446,59 | 56,25 | 390,34 | 9.609,66");
    EXPECT_EQ(row(plan, 23), "24 | 446,68 | 2,50 | 444,18 | 0,00");
    EXPECT_EQ(shown(plan, "Totals"),
              "Totale rate: 10.718,25    Totale interessi: 718,25    Totale quote capitale: 10.000,00");

    // Costs typed in the window: what is received, the cost of the credit, two more columns.
    SetFocus(plan->control("InitialFees"));
    press("300");
    EXPECT_EQ(shown(plan, "Received"), "9.700,00");
    EXPECT_EQ(shown(plan, "CostOfCredit"), "1.018,25");
    SetFocus(plan->control("InstallmentFee"));
    press("abc");
    EXPECT_EQ(shown(plan, "Status"), "Spese per rata: «abc» non è un importo.");
    EXPECT_EQ(shown(plan, "Taeg"), "—");
    EXPECT_EQ(shown(plan, "InitialFees"), "300");
    press("BackSpace");
    press("BackSpace");
    press("BackSpace");
    press("2");
    EXPECT_EQ(shown(plan, "Status"), "");
    EXPECT_EQ(row(plan, 0), "1 | 446,59 | 56,25 | 390,34 | 2,00 | 448,59 | 9.609,66");
    // The Italian plan, a choice away.
    SetFocus(plan->control("Kind"));
    press("Down");
    EXPECT_EQ(shown(plan, "Principal"), "416,67");
    EXPECT_EQ(row(plan, 0), "1 | 472,92 | 56,25 | 416,67 | 2,00 | 474,92 | 9.583,33");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Win32PlanTest, tab_walks_the_buttons_the_inputs_and_the_table)
{
    PlanWindow* plan = openPlan("10000", "24", "6,75");
    ASSERT_NE(plan, nullptr);
    ASSERT_EQ(planFocus(plan), "Installments");
    const std::vector<std::string> forward = planTabOrder(false);
    std::vector<std::string> stops;
    for (std::size_t i = 0; i < forward.size(); ++i) {
        press("Tab");
        stops.push_back(planFocus(plan));
    }
    EXPECT_EQ(stops, forward);
    stops.clear();
    for (std::size_t i = 0; i < forward.size(); ++i) {
        press("shift+Tab");
        stops.push_back(planFocus(plan));
    }
    std::vector<std::string> backward(forward.rbegin() + 1, forward.rend());
    backward.push_back("Installments");
    EXPECT_EQ(stops, backward);
    // An access key reaches its input.
    press("alt+i");
    EXPECT_EQ(planFocus(plan), "InitialFees");
}

TEST_F(Win32PlanTest, copia_puts_the_rows_on_the_clipboard)
{
    PlanWindow* plan = openPlan("1000", "3", "6");
    ASSERT_NE(plan, nullptr);
    press("alt+c");
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const std::wstring_view pasted(static_cast<const wchar_t*>(GlobalLock(data)));
    std::string text = toUtf8(Text(pasted.begin(), pasted.end()));
    GlobalUnlock(data);
    CloseClipboard();
    // Tab between the cells, and CR LF at each line's end as Windows' programs expect.
    std::string expected;
    for (const char c : threeRowsHeader + threeRows)
        expected += c == ';' ? std::string("\t") : c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(text, expected);
}

TEST_F(Win32PlanTest, exports_a_csv_whole_or_not_at_all)
{
    PlanWindow* plan = openPlan("1000", "3", "6");
    ASSERT_NE(plan, nullptr);
    wchar_t folder[MAX_PATH]{};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"ratalia-piano-di-prova.csv";
    // An old file is replaced whole.
    HANDLE old = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(old, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(old, "vecchio", 7, &written, nullptr);
    CloseHandle(old);
    ASSERT_TRUE(plan->exportCsv(path));
    std::string bytes(4096, '\0');
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    EXPECT_EQ(bytes, threeRowsHeader + threeRows);
    DeleteFileW(path.c_str());

    // A folder that is not there: one message, and no file.
    const std::wstring nowhere = std::wstring(folder) + L"non-esiste\\piano.csv";
    AnsweredMessageBox::owners.clear();
    EXPECT_FALSE(plan->exportCsv(nowhere));
    EXPECT_EQ(GetFileAttributesW(nowhere.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Esporta CSV"});
    // Over the plan window, which stays in front: not over the main window, which it would bring forward.
    EXPECT_EQ(AnsweredMessageBox::owners, std::vector<HWND>{plan->handle()});
    EXPECT_TRUE(IsWindowVisible(plan->handle()));
    EXPECT_EQ(GetForegroundWindow(), plan->handle());
}

// Due dates and an early repayment typed in the plan window: the same
// figures and rows as on Linux, the yearly totals Copia takes from their
// view, the views' keys, and the chart as a screen reader meets it.
TEST_F(Win32PlanTest, shows_the_loan_over_time_with_an_early_repayment)
{
    PlanWindow* plan = openPlan("100000", "240", "3,5");
    ASSERT_NE(plan, nullptr);
    for (const auto& [name, text] :
         {std::pair{"FirstDue", "01/2027"}, std::pair{"RepayAfter", "60"}, std::pair{"RepayAmount", "20000"}}) {
        SetFocus(plan->control(name));
        press(text);
    }
    SetFocus(plan->control("Reduce"));
    press("Down");
    for (const auto& [name, text] : earlyRepaymentFigures)
        EXPECT_EQ(shown(plan, name.c_str()), text) << name;
    EXPECT_EQ(shown(plan, "Status"), "");
    ASSERT_EQ(static_cast<std::size_t>(ListView_GetItemCount(plan->control("Installments"))), earlyRepaymentRows);
    std::string row60 = row(plan, 59);
    for (std::size_t at; (at = row60.find(" | ")) != std::string::npos;)
        row60.replace(at, 3, "|");
    EXPECT_EQ(row60, earlyRepaymentRow60);

    // Ctrl+Tab goes to the yearly totals, which Copia takes.
    SetFocus(plan->control("Installments"));
    press("control+Tab");
    EXPECT_EQ(plan->currentView(), PlanView::Years);
    EXPECT_TRUE(IsWindowVisible(plan->control("Years")));
    EXPECT_FALSE(IsWindowVisible(plan->control("Installments")));
    EXPECT_FALSE(IsWindowVisible(plan->control("YearsHint")));
    EXPECT_EQ(row(plan, 4, "Years"), "2031 | 12 | 2.916,49 | 4.043,03 | 20.000,00 | 61.126,54");
    press("alt+c");
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const std::wstring_view pasted(static_cast<const wchar_t*>(GlobalLock(data)));
    std::string years = toUtf8(Text(pasted.begin(), pasted.end()));
    GlobalUnlock(data);
    CloseClipboard();
    years.erase(std::remove(years.begin(), years.end(), '\r'), years.end());
    EXPECT_EQ(years.substr(0, earlyRepaymentYears.size()), earlyRepaymentYears);

    // Alt+G shows the chart; a screen reader reads it as a chart, in words.
    press("alt+g");
    EXPECT_EQ(plan->currentView(), PlanView::Chart);
    const HWND chart = plan->control("Chart");
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(IsWindowVisible(chart));
    IAccessible* reader = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(chart, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&reader)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    EXPECT_EQ(reader->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_CHART);
    const auto read = [&](auto method) {
        BSTR text = nullptr;
        EXPECT_EQ((reader->*method)(self, &text), S_OK);
        const std::string out = text ? toUtf8(Text(text, text + SysStringLen(text))) : std::string();
        SysFreeString(text);
        return out;
    };
    EXPECT_EQ(read(&IAccessible::get_accName), "Grafico del piano");
    const std::string words = read(&IAccessible::get_accDescription);
    EXPECT_NE(words.find("la quota capitale supera gli interessi dalla rata 4 (apr 2027)"), std::string::npos) << words;
    EXPECT_NE(words.find("con un rimborso anticipato di 20.000,00 con la rata 60 (dic 2031), in 187 rate."),
              std::string::npos)
        << words;
    reader->Release();
    // Tab reaches the chart from its tabs.
    SetFocus(plan->control("Views"));
    press("Tab");
    EXPECT_EQ(GetFocus(), chart);
    EXPECT_TRUE(messages.shown.empty());
}

// A loan with no plan opens the window all the same: why, where the table
// would be, nothing to take away, and the inputs there to change it.
TEST_F(Win32PlanTest, a_refusal_is_said_where_the_table_would_be_and_the_italian_plan_is_a_choice_away)
{
    PlanWindow* plan = openPlan("100000", "100000", "3");
    ASSERT_NE(plan, nullptr);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_TRUE(IsWindowVisible(plan->control("Absence")));
    EXPECT_EQ(shown(plan, "Absence"), "Arrotondata al centesimo, la rata di 250,00 non estingue questo prestito in "
                                      "100.000 rate: l'ultima rata sarebbe di 100.250,00.");
    EXPECT_FALSE(IsWindowVisible(plan->control("Installments")));
    EXPECT_FALSE(IsWindowEnabled(plan->control("Copy")));
    EXPECT_EQ(planFocus(plan), "Solve");
    SetFocus(plan->control("Kind"));
    press("Down");
    EXPECT_FALSE(IsWindowVisible(plan->control("Absence")));
    EXPECT_EQ(ListView_GetItemCount(plan->control("Installments")), 100000);
    EXPECT_TRUE(IsWindowEnabled(plan->control("Copy")));
}

// A new Calcola brings its loan and keeps the plan's other inputs, saying
// so; "Ricomincia" clears them; a main window whose data changed since is
// said to be out of step; a new plan opens at its top.
TEST_F(Win32PlanTest, a_new_loan_keeps_the_settings_says_so_and_can_start_clean)
{
    PlanWindow* plan = openPlan("200000", "240", "6");
    ASSERT_NE(plan, nullptr);
    SetFocus(plan->control("InitialFees"));
    press("4000");
    EXPECT_EQ(shown(plan, "Notice"), "");
    const HWND list = plan->control("Installments");
    ListView_EnsureVisible(list, 239, FALSE);
    ASSERT_GT(ListView_GetTopIndex(list), 0);

    events.edit(Field::Duration, u"120");
    EXPECT_EQ(shown(plan, "Notice"), "I dati della finestra principale sono cambiati: questo piano resta sul prestito "
                                     "di prima finché non si preme Calcola.");
    EXPECT_EQ(ListView_GetItemCount(list), 240);
    events.click(Button::Calculate);
    pump();
    EXPECT_EQ(ListView_GetItemCount(list), 120);
    EXPECT_EQ(ListView_GetTopIndex(list), 0);
    EXPECT_EQ(shown(plan, "Duration"), "120");
    EXPECT_EQ(shown(plan, "InitialFees"), "4000");
    EXPECT_EQ(shown(plan, "Received"), "196.000,00");
    EXPECT_EQ(shown(plan, "Notice"),
              "Costi, date ed estinzione anticipata restano quelli inseriti prima: «Ricomincia» li toglie.");

    SetFocus(plan->control("StartClean"));
    press("space");
    EXPECT_EQ(shown(plan, "InitialFees"), "");
    EXPECT_EQ(shown(plan, "Received"), "200.000,00");
    EXPECT_EQ(shown(plan, "Notice"), "");
    EXPECT_EQ(ListView_GetItemCount(list), 120);
}

// An amount copied from a foglio informativo keeps its thousands, and each
// field says what it read; while one cannot be read, nothing goes out as if
// it were the plan on screen.
TEST_F(Win32PlanTest, fields_say_what_they_read_and_a_wrong_one_stops_the_exports)
{
    PlanWindow* plan = openPlan("200000", "240", "6");
    ASSERT_NE(plan, nullptr);
    const auto typeIn = [&](const char* name, const char* text) {
        SetFocus(plan->control(name));
        press("Home");
        press("shift+End");
        press(text);
    };
    const auto exports = [&] {
        std::string states;
        for (const char* name : {"Copy", "ExportCsv", "Print"})
            states +=
                std::string(states.empty() ? "" : " ") + name + (IsWindowEnabled(plan->control(name)) ? "+" : "-");
        return states;
    };
    typeIn("InitialFees", "1.500");
    EXPECT_EQ(shown(plan, "InitialFeesReading"), "= 1.500,00 €");
    EXPECT_EQ(shown(plan, "Received"), "198.500,00");
    typeIn("FirstDue", "1/2027");
    EXPECT_EQ(shown(plan, "FirstDueReading"), "= gen 2027");
    EXPECT_EQ(exports(), "Copy+ ExportCsv+ Print+");

    typeIn("InitialFees", "1.50.000");
    EXPECT_EQ(shown(plan, "InitialFeesReading"), "?");
    EXPECT_EQ(shown(plan, "Status"), "Spese iniziali: «1.50.000» non è un importo.");
    EXPECT_EQ(exports(), "Copy- ExportCsv- Print-");
    wchar_t folder[MAX_PATH]{};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"ratalia-non-scritto.csv";
    EXPECT_FALSE(plan->exportCsv(path));
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    typeIn("InitialFees", "1.500,00");
    EXPECT_EQ(exports(), "Copy+ ExportCsv+ Print+");
    EXPECT_TRUE(messages.shown.empty());
}

// A screen reader hears each figure's name and its value, and each input by its name.
TEST_F(Win32PlanTest, every_figure_reads_as_its_name_and_its_value)
{
    PlanWindow* plan = openPlan("200000", "240", "6");
    ASSERT_NE(plan, nullptr);
    const auto accessibleName = [&](const char* control) {
        IAccessible* reader = nullptr;
        if (AccessibleObjectFromWindow(plan->control(control), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&reader)) != S_OK)
            return std::string("no object");
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        reader->get_accName(self, &text);
        const std::string name = text ? toUtf8(Text(text, text + SysStringLen(text))) : std::string();
        SysFreeString(text);
        reader->Release();
        return name;
    };
    const std::pair<const char*, const char*> names[] = {
        {"Taeg", "TAEG: 6,17 %"},          {"TotalDue", "Totale dovuto: 343.887,30"},
        {"Installment", "Rata: 1.432,86"}, {"LoanCapital", "Capitale: 200.000,00"},
        {"AnnualFee", "Spese annue"},      {"Unit", "Durata in mesi o in anni"},
    };
    for (const auto& [control, name] : names)
        EXPECT_EQ(accessibleName(control), name) << control;
}

// Each column as wide as its title and its widest amount, whatever columns
// the plan has, in the smallest window: never a title cut.
TEST_F(Win32PlanTest, column_titles_are_whole_in_the_smallest_window)
{
    PlanWindow* plan = openPlan("100000", "240", "3,5");
    ASSERT_NE(plan, nullptr);
    SetWindowPos(plan->handle(), nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER); // as small as it allows
    pump();
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> typed;
    } cases[] = {
        {"the installments alone", {}},
        {"dates and a repayment", {{"FirstDue", "01/2027"}, {"RepayAfter", "60"}, {"RepayAmount", "20000"}}},
        {"every column",
         {{"InitialFees", "1500"},
          {"InstallmentFee", "2"},
          {"AnnualFee", "30"},
          {"Penalty", "1"},
          {"RepayAmount", "tutto"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [name, text] : c.typed) {
            SetFocus(plan->control(name));
            press("Home");
            press("shift+End");
            press(text);
        }
        for (const auto& [view, name] :
             {std::pair{PlanView::Installments, "Installments"}, {PlanView::Years, "Years"}}) {
            plan->showView(view);
            pump();
            const HWND list = plan->control(name);
            const HWND header = ListView_GetHeader(list);
            for (int column = 0; column < Header_GetItemCount(header); ++column) {
                wchar_t title[64]{};
                HDITEMW item{};
                item.mask = HDI_TEXT;
                item.pszText = title;
                item.cchTextMax = 64;
                Header_GetItem(header, column, &item);
                // The header's own margins: a text wider than the column less them is cut.
                EXPECT_LE(ListView_GetStringWidth(list, title) + 12, ListView_GetColumnWidth(list, column))
                    << name << ": " << toUtf8(Text(title, title + std::wcslen(title)));
            }
        }
    }
}

// On a laptop's 1366 × 768 work area, at 100 % and at 150 %: beside the main
// window where there is room, inside the work area, the table with at least
// ten rows, the chart at least 300 pixels tall; in the smallest window
// allowed, no control over another.
TEST_F(Win32PlanTest, holds_its_views_on_a_laptop_at_100_and_150_percent)
{
    SetWindowPos(window.handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PlanWindow* plan = openPlan("100000", "240", "3,5");
    ASSERT_NE(plan, nullptr);
    for (const auto& [name, text] : {std::pair{"InitialFees", "1.500"},
                                     {"InstallmentFee", "2"},
                                     {"FirstDue", "01/2027"},
                                     {"RepayAfter", "60"},
                                     {"RepayAmount", "20000"},
                                     {"Penalty", "1"}}) {
        SetFocus(plan->control(name));
        press(text);
    }
    RECT main{}, planRect{};
    GetWindowRect(window.handle(), &main);
    GetWindowRect(plan->handle(), &planRect);
    // The test's screen has room beside the main window.
    RECT overlap{};
    EXPECT_FALSE(IntersectRect(&overlap, &main, &planRect))
        << "the plan window at " << planRect.left << "," << planRect.top << "-" << planRect.right << ","
        << planRect.bottom << " over the main one at " << main.left << "," << main.top << "-" << main.right << ","
        << main.bottom;

    for (const UINT dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        const RECT laptop{0, 0, 1366, 768};
        SendMessageW(plan->handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&laptop));
        pump();
        plan->showView(PlanView::Installments);
        pump();
        EXPECT_GE(ListView_GetCountPerPage(plan->control("Installments")), 10);
        plan->showView(PlanView::Chart);
        pump();
        RECT chart{};
        GetClientRect(plan->control("Chart"), &chart);
        EXPECT_GE(chart.bottom, 300);

        SetWindowPos(plan->handle(), nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
        for (const PlanView view : {PlanView::Summary, PlanView::Installments, PlanView::Years}) {
            plan->showView(view);
            pump();
            // Every control in view, by its place on the screen: none over another.
            std::vector<std::pair<std::string, RECT>> shown;
            RECT client{};
            GetClientRect(plan->handle(), &client);
            MapWindowPoints(plan->handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
            for (HWND child = GetWindow(plan->handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                wchar_t kind[32]{};
                GetClassNameW(child, kind, 32);
                if (!IsWindowVisible(child) || std::wstring_view(kind) == L"tooltips_class32")
                    continue;
                RECT r{};
                GetWindowRect(child, &r);
                RECT inside{};
                ASSERT_TRUE(IntersectRect(&inside, &r, &client)) << toUtf8(Text(kind, kind + std::wcslen(kind)));
                shown.emplace_back(toUtf8(Text(kind, kind + std::wcslen(kind))), r);
            }
            for (std::size_t a = 0; a < shown.size(); ++a)
                for (std::size_t b = a + 1; b < shown.size(); ++b)
                    EXPECT_FALSE(IntersectRect(&overlap, &shown[a].second, &shown[b].second))
                        << shown[a].first << " over " << shown[b].first;
        }
    }
}

// 100 000 rows are about 2 000 pages: the printout shows how far it got, and
// Annulla stops it, printing nothing and saying so.
TEST_F(Win32PlanTest, a_long_printout_shows_its_progress_and_can_be_cancelled)
{
    PlanWindow* plan = openPlan("100000000", "100000", "0,02");
    ASSERT_NE(plan, nullptr);
    const PrinterDc printer(filePrinter());
    ASSERT_NE(printer.get(), nullptr) << "no Wine PostScript printer";
    wchar_t folder[MAX_PATH]{};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring output = std::wstring(folder) + L"ratalia-annullato.ps";
    SetTimer(nullptr, 0, 50, cancelShownProgress);
    seenProgress_.clear();
    EXPECT_FALSE(plan->print(printer.get(), output.c_str()));
    DeleteFileW(output.c_str());
    EXPECT_EQ(seenProgress_.rfind("Stampa: Pagina ", 0), 0u) << seenProgress_;
    EXPECT_EQ(shown(plan, "Status"), "Stampa annullata.");
    EXPECT_TRUE(IsWindowEnabled(plan->handle()));
    EXPECT_TRUE(IsWindowEnabled(plan->control("Print")));
    EXPECT_TRUE(messages.shown.empty());
}

// Ctrl+Shift+P opens the plan window without a calculation; its own fields
// answer the questions, the figure worked out in its field, read only.
TEST_F(Win32PlanTest, works_out_the_capital_the_duration_and_the_rate_from_the_installment)
{
    press("shift+control+p");
    PlanWindow* plan = window.planWindow();
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(planFocus(plan), "Solve");
    const auto typeIn = [&](const char* name, const char* text) {
        SetFocus(plan->control(name));
        press("Home");
        press("shift+End");
        press(text);
    };
    const auto readOnly = [&](const char* name) {
        return (GetWindowLongW(plan->control(name), GWL_STYLE) & ES_READONLY) != 0;
    };
    const struct {
        const char* name;
        int solve;
        std::vector<std::pair<const char*, const char*>> typed;
        const char *field, *shown, *reading, *figure, *value;
    } questions[] = {
        {"how much with 800 a month",
         1,
         {{"GivenInstallment", "800"}, {"Duration", "240"}, {"AnnualRate", "3,5"}},
         "Capital",
         "137.941,47",
         "calcolato",
         "LoanCapital",
         "137.941,47 (calcolato)"},
        {"in how many months 15 000 at 300",
         2,
         {{"Capital", "15000"}, {"GivenInstallment", "300"}, {"AnnualRate", "5"}},
         "Duration",
         "57",
         "calcolata",
         "LoanDuration",
         "57 mesi (calcolata)"},
        {"at what rate 200 000 over 240 months at 1 432,86",
         3,
         {{"Capital", "200000"}, {"Duration", "240"}, {"GivenInstallment", "1432,86"}},
         "AnnualRate",
         "6",
         "calcolato",
         "LoanRate",
         "6 % (calcolato)"},
    };
    for (const auto& q : questions) {
        SCOPED_TRACE(q.name);
        SetFocus(plan->control("Solve"));
        press("Home");
        for (int k = 0; k < q.solve; ++k)
            press("Down");
        for (const auto& [name, text] : q.typed)
            typeIn(name, text);
        EXPECT_EQ(shown(plan, q.field), q.shown);
        EXPECT_TRUE(readOnly(q.field));
        EXPECT_EQ(shown(plan, (std::string(q.field) + "Reading").c_str()), q.reading);
        EXPECT_EQ(shown(plan, q.figure), q.value);
        for (const auto& [name, text] : q.typed)
            EXPECT_FALSE(readOnly(name)) << name;
    }
    EXPECT_TRUE(messages.shown.empty());
}

// Files for plan_files.sh: the CSVs of a few plans, to compare byte for byte
// with the Linux program's, and a 120-row plan printed to a PostScript file,
// to read back. Where the script names no folder, they go to a temporary one.
class Win32OffersTest : public Win32PlanTest {
protected:
    static std::wstring temporary(const wchar_t* name)
    {
        wchar_t folder[MAX_PATH]{};
        GetTempPathW(MAX_PATH, folder);
        return std::wstring(folder) + name;
    }
    static std::wstring write(const wchar_t* name, const std::string& bytes)
    {
        const std::wstring path = temporary(name);
        EXPECT_TRUE(writeFileWhole(path, bytes));
        return path;
    }
    // The question over unsaved offers, answered as a user would once it shows.
    static VOID CALLBACK answerQuestion(HWND, UINT, UINT_PTR timer, DWORD)
    {
        const HWND box = FindWindowW(L"#32770", L"Offerte non salvate");
        if (!box)
            return;
        KillTimer(nullptr, timer);
        questionSeen_ = true;
        SendMessageW(GetDlgItem(box, answer_), BM_CLICK, 0, 0);
    }
    static inline int answer_ = IDCANCEL;
    static inline bool questionSeen_ = false;
};

TEST_F(Win32OffersTest, offers_from_two_files_side_by_side_kept_in_a_file_and_asked_about)
{
    const auto banks = twoBanks();
    const NumberText numbers(u',');
    const std::wstring a = write(L"ratalia-a.ratalia", offersFileText(std::span(banks).first(1), numbers));
    const std::wstring b = write(L"ratalia-b.ratalia", offersFileText(std::span(banks).last(1), numbers));
    window.openOffers({a, b});
    pump();
    PlanWindow* plan = window.planWindow();
    ASSERT_NE(plan, nullptr);
    const HWND offers = plan->control("Offers");
    ASSERT_EQ(SendMessageW(offers, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(shown(plan, "Offers"), "Banca A");
    EXPECT_EQ(shown(plan, "OfferName"), "Banca A");
    EXPECT_EQ(shown(plan, "Capital"), "180000");

    // Confronto: a column an offer, the TAEG of each, which is cheaper and why.
    plan->showView(PlanView::Comparison);
    pump();
    const HWND table = plan->control("Comparison");
    ASSERT_TRUE(IsWindowVisible(table));
    int taegRow = -1;
    for (int r = 0; r < ListView_GetItemCount(table); ++r)
        if (row(plan, r, "Comparison").rfind("TAEG | ", 0) == 0)
            taegRow = r;
    ASSERT_GE(taegRow, 0);
    EXPECT_EQ(row(plan, taegRow, "Comparison"),
              "TAEG | " + taegOf("3,1", 300, 150'000, 0) + " | " + taegOf("3,4", 240, 80'000, 200));
    EXPECT_EQ(row(plan, ListView_GetItemCount(table) - 2, "Comparison"),
              "Fine del prestito | dopo 300 mesi | dopo 240 mesi");
    EXPECT_EQ(row(plan, ListView_GetItemCount(table) - 1, "Comparison"),
              "Più conveniente | per TAEG | per costo totale");
    // Every cell whole in its column, the cheapest's bold included.
    for (int c = 1; c <= 2; ++c)
        for (int r = 0; r < ListView_GetItemCount(table); ++r) {
            wchar_t cell[64]{};
            ListView_GetItemText(table, r, c, cell, 64);
            EXPECT_LT(ListView_GetStringWidth(table, cell) * 23 / 20, ListView_GetColumnWidth(table, c)) << r;
        }
    EXPECT_EQ(shown(plan, "Verdict").rfind("«Banca A» ha il TAEG più basso", 0), 0u);

    // Ctrl+N: a third offer, a copy of the one shown, its name typed at once.
    press("control+n");
    EXPECT_EQ(SendMessageW(offers, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(GetFocus(), plan->control("OfferName"));
    press("banca c");
    EXPECT_EQ(shown(plan, "Offers"), "banca c");
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(table)), 4);

    // Kept in a file of its own, named in the title; a file from a newer version opens nothing.
    const std::wstring kept = temporary(L"ratalia-tre.ratalia");
    ASSERT_TRUE(plan->saveFile(kept));
    EXPECT_EQ(textOf(plan->handle()), "ratalia-tre.ratalia — Piano di ammortamento");
    const auto bytes = readFileWhole(kept);
    ASSERT_TRUE(bytes);
    std::size_t count = 0;
    for (std::size_t at = 0; (at = bytes->find("[offerta]", at)) != std::string::npos; ++at)
        ++count;
    EXPECT_EQ(count, 3u);
    EXPECT_FALSE(plan->openFiles({write(L"ratalia-nuovo.ratalia", "ratalia-offerte: 7\n[offerta]\n")}));
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Apri le offerte"});
    EXPECT_EQ(SendMessageW(offers, CB_GETCOUNT, 0, 0), 3);

    // A change is asked about before the window closes: Annulla keeps it, No lets it go.
    SetFocus(plan->control("InitialFees"));
    press("9");
    EXPECT_EQ(textOf(plan->handle()), "*ratalia-tre.ratalia — Piano di ammortamento");
    for (const int answer : {IDCANCEL, IDNO}) {
        answer_ = answer;
        questionSeen_ = false;
        SetTimer(nullptr, 0, 100, answerQuestion);
        SendMessageW(plan->handle(), WM_CLOSE, 0, 0);
        pump();
        EXPECT_TRUE(questionSeen_);
        EXPECT_EQ(IsWindowVisible(plan->handle()) != FALSE, answer == IDCANCEL);
    }
    for (const std::wstring& path : {a, b, kept, temporary(L"ratalia-nuovo.ratalia")})
        DeleteFileW(path.c_str());
}

class Win32PlanFilesTest : public Win32PlanTest {
protected:
    static std::wstring outputFolder()
    {
        wchar_t folder[MAX_PATH]{};
        if (GetEnvironmentVariableW(L"RATALIA_PLAN_FILES", folder, MAX_PATH) == 0)
            GetTempPathW(MAX_PATH, folder);
        std::wstring out(folder);
        if (!out.empty() && out.back() != L'\\')
            out += L'\\';
        return out;
    }
};

TEST_F(Win32PlanFilesTest, writes_the_csv_of_each_plan)
{
    const struct {
        const wchar_t* file;
        const char *capital, *months, *rate;
        const char *initialFees, *installmentFee, *annualFee, *firstDue, *repayAfter, *repayAmount;
        bool italian, reduceDuration;
    } plans[] = {
        {L"plain.csv", "10000", "24", "6,75", "", "", "", "", "", "", false, false},
        {L"costs.csv", "150000", "300", "3,2", "1200", "2,50", "35", "", "", "", false, false},
        {L"italian.csv", "200000", "240", "6", "4000", "", "", "", "", "", true, false},
        {L"italian-costs.csv", "10000", "24", "6,75", "", "3", "30", "", "", "", true, false},
        {L"repaid.csv", "100000", "240", "3,5", "", "", "", "01/2027", "60", "20000", false, true},
    };
    for (const auto& p : plans) {
        PlanWindow* plan = openPlan(p.capital, p.months, p.rate);
        ASSERT_NE(plan, nullptr);
        for (const auto& [name, text] :
             {std::pair{"InitialFees", p.initialFees}, std::pair{"InstallmentFee", p.installmentFee},
              std::pair{"AnnualFee", p.annualFee}, std::pair{"FirstDue", p.firstDue},
              std::pair{"RepayAfter", p.repayAfter}, std::pair{"RepayAmount", p.repayAmount}}) {
            SetFocus(plan->control(name));
            press("Home");
            press("shift+End");
            if (*text)
                press(text);
            else
                press("Delete");
        }
        SetFocus(plan->control("Kind"));
        press(p.italian ? "End" : "Home");
        SetFocus(plan->control("Reduce"));
        press(p.reduceDuration ? "End" : "Home");
        ASSERT_TRUE(plan->exportCsv(outputFolder() + p.file)) << toUtf8(Text(p.file, p.file + std::wcslen(p.file)));
        press("Escape");
        SetForegroundWindow(window.handle());
    }
}

// The two banks' offers compared: the CSV the script holds to the Linux
// program's --confronta, the printout it reads back.
TEST_F(Win32PlanFilesTest, exports_and_prints_the_comparison)
{
    const auto banks = twoBanks();
    const NumberText numbers(u',');
    const std::wstring a = outputFolder() + L"confronto-a.ratalia", b = outputFolder() + L"confronto-b.ratalia";
    ASSERT_TRUE(writeFileWhole(a, offersFileText(std::span(banks).first(1), numbers)));
    ASSERT_TRUE(writeFileWhole(b, offersFileText(std::span(banks).last(1), numbers)));
    window.openOffers({a, b});
    pump();
    PlanWindow* plan = window.planWindow();
    ASSERT_NE(plan, nullptr);
    plan->showView(PlanView::Comparison);
    ASSERT_TRUE(plan->exportCsv(outputFolder() + L"confronto.csv"));
    const PrinterDc printer(filePrinter());
    ASSERT_NE(printer.get(), nullptr) << "no Wine PostScript printer";
    const std::wstring output = outputFolder() + L"confronto.ps";
    DeleteFileW(output.c_str());
    ASSERT_TRUE(plan->print(printer.get(), output.c_str()));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Win32PlanFilesTest, prints_120_rows_to_a_file_printer)
{
    PlanWindow* plan = openPlan("25000", "120", "6,75");
    ASSERT_NE(plan, nullptr);
    const PrinterDc printer(filePrinter());
    ASSERT_NE(printer.get(), nullptr) << "no Wine PostScript printer";
    const std::wstring output = outputFolder() + L"piano.ps";
    DeleteFileW(output.c_str());
    ASSERT_TRUE(plan->print(printer.get(), output.c_str()));
    EXPECT_TRUE(messages.shown.empty());
    char start[16]{};
    HANDLE file = CreateFileW(output.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD read = 0;
    ReadFile(file, start, 10, &read, nullptr);
    CloseHandle(file);
    EXPECT_EQ(std::string(start), "%!PS-Adobe");
}

TEST_F(Win32PlanFilesTest, prints_a_dated_plan_with_its_years)
{
    PlanWindow* plan = openPlan("100000", "240", "3,5");
    ASSERT_NE(plan, nullptr);
    for (const auto& [name, text] :
         {std::pair{"FirstDue", "01/2027"}, std::pair{"RepayAfter", "60"}, std::pair{"RepayAmount", "20000"}}) {
        SetFocus(plan->control(name));
        press(text);
    }
    SetFocus(plan->control("Reduce"));
    press("End");
    const PrinterDc printer(filePrinter());
    ASSERT_NE(printer.get(), nullptr) << "no Wine PostScript printer";
    const std::wstring output = outputFolder() + L"repaid.ps";
    DeleteFileW(output.c_str());
    ASSERT_TRUE(plan->print(printer.get(), output.c_str()));
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
} // namespace ratalia::test
