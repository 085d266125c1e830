#include "plan/plan_text.h"

#include "loan/solve.h"

#include "plan/plan_table.h"

#include "loan/annual_percentage_rate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace ratalia {
namespace {

Text ascii(const std::string& text) { return Text(text.begin(), text.end()); }

Text padded(const Text& text, std::size_t width, bool right)
{
    const Text fill(width > text.size() ? width - text.size() : 0, u' ');
    return right ? fill + text : text + fill;
}

} // namespace

std::vector<PlanColumn> columnsOf(const AmortizationPlan& plan)
{
    std::vector<PlanColumn> columns{PlanColumn::Number};
    if (plan.firstDue())
        columns.push_back(PlanColumn::DueDate);
    columns.insert(columns.end(), {PlanColumn::Installment, PlanColumn::Interest, PlanColumn::Principal});
    const std::size_t amounts = columns.size();
    if (plan.balloon() != 0)
        columns.push_back(PlanColumn::Balloon);
    if (plan.repaidEarly())
        columns.push_back(PlanColumn::Prepaid);
    if (plan.penalty() != 0)
        columns.push_back(PlanColumn::Penalty);
    if (plan.costs().withInstallments())
        columns.push_back(PlanColumn::Costs);
    if (plan.refund() != 0)
        columns.push_back(PlanColumn::Refund);
    // Where the installment is not all that is paid, what is paid on the day.
    if (columns.size() > amounts)
        columns.push_back(PlanColumn::Payment);
    columns.push_back(PlanColumn::RemainingDebt);
    return columns;
}

Text columnTitle(PlanColumn column)
{
    switch (column) {
    case PlanColumn::Number:
        return u"N.";
    case PlanColumn::DueDate:
        return u"Scadenza";
    case PlanColumn::Installment:
        return u"Rata";
    case PlanColumn::Interest:
        return u"Interessi";
    case PlanColumn::Principal:
        return u"Quota capitale";
    case PlanColumn::Balloon:
        return u"Maxi-rata";
    case PlanColumn::Prepaid:
        return u"Rimborso anticipato";
    case PlanColumn::Penalty:
        return u"Penale";
    case PlanColumn::Costs:
        return u"Spese";
    case PlanColumn::Refund:
        return u"Spese restituite";
    case PlanColumn::Payment:
        return u"Pagamento";
    case PlanColumn::RemainingDebt:
        return u"Debito residuo";
    }
    return {};
}

Text cellText(const AmortizationPlan& plan, const PlanRow& row, PlanColumn column, const AmountText& amounts,
              bool grouped)
{
    const auto amount = [&](Cents cents) { return grouped ? amounts.grouped(cents) : amounts.plain(cents); };
    switch (column) {
    case PlanColumn::Number:
        return ascii(std::to_string(row.number));
    case PlanColumn::DueDate: {
        const auto due = plan.dueDate(row);
        return due ? monthText(*due) : Text();
    }
    case PlanColumn::Installment:
        return amount(row.installment);
    case PlanColumn::Interest:
        return amount(row.interest);
    case PlanColumn::Principal:
        return amount(row.principal);
    case PlanColumn::Balloon:
        return row.balloon != 0 ? amount(row.balloon) : Text();
    case PlanColumn::Prepaid:
        return row.prepaid != 0 ? amount(row.prepaid) : Text();
    case PlanColumn::Penalty:
        return row.penalty != 0 ? amount(row.penalty) : Text();
    case PlanColumn::Costs:
        return amount(row.costs);
    case PlanColumn::Refund:
        return row.refund != 0 ? amount(row.refund) : Text();
    case PlanColumn::Payment:
        return amount(row.payment());
    case PlanColumn::RemainingDebt:
        return amount(row.remainingDebt);
    }
    return {};
}

std::vector<YearTotals> yearlyTotals(const AmortizationPlan& plan)
{
    std::vector<YearTotals> years;
    if (!plan.firstDue())
        return years;
    // What is paid at the signing, a month before the first installment, in its year.
    // The oneri accessori apart from a single insurance premium, which is no charge on the loan itself.
    const LoanCosts& costs = plan.costs();
    if (const Cents upfront = costs.upfront(); upfront != 0)
        years.push_back({plan.firstDue()->plus(-12 / plan.periodsPerYear()).year, 0, 0, 0, 0, 0,
                         upfront - costs.singlePremium, costs.singlePremium, 0, plan.capital()});
    for (const PlanRow& row : plan.rows()) {
        const std::int64_t year = plan.dueDate(row)->year;
        if (years.empty() || years.back().year != year)
            years.push_back({year});
        YearTotals& totals = years.back();
        if (row.number > 0) // the odd days' own row is interest, not an installment
            ++totals.installments;
        totals.interest += row.interest;
        totals.principal += row.principal;
        totals.balloon += row.balloon;
        totals.prepaid += row.prepaid;
        totals.charges += row.penalty;
        totals.fees += row.costs;
        totals.refund += row.refund;
        totals.debtAtEnd = row.remainingDebt;
    }
    return years;
}

