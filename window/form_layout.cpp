#include "window/form_layout.h"

#include <array>

namespace ratalia {
namespace {

using K = ControlKind;

// "(Capitale)" and "(montante)" are followed by runs of spaces wider than
// their line, so each stands alone on its first line and the rest wraps below.
#define SPACES8 "        "
constexpr const char* capitalCaption =
    "(Capitale)" SPACES8 SPACES8 SPACES8 SPACES8 "Chiedendo  un  pagamento dilazionato di";
constexpr const char* totalCaption = "(montante)" SPACES8 SPACES8 SPACES8 SPACES8 SPACES8 SPACES8 SPACES8
                                     "  in quanto gli interessi totali risultano essere di";
#undef SPACES8

constexpr std::array layout{
    ControlLayout{"Frame1", K::Frame, nullptr, "Dati da inserire ", 240, 120, 2415, 3135, 2},
    ControlLayout{"Frame2", K::Frame, nullptr, "Risultati ", 2880, 120, 2415, 4215, 12},
    ControlLayout{"Frame3", K::Frame, nullptr, "Tasso d'interesse nominale ", 240, 3360, 2415, 975, 26},
    ControlLayout{"Command1", K::PushButton, nullptr, "&Calcola", 240, 4440, 2415, 495, 0},
    ControlLayout{"Command2", K::PushButton, nullptr, "&Arrotonda", 2880, 4440, 2415, 495, 25},
    ControlLayout{"Label30", K::LinkLabel, nullptr, nullptr, 240, 5040, 2505, 195, 34},
    ControlLayout{"Label16", K::LinkLabel, nullptr, nullptr, 3360, 5040, 1935, 195, 33},
    ControlLayout{"Label9", K::Label, nullptr, "€", 9600, 240, 495, 255, 1},

    ControlLayout{"Label1", K::Label, "Frame1", capitalCaption, 240, 240, 2055, 615, 9},
    ControlLayout{"Text1", K::InputField, "Frame1", nullptr, 240, 960, 1575, 285, 5},
    ControlLayout{"Label8", K::Label, "Frame1", "Euro", 1920, 960, 375, 255, 10},
    ControlLayout{"Label13", K::Label, "Frame1", "in", 240, 1320, 255, 255, 6},
    ControlLayout{"Text2", K::InputField, "Frame1", nullptr, 240, 1560, 615, 315, 4},
    ControlLayout{"Option1", K::OptionButton, "Frame1", "mesi", 960, 1560, 615, 315, 31},
    ControlLayout{"Option2", K::OptionButton, "Frame1", "anni", 1680, 1560, 615, 315, 32},
    ControlLayout{"Label3", K::Label, "Frame1", "al  tasso di  interesse  annuo", 240, 1920, 2055, 255, 8},
    ControlLayout{"Label19", K::Label, "Frame1", "del", 240, 2160, 375, 255, 11},
    ControlLayout{"Text3", K::InputField, "Frame1", nullptr, 1200, 2160, 615, 285, 3},
    ControlLayout{"Label7", K::Label, "Frame1", "%", 2040, 2160, 255, 255, 7},
    ControlLayout{"Command3", K::PushButton, "Frame1", "Ripristina tasso standard", 240, 2520, 1935, 375, 30},

    ControlLayout{"Label5", K::Label, "Frame2", "Si dovranno pagare", 240, 360, 1695, 255, 22},
    ControlLayout{"Text8", K::ResultField, "Frame2", nullptr, 240, 720, 1575, 285, 23},
    ControlLayout{"Label2", K::Label, "Frame2", "rate", 1920, 720, 375, 255, 24},
    ControlLayout{"Label4", K::Label, "Frame2", "mensili   di", 240, 1200, 855, 255, 18},
    ControlLayout{"Text5", K::ResultField, "Frame2", nullptr, 240, 1560, 1575, 285, 15},
    ControlLayout{"Label10", K::Label, "Frame2", "Euro", 1920, 1560, 375, 255, 20},
    ControlLayout{"Label15", K::Label, "Frame2", "per un valore complessivo di", 240, 1920, 1815, 495, 17},
    ControlLayout{"Text6", K::ResultField, "Frame2", nullptr, 240, 2400, 1575, 285, 14},
    ControlLayout{"Label11", K::Label, "Frame2", "Euro", 1920, 2400, 375, 255, 21},
    ControlLayout{"Label18", K::Label, "Frame2", totalCaption, 240, 2760, 1695, 855, 16},
    ControlLayout{"Text7", K::ResultField, "Frame2", nullptr, 240, 3720, 1575, 285, 13},
    ControlLayout{"Label20", K::Label, "Frame2", "Euro", 1920, 3720, 375, 255, 19},

    ControlLayout{"Label12", K::Label, "Frame3", "mensile", 120, 240, 735, 255, 29},
    ControlLayout{"Text4", K::ResultField, "Frame3", nullptr, 240, 480, 1575, 285, 27},
    ControlLayout{"Label6", K::Label, "Frame3", "%", 2040, 480, 255, 255, 28},
};

} // namespace

std::span<const ControlLayout> FormLayout::controls() { return layout; }

} // namespace ratalia
