#pragma once

// The program's own words that more than one place shows, each written once
// so that the windows, the printout and the command line cannot drift apart.

#include <string_view>

namespace ratalia::texts {

// The one message for data that cannot be used.
inline constexpr std::u16string_view wrongData = u"Sono stati inseriti uno o più dati errati";
// The plan's window, its printout and the title of its messages.
inline constexpr std::u16string_view planTitle = u"Piano di ammortamento";
// The menu entry that opens the plan ("&" marks the access key).
inline constexpr std::u16string_view openPlan = u"&Piano di ammortamento…";
// The entry that opens the plan window as it stands, without a calculation:
// to start from the installment one can pay, for instance.
inline constexpr std::u16string_view openPlanAsIs = u"Piano da &impostare…";
inline constexpr std::u16string_view openPlanAsIsTip =
    u"Apre la finestra del piano anche senza un calcolo: si può partire dalla rata che si può pagare";

} // namespace ratalia::texts