std::vector<YearColumn> yearColumns(const AmortizationPlan& plan)
{
    std::vector<YearColumn> columns{YearColumn::Year, YearColumn::Installments, YearColumn::Interest,
                                    YearColumn::Principal};
    if (plan.balloon() != 0)
        columns.push_back(YearColumn::Balloon);
    if (plan.repaidEarly())
        columns.push_back(YearColumn::Prepaid);
    if (plan.costs().initialFees + plan.costs().substituteTax != 0 || plan.penalty() != 0)
        columns.push_back(YearColumn::Charges);
    if (plan.costs().withInstallments() || plan.costs().singlePremium != 0)
        columns.push_back(YearColumn::Fees);
    if (plan.refund() != 0)
        columns.push_back(YearColumn::Refund);
    columns.push_back(YearColumn::DebtAtEnd);
    return columns;
}

Text columnTitle(YearColumn column)
{
    switch (column) {
    case YearColumn::Year:
        return u"Anno";
    case YearColumn::Installments:
        return u"Rate";
    case YearColumn::Interest:
        return u"Interessi";
    case YearColumn::Principal:
        return u"Quota capitale";
    case YearColumn::Balloon:
        return u"Maxi-rata";
    case YearColumn::Prepaid:
        return u"Rimborso anticipato";
    case YearColumn::Charges:
        return u"Oneri accessori";
    case YearColumn::Fees:
        return u"Altre spese";
    case YearColumn::Refund:
        return u"Spese restituite";
    case YearColumn::DebtAtEnd:
        return u"Debito a fine anno";
    }
    return {};
}

Text cellText(const YearTotals& year, YearColumn column, const AmountText& amounts, bool grouped)
{
    const auto amount = [&](Cents cents) { return grouped ? amounts.grouped(cents) : amounts.plain(cents); };
    switch (column) {
    case YearColumn::Year:
        return ascii(std::to_string(year.year));
    case YearColumn::Installments:
        return ascii(std::to_string(year.installments));
    case YearColumn::Interest:
        return amount(year.interest);
    case YearColumn::Principal:
        return amount(year.principal);
    case YearColumn::Balloon:
        return year.balloon != 0 ? amount(year.balloon) : Text();
    case YearColumn::Prepaid:
        return year.prepaid != 0 ? amount(year.prepaid) : Text();
    case YearColumn::Charges:
        return amount(year.charges);
    case YearColumn::Fees:
        return amount(year.fees);
    case YearColumn::Refund:
        return year.refund != 0 ? amount(year.refund) : Text();
    case YearColumn::DebtAtEnd:
        return amount(year.debtAtEnd);
    }
    return {};
}

const char* objectName(FigureId id)
{
    switch (id) {
    case FigureId::Kind:
        return "PlanKind";
    case FigureId::Capital:
        return "LoanCapital";
    case FigureId::Duration:
        return "LoanDuration";
    case FigureId::AnnualRate:
        return "LoanRate";
    case FigureId::Taeg:
        return "Taeg";
    case FigureId::MonthlyRate:
        return "MonthlyRate";
    case FigureId::Installment:
        return "Installment";
    case FigureId::Principal:
        return "Principal";
    case FigureId::FirstInstallment:
        return "FirstInstallment";
    case FigureId::LastInstallment:
        return "LastInstallment";
    case FigureId::Received:
        return "Received";
    case FigureId::SinglePremium:
        return "SinglePremiumPaid";
    case FigureId::InitialFees:
        return "InitialFeesPaid";
    case FigureId::SubstituteTax:
        return "SubstituteTaxPaid";
    case FigureId::ContractInterest:
        return "ContractInterest";
    case FigureId::InstallmentCosts:
        return "InstallmentCosts";
    case FigureId::CostOfCredit:
        return "CostOfCredit";
    case FigureId::TotalDue:
        return "TotalDue";
    case FigureId::RepaidAfter:
        return "RepaidAfter";
    case FigureId::Repaid:
        return "Repaid";
    case FigureId::ExtraPaid:
        return "ExtraPaid";
    case FigureId::Penalty:
        return "PenaltyPaid";
    case FigureId::PenaltyRule:
        return "PenaltyRule";
    case FigureId::Refund:
        return "Refund";
    case FigureId::InterestSaved:
        return "InterestSaved";
    case FigureId::InstallmentAfter:
        return "InstallmentAfter";
    case FigureId::LoanEnd:
        return "LoanEnd";
    case FigureId::Saving:
        return "Saving";
    case FigureId::RateAsRepaid:
        return "RateAsRepaid";
    case FigureId::TotalInstallments:
        return "TotalInstallments";
    case FigureId::TotalInterest:
        return "TotalInterest";
    case FigureId::TotalPrincipal:
        return "TotalPrincipal";
    case FigureId::TotalPrepaid:
        return "TotalPrepaid";
    case FigureId::TotalBalloon:
        return "TotalBalloon";
    case FigureId::Frequency:
        return "FrequencyFigure";
    case FigureId::InterestOnly:
        return "InterestOnlyInstallments";
    case FigureId::RateSteps:
        return "RateStepsFigure";
    case FigureId::Balloon:
        return "BalloonFigure";
    case FigureId::FirstPeriod:
        return "FirstPeriod";
    case FigureId::TotalPenalty:
        return "TotalPenalty";
    case FigureId::TotalFees:
        return "TotalFees";
    case FigureId::TotalRefund:
        return "TotalRefund";
    case FigureId::TotalPayments:
        return "TotalPayments";
    }
    return "";
}

