#include "plan/offer_comparison.h"

#include "loan/annual_percentage_rate.h"
#include "loan/calendar.h"
#include "plan/plan_chart.h"
#include "plan/plan_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace ratalia {
namespace {

constexpr std::u16string_view none = u"—";

// One offer as read: its plan, or why it has none.
struct Read {
    std::optional<LoanReading> loan;
    const AmortizationPlan* plan = nullptr;
    PlanOutcome outcome;
};

// "trimestrale": the frequency's own word, as the inputs list it.
Text frequencyName(int periodsPerYear)
{
    for (const InputChoice& choice : planInputSpec(PlanInput::Frequency).choices) {
        PlanInputs probe;
        probe.choose(PlanInput::Frequency,
                     static_cast<std::size_t>(&choice - planInputSpec(PlanInput::Frequency).choices.data()));
        if (probe.periodsPerYear() == periodsPerYear)
            return Text(choice.caption);
    }
    return {};
}

Text quoted(const Text& name) { return u"«" + name + u"»"; }

// "«A»", "«A» e «B»", "«A», «B» e «C»".
Text namesOf(const OfferComparison& comparison, const std::vector<bool>& marked)
{
    std::vector<Text> chosen;
    for (std::size_t k = 0; k < marked.size(); ++k)
        if (marked[k])
            chosen.push_back(quoted(comparison.names[k]));
    Text out;
    for (std::size_t k = 0; k < chosen.size(); ++k)
        out += (k == 0 ? u"" : k + 1 == chosen.size() ? u" e " : u", ") + chosen[k];
    return out;
}

std::size_t firstMarked(const std::vector<bool>& marked)
{
    return static_cast<std::size_t>(std::find(marked.begin(), marked.end(), true) - marked.begin());
}

std::int64_t months(const AmortizationPlan& plan, std::int64_t installments)
{
    return installments * (12 / plan.periodsPerYear());
}

// Where the loan ends: its last due month, or after how many months.
Text monthsText(std::int64_t count, const AmountText& amounts)
{
    return amounts.whole(count) + (count == 1 ? u" mese" : u" mesi");
}

Text endText(const AmortizationPlan& plan, std::int64_t installment, const AmountText& amounts)
{
    if (const auto due = plan.dueDate(installment))
        return monthText(*due);
    return u"dopo " + monthsText(months(plan, installment), amounts);
}

// "«A» ha" or "«A» e «B» hanno": the verb agrees with how many are named.
Text namedWith(const OfferComparison& comparison, const std::vector<bool>& marked, std::u16string_view one,
               std::u16string_view several)
{
    const bool single = std::count(marked.begin(), marked.end(), true) == 1;
    return namesOf(comparison, marked) + u" " + Text(single ? one : several);
}

} // namespace

