#include "form/form_layout.h"

#include "form/version.h"

#include <algorithm>
#include <array>

namespace ratalia {
namespace {

using K = ControlKind;
using F = Frame;
constexpr std::monostate none;
constexpr std::optional<Frame> window;

// "(Capitale)" and "(montante)" are followed by runs of spaces wider than
// their line, so each stands alone on its first line and the rest wraps below.
#define SPACES8 "        "
constexpr const char* capitalCaption =
    "(Capitale)" SPACES8 SPACES8 SPACES8 SPACES8 "Chiedendo  un  pagamento dilazionato di";
constexpr const char* totalCaption = "(montante)" SPACES8 SPACES8 SPACES8 SPACES8 SPACES8 SPACES8 SPACES8
                                     "  in quanto gli interessi totali risultano essere di";
#undef SPACES8

// clang-format off
constexpr std::array layout{
    ControlLayout{"Frame1", K::Frame, F::Inputs, window, "Dati da inserire ", nullptr, nullptr, 240, 120, 2415, 3135, 2},
    ControlLayout{"Frame2", K::Frame, F::Results, window, "Risultati ", nullptr, nullptr, 2880, 120, 2415, 4215, 12},
    ControlLayout{"Frame3", K::Frame, F::MonthlyRate, window, "Tasso d'interesse nominale ", nullptr, nullptr, 240, 3360, 2415, 975, 26},
    ControlLayout{"Command1", K::PushButton, Button::Calculate, window, "&Calcola", nullptr, nullptr, 240, 4440, 2415, 495, 0},
    ControlLayout{"Command2", K::PushButton, Button::Round, window, "&Arrotonda", nullptr, nullptr, 2880, 4440, 2415, 495, 25},
    ControlLayout{"Label30", K::LinkLabel, Link::WebSite, window, nullptr, nullptr, "Sito disegni CAD", 240, 5040, 2505, 195, 34},
    ControlLayout{"Label16", K::LinkLabel, Link::Email, window, nullptr, nullptr, "E-mail", 3360, 5040, 1935, 195, 33},
    ControlLayout{"Label9", K::Label, none, window, "€", nullptr, nullptr, 9600, 240, 495, 255, 1},

    ControlLayout{"Label1", K::Label, none, F::Inputs, capitalCaption, nullptr, nullptr, 240, 240, 2055, 615, 9},
    ControlLayout{"Text1", K::InputField, Field::Capital, F::Inputs, nullptr, "Capitale", nullptr, 240, 960, 1575, 285, 5},
    ControlLayout{"Label8", K::Label, none, F::Inputs, "Euro", nullptr, nullptr, 1920, 960, 375, 255, 10},
    ControlLayout{"Label13", K::Label, none, F::Inputs, "in", nullptr, nullptr, 240, 1320, 255, 255, 6},
    ControlLayout{"Text2", K::InputField, Field::Duration, F::Inputs, nullptr, "Durata", nullptr, 240, 1560, 615, 315, 4},
    ControlLayout{"Option1", K::OptionButton, DurationUnit::Months, F::Inputs, "mesi", nullptr, nullptr, 960, 1560, 615, 315, 31},
    ControlLayout{"Option2", K::OptionButton, DurationUnit::Years, F::Inputs, "anni", nullptr, nullptr, 1680, 1560, 615, 315, 32},
    ControlLayout{"Label3", K::Label, none, F::Inputs, "al  tasso di  interesse  annuo", nullptr, nullptr, 240, 1920, 2055, 255, 8},
    ControlLayout{"Label19", K::Label, none, F::Inputs, "del", nullptr, nullptr, 240, 2160, 375, 255, 11},
    ControlLayout{"Text3", K::InputField, Field::AnnualRate, F::Inputs, nullptr, "Tasso di interesse annuo", nullptr, 1200, 2160, 615, 285, 3},
    ControlLayout{"Label7", K::Label, none, F::Inputs, "%", nullptr, nullptr, 2040, 2160, 255, 255, 7},
    ControlLayout{"Command3", K::PushButton, Button::ResetRate, F::Inputs, "Ripristina tasso standard", nullptr, nullptr, 240, 2520, 1935, 375, 30},

    ControlLayout{"Label5", K::Label, none, F::Results, "Si dovranno pagare", nullptr, nullptr, 240, 360, 1695, 255, 22},
    ControlLayout{"Text8", K::ResultField, Field::InstallmentCount, F::Results, nullptr, "Numero di rate", nullptr, 240, 720, 1575, 285, 23},
    ControlLayout{"Label2", K::Label, none, F::Results, "rate", nullptr, nullptr, 1920, 720, 375, 255, 24},
    ControlLayout{"Label4", K::Label, none, F::Results, "mensili   di", nullptr, nullptr, 240, 1200, 855, 255, 18},
    ControlLayout{"Text5", K::ResultField, Field::Installment, F::Results, nullptr, "Rata mensile", nullptr, 240, 1560, 1575, 285, 15},
    ControlLayout{"Label10", K::Label, none, F::Results, "Euro", nullptr, nullptr, 1920, 1560, 375, 255, 20},
    ControlLayout{"Label15", K::Label, none, F::Results, "per un valore complessivo di", nullptr, nullptr, 240, 1920, 1815, 495, 17},
    ControlLayout{"Text6", K::ResultField, Field::TotalPaid, F::Results, nullptr, "Montante", nullptr, 240, 2400, 1575, 285, 14},
    ControlLayout{"Label11", K::Label, none, F::Results, "Euro", nullptr, nullptr, 1920, 2400, 375, 255, 21},
    ControlLayout{"Label18", K::Label, none, F::Results, totalCaption, nullptr, nullptr, 240, 2760, 1695, 855, 16},
    ControlLayout{"Text7", K::ResultField, Field::TotalInterest, F::Results, nullptr, "Interessi totali", nullptr, 240, 3720, 1575, 285, 13},
    ControlLayout{"Label20", K::Label, none, F::Results, "Euro", nullptr, nullptr, 1920, 3720, 375, 255, 19},

    ControlLayout{"Label12", K::Label, none, F::MonthlyRate, "mensile", nullptr, nullptr, 120, 240, 735, 255, 29},
    ControlLayout{"Text4", K::ResultField, Field::MonthlyRate, F::MonthlyRate, nullptr, "Tasso mensile", nullptr, 240, 480, 1575, 285, 27},
    ControlLayout{"Label6", K::Label, none, F::MonthlyRate, "%", nullptr, nullptr, 2040, 480, 255, 255, 28},
};
// clang-format on

} // namespace

std::string FormLayout::caption() { return std::string(" Ratalia   Ver. ") + version; }

std::span<const ControlLayout> FormLayout::controls() { return layout; }

const ControlLayout& FormLayout::control(const ControlId& id)
{
    return *std::find_if(layout.begin(), layout.end(), [&](const ControlLayout& c) { return c.id == id; });
}

ControlRect FormLayout::inClientArea(const ControlLayout& c)
{
    ControlRect r{c.left, c.top, c.width, c.height};
    if (c.container) {
        const ControlLayout& frame = control(*c.container);
        r.left += frame.left;
        r.top += frame.top;
    }
    return r;
}

std::vector<const ControlLayout*> FormLayout::inTabOrder()
{
    std::vector<const ControlLayout*> order;
    for (const ControlLayout& c : layout)
        order.push_back(&c);
    std::stable_sort(order.begin(), order.end(),
                     [](const ControlLayout* a, const ControlLayout* b) { return a->tabIndex < b->tabIndex; });
    return order;
}

std::vector<ControlId> FormLayout::tabStops()
{
    std::vector<ControlId> stops;
    for (const ControlLayout* c : inTabOrder()) {
        switch (c->kind) {
        case ControlKind::InputField:
        case ControlKind::ResultField:
        case ControlKind::PushButton:
            stops.push_back(c->id);
            break;
        case ControlKind::OptionButton:
            if (std::get<DurationUnit>(c->id) == DurationUnit::Months)
                stops.push_back(c->id);
            break;
        default:
            break;
        }
    }
    return stops;
}

std::optional<ControlId> FormLayout::nextTabStop(const std::optional<ControlId>& from, bool forward,
                                                 DurationUnit chosen,
                                                 const std::function<bool(const ControlId&)>& canTakeFocus)
{
    const std::vector<ControlId> stops = tabStops();
    const auto count = static_cast<std::ptrdiff_t>(stops.size());
    // Either option stands for the pair's one stop.
    const ControlId current =
        from && std::holds_alternative<DurationUnit>(*from) ? ControlId(DurationUnit::Months) : from.value_or(none);
    const auto found = std::find(stops.begin(), stops.end(), current);
    std::ptrdiff_t index = found == stops.end() ? (forward ? -1 : count) : found - stops.begin();
    for (std::ptrdiff_t tried = 0; tried < count; ++tried) {
        index = (index + (forward ? 1 : -1) + count) % count;
        ControlId candidate = stops[static_cast<std::size_t>(index)];
        if (std::holds_alternative<DurationUnit>(candidate))
            candidate = chosen;
        if (canTakeFocus(candidate))
            return candidate;
    }
    return std::nullopt;
}

bool FormLayout::liesOutsideClientArea(const ControlLayout& c)
{
    const ControlRect r = inClientArea(c);
    return r.left >= clientWidth || r.top >= clientHeight || r.left + r.width <= 0 || r.top + r.height <= 0;
}

} // namespace ratalia