Text refusalText(const PlanRefusal& refusal, const AmountText& amounts)
{
    using Reason = PlanRefusal::Reason;
    const bool italian = refusal.kind == PlanKind::Italian;
    const Text what = italian ? u"la quota capitale di " : u"la rata di ";
    // After a repayment it is the installment (principal) worked out again on what is left that cannot repay it.
    const Text rounded =
        refusal.repaidWith == 0
            ? u"Arrotondata al centesimo, " + what + amounts.grouped(refusal.installment) +
                  u" non estingue questo prestito in " + amounts.whole(refusal.installments) + u" rate: "
            : u"Dopo l'estinzione con la rata " + amounts.whole(refusal.repaidWith) + u", arrotondata al centesimo, " +
                  what + amounts.grouped(refusal.installment) + u" non estingue il debito rimasto nelle " +
                  amounts.whole(refusal.installments - refusal.repaidWith) + u" rate che restano: ";
    switch (refusal.reason) {
    case Reason::TooManyInstallments: {
        // Beyond 64 bits a count has no digits worth writing out.
        const bool writable = refusal.count < 9.2e18;
        return u"Il piano di ammortamento si può mostrare fino a centomila rate; questo prestito ne ha " +
               (writable ? amounts.whole(static_cast<std::int64_t>(refusal.count))
                         : Text(u"più di un miliardo di miliardi")) +
               u".";
    }
    case Reason::CapitalTooSmall:
        return u"Il capitale è inferiore a mezzo centesimo: non c'è un piano di ammortamento da mostrare.";
    case Reason::AmountsTooLarge:
        return u"Gli importi di questo prestito sono troppo grandi per un piano di ammortamento.";
    case Reason::InterestNotCovered:
        return rounded + u"non copre nemmeno gli interessi della rata " + amounts.whole(refusal.row) + u" (" +
               amounts.grouped(refusal.amount) + u").";
    case Reason::RepaidEarly:
        return rounded + u"il debito sarebbe estinto già con la rata " + amounts.whole(refusal.row) + u".";
    case Reason::LastInstallmentOff:
        return rounded + (italian ? u"l'ultima quota capitale sarebbe di " : u"l'ultima rata sarebbe di ") +
               amounts.grouped(refusal.amount) + u".";
    case Reason::InstallmentBelowInterest:
        return u"Una rata di " + amounts.grouped(refusal.installment) + u" non supera gli interessi del primo mese (" +
               amounts.grouped(refusal.amount) + u"): il debito non scenderebbe mai.";
    case Reason::InstallmentBelowPrincipal:
        return u"Una rata di " + amounts.grouped(refusal.installment) +
               u" non restituisce il capitale in queste rate nemmeno senza interessi: a tasso zero la rata sarebbe "
               u"di " +
               amounts.grouped(refusal.amount) + u".";
    case Reason::DurationBeyondPlan:
        return u"Con una rata di " + amounts.grouped(refusal.installment) +
               u" il prestito durerebbe più di centomila rate, più di quante il piano di ammortamento ne mostri.";
    case Reason::RateAboveHighest:
        return u"Una rata di " + amounts.grouped(refusal.installment) + u" vorrebbe un tasso annuo oltre il " +
               amounts.whole(highestRate) + u" %: al " + amounts.whole(highestRate) + u" % la rata sarebbe di " +
               amounts.grouped(refusal.amount) + u".";
    case Reason::NoRateFits:
        return u"Nessun tasso annuo con al più quattro decimali dà una rata di esattamente " +
               amounts.grouped(refusal.installment) + u".";
    }
    return {};
}

