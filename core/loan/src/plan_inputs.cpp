#include "loan/plan_inputs.h"

#include <algorithm>

namespace ratalia {
namespace {

// clang-format off
constexpr InputChoice unknowns[] = {{u"la rata", "rata", u""}, {u"il capitale", "capitale", u""},
                                    {u"la durata", "durata", u""}, {u"il tasso annuo", "tasso", u""}};
constexpr InputChoice units[] = {{u"mesi", "mesi", u""}, {u"anni", "anni", u""}};
constexpr InputChoice kinds[] = {{u"Rata costante (alla francese)", "francese", u""},
                                 {u"Quota capitale costante (all'italiana)", "italiana", u""}};
constexpr InputChoice taxes[] = {{u"Nessuna", "", u""}, {u"0,25 % (oltre 18 mesi)", "", u"0,25"},
                                 {u"2 % (casa che non è la prima)", "", u"2"}};
constexpr InputChoice reductions[] = {{u"la rata (stessa fine)", "rata", u""}, {u"la durata (stessa rata)", "durata", u""}};
constexpr InputChoice frequencies[] = {{u"mensile", "mensile", u""}, {u"bimestrale", "bimestrale", u""},
                                       {u"trimestrale", "trimestrale", u""}, {u"semestrale", "semestrale", u""},
                                       {u"annuale", "annuale", u""}};
constexpr InputChoice dayCounts[] = {{u"365 giorni (366 se bisestile)", "365", u""},
                                     {u"360 giorni (anno commerciale)", "360", u""}};
constexpr InputChoice oddDays[] = {{u"nella prima rata", "prima-rata", u""},
                                   {u"in una rata a sé (preammortamento tecnico)", "a-parte", u""}};
constexpr InputChoice credits[] = {{u"Altro", "altro", u""}, {u"Mutuo per la casa", "casa", u""},
                                   {u"Credito ai consumatori", "consumo", u""}};

constexpr InputOption capital[] = {{"--capitale", "IMPORTO", "il capitale prestato"}};
constexpr InputOption duration[] = {{"--mesi", "NUMERO", "la durata in mesi"}, {"--anni", "NUMERO", "la durata in anni"}};
constexpr InputOption rate[] = {{"--tasso", "PERCENTUALE", "il tasso annuo nominale (TAN), in percentuale"}};
constexpr InputOption installment[] = {{"--rata", "IMPORTO",
    "la rata che si può pagare: delle quattro --capitale, --mesi o --anni, --tasso e --rata se ne danno tre, e la "
    "quarta si calcola"}};
constexpr InputOption kind[] = {{"--ammortamento", "francese|italiana",
    "francese, la rata costante (il solito), oppure italiana, la quota capitale costante"}};
constexpr InputOption frequency[] = {{"--frequenza", "mensile|bimestrale|trimestrale|semestrale|annuale",
    "ogni quanto si paga una rata (mensile, il solito); la durata va in mesi o anni interi di rate, e il tasso di "
    "un periodo è il TAN diviso per le rate di un anno"}};
constexpr InputOption interestOnly[] = {{"--preammortamento", "N",
    "le prime N rate pagano solo interessi; le altre restituiscono il capitale. La durata è quella di tutto il "
    "prestito, preammortamento compreso"}};
constexpr InputOption balloon[] = {{"--maxi-rata", "IMPORTO",
    "una maxi-rata finale: quanto resta da pagare dopo l'ultima rata, pagato insieme a essa; uguale al capitale, "
    "le rate pagano solo interessi"}};
constexpr InputOption rateSteps[] = {{"--variazione-tasso", "K:TASSO",
    "dalla rata K il TAN è TASSO (tasso variabile o misto, come si prevede che cambi); si ripete per più "
    "variazioni. La rata si ricalcola sul debito residuo per le rate che restano", true}};
constexpr InputOption finalFees[] = {{"--spese-finali", "IMPORTO",
    "spese pagate con l'ultima rata (chiusura, estinzione)"}};
constexpr InputOption insurance[] = {{"--assicurazione", "PERCENTUALE",
    "un'assicurazione sul debito: il premio di ogni rata è questa percentuale annua del debito residuo su cui la "
    "rata si paga, e scende con il debito; nel TAEG se la polizza è richiesta per avere il credito"}};
constexpr InputOption singlePremium[] = {{"--premio-unico", "IMPORTO",
    "un'assicurazione pagata una volta alla stipula, tolta da quanto si riceve"}};
constexpr InputOption signing[] = {{"--stipula", "GG/MM/AAAA",
    "la data della stipula: con una --prima-rata con il giorno, i giorni fra le due oltre i periodi interi pagano "
    "interessi semplici sul capitale, e il TAEG li conta"}};
constexpr InputOption dayCount[] = {{"--giorni", "365|360",
    "l'anno degli interessi dei giorni in più: 365 (366 se bisestile, il solito) o 360, l'anno commerciale"}};
constexpr InputOption oddDaysRow[] = {{"--giorni-in-piu", "prima-rata|a-parte",
    "con --stipula: gli interessi dei giorni in più nella prima rata, uguale alle altre (il solito), oppure a parte, "
    "in una rata di soli interessi alla prima scadenza, con le rate un periodo dopo l'altra da lì "
    "(preammortamento tecnico)"}};
constexpr InputOption initialFees[] = {{"--spese-iniziali", "IMPORTO",
    "spese pagate alla stipula, tolte da quanto si riceve (istruttoria, perizia, …)"}};
constexpr InputOption tax[] = {{"--imposta", "PERCENTUALE",
    "imposta sostitutiva, in percentuale del capitale: 0,25 sui finanziamenti di più di 18 mesi, 2 su quelli "
    "per una casa che non è la prima; nessuna fino a 18 mesi (DPR 601/1973)"}};
constexpr InputOption installmentFee[] = {{"--spese-rata", "IMPORTO", "spese pagate con ogni rata (incasso rata)"}};
constexpr InputOption annualFee[] = {{"--spese-annue", "IMPORTO",
    "spese dovute all'inizio di ogni anno del prestito, con la 1a, la 13a, la 25a rata, …; un premio annuo "
    "pagato a rate mensili va in --spese-rata, diviso per 12"}};
constexpr InputOption firstDue[] = {{"--prima-rata", "MM/AAAA|GG/MM/AAAA",
    "il mese (o il giorno) della prima rata: le rate con la loro scadenza e i totali per anno"}};
constexpr InputOption repayAfter[] = {{"--estinzione-dopo", "K", "un'estinzione anticipata, con la rata K"}};
constexpr InputOption repayAmount[] = {{"--estinzione-importo", "IMPORTO|tutto",
    "quanto si rimborsa: un importo, o tutto il debito residuo"}};
constexpr InputOption reduce[] = {{"--riduci", "rata|durata",
    "dopo un'estinzione parziale: la rata ricalcolata per la stessa fine (il solito), o la stessa rata e meno "
    "rate"}};
constexpr InputOption penalty[] = {{"--penale", "PERCENTUALE",
    "la penale del contratto, in percentuale dell'importo rimborsato"}};
constexpr InputOption repayments[] = {{"--rimborso", "K:IMPORTO[:rata|durata[:PENALE]]",
    "un rimborso anticipato con la rata K: un importo o tutto, che riduce la rata (il solito) o la durata, con la "
    "penale del contratto in percentuale; si ripete per più rimborsi, insieme a quello di --estinzione-dopo",
    true}};
constexpr InputOption extra[] = {{"--extra", "IMPORTO[:mensile|annuale][:DA_K]",
    "un versamento in più, con ogni rata (mensile, il solito) o una volta l'anno, dalla rata DA_K (la prima, il "
    "solito): la rata resta la stessa e il prestito finisce prima; senza penale"}};
constexpr InputOption credit[] = {{"--tipo-credito", "casa|consumo|altro",
    "i limiti di legge della penale: casa, nessuna penale (mutuo per la casa, art. 120-ter TUB); consumo, al "
    "massimo l'1 % (0,5 % a un anno o meno dalla fine), non più degli interessi risparmiati, nessuna su tutto "
    "un debito fino a 10.000 €, e tornano le spese iniziali (art. 125-sexies TUB); altro, il solito, la "
    "penale del contratto"}};

using V = InputValue;
using S = PlanSection;
constexpr std::array specs{
    PlanInputSpec{PlanInput::Solve, V::Choice, S::Loan, "Solve", u"Si calcola:", u"Si calcola",
                  u"Quale cifra del prestito si calcola dalle altre tre: la rata, il capitale, la durata o il tasso "
                  u"annuo", u"", u"", unknowns, {}},
    PlanInputSpec{PlanInput::Capital, V::Amount, S::Loan, "Capital", u"Capita&le:", u"Capitale",
                  u"La somma prestata", u"€", u"", {}, capital},
    PlanInputSpec{PlanInput::Duration, V::Count, S::Loan, "Duration", u"&Durata:", u"Durata",
                  u"Il numero di mesi o di anni del prestito", u"", u"", {}, duration},
    PlanInputSpec{PlanInput::Unit, V::Choice, S::Loan, "Unit", u"", u"Durata in mesi o in anni",
                  u"Se la durata è in mesi o in anni", u"", u"", units, {}},
    PlanInputSpec{PlanInput::AnnualRate, V::Percentage, S::Loan, "AnnualRate", u"Tasso ann&uo (TAN):",
                  u"Tasso annuo nominale", u"Il tasso annuo nominale (TAN) del contratto", u"%", u"", {}, rate},
    PlanInputSpec{PlanInput::Installment, V::Amount, S::Loan, "GivenInstallment", u"Rata:", u"Rata",
                  u"La rata mensile: calcolata, oppure quella che si può pagare quando si calcola un'altra cifra "
                  u"(nel piano all'italiana, la prima rata, la più alta)", u"€", u"", {}, installment},
    PlanInputSpec{PlanInput::Kind, V::Choice, S::Loan, "Kind", u"A&mmortamento:", u"Tipo di ammortamento",
                  u"Rata costante, o quota capitale costante con rate che scendono di mese in mese", u"", u"",
                  kinds, kind},
    PlanInputSpec{PlanInput::Frequency, V::Choice, S::Shape, "Frequency", u"Fre&quenza delle rate:",
                  u"Frequenza delle rate",
                  u"Ogni quanto si paga una rata: il tasso di un periodo è il TAN diviso per le rate di un anno, e "
                  u"la durata deve essere un numero intero di rate", u"", u"", frequencies, frequency},
    PlanInputSpec{PlanInput::InterestOnly, V::Count, S::Shape, "InterestOnly", u"Rate di preammortamento:",
                  u"Rate di preammortamento",
                  u"Le prime rate pagano solo interessi; le altre restituiscono il capitale. La durata resta quella "
                  u"di tutto il prestito, preammortamento compreso", u"", u"0", {}, interestOnly},
    PlanInputSpec{PlanInput::Balloon, V::Amount, S::Shape, "Balloon", u"Ma&xi-rata finale:", u"Maxi-rata finale",
                  u"Quanto resta da pagare dopo l'ultima rata, pagato insieme a essa; uguale al capitale, le rate "
                  u"pagano solo interessi", u"€", u"", {}, balloon},
    PlanInputSpec{PlanInput::RateSteps, V::RateSteps, S::Shape, "RateSteps", u"Variazioni del tasso:",
                  u"Variazioni del tasso",
                  u"Tasso variabile o misto, come si prevede che cambi: «dalla rata:TAN», separate da «;», per "
                  u"esempio «25:6; 61:4,5». A ogni variazione la rata si ricalcola sul debito residuo", u"",
                  u"rata:TAN; …", {}, rateSteps},
    PlanInputSpec{PlanInput::InitialFees, V::Amount, S::Costs, "InitialFees", u"Spese &iniziali:", u"Spese iniziali",
                  u"Istruttoria, perizia e le altre spese pagate alla stipula, tolte da quanto si riceve", u"€", u"",
                  {}, initialFees},
    PlanInputSpec{PlanInput::SubstituteTax, V::Percentage, S::Costs, "SubstituteTax", u"Imposta sostituti&va:",
                  u"Imposta sostitutiva",
                  u"Una parte del capitale, pagata alla stipula (DPR 601/1973): 0,25 % sui finanziamenti di più "
                  u"di 18 mesi, 2 % su quelli per comprare, costruire o ristrutturare una casa che non è la prima; "
                  u"nessuna fino a 18 mesi", u"", u"", taxes, tax},
    PlanInputSpec{PlanInput::InstallmentFee, V::Amount, S::Costs, "InstallmentFee", u"Spese per &rata:",
                  u"Spese per rata", u"Pagate con ogni rata (incasso rata)", u"€", u"", {}, installmentFee},
    PlanInputSpec{PlanInput::AnnualFee, V::Amount, S::Costs, "AnnualFee", u"Spese a&nnue:", u"Spese annue",
                  u"Dovute all'inizio di ogni anno del prestito, con la 1ª, la 13ª, la 25ª rata, … (l'estratto "
                  u"conto annuale, un premio annuo). Un premio annuo pagato a rate mensili va in Spese per rata, "
                  u"diviso per 12", u"€", u"", {}, annualFee},
    PlanInputSpec{PlanInput::FinalFees, V::Amount, S::Costs, "FinalFees", u"Spese finali:", u"Spese finali",
                  u"Pagate con l'ultima rata (chiusura, estinzione)", u"€", u"", {}, finalFees},
    PlanInputSpec{PlanInput::Insurance, V::Percentage, S::Costs, "Insurance", u"Assicurazione sul debito:",
                  u"Assicurazione sul debito, percentuale annua",
                  u"Il premio di ogni rata è questa percentuale annua del debito residuo, e scende con il debito. "
                  u"Conta nel TAEG se la polizza è richiesta per avere il credito, o per averlo a queste condizioni",
                  u"% annuo", u"", {}, insurance},
    PlanInputSpec{PlanInput::SinglePremium, V::Amount, S::Costs, "SinglePremium", u"Premio unico:",
                  u"Premio unico dell'assicurazione",
                  u"Un'assicurazione pagata una volta alla stipula, tolta da quanto si riceve", u"€", u"", {},
                  singlePremium},
    PlanInputSpec{PlanInput::Signing, V::Day, S::Dates, "Signing", u"Stipula:", u"Data della stipula",
                  u"Il giorno della stipula (GG/MM/AAAA): con il giorno della prima rata, i giorni fra le due oltre "
                  u"i periodi interi pagano interessi semplici sul capitale con la prima rata, e il TAEG li conta",
                  u"", u"GG/MM/AAAA", {}, signing},
    PlanInputSpec{PlanInput::FirstDue, V::MonthOrDay, S::Dates, "FirstDue", u"Prima scaden&za:",
                  u"Data della prima rata",
                  u"Mese e anno della prima rata (MM/AAAA), o anche il giorno (GG/MM/AAAA): le rate mostrano la loro "
                  u"scadenza e il piano i totali per anno", u"", u"MM/AAAA", {}, firstDue},
    PlanInputSpec{PlanInput::DayCount, V::Choice, S::Dates, "DayCount", u"Anno dei giorni in più:",
                  u"Anno dei giorni in più",
                  u"Gli interessi dei giorni fra la stipula e il primo periodo intero contano un anno di 365 giorni "
                  u"(366 se bisestile), o di 360 come dicono alcuni contratti", u"", u"", dayCounts, dayCount},
    PlanInputSpec{PlanInput::OddDays, V::Choice, S::Dates, "OddDays", u"Interessi dei giorni in più:",
                  u"Interessi dei giorni in più",
                  u"Nella prima rata, uguale alle altre, oppure in una rata a sé alla prima scadenza, di soli "
                  u"interessi, con le rate ogni periodo da lì (preammortamento tecnico)", u"", u"", oddDays,
                  oddDaysRow},
    PlanInputSpec{PlanInput::RepayAfter, V::Count, S::EarlyRepayment, "RepayAfter", u"Estinzi&one dopo la rata:",
                  u"Estinzione dopo la rata", u"Il numero della rata con cui si rimborsa in anticipo", u"",
                  u"numero", {}, repayAfter},
    PlanInputSpec{PlanInput::RepayAmount, V::AmountOrAll, S::EarlyRepayment, "RepayAmount",
                  u"Importo rim&borsato:", u"Importo rimborsato",
                  u"Quanto capitale si rimborsa in anticipo, oppure «tutto» per estinguere il debito", u"€",
                  u"importo o «tutto»", {}, repayAmount},
    PlanInputSpec{PlanInput::Reduce, V::Choice, S::EarlyRepayment, "Reduce", u"Riduci:",
                  u"Dopo un'estinzione parziale riduci",
                  u"La rata, ricalcolata sul debito residuo per la stessa fine, oppure la durata, con la stessa rata",
                  u"", u"", reductions, reduce},
    PlanInputSpec{PlanInput::Penalty, V::Percentage, S::EarlyRepayment, "Penalty", u"Penale:", u"Penale",
                  u"Quella del contratto, in percentuale dell'importo rimborsato in anticipo, pagata con la rata "
                  u"dell'estinzione entro i limiti di legge del tipo di finanziamento", u"%", u"0", {}, penalty},
    PlanInputSpec{PlanInput::Repayments, V::Repayments, S::EarlyRepayment, "Repayments", u"Altri rimborsi:",
                  u"Altri rimborsi anticipati",
                  u"Più rimborsi anticipati, separati da «;»: «rata:importo», l'importo o «tutto», e se si vuole "
                  u"«:durata» per tenere la rata e finire prima (il solito è «:rata») e la penale in percentuale, "
                  u"per esempio «24:5000; 60:3000:durata:1»", u"", u"rata:importo; …", {}, repayments},
    PlanInputSpec{PlanInput::Extra, V::Extra, S::EarlyRepayment, "Extra", u"Versamento in più:",
                  u"Versamento in più ricorrente",
                  u"Un importo versato in più con ogni rata, o una volta l'anno, da una rata in poi: «importo», "
                  u"«importo:annuale», «importo:mensile:13». La rata resta la stessa e il prestito finisce prima",
                  u"", u"importo[:annuale][:da rata]", {}, extra},
    PlanInputSpec{PlanInput::Credit, V::Choice, S::EarlyRepayment, "Credit", u"Tipo di &finanziamento:",
                  u"Tipo di finanziamento",
                  u"Decide i limiti di legge della penale e se tornano le spese: mutuo per la casa, credito ai "
                  u"consumatori o altro (la penale del contratto)", u"", u"", credits, credit},
};
// clang-format on

constexpr bool inOrder()
{
    for (std::size_t k = 0; k < specs.size(); ++k)
        if (static_cast<std::size_t>(specs[k].id) != k)
            return false;
    return specs.size() == planInputCount;
}
static_assert(inOrder(), "one row per input, in the order of PlanInput");

constexpr PlanInput loanInputs[] = {PlanInput::Solve, PlanInput::Capital,    PlanInput::Duration,
                                    PlanInput::Unit,  PlanInput::AnnualRate, PlanInput::Installment};

} // namespace

std::span<const PlanInputSpec> planInputSpecs() { return specs; }

const PlanInputSpec& planInputSpec(PlanInput id) { return specs[static_cast<std::size_t>(id)]; }

PlanInput fieldOf(Unknown unknown)
{
    switch (unknown) {
    case Unknown::Capital:
        return PlanInput::Capital;
    case Unknown::Duration:
        return PlanInput::Duration;
    case Unknown::Rate:
        return PlanInput::AnnualRate;
    case Unknown::Installment:
        break;
    }
    return PlanInput::Installment;
}

std::u16string_view sectionTitle(PlanSection section)
{
    switch (section) {
    case PlanSection::Loan:
        return u"Prestito";
    case PlanSection::Shape:
        return u"Forma del piano";
    case PlanSection::Costs:
        return u"Costi";
    case PlanSection::Dates:
        return u"Date";
    case PlanSection::EarlyRepayment:
        return u"Estinzione anticipata";
    }
    return {};
}

PlanInputs::PlanInputs(const LoanTerms& terms)
{
    setText(PlanInput::Capital, terms.capital);
    setText(PlanInput::Duration, terms.duration);
    choose(PlanInput::Unit, static_cast<std::size_t>(terms.unit));
    setText(PlanInput::AnnualRate, terms.annualRate);
}

int PlanInputs::periodsPerYear() const
{
    static constexpr int perYear[] = {12, 6, 4, 2, 1};
    return perYear[std::min<std::size_t>(choice(PlanInput::Frequency), 4)];
}

bool PlanInputs::hasMoreThanTheLoan() const { return withLoanOf(PlanInputs()) != PlanInputs(); }

PlanInputs PlanInputs::withLoanOf(const PlanInputs& loan) const
{
    PlanInputs out = *this;
    for (const PlanInput input : loanInputs) {
        out.setText(input, loan.text(input));
        out.choose(input, loan.choice(input));
    }
    return out;
}

bool PlanInputs::sameLoan(const PlanInputs& other) const
{
    return std::all_of(std::begin(loanInputs), std::end(loanInputs), [&](PlanInput input) {
        return text(input) == other.text(input) && choice(input) == other.choice(input);
    });
}

} // namespace ratalia
