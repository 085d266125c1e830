#pragma once

// The keyboard as a user meets it, written once for both windows: the Linux
// real-key test presses these through XTest, the Windows test through
// SendInput, and both compare what the user sees afterwards with the same
// expectations. Keys are named as X names them: "alt+c", "Return",
// "KP_Enter", "BackSpace".

#include "form/form_layout.h"

#include <ostream>
#include <string>
#include <vector>

namespace ratalia::test {

struct KeyCase {
    const char* name;
    const char* capital;
    const char* duration;
    bool calculated; // "&Calcola" pressed before the keys
    ControlId focus;
    std::vector<std::string> keys;
    // The eight fields from the capital on joined by "|", the unit, the buttons, the focus.
    std::string expected;
    const char* message = ""; // the title of the message box the keys bring up
    // Where Windows leaves the focus instead: its access keys press a
    // button by moving the focus to it, as every Windows dialog does (and
    // from a button that disabled itself the focus moves on to the next stop).
    const char* windowsFocus = nullptr;
};

inline void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

inline const std::string keyResults = "0,0056250000|446,5932949505|10718,2390788112|718,2390788112|24";
inline const std::string keyRounded = "0,0056250000|446,59|10718,24|718,24|24";

inline std::vector<KeyCase> keyCases()
{
    const std::string calculated = "10000|24|6,75|" + keyResults + " ; mesi ; Calcola on, Arrotonda on";
    const std::string rounding = "10000|24|6,75|" + keyRounded + " ; mesi ; Calcola on, Arrotonda on";
    const std::string filled = "10000|24|6,75||||| ; mesi ; Calcola on, Arrotonda off";
    const std::string noCapital = "|24|6,75||||| ; mesi ; Calcola off, Arrotonda off";
    // clang-format off
    return {
        {"alt_c_with_calcola_disabled", "", "24", false, Field::Capital, {"alt+c"}, (noCapital + " ; Capital")},
        {"alt_a_with_arrotonda_disabled", "10000", "24", false, Field::Duration, {"alt+a"}, (filled + " ; Duration")},
        {"alt_with_no_access_key", "10000", "24", false, Field::AnnualRate, {"alt+x", "alt+9"}, (filled + " ; AnnualRate")},
        {"alt_c_with_calcola_enabled", "10000", "24", false, Field::Capital, {"alt+c"}, (calculated + " ; Capital"), "",
         "Calculate"},
        {"alt_a_with_arrotonda_enabled", "10000", "24", true, Field::AnnualRate, {"alt+a"}, (rounding + " ; AnnualRate"),
         "", "Round"},
        {"enter_on_calcola", "10000", "24", false, Button::Calculate, {"Return"}, (calculated + " ; Calculate")},
        {"keypad_enter_on_calcola", "10000", "24", false, Button::Calculate, {"KP_Enter"},
         (calculated + " ; Calculate")},
        {"keypad_enter_on_arrotonda", "10000", "24", true, Button::Round, {"KP_Enter"},
         (rounding + " ; Round")},
        {"space_on_arrotonda", "10000", "24", true, Button::Round, {"space"}, (rounding + " ; Round")},
        {"enter_and_escape_in_a_field", "10000", "24", false, Field::Duration, {"Return", "KP_Enter", "Escape"},
         (filled + " ; Duration")},
        {"enter_and_escape_on_the_options", "10000", "24", false, DurationUnit::Months, {"Return", "KP_Enter", "Escape"},
         (filled + " ; Months")},
        {"arrow_selects_anni", "10000", "24", true, DurationUnit::Months, {"Right"},
         "10000|24|6,75|0,0056250000|||| ; anni ; Calcola on, Arrotonda off ; Years"},
        {"arrows_select_mesi_again", "10000", "24", true, DurationUnit::Months, {"Down", "Up"},
         "10000|24|6,75|0,0056250000|||| ; mesi ; Calcola on, Arrotonda off ; Months"},
        {"typing_into_a_result_field", "10000", "24", true, Field::Installment, {"9", "BackSpace", "Delete", "alt+c"},
         (calculated + " ; Installment"), "", "Calculate"},
        {"typing_into_an_input", "", "24", false, Field::Capital, {"1", "0", "0", "BackSpace", "0"},
         "100|24|6,75||||| ; mesi ; Calcola on, Arrotonda off ; Capital"},
        {"alt_c_on_a_bad_capital_then_enter_closes_the_message", "abc", "24", false, Field::Capital, {"alt+c"},
         "||6,75||||| ; mesi ; Calcola off, Arrotonda off ; Capital", "Errore", "AnnualRate"},
    };
    // clang-format on
}

// What a case expects on Windows: the same, but for the focus after an access key.
inline std::string expectedOnWindows(const KeyCase& c)
{
    if (!c.windowsFocus)
        return c.expected;
    return c.expected.substr(0, c.expected.rfind(" ; ") + 3) + c.windowsFocus;
}

// The main window's tab stops, from the rate field on, as a person reads
// them off the layout: Tab walks them forward, Shift+Tab back.
inline const std::vector<std::string> mainTabOrder{"Duration",    "Capital",          "TotalInterest", "TotalPaid",
                                                   "Installment", "InstallmentCount", "Round",         "MonthlyRate",
                                                   "ResetRate",   "Months",           "Calculate",     "AnnualRate"};

} // namespace ratalia::test