Text kindName(PlanKind kind)
{
    return kind == PlanKind::Italian ? u"Quota capitale costante (all'italiana)" : u"Rata costante (alla francese)";
}

Text rateText(std::optional<double> rate, const AmountText& amounts)
{
    if (!rate)
        return u"—";
    // Hundredths of a per cent are cents of a per cent: written as an amount.
    if (const auto hundredths = inBasisPoints(*rate))
        return amounts.grouped(*hundredths) + u" %";
    return u"oltre " + amounts.whole(static_cast<std::int64_t>(largestStatedRate * 100)) + u" %";
}

Text taegText(const AmortizationPlan& plan, const AmountText& amounts)
{
    return rateText(plan.annualPercentageRate(), amounts);
}

Text creditName(CreditKind kind)
{
    switch (kind) {
    case CreditKind::Other:
        return u"Altro";
    case CreditKind::HomeMortgage:
        return u"Mutuo per la casa";
    case CreditKind::Consumer:
        return u"Credito ai consumatori";
    }
    return {};
}

Text monthlyRateText(const ExactDecimal& annualRate, const NumberText& numbers, int periodsPerYear)
{
    // The annual per cent ÷ (100 × periods) in ten-billionths, half away from zero: a share of 10^10.
    constexpr std::int64_t scale = 10'000'000'000;
    const std::int64_t divisor = 100 * periodsPerYear;
    const auto tenths = shareOf(scale, Ratio{annualRate, divisor});
    if (!tenths)
        return numbers.localeText(static_cast<double>(annualRate.significand) * std::pow(10.0, annualRate.exponent) /
                                  static_cast<double>(divisor));
    const std::string digits = std::to_string(*tenths / scale) + std::to_string(*tenths % scale + scale).substr(1);
    Text out(digits.begin(), digits.end() - 10);
    out += numbers.decimalSeparator();
    return out + Text(digits.end() - 10, digits.end());
}

namespace {

Text percentText(const ExactDecimal& rate, const NumberText& numbers)
{
    return numbers.localeText(static_cast<double>(rate.significand) *
                              std::pow(10.0, static_cast<double>(rate.exponent))) +
           u" %";
}

} // namespace

namespace {

// The figures of a plan that is not monthly from the first installment at one rate.
void appendShape(std::vector<Figure>& figures, const AmortizationPlan& plan, const AmountText& amounts,
                 const NumberText& numbers)
{
    static constexpr std::array<std::pair<int, const char16_t*>, 5> frequencies{
        {{12, u"mensile"}, {6, u"bimestrale"}, {4, u"trimestrale"}, {2, u"semestrale"}, {1, u"annuale"}}};
    for (const auto& [perYear, name] : frequencies)
        if (perYear == plan.periodsPerYear() && perYear != 12)
            figures.push_back({FigureId::Frequency, u"Frequenza delle rate", name});
    if (plan.interestOnly() > 0)
        figures.push_back({FigureId::InterestOnly, u"Preammortamento",
                           amounts.whole(plan.interestOnly()) +
                               (plan.interestOnly() == 1 ? u" rata di soli interessi" : u" rate di soli interessi")});
    const bool italian = plan.kind() == PlanKind::Italian;
    Text steps;
    for (std::size_t k = 0; k < plan.steps().size(); ++k) {
        const RateStep& step = plan.steps()[k];
        const ExactDecimal& rate = step.rate.value;
        steps += (steps.empty() ? u"dalla rata " : u"; dalla rata ") + amounts.whole(step.from) + u" " +
                 numbers.localeText(static_cast<double>(rate.significand) * std::pow(10.0, rate.exponent)) + u" %";
        if (!italian && k < plan.installmentsAfterSteps().size())
            steps += u", rata " + amounts.grouped(plan.installmentsAfterSteps()[k]);
    }
    if (!steps.empty())
        figures.push_back({FigureId::RateSteps, u"Variazioni del tasso", steps});
    if (plan.balloon() != 0)
        figures.push_back({FigureId::Balloon, u"Maxi-rata finale", amounts.grouped(plan.balloon())});
    if (const auto& first = plan.firstPeriod()) {
        const std::int64_t monthsEach = 12 / plan.periodsPerYear();
        const std::int64_t months = first->wholePeriods * monthsEach;
        Text span;
        if (months > 0)
            span = amounts.whole(months) + (months == 1 ? u" mese" : u" mesi");
        if (first->oddDays > 0)
            span += (span.empty() ? u"" : u" e ") + amounts.whole(first->oddDays) +
                    (first->oddDays == 1 ? u" giorno" : u" giorni");
        figures.push_back({FigureId::FirstPeriod, u"Primo periodo",
                           span + u", interessi " + amounts.grouped(plan.rows().front().interest) +
                               (first->ownRow ? u" in una rata a sé" : u"")});
    }
}

} // namespace