OfferComparison compareOffers(std::span<const Offer> offers, const NumberText& numbers)
{
    const AmountText amounts(numbers.decimalSeparator(), numbers.groupSeparator());
    OfferComparison out;
    // Reserved whole: each plan is pointed to where it lies.
    std::vector<Read> read;
    read.reserve(offers.size());
    for (std::size_t k = 0; k < offers.size(); ++k) {
        out.names.push_back(offers[k].name.empty() ? defaultOfferName(k + 1) : offers[k].name);
        read.push_back(Read{std::nullopt, nullptr, planFor(offers[k].inputs, numbers)});
        const PlanOutcome& outcome = read[k].outcome;
        if (outcome.error) {
            out.notes.push_back(out.names[k] + u": " + inputErrorText(*outcome.error, Naming::Window, amounts));
        } else if (const auto* refused = std::get_if<PlanRefusal>(&outcome.plan)) {
            out.notes.push_back(out.names[k] + u": " + refusalText(*refused, amounts));
        } else {
            read[k].plan = &std::get<AmortizationPlan>(outcome.plan);
            read[k].loan = outcome.loan;
        }
    }
    const auto row = [&](const char* id, Text label, auto value) {
        ComparisonRow r{id, std::move(label), {}};
        for (const Read& each : read)
            r.values.push_back(each.plan ? value(*each.plan, *each.loan) : Text(none));
        out.rows.push_back(std::move(r));
    };
    const auto any = [&](auto test) {
        return std::any_of(read.begin(), read.end(), [&](const Read& r) { return r.plan && test(*r.plan); });
    };
    using Plan = AmortizationPlan;
    using Loan = LoanReading;

    row("AnnualRate", u"Tasso annuo (TAN)", [&](const Plan& plan, const Loan& loan) {
        const double rate = static_cast<double>(loan.annualRate.significand) * std::pow(10.0, loan.annualRate.exponent);
        return numbers.localeText(rate) + u" %" + (plan.steps().empty() ? u"" : u", poi variabile");
    });
    row("Taeg", u"TAEG", [&](const Plan& plan, const Loan&) { return taegText(plan, amounts); });
    const auto first = [](const Plan& plan) { return plan.row(1).installment; };
    const auto last = [](const Plan& plan) { return plan.rows().back().installment; };
    if (!any([&](const Plan& plan) { return first(plan) != last(plan); })) {
        row("Installment", u"Rata", [&](const Plan& plan, const Loan&) { return amounts.grouped(first(plan)); });
    } else {
        row("FirstInstallment", u"Prima rata",
            [&](const Plan& plan, const Loan&) { return amounts.grouped(first(plan)); });
        row("LastInstallment", u"Ultima rata", [&](const Plan& plan, const Loan&) {
            return amounts.grouped(last(plan)) + (plan.repaidEarly() ? u" (con i rimborsi)" : u"");
        });
    }
    if (any([](const Plan& plan) { return plan.balloon() != 0; }))
        row("Balloon", u"Maxi-rata finale",
            [&](const Plan& plan, const Loan&) { return amounts.grouped(plan.balloon()); });
    row("Installments", u"Numero di rate", [&](const Plan& plan, const Loan&) {
        return amounts.whole(plan.plannedInstallments()) +
               (plan.periodsPerYear() != 12 ? u" (" + frequencyName(plan.periodsPerYear()) + u")" : Text());
    });
    row("Received", u"Importo erogato",
        [&](const Plan& plan, const Loan&) { return amounts.grouped(plan.received()); });
    row("CostOfCredit", u"Costo totale del credito",
        [&](const Plan& plan, const Loan&) { return amounts.grouped(plan.costOfCredit()); });
    row("Interest", u"Interessi",
        [&](const Plan& plan, const Loan&) { return amounts.grouped(plan.contractInterest()); });
    row("TotalDue", u"Totale dovuto", [&](const Plan& plan, const Loan&) { return amounts.grouped(plan.totalDue()); });
    row("LoanEnd", u"Fine del prestito",
        [&](const Plan& plan, const Loan&) { return endText(plan, plan.plannedInstallments(), amounts); });
    if (any([](const Plan& plan) { return plan.repaidEarly(); })) {
        row("EndAsRepaid", u"Fine con i rimborsi", [&](const Plan& plan, const Loan&) {
            const auto installments = static_cast<std::int64_t>(plan.rows().size()) - plan.leadRows();
            return endText(plan, installments, amounts);
        });
        row("InterestSaved", u"Interessi risparmiati",
            [&](const Plan& plan, const Loan&) { return amounts.grouped(plan.interestSaved()); });
        row("TotalPayments", u"Pagato in tutto con i rimborsi",
            [&](const Plan& plan, const Loan&) { return amounts.grouped(plan.totalPayments()); });
    }

    // The cheapest: the lowest TAEG as stated, to the hundredth of a per cent, and the lowest cost.
    // A TAEG too large to state is above every stated one, and never the lowest.
    constexpr std::int64_t unknown = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t beyondStating = unknown - 1;
    std::vector<std::int64_t> rates, costs;
    for (const Read& each : read) {
        const auto rate = each.plan ? each.plan->annualPercentageRate() : std::nullopt;
        rates.push_back(rate ? inBasisPoints(*rate).value_or(beyondStating) : unknown);
        costs.push_back(each.plan ? each.plan->costOfCredit() : unknown);
    }
    const std::int64_t lowestRate = rates.empty() ? unknown : *std::min_element(rates.begin(), rates.end());
    const std::int64_t lowestCost = costs.empty() ? unknown : *std::min_element(costs.begin(), costs.end());
    for (std::size_t k = 0; k < read.size(); ++k) {
        out.lowestRate.push_back(rates[k] < beyondStating && rates[k] == lowestRate);
        out.lowestCost.push_back(costs[k] != unknown && costs[k] == lowestCost);
    }
    ComparisonRow cheapest{"Cheapest", u"Più conveniente", {}};
    for (std::size_t k = 0; k < read.size(); ++k)
        cheapest.values.push_back(out.lowestRate[k] && out.lowestCost[k] ? u"per TAEG e costo totale"
                                  : out.lowestRate[k]                    ? u"per TAEG"
                                  : out.lowestCost[k]                    ? u"per costo totale"
                                                                         : u"");
    out.rows.push_back(std::move(cheapest));

    const auto planned = static_cast<std::size_t>(
        std::count_if(read.begin(), read.end(), [](const Read& r) { return r.plan != nullptr; }));
    const bool rateKnown = std::find(out.lowestRate.begin(), out.lowestRate.end(), true) != out.lowestRate.end();
    if (planned < 2) {
        out.verdict = u"Per un confronto servono almeno due offerte con un piano.";
    } else if (!rateKnown) {
        // No TAEG can be stated: the cost alone says which is cheaper.
        out.verdict =
            namedWith(out, out.lowestCost, u"costa", u"costano") + u" meno in tutto: costo totale del credito " +
            amounts.grouped(read[firstMarked(out.lowestCost)].plan->costOfCredit()) + u". Nessun TAEG si può indicare.";
    } else if (out.lowestRate == out.lowestCost) {
        const std::size_t k = firstMarked(out.lowestRate);
        const bool one = std::count(out.lowestRate.begin(), out.lowestRate.end(), true) == 1;
        out.verdict =
            namesOf(out, out.lowestRate) + (one ? u" è la più conveniente: ha" : u" sono le più convenienti: hanno") +
            u" il TAEG più basso (" + taegText(*read[k].plan, amounts) +
            u") e il costo totale del credito più basso (" + amounts.grouped(read[k].plan->costOfCredit()) + u").";
    } else {
        const std::size_t byRate = firstMarked(out.lowestRate), byCost = firstMarked(out.lowestCost);
        const Plan& lowRate = *read[byRate].plan;
        const Plan& lowCost = *read[byCost].plan;
        out.verdict = namedWith(out, out.lowestRate, u"ha", u"hanno") + u" il TAEG più basso (" +
                      taegText(lowRate, amounts) + u"), ma " + namedWith(out, out.lowestCost, u"costa", u"costano") +
                      u" meno in tutto: costo totale del credito " + amounts.grouped(lowCost.costOfCredit()) +
                      u" contro " + amounts.grouped(lowRate.costOfCredit()) +
                      u". Il TAEG è il costo del credito per ogni anno in cui lo si ha";
        const std::int64_t shorter = months(lowCost, lowCost.plannedInstallments()),
                           longer = months(lowRate, lowRate.plannedInstallments());
        if (shorter < longer)
            out.verdict += u": " + quoted(out.names[byCost]) + u" dura meno (" + monthsText(shorter, amounts) +
                           u" contro " + amounts.whole(longer) +
                           u"), e un prestito più breve paga interessi per meno tempo, così può avere un TAEG più "
                           u"alto e costare meno in tutto.";
        else
            out.verdict += u", e un prestito di forma o di durata diversa può avere un TAEG più alto e costare meno "
                           u"in tutto: conta anche quanto a lungo si paga.";
    }
    if (planned >= 2) {
        const auto differs = std::adjacent_find(read.begin(), read.end(), [&](const Read& a, const Read& b) {
            return a.plan && b.plan && a.plan->capital() != b.plan->capital();
        });
        if (differs != read.end())
            out.verdict += u" I capitali sono diversi: il costo totale del credito si confronta davvero solo a parità "
                           u"di capitale.";
    }

    // The debt month by month from the first installment's, as the chart draws it.
    for (const Read& each : read) {
        std::vector<double> debt;
        if (each.plan) {
            const std::int64_t monthsEach = 12 / each.plan->periodsPerYear();
            debt.push_back(static_cast<double>(each.plan->capital()) / 100);
            for (const PlanRow& planRow : each.plan->rows()) {
                if (planRow.number == 0)
                    continue;
                debt.resize(static_cast<std::size_t>(planRow.number * monthsEach), debt.back());
                debt.push_back(static_cast<double>(planRow.remainingDebt) / 100);
            }
        }
        out.debtByMonth.push_back(std::move(debt));
    }
    return out;
}

