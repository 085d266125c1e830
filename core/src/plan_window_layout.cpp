#include "core/plan_window_layout.h"

#include "core/plan_text.h"

#include <algorithm>
#include <array>
#include <string>

namespace ratalia {
namespace {

// clang-format off
constexpr std::array commands{
    PlanCommandLayout{PlanCommand::Copy, "Copy", u"&Copia", u"Copia",
                      u"Copia la tabella negli appunti, pronta per un foglio di calcolo"},
    PlanCommandLayout{PlanCommand::ExportCsv, "ExportCsv", u"&Esporta CSV…", u"Esporta CSV",
                      u"Salva la tabella in un file CSV"},
    PlanCommandLayout{PlanCommand::Print, "Print", u"&Stampa…", u"Stampa", u"Stampa il piano"},
    PlanCommandLayout{PlanCommand::SavePdf, "SavePdf", u"Salva &PDF…", u"Salva PDF",
                      u"Salva il piano, pronto da stampare, in un file PDF"},
    PlanCommandLayout{PlanCommand::Close, "Close", u"C&hiudi", u"Chiudi", u"Chiude questa finestra"},
};
constexpr std::array inputs{
    PlanInputLayout{PlanInput::Kind, "Kind", u"A&mmortamento:", u"Tipo di ammortamento",
                    u"Rata costante, o quota capitale costante con rate che scendono di mese in mese", true, u"", 0, 0},
    PlanInputLayout{PlanInput::InitialFees, "InitialFees", u"Spese &iniziali:", u"Spese iniziali",
                    u"Istruttoria, perizia e le altre spese pagate all'inizio, tolte da quanto si riceve", false,
                    u"€", 1, 0},
    PlanInputLayout{PlanInput::SubstituteTax, "SubstituteTax", u"Imposta s&ostitutiva:", u"Imposta sostitutiva",
                    u"Una parte del capitale, pagata all'inizio: 0,25 % per la prima casa, 2 % negli altri casi", true,
                    u"", 1, 1},
    PlanInputLayout{PlanInput::InstallmentFee, "InstallmentFee", u"Spese per &rata:", u"Spese per rata",
                    u"Pagate con ogni rata (incasso rata)", false, u"€", 2, 0},
    PlanInputLayout{PlanInput::AnnualFee, "AnnualFee", u"Spese a&nnue:", u"Spese annue",
                    u"Pagate ogni dodici rate, con la 12ª, la 24ª, … (un'assicurazione, l'estratto conto annuale)",
                    false, u"€", 2, 1},
};
// clang-format on

Text digits(std::size_t value)
{
    const std::string plain = std::to_string(value);
    return Text(plain.begin(), plain.end());
}

} // namespace

std::span<const PlanCommandLayout> PlanWindowLayout::commands() { return ratalia::commands; }

std::span<const PlanInputLayout> PlanWindowLayout::inputs() { return ratalia::inputs; }

std::vector<PlanChoice> PlanWindowLayout::choices(PlanInput id, const NumberText& numbers)
{
    if (id == PlanInput::Kind)
        return {{kindName(PlanKind::French), PlanKind::French, {}},
                {kindName(PlanKind::Italian), PlanKind::Italian, {}}};
    if (id == PlanInput::SubstituteTax) {
        const Text quarter = numbers.localeText(0.25);
        return {{u"Nessuna", PlanKind::French, {}},
                {quarter + u" % (prima casa)", PlanKind::French, quarter},
                {u"2 % (altri casi)", PlanKind::French, u"2"}};
    }
    return {};
}

const PlanCommandLayout& PlanWindowLayout::command(PlanCommand id)
{
    return *std::find_if(ratalia::commands.begin(), ratalia::commands.end(),
                         [&](const PlanCommandLayout& c) { return c.id == id; });
}

Text withExtension(const Text& path, const FileKind& kind)
{
    const auto name = path.find_last_of(u"/\\");
    const auto start = name == Text::npos ? 0 : name + 1;
    // A dot that only starts the name (".csv") is no extension; one at the end ("piano.") is an empty one.
    const auto dot = path.rfind(u'.');
    if (dot != Text::npos && dot > start && dot + 1 < path.size())
        return path;
    Text out = dot != Text::npos && dot > start && dot + 1 == path.size() ? path.substr(0, dot) : path;
    return out + u'.' + Text(kind.extension);
}

Text notSavedMessage(const Text& path)
{
    return u"Impossibile salvare il piano in «" + path +
           u"». Il file non è stato scritto: scegliere un'altra cartella o un altro nome e riprovare.";
}

Text pageFoot(std::size_t page, std::size_t pages) { return u"Pagina " + digits(page) + u" di " + digits(pages); }

Text pageProgress(std::size_t page, std::size_t pages) { return pageFoot(page, pages) + u"…"; }

} // namespace ratalia