Text workedOutNote(const LoanReading& loan, const NumberText& numbers, bool brief)
{
    switch (loan.unknown) {
    case Unknown::Rate:
        if (loan.rates && brief) {
            Text lowest = percentText(loan.rates->lowest, numbers);
            lowest.resize(lowest.size() - 2); // one "%" for both
            return u"calcolato (stessa rata da " + lowest + u" a " + percentText(loan.rates->highest, numbers) + u")";
        }
        if (loan.rates)
            return u"calcolato; ogni TAN da " + percentText(loan.rates->lowest, numbers) + u" a " +
                   percentText(loan.rates->highest, numbers) + u" dà questa rata";
        return u"calcolato";
    case Unknown::Capital:
        return u"calcolato";
    case Unknown::Duration:
    case Unknown::Installment:
        break;
    }
    return u"calcolata";
}

std::vector<Figure> loanFigures(const LoanReading& loan, const AmortizationPlan& plan, const AmountText& amounts,
                                const NumberText& numbers, bool costsKnown)
{
    // The loan as agreed: an early repayment shows its own end among its figures.
    const std::int64_t count = plan.plannedInstallments();
    const int perYear = plan.periodsPerYear();
    const std::int64_t months = count * (12 / perYear);
    Text duration;
    if (loan.unit == DurationUnit::Months) {
        duration = amounts.whole(months) + (months == 1 ? u" mese" : u" mesi");
        if (perYear != 12)
            duration += u" (" + amounts.whole(count) + (count == 1 ? u" rata)" : u" rate)");
    } else {
        const std::int64_t years = months / 12;
        duration = amounts.whole(years) + (years == 1 ? u" anno (" : u" anni (") + amounts.whole(count) +
                   (count == 1 ? u" rata)" : u" rate)");
    }
    // The rate as a number in the region's form, whatever spaces or exponent it was typed with.
    const double rate = static_cast<double>(loan.annualRate.significand) * std::pow(10.0, loan.annualRate.exponent);
    std::vector<Figure> figures{
        {FigureId::Kind, u"Ammortamento", kindName(plan.kind())},
        {FigureId::Capital, u"Capitale", amounts.grouped(plan.capital())},
        {FigureId::Duration, u"Durata", duration},
        {FigureId::AnnualRate, u"Tasso annuo", numbers.localeText(rate) + u" %"},
        {FigureId::Taeg, u"TAEG", costsKnown ? taegText(plan, amounts) : Text(u"—")},
        {FigureId::MonthlyRate, perYear == 12 ? u"Tasso mensile" : u"Tasso del periodo",
         monthlyRateText(loan.annualRate, numbers, perYear)},
    };
    if (plan.kind() == PlanKind::Italian) {
        figures.push_back({FigureId::Principal, u"Quota capitale", amounts.grouped(plan.installment())});
        figures.push_back({FigureId::FirstInstallment, u"Prima rata", amounts.grouped(plan.row(1).installment)});
        figures.push_back({FigureId::LastInstallment, u"Ultima rata", amounts.grouped(plan.contractLastInstallment())});
    } else {
        figures.push_back({FigureId::Installment, u"Rata", amounts.grouped(plan.installment())});
    }
    appendShape(figures, plan, amounts, numbers);
    // The figure worked out from the installment given says so; the
    // installment itself, which a plan always works out, does not.
    const FigureId workedOut = loan.unknown == Unknown::Capital    ? FigureId::Capital
                               : loan.unknown == Unknown::Duration ? FigureId::Duration
                                                                   : FigureId::AnnualRate;
    if (loan.unknown != Unknown::Installment)
        for (Figure& figure : figures)
            if (figure.id == workedOut) {
                figure.value += u" (" + workedOutNote(loan, numbers) + u")";
                figure.workedOut = true;
            }
    return figures;
}

