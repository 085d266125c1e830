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
};
constexpr auto costs = PlanInputGroup::PlanAndCosts;
constexpr auto repayment = PlanInputGroup::EarlyRepayment;
constexpr std::array inputs{
    PlanInputLayout{PlanInput::Kind, "Kind", u"A&mmortamento:", u"Tipo di ammortamento",
                    u"Rata costante, o quota capitale costante con rate che scendono di mese in mese", true, u"", u"",
                    costs, 0, 0},
    PlanInputLayout{PlanInput::FirstDue, "FirstDue", u"Mese &della prima rata:", u"Mese della prima rata",
                    u"Mese e anno della prima scadenza (MM/AAAA): le rate mostrano la loro scadenza e il piano i "
                    u"totali per anno", false, u"", u"MM/AAAA", costs, 0, 1},
    PlanInputLayout{PlanInput::InitialFees, "InitialFees", u"Spese &iniziali:", u"Spese iniziali",
                    u"Istruttoria, perizia e le altre spese pagate all'inizio, tolte da quanto si riceve", false,
                    u"€", u"", costs, 1, 0},
    PlanInputLayout{PlanInput::SubstituteTax, "SubstituteTax", u"Imposta s&ostitutiva:", u"Imposta sostitutiva",
                    u"Una parte del capitale, pagata all'inizio (DPR 601/1973): 0,25 % sui finanziamenti di più di 18 "
                    u"mesi, 2 % su quelli per comprare, costruire o ristrutturare una casa che non è la prima; "
                    u"nessuna fino a 18 mesi", true, u"", u"", costs, 1, 1},
    PlanInputLayout{PlanInput::InstallmentFee, "InstallmentFee", u"Spese per &rata:", u"Spese per rata",
                    u"Pagate con ogni rata (incasso rata)", false, u"€", u"", costs, 2, 0},
    PlanInputLayout{PlanInput::AnnualFee, "AnnualFee", u"Spese a&nnue:", u"Spese annue",
                    u"Dovute all'inizio di ogni anno del prestito, con la 1ª, la 13ª, la 25ª rata, … (l'estratto "
                    u"conto annuale, un premio annuo). Un premio annuo pagato a rate mensili va in Spese per rata, "
                    u"diviso per 12", false, u"€", u"", costs, 2, 1},
    PlanInputLayout{PlanInput::RepayAfter, "RepayAfter", u"Estin&zione dopo la rata:", u"Estinzione dopo la rata",
                    u"Il numero della rata con cui si rimborsa in anticipo", false, u"", u"numero", repayment, 0, 0},
    PlanInputLayout{PlanInput::RepayAmount, "RepayAmount", u"Importo rim&borsato:", u"Importo rimborsato",
                    u"Quanto capitale si rimborsa in anticipo, oppure «tutto» per estinguere il debito", false, u"€",
                    u"importo o «tutto»", repayment, 0, 1},
    PlanInputLayout{PlanInput::Reduce, "Reduce", u"Rid&uci:", u"Dopo un'estinzione parziale riduci",
                    u"La rata, ricalcolata sul debito residuo per la stessa fine, oppure la durata, con la stessa rata",
                    true, u"", u"", repayment, 1, 0},
    PlanInputLayout{PlanInput::Penalty, "Penalty", u"Pena&le:", u"Penale",
                    u"Quella del contratto, in percentuale dell'importo rimborsato in anticipo, pagata con la rata "
                    u"dell'estinzione entro i limiti di legge del tipo di finanziamento", false, u"%", u"0", repayment, 1, 1},
    PlanInputLayout{PlanInput::Credit, "Credit", u"Tipo di &finanziamento:", u"Tipo di finanziamento",
                    u"Decide i limiti di legge della penale e se tornano le spese: mutuo per la casa, credito ai "
                    u"consumatori o altro (la penale del contratto)", true, u"", u"", repayment, 2, 0},
};
constexpr std::array views{
    PlanViewLayout{PlanView::Installments, "Installments", u"Ra&te", u"Rate del piano", u"Le rate, una per riga"},
    PlanViewLayout{PlanView::Years, "Years", u"Per &anno", u"Totali per anno",
                   u"Rate, interessi e quota capitale di ogni anno, con il debito a fine anno"},
    PlanViewLayout{PlanView::Chart, "Chart", u"&Grafico", u"Grafico del piano",
                   u"Interessi e quota capitale di ogni rata, e il debito residuo"},
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

std::vector<PlanInputLayout> PlanWindowLayout::inputsOf(PlanInputGroup group)
{
    std::vector<PlanInputLayout> out;
    std::copy_if(ratalia::inputs.begin(), ratalia::inputs.end(), std::back_inserter(out),
                 [group](const PlanInputLayout& input) { return input.group == group; });
    return out;
}

std::span<const PlanViewLayout> PlanWindowLayout::views() { return ratalia::views; }

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

std::vector<PlanChoice> PlanWindowLayout::choices(PlanInput id, const NumberText& numbers)
{
    if (id == PlanInput::Kind)
        return {{kindName(PlanKind::French), PlanKind::French, {}},
                {kindName(PlanKind::Italian), PlanKind::Italian, {}}};
    if (id == PlanInput::SubstituteTax) {
        const Text quarter = numbers.localeText(0.25);
        return {{u"Nessuna", PlanKind::French, {}},
                {quarter + u" % (oltre 18 mesi)", PlanKind::French, quarter},
                {u"2 % (casa che non è la prima)", PlanKind::French, u"2"}};
    }
    if (id == PlanInput::Credit) {
        std::vector<PlanChoice> options;
        for (const CreditKind kind : {CreditKind::Other, CreditKind::HomeMortgage, CreditKind::Consumer}) {
            options.push_back({creditName(kind), PlanKind::French, {}, false, kind});
        }
        return options;
    }
    if (id == PlanInput::Reduce)
        return {{u"la rata (stessa fine)", PlanKind::French, {}, false},
                {u"la durata (stessa rata)", PlanKind::French, {}, true}};
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
