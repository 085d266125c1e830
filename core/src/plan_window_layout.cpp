#include "core/plan_window_layout.h"

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
// clang-format on

Text digits(std::size_t value)
{
    const std::string plain = std::to_string(value);
    return Text(plain.begin(), plain.end());
}

} // namespace

std::span<const PlanCommandLayout> PlanWindowLayout::commands() { return ratalia::commands; }

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