std::vector<Figure> costFigures(const AmortizationPlan& plan, const AmountText& amounts, bool costsKnown)
{
    const auto known = [&](Cents amount) { return costsKnown ? amounts.grouped(amount) : Text(u"—"); };
    // After an early repayment the rows are no longer the contract's: say whose these are.
    const Text ofContract = plan.repaidEarly() ? u" del contratto" : u"";
    std::vector<Figure> figures{{FigureId::Received, u"Importo erogato", known(plan.received())}};
    const LoanCosts& costs = plan.costs();
    if (costs.initialFees != 0)
        figures.push_back({FigureId::InitialFees, u"Spese iniziali", amounts.grouped(costs.initialFees)});
    if (costs.substituteTax != 0)
        figures.push_back({FigureId::SubstituteTax, u"Imposta sostitutiva", amounts.grouped(costs.substituteTax)});
    if (costs.singlePremium != 0)
        figures.push_back({FigureId::SinglePremium, u"Premio unico", amounts.grouped(costs.singlePremium)});
    figures.push_back(
        {FigureId::ContractInterest, u"Interessi" + ofContract, amounts.grouped(plan.contractInterest())});
    if (const Cents fees = plan.contractInstallmentCosts(); fees != 0)
        figures.push_back({FigureId::InstallmentCosts, u"Spese con le rate" + ofContract, amounts.grouped(fees)});
    figures.push_back({FigureId::CostOfCredit, u"Costo totale del credito", known(plan.costOfCredit())});
    figures.push_back({FigureId::TotalDue, u"Totale dovuto", known(plan.totalDue())});
    return figures;
}

namespace {

// Under which limit the penalty was charged, and the article that sets it.
Text penaltyRuleText(const RepaymentOutcome& outcome, const AmountText& amounts)
{
    const Text tub = u" (art. 125-sexies TUB)";
    switch (outcome.rule) {
    case PenaltyRule::AsAgreed:
        return u"quella del contratto (tipo di finanziamento: altro)";
    case PenaltyRule::NoneOnHomeLoans:
        return u"nessuna per un mutuo per la casa (art. 120-ter TUB)";
    case PenaltyRule::NoneOnSmallDebt:
        return u"nessuna sull'estinzione di tutto il debito fino a " +
               amounts.whole(AmortizationPlan::smallDebt / 100) + u" €" + tub;
    case PenaltyRule::WithinLimits:
        return u"entro i limiti del credito ai consumatori" + tub;
    case PenaltyRule::PercentLimit:
        return outcome.limit == 100 ? u"al massimo l'1 % dell'importo rimborsato" + tub
                                    : u"al massimo lo 0" + Text(1, amounts.decimalSeparator()) +
                                          u"5 % dell'importo rimborsato, alla fine manca un anno o meno" + tub;
    case PenaltyRule::InterestLimit:
        return u"non più degli interessi risparmiati" + tub;
    }
    return {};
}

} // namespace

std::vector<Figure> repaymentFigures(const AmortizationPlan& plan, const AmountText& amounts)
{
    if (!plan.repaidEarly())
        return {};
    // By its number: a repayment may come after the loan has already ended.
    const auto withDate = [&](std::int64_t number) {
        const auto due = plan.dueDate(number);
        return amounts.whole(number) + (due ? u" (" + monthText(*due) + u")" : Text());
    };
    const auto& outcomes = plan.repayments();
    const auto last = static_cast<std::int64_t>(plan.rows().size()) - plan.leadRows();
    std::vector<Figure> figures;
    if (!outcomes.empty()) {
        Text when;
        // Several: each with what it repaid, nothing where the loan had already ended.
        for (const RepaymentOutcome& outcome : outcomes)
            when += (when.empty() ? (outcomes.size() == 1 ? u"con la rata " : u"con le rate ") : u"; ") +
                    withDate(outcome.asked.after) +
                    (outcomes.size() == 1 && !plan.extra() ? Text() : u": " + amounts.grouped(outcome.repaid));
        Text penalty = amounts.grouped(plan.penalty());
        if (plan.penalty() != plan.penaltyAgreed())
            penalty += u" anziché " + amounts.grouped(plan.penaltyAgreed());
        // One rule where every repayment was held to the same; else each says its own in the table's row.
        Text rule = penaltyRuleText(outcomes.front(), amounts);
        for (const RepaymentOutcome& outcome : outcomes)
            if (penaltyRuleText(outcome, amounts) != rule)
                rule = u"per ogni rimborso la sua, entro i limiti del tipo di finanziamento";
        figures.push_back(
            {FigureId::RepaidAfter, outcomes.size() == 1 ? u"Estinzione anticipata" : u"Rimborsi anticipati", when});
        figures.push_back({FigureId::Repaid, outcomes.size() == 1 ? u"Rimborso anticipato" : u"Totale rimborsato",
                           amounts.grouped(plan.repaid())});
        figures.push_back({FigureId::Penalty, u"Penale", penalty});
        figures.push_back({FigureId::PenaltyRule, u"Limite della penale", rule});
        if (plan.credit() == CreditKind::Consumer)
            figures.push_back({FigureId::Refund, u"Spese restituite", amounts.grouped(plan.refund())});
    }
    if (const auto& extra = plan.extra())
        figures.push_back({FigureId::ExtraPaid, u"Versamenti in più",
                           amounts.grouped(extra->amount) + (extra->yearly ? u" l'anno" : u" con ogni rata") +
                               u" dalla rata " + amounts.whole(extra->from) + u": " +
                               amounts.grouped(plan.extraPaid()) + u" in tutto"});
    figures.push_back({FigureId::InterestSaved, u"Interessi risparmiati", amounts.grouped(plan.interestSaved())});
    if (plan.installmentReduced() && plan.rows().back().prepaid == 0)
        figures.push_back({FigureId::InstallmentAfter,
                           plan.kind() == PlanKind::Italian ? u"Nuova quota capitale" : u"Nuova rata",
                           amounts.grouped(plan.installmentAfterRepayment())});
    // Where the loan now ends sooner, against where it was to end.
    Text end = u"con la rata " + withDate(last);
    if (last < plan.plannedInstallments()) {
        const auto planned = plan.dueDate(plan.plannedInstallments());
        end += u" anziché la " + amounts.whole(plan.plannedInstallments()) +
               (planned ? u" (" + monthText(*planned) + u")" : Text());
    }
    figures.push_back({FigureId::LoanEnd, u"Fine del prestito", end});
    figures.push_back({FigureId::Saving, u"Risparmio sul totale dovuto", amounts.grouped(plan.saving())});
    figures.push_back(
        {FigureId::RateAsRepaid, u"Tasso annuo dei pagamenti effettivi", rateText(plan.rateAsRepaid(), amounts)});
    return figures;
}