Text alignedComparison(const OfferComparison& comparison)
{
    std::size_t labelWidth = 0;
    std::vector<std::size_t> widths(comparison.names.size(), 0);
    const auto grow = [](std::size_t& width, const Text& text) { width = std::max(width, text.size()); };
    for (std::size_t k = 0; k < comparison.names.size(); ++k)
        grow(widths[k], comparison.names[k]);
    for (const ComparisonRow& row : comparison.rows) {
        grow(labelWidth, row.label);
        for (std::size_t k = 0; k < row.values.size(); ++k)
            grow(widths[k], row.values[k]);
    }
    const auto line = [&](const Text& label, const std::vector<Text>& values) {
        Text out = label + Text(labelWidth - label.size(), u' ');
        for (std::size_t k = 0; k < values.size(); ++k)
            out += u"  " + Text(widths[k] - values[k].size(), u' ') + values[k];
        while (!out.empty() && out.back() == u' ')
            out.pop_back();
        return out + u"\n";
    };
    Text out = line(Text(), comparison.names);
    for (const ComparisonRow& row : comparison.rows)
        out += line(row.label, row.values);
    out += u"\n" + comparison.verdict + u"\n";
    for (const Text& note : comparison.notes)
        out += note + u"\n";
    return out;
}

Text delimitedComparison(const OfferComparison& comparison, char16_t delimiter)
{
    const auto field = [&](const Text& text) {
        if (text.find_first_of(Text{delimiter, u'"', u'\n'}) == Text::npos)
            return text;
        Text quotedText = u"\"";
        for (const char16_t c : text)
            quotedText += c == u'"' ? Text(u"\"\"") : Text(1, c);
        return quotedText + u"\"";
    };
    const auto line = [&](const Text& label, const std::vector<Text>& values) {
        Text out = field(label);
        for (const Text& value : values)
            out += delimiter + field(value);
        return out + u"\n";
    };
    Text out = line(u"Offerta", comparison.names);
    for (const ComparisonRow& row : comparison.rows)
        out += line(row.label, row.values);
    return out;
}

