#include "plan/plan_window_layout.h"

#include "plan/plan_text.h"

#include <algorithm>
#include <array>
#include <iterator>
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
    PlanCommandLayout{PlanCommand::StartClean, "StartClean", u"Ricomincia", u"Ricomincia",
                      u"Toglie costi, date ed estinzione anticipata: resta il solo prestito"},
    PlanCommandLayout{PlanCommand::NewOffer, "NewOffer", u"Nuova", u"Nuova offerta",
                      u"Una nuova offerta, copia di quella mostrata, da cambiare (Ctrl+N)", u"Ctrl+N"},
    PlanCommandLayout{PlanCommand::RemoveOffer, "RemoveOffer", u"Elimina", u"Elimina l'offerta",
                      u"Toglie l'offerta mostrata"},
    PlanCommandLayout{PlanCommand::OpenOffers, "OpenOffers", u"Apri…", u"Apri le offerte",
                      u"Apre un file di offerte (Ctrl+O)", u"Ctrl+O"},
    PlanCommandLayout{PlanCommand::SaveOffers, "SaveOffers", u"Salva", u"Salva le offerte",
                      u"Salva le offerte nel loro file (Ctrl+S)", u"Ctrl+S"},
    PlanCommandLayout{PlanCommand::SaveOffersAs, "SaveOffersAs", u"Salva con nome…", u"Salva le offerte con nome",
                      u"Salva le offerte in un altro file (Ctrl+Maiusc+S)", u"Ctrl+Shift+S"},
};
constexpr std::array views{
    PlanViewLayout{PlanView::Summary, "Summary", u"Riepilogo", u"Riepilogo del piano",
                   u"Tutte le cifre del prestito, dei costi e dell'estinzione anticipata"},
    PlanViewLayout{PlanView::Installments, "Installments", u"Ra&te", u"Rate del piano", u"Le rate, una per riga"},
    PlanViewLayout{PlanView::Years, "Years", u"Per &anno", u"Totali per anno",
                   u"Rate, interessi e quota capitale di ogni anno, con il debito a fine anno"},
    PlanViewLayout{PlanView::Chart, "Chart", u"&Grafico", u"Grafico del piano",
                   u"Interessi e quota capitale di ogni rata, e il debito residuo"},
    PlanViewLayout{PlanView::Comparison, "Comparison", u"Confronto", u"Confronto delle offerte",
                   u"Le offerte una accanto all'altra, con la più conveniente per TAEG e per costo totale"},
};
// clang-format on

std::vector<Figure> keyFigures(const std::vector<Figure>& all)
{
    // The answer to the question asked comes first.
    std::vector<Figure> key;
    for (const Figure& figure : all)
        if (figure.workedOut) {
            // Its note in brief: the interval of rates is in the summary and under the field.
            Figure brief = figure;
            if (const auto cut = brief.value.find(u"; "); cut != Text::npos)
                brief.value = brief.value.substr(0, cut) + u")";
            key.push_back(brief);
        }
    for (const FigureId id : {FigureId::Installment, FigureId::FirstInstallment, FigureId::LastInstallment,
                              FigureId::Taeg, FigureId::CostOfCredit, FigureId::TotalDue, FigureId::Saving})
        for (const Figure& figure : all)
            if (figure.id == id)
                key.push_back(figure);
    return key;
}

Text digits(std::size_t value)
{
    const std::string plain = std::to_string(value);
    return Text(plain.begin(), plain.end());
}

} // namespace

std::span<const PlanCommandLayout> PlanWindowLayout::commands() { return ratalia::commands; }

std::span<const PlanViewLayout> PlanWindowLayout::views() { return ratalia::views; }

bool offersCommand(PlanCommand id)
{
    return id == PlanCommand::NewOffer || id == PlanCommand::RemoveOffer || id == PlanCommand::OpenOffers ||
           id == PlanCommand::SaveOffers || id == PlanCommand::SaveOffersAs;
}

Text comparisonTable(const OfferComparison& comparison, char16_t delimiter)
{
    return delimitedComparison(comparison, delimiter);
}

Text viewTable(PlanView view, const AmortizationPlan& plan, const AmountText& amounts, char16_t delimiter)
{
    return view == PlanView::Years && plan.firstDue() ? delimitedYears(plan, amounts, delimiter)
                                                      : delimitedPlan(plan, amounts, delimiter);
}

std::u16string_view viewFileName(PlanView view, const AmortizationPlan& plan)
{
    return view == PlanView::Years && plan.firstDue() ? PlanWindowLayout::yearsFileName
                                                      : PlanWindowLayout::defaultFileName;
}

std::vector<Text> choiceCaptions(PlanInput id, const NumberText& numbers)
{
    std::vector<Text> captions;
    for (const InputChoice& choice : planInputSpec(id).choices) {
        Text caption(choice.caption);
        std::replace(caption.begin(), caption.end(), u',', numbers.decimalSeparator());
        captions.push_back(caption);
    }
    return captions;
}

const FileKind& viewFileKind(PlanView view, const AmortizationPlan& plan)
{
    return view == PlanView::Years && plan.firstDue() ? PlanWindowLayout::yearsCsvFile : PlanWindowLayout::csvFile;
}

Text keyFiguresLine(const std::vector<Figure>& all)
{
    Text line;
    for (const Figure& figure : keyFigures(all))
        line += (line.empty() ? u"" : u"   ·   ") + figure.label + u" " + figure.value;
    return line;
}

Text totalsLine(const std::vector<Figure>& totals)
{
    Text line;
    for (const Figure& total : totals)
        line += (line.empty() ? u"" : u"    ") + total.label + u": " + total.value;
    return line;
}

ScreenRect placeBeside(const ScreenRect& main, const ScreenRect& workArea, int width, int height, int minimumWidth)
{
    width = std::min(width, workArea.width);
    height = std::min(height, workArea.height);
    const auto clamp = [](int value, int low, int high) { return std::max(low, std::min(value, high)); };
    // The main window's top, as far as the work area allows.
    const int top = clamp(main.top, workArea.top, workArea.bottom() - height);
    const int gap = 8;
    const int roomRight = workArea.right() - main.right() - gap;
    const int roomLeft = main.left - workArea.left - gap;
    if (width <= roomRight)
        return {main.right() + gap, top, width, height};
    if (width <= roomLeft)
        return {main.left - gap - width, top, width, height};
    // Narrower, beside it on the side with more room, where that leaves the window its smallest width.
    if (std::max(roomRight, roomLeft) >= minimumWidth)
        return roomRight >= roomLeft ? ScreenRect{main.right() + gap, top, roomRight, height}
                                     : ScreenRect{workArea.left, top, roomLeft, height};
    // No room on either side: against the side with more room, covering as little as may be.
    const int left = roomRight >= roomLeft ? workArea.right() - width : workArea.left;
    return {left, top, width, height};
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

Text notOpenedMessage(const Text& path)
{
    return u"Impossibile aprire «" + path + u"»: il file non c'è o non si può leggere. Non è stato aperto nulla.";
}

Text pageFoot(std::size_t page, std::size_t pages) { return u"Pagina " + digits(page) + u" di " + digits(pages); }

Text pageProgress(std::size_t page, std::size_t pages) { return pageFoot(page, pages) + u"…"; }

} // namespace ratalia