std::vector<Figure> planTotals(const AmortizationPlan& plan, const AmountText& amounts)
{
    Cents prepaid = 0, penalty = 0, refund = 0;
    for (const PlanRow& row : plan.rows()) {
        prepaid += row.prepaid;
        penalty += row.penalty;
        refund += row.refund;
    }
    std::vector<Figure> totals;
    for (const PlanColumn column : columnsOf(plan)) {
        switch (column) {
        case PlanColumn::Installment:
            totals.push_back({FigureId::TotalInstallments, u"Totale rate", amounts.grouped(plan.totalInstallments())});
            break;
        case PlanColumn::Interest:
            totals.push_back({FigureId::TotalInterest, u"Totale interessi", amounts.grouped(plan.totalInterest())});
            break;
        case PlanColumn::Principal:
            totals.push_back(
                {FigureId::TotalPrincipal, u"Totale quote capitale", amounts.grouped(plan.totalPrincipal())});
            break;
        case PlanColumn::Balloon:
            totals.push_back({FigureId::TotalBalloon, u"Maxi-rata", amounts.grouped(plan.rows().back().balloon)});
            break;
        case PlanColumn::Prepaid:
            totals.push_back({FigureId::TotalPrepaid, u"Totale rimborsi anticipati", amounts.grouped(prepaid)});
            break;
        case PlanColumn::Penalty:
            totals.push_back({FigureId::TotalPenalty, u"Totale penali", amounts.grouped(penalty)});
            break;
        case PlanColumn::Costs:
            totals.push_back({FigureId::TotalFees, u"Totale spese", amounts.grouped(plan.totalInstallmentCosts())});
            break;
        case PlanColumn::Refund:
            totals.push_back({FigureId::TotalRefund, u"Totale spese restituite", amounts.grouped(refund)});
            break;
        case PlanColumn::Payment:
            totals.push_back({FigureId::TotalPayments, u"Totale pagamenti", amounts.grouped(plan.totalPayments())});
            break;
        default:
            break;
        }
    }
    return totals;
}

namespace {

// What changes the rows, as a sentence names it: "l'estinzione", "i versamenti in più", ….
struct Changes {
    std::u16string_view named;
    bool several;
};

Changes changesOf(const AmortizationPlan& plan)
{
    const std::size_t repayments = plan.repayments().size();
    if (!plan.extra())
        return repayments == 1 ? Changes{u"l'estinzione", false} : Changes{u"le estinzioni", true};
    return repayments == 0 ? Changes{u"i versamenti in più", true}
                           : Changes{u"le estinzioni e i versamenti in più", true};
}

Text lastInstallmentNote(const AmortizationPlan& plan, const AmountText& amounts)
{
    if (plan.repaidEarly()) {
        const PlanRow& last = plan.rows().back();
        if (last.prepaid != 0)
            return (plan.extra() ? u"Il versamento con la rata " : u"L'estinzione con la rata ") +
                   amounts.whole(last.number) + u" chiude il prestito.";
        if (last.number < plan.plannedInstallments()) {
            const Changes changes = changesOf(plan);
            // An extra comes with every installment, not once: "con" rather than "dopo".
            const Text after = (plan.extra() ? u"Con " : u"Dopo ") + Text(changes.named);
            return after +
                   (plan.kind() == PlanKind::Italian ? u" la quota capitale resta la stessa"
                                                     : u" la rata resta la stessa") +
                   u" e il prestito finisce con la rata " + amounts.whole(last.number) + u", che paga i " +
                   amounts.grouped(last.principal) + u" di debito rimasti.";
        }
    }
    // After a repayment the others are the installment (principal) worked out again.
    const Cents others = plan.lastConstant();
    const Cents difference = plan.lastDifference();
    const Text signedDifference = (difference > 0 ? u"+" : u"") + amounts.grouped(difference);
    if (plan.kind() == PlanKind::Italian) {
        if (difference == 0)
            return u"L'ultima quota capitale è uguale alle altre: il piano si chiude esattamente.";
        return u"L'ultima quota capitale è di " + amounts.grouped(plan.rows().back().principal) + u" anziché " +
               amounts.grouped(others) + u" (" + signedDifference +
               u"): rimborsa esattamente il debito residuo lasciato dall'arrotondamento ai centesimi.";
    }
    if (difference == 0)
        return u"L'ultima rata è uguale alle altre: il piano si chiude esattamente.";
    return u"L'ultima rata è di " + amounts.grouped(plan.rows().back().installment) + u" anziché " +
           amounts.grouped(others) + u" (" + signedDifference +
           u"): paga esattamente il debito residuo lasciato dall'arrotondamento ai centesimi.";
}

} // namespace