namespace {

// The offers' lines, apart in colour and in grey: the program's two series, then the text's and the grid's.
Ink offerInk(std::size_t k)
{
    constexpr Ink inks[] = {Ink::Principal, Ink::Interest, Ink::Text, Ink::Grid};
    return inks[k % 4];
}

} // namespace

Drawing comparisonChart(const OfferComparison& comparison, const AmountText& amounts, double width, double height,
                        const TextMeasure& measure)
{
    Drawing items;
    std::size_t lastMonth = 0;
    double highest = 0;
    for (const auto& debt : comparison.debtByMonth) {
        if (debt.empty())
            continue;
        lastMonth = std::max(lastMonth, debt.size() - 1);
        highest = std::max(highest, *std::max_element(debt.begin(), debt.end()));
    }
    if (lastMonth == 0)
        return items;
    const double line = measure.lineHeight(TextStyle::Body);
    double debtTop = 0;
    const auto ticks = amountTicks(static_cast<Cents>(std::ceil(highest * 100)), amounts, debtTop);
    double labels = 0;
    for (const ChartTick& tick : ticks)
        labels = std::max(labels, measure.width(tick.label, TextStyle::Body));
    const double left = labels + line, right = width - line, top = 2.5 * line, bottom = height - 2.5 * line;
    if (right - left < line || bottom - top < line)
        return items;
    const auto x = [&](double month) { return left + (right - left) * month / static_cast<double>(lastMonth); };
    const auto y = [&](double euros) { return bottom - (bottom - top) * euros / std::max(debtTop, 1.0); };
    for (const ChartTick& tick : ticks) {
        items.emplace_back(DrawnLine{left, y(tick.value), right, y(tick.value), Ink::Grid, 0});
        items.emplace_back(DrawnText{0, y(tick.value) - line / 2, left - line / 2, line, tick.label, TextStyle::Body,
                                     Align::Right, false});
    }
    // The years under the plot.
    const auto years = static_cast<std::int64_t>((lastMonth + 11) / 12);
    const std::int64_t step = niceStep(std::max<std::int64_t>(years, 1), 8);
    for (std::int64_t year = 0; year * 12 <= static_cast<std::int64_t>(lastMonth); year += step) {
        const double at = x(static_cast<double>(year * 12));
        items.emplace_back(DrawnLine{at, bottom, at, bottom + line / 4, Ink::Text, 0});
        items.emplace_back(DrawnText{at - 3 * line, bottom + line / 4, 6 * line, line, amounts.whole(year),
                                     TextStyle::Body, Align::Centre, false});
    }
    items.emplace_back(DrawnText{0, height - 1.2 * line, width, line, u"Anni dalla prima rata", TextStyle::Body,
                                 Align::Centre, false});
    items.emplace_back(DrawnText{line / 2, 1.2 * line, width - line, line, u"Debito residuo (€)", TextStyle::Body,
                                 Align::Left, false});
    const double stroke = std::max(2.0, line / 8);
    for (std::size_t k = 0; k < comparison.debtByMonth.size(); ++k) {
        const auto& debt = comparison.debtByMonth[k];
        if (debt.empty())
            continue;
        DrawnPolyline polyline{{}, offerInk(k), stroke};
        for (std::size_t month = 0; month < debt.size(); ++month)
            polyline.points.emplace_back(x(static_cast<double>(month)), y(debt[month]));
        items.emplace_back(std::move(polyline));
    }
    items.emplace_back(DrawnLine{left, bottom, right, bottom, Ink::Text, 0});
    items.emplace_back(DrawnLine{left, top, left, bottom, Ink::Text, 0});
    // The legend: each name after a stroke of its line.
    const double swatch = 1.5 * line, gap = line;
    double total = 0;
    for (const Text& name : comparison.names)
        total += swatch + line / 3 + measure.width(name, TextStyle::Body) + gap;
    double at = std::max(0.0, (width - total + gap) / 2);
    for (std::size_t k = 0; k < comparison.names.size(); ++k) {
        const double nameWidth = measure.width(comparison.names[k], TextStyle::Body);
        items.emplace_back(DrawnLine{at, line / 2, at + swatch, line / 2, offerInk(k), stroke});
        items.emplace_back(DrawnText{at + swatch + line / 3, 0, nameWidth + 1, line, comparison.names[k],
                                     TextStyle::Body, Align::Left, false});
        at += swatch + line / 3 + nameWidth + gap;
    }
    return items;
}

Text comparisonChartDescription(const OfferComparison& comparison, const AmountText& amounts)
{
    Text out = u"Il debito residuo delle offerte nel tempo";
    for (std::size_t k = 0; k < comparison.names.size(); ++k) {
        const auto& debt = comparison.debtByMonth[k];
        out += (k == 0 ? u": " : u"; ") + quoted(comparison.names[k]);
        if (debt.empty()) {
            out += u" senza piano";
            continue;
        }
        const auto monthsLong = static_cast<std::int64_t>(debt.size() - 1);
        out +=
            u" da " + amounts.grouped(std::llround(debt.front() * 100)) + u" a 0 in " + monthsText(monthsLong, amounts);
    }
    return out + u".";
}

} // namespace ratalia
