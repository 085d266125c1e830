#include "plan/plan_chart.h"

#include <algorithm>

namespace ratalia {

std::int64_t niceStep(std::int64_t range, std::int64_t parts)
{
    std::int64_t power = 1;
    for (;;) {
        for (const std::int64_t factor : {1, 2, 5})
            if (factor * power * parts >= range)
                return factor * power;
        if (power > 922'337'203'685'477'580 / 10)
            return power;
        power *= 10;
    }
}

std::vector<ChartTick> amountTicks(Cents top, const AmountText& amounts, double& axisTop)
{
    const std::int64_t euros = std::max<std::int64_t>(1, (top + 99) / 100);
    const std::int64_t step = niceStep(euros, 5);
    const std::int64_t last = (euros + step - 1) / step * step;
    std::vector<ChartTick> ticks;
    for (std::int64_t value = 0; value <= last; value += step)
        ticks.push_back({static_cast<double>(value), amounts.whole(value)});
    axisTop = static_cast<double>(last);
    return ticks;
}

namespace {

Text withDate(const AmortizationPlan& plan, const PlanRow& row, const AmountText& amounts)
{
    const auto due = plan.dueDate(row);
    return amounts.whole(row.number) + (due ? u" (" + monthText(*due) + u")" : Text());
}

} // namespace

PlanChart planChart(const AmortizationPlan& plan, const AmountText& amounts, std::size_t columns)
{
    PlanChart chart;
    const std::vector<PlanRow>& rows = plan.rows();
    const auto count = static_cast<std::int64_t>(rows.size());
    chart.lastInstallment = static_cast<double>(count);
    chart.timeTitle = plan.firstDue() ? u"Anno" : u"Rata";
    chart.amountTitle = u"Rata (€)";
    chart.debtTitle = u"Debito residuo (€)";
    chart.interestName = u"Interessi";
    chart.principalName = u"Quota capitale";
    chart.debtName = u"Debito residuo";
    if (rows.empty())
        return chart;

    // Bars: runs of installments that share a column, their mean.
    const auto perBar =
        std::max<std::int64_t>(1, (count + static_cast<std::int64_t>(std::max<std::size_t>(columns, 1)) - 1) /
                                      static_cast<std::int64_t>(std::max<std::size_t>(columns, 1)));
    Cents highest = 0;
    chart.debt.emplace_back(0.0, static_cast<double>(plan.capital()) / 100);
    for (std::int64_t first = 0; first < count; first += perBar) {
        const std::int64_t last = std::min(count, first + perBar);
        Cents interest = 0, principal = 0;
        for (std::int64_t r = first; r < last; ++r) {
            interest += rows[static_cast<std::size_t>(r)].interest;
            principal += rows[static_cast<std::size_t>(r)].principal;
            highest = std::max(highest, rows[static_cast<std::size_t>(r)].installment);
        }
        const auto n = static_cast<double>(last - first);
        chart.bars.push_back(
            {first + 1, last, static_cast<double>(interest) / 100 / n, static_cast<double>(principal) / 100 / n});
        chart.debt.emplace_back(static_cast<double>(last),
                                static_cast<double>(rows[static_cast<std::size_t>(last - 1)].remainingDebt) / 100);
    }
    chart.amountTicks = amountTicks(highest, amounts, chart.amountTop);
    chart.debtTicks = amountTicks(plan.capital(), amounts, chart.debtTop);

    // Time: January of every few years where the months are known, else every few installments.
    if (const auto start = plan.firstDue()) {
        const std::int64_t firstYear = start->year + (start->month == 1 ? 0 : 1);
        const std::int64_t lastYear = plan.dueDate(count)->year;
        const auto monthsEach = static_cast<double>(12 / plan.periodsPerYear());
        const std::int64_t step = niceStep(std::max<std::int64_t>(1, lastYear - firstYear), 6);
        for (std::int64_t year = (firstYear + step - 1) / step * step; year <= lastYear; year += step) {
            // January's place among the installments, between two where they are not monthly.
            const auto months = static_cast<double>((year - start->year) * 12 - (start->month - 1));
            const std::string digits = std::to_string(year);
            chart.timeTicks.push_back({months / monthsEach + 1, Text(digits.begin(), digits.end())});
        }
        // A plan within one year that has no January: its year under its first installment.
        if (chart.timeTicks.empty()) {
            const std::string digits = std::to_string(start->year);
            chart.timeTicks.push_back({1.0, Text(digits.begin(), digits.end())});
        }
    } else {
        const std::int64_t step = niceStep(count, 6);
        for (std::int64_t installment = step; installment <= count; installment += step)
            chart.timeTicks.push_back({static_cast<double>(installment), amounts.whole(installment)});
    }

    // In words: the first installment, where principal overtakes interest, the debt's fall.
    const PlanRow& first = rows.front();
    Text text = u"Per ogni rata, la quota interessi e la quota capitale, una sull'altra; la linea è il debito "
                u"residuo. La prima rata paga " +
                amounts.grouped(first.interest) + u" di interessi e " + amounts.grouped(first.principal) +
                u" di quota capitale";
    const auto overtakes =
        std::find_if(rows.begin(), rows.end(), [](const PlanRow& row) { return row.principal > row.interest; });
    if (overtakes == rows.begin())
        text += u"; la quota capitale supera gli interessi fin dalla prima rata";
    else if (overtakes != rows.end())
        text += u"; la quota capitale supera gli interessi dalla rata " + withDate(plan, *overtakes, amounts);
    else
        text += u"; gli interessi superano la quota capitale in ogni rata";
    text += u". Il debito residuo scende da " + amounts.grouped(plan.capital()) + u" a " + amounts.grouped(0);
    if (plan.repayments().size() == 1 && !plan.extra())
        text += u", con un rimborso anticipato di " + amounts.grouped(plan.repaid()) + u" con la rata " +
                withDate(plan, plan.row(plan.repayments().front().asked.after), amounts);
    else if (plan.repaidEarly())
        text += u", con " + amounts.grouped(plan.repaid() + plan.extraPaid()) + u" rimborsati in anticipo";
    text += u", in " + amounts.whole(count) + (count == 1 ? u" rata" : u" rate") + u".";
    chart.description = text;
    return chart;
}

ChartArea chartArea(const PlanChart& chart, double width, double height, double amountLabels, double debtLabels,
                    double line)
{
    ChartArea area;
    const double gap = line / 2;
    area.left = gap + amountLabels + gap;
    area.right = std::max(area.left + 1, width - gap - debtLabels - gap);
    area.top = 2 * line + gap;
    area.bottom = std::max(area.top + 1, height - 2.5 * line);
    area.lastInstallment = std::max(1.0, chart.lastInstallment);
    area.amountTop = chart.amountTop > 0 ? chart.amountTop : 1;
    area.debtTop = chart.debtTop > 0 ? chart.debtTop : 1;
    return area;
}

} // namespace ratalia