Text differenceNote(const AmortizationPlan& plan, const AmountText& amounts)
{
    Text note = lastInstallmentNote(plan, amounts);
    if (plan.repaidEarly()) {
        const Changes changes = changesOf(plan);
        note += u" TAEG, costo totale del credito e totale dovuto restano quelli del contratto, come se durasse fino "
                u"alla fine: " +
                Text(changes.named) + (changes.several ? u" non li cambiano." : u" non li cambia.");
    }
    return note;
}

std::optional<Text> installmentNote(const Text& windowInstallment, const AmortizationPlan& plan,
                                    const AmountText& amounts, const NumberText& numbers)
{
    if (plan.kind() != PlanKind::French || windowInstallment.empty())
        return std::nullopt;
    const auto shown = toCents(windowInstallment, numbers);
    if (!shown || *shown == plan.installment())
        return std::nullopt;
    return u"La finestra principale, arrotondata al centesimo, dà una rata di " + amounts.grouped(*shown) +
           u"; il piano la calcola esattamente sul capitale in centesimi (" + amounts.grouped(plan.capital()) + u"): " +
           amounts.grouped(plan.installment()) + u".";
}

Text planNote(const Text& windowInstallment, const AmortizationPlan& plan, const AmountText& amounts,
              const NumberText& numbers)
{
    Text note = differenceNote(plan, amounts);
    // The main window knows the plain monthly loan only: a shaped plan's installment is its own.
    if (plan.shaped())
        return note;
    if (const auto installment = installmentNote(windowInstallment, plan, amounts, numbers))
        note += u" " + *installment;
    return note;
}

char16_t csvDelimiter(char16_t decimalSeparator) { return decimalSeparator == u',' ? u';' : u','; }

Text delimitedPlan(const AmortizationPlan& plan, const AmountText& amounts, char16_t delimiter)
{
    return delimitedTable(PlanTable(PlanTable::Kind::Installments, plan, amounts), delimiter);
}

Text delimitedYears(const AmortizationPlan& plan, const AmountText& amounts, char16_t delimiter)
{
    return delimitedTable(PlanTable(PlanTable::Kind::Years, plan, amounts), delimiter);
}

Text alignedPlan(const LoanReading& loan, const AmortizationPlan& plan, const AmountText& amounts,
                 const NumberText& numbers, const Text& windowInstallment)
{
    Text out;
    const auto figures = [&](const std::vector<Figure>& list) {
        std::size_t width = 0;
        for (const Figure& figure : list)
            width = std::max(width, figure.label.size());
        for (const Figure& figure : list)
            out += padded(figure.label + u":", width + 1, false) + u"  " + figure.value + u'\n';
    };
    figures(loanFigures(loan, plan, amounts, numbers));
    out += u'\n';
    figures(costFigures(plan, amounts));
    out += u'\n';
    if (const auto repayment = repaymentFigures(plan, amounts); !repayment.empty()) {
        figures(repayment);
        out += u'\n';
    }

    appendAligned(out, PlanTable(PlanTable::Kind::Installments, plan, amounts));
    out += u'\n';
    figures(planTotals(plan, amounts));
    out += planNote(windowInstallment, plan, amounts, numbers) + u'\n';

    if (const PlanTable years(PlanTable::Kind::Years, plan, amounts); years.rowCount() > 0) {
        out += u"\n" + years.heading() + u"\n";
        appendAligned(out, years);
    }
    return out;
}

} // namespace ratalia
