// The program's own work without a screen: a whole Calcola, Arrotonda, each
// number conversion and the normalizer, on typical and on pasted huge inputs,
// and the largest amortization plan.

#include "form/form_events.h"
#include "form/link_opener.h"
#include "loan/amortization_plan.h"
#include "loan/plan_request.h"
#include "numbers/input_normalizer.h"
#include "plan/plan_chart.h"
#include "plan/plan_text.h"
#include "support/silent.h"

#include <benchmark/benchmark.h>

namespace ratalia {
namespace {

class Window {
public:
    Window(TextView capital, TextView duration, TextView rate, DurationUnit unit = DurationUnit::Months)
        : events(NumberText(u','), silent, silent)
    {
        events.load();
        events.edit(Field::Capital, Text(capital));
        events.edit(Field::Duration, Text(duration));
        events.edit(Field::AnnualRate, Text(rate));
        events.choose(unit);
    }
    test::Silent silent;
    FormEvents events;
};

// A whole Calcola as a user meets it: the capital was just typed, so the
// previous results are gone, and Calcola is pressed. The capital alternates
// between two texts of the same value, so that every press does all the work
// without pausing the clock (which would cost more than a Calcola).
void calculate(benchmark::State& state, TextView duration, TextView rate, DurationUnit unit)
{
    Window window(u"10000", duration, rate, unit);
    bool other = false;
    for (auto _ : state) {
        window.events.edit(Field::Capital, other ? u"010000" : u"10000");
        other = !other;
        window.events.click(Button::Calculate);
        benchmark::DoNotOptimize(window.events.form().text(Field::TotalInterest));
    }
}
BENCHMARK_CAPTURE(calculate, typical_loan, u"24", u"6,75", DurationUnit::Months);
BENCHMARK_CAPTURE(calculate, zero_rate, u"24", u"0", DurationUnit::Months);
BENCHMARK_CAPTURE(calculate, years, u"2", u"6,75", DurationUnit::Years);

// Pressing Calcola again on unchanged inputs.
void calculateAgain(benchmark::State& state)
{
    Window window(u"10000", u"24", u"6,75");
    for (auto _ : state) {
        window.events.click(Button::Calculate);
        benchmark::DoNotOptimize(window.events.form().text(Field::TotalInterest));
    }
}
BENCHMARK(calculateAgain);

// Arrotonda on fresh ten-decimal results, put back before each press.
void roundResults(benchmark::State& state)
{
    Window window(u"10000", u"24", u"6,75");
    window.events.click(Button::Calculate);
    LoanForm& form = window.events.form();
    std::array<Text, amountResults.size()> results;
    for (std::size_t k = 0; k < results.size(); ++k)
        results[k] = form.text(amountResults[k]);
    for (auto _ : state) {
        for (std::size_t k = 0; k < results.size(); ++k)
            form.setText(amountResults[k], results[k]);
        window.events.click(Button::Round);
    }
}
BENCHMARK(roundResults);

const NumberText numbers(u',');

void toNumber(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(numbers.toNumber(u"446,593294950465"));
}
BENCHMARK(toNumber);

void localeText(benchmark::State& state)
{
    double value = 446.593294950465;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(numbers.localeText(value));
    }
}
BENCHMARK(localeText);

void plainText(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(numbers.plainText(u"2,5"));
}
BENCHMARK(plainText);

void patternText(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(numbers.patternText(u"10718,2390788112", Pattern::TenDecimals));
}
BENCHMARK(patternText);

void normalizer(benchmark::State& state)
{
    Text pasted;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        pasted += u"1.5,"[i % 4];
    for (auto _ : state)
        benchmark::DoNotOptimize(normalizedInput(pasted, numbers));
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(normalizer)->Arg(1 << 10)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

// A pasted megabyte as the capital: one long number, read, checked, rejected.
void calculateWithPastedMegabyte(benchmark::State& state)
{
    const Text pasted = Text(1 << 20, u'0') + u"10000";
    Window window(pasted, u"24", u"6,75");
    for (auto _ : state) {
        state.PauseTiming();
        window.events.edit(Field::Capital, pasted);
        window.events.edit(Field::Duration, u"24");
        state.ResumeTiming();
        window.events.click(Button::Calculate);
    }
}
BENCHMARK(calculateWithPastedMegabyte)->Unit(benchmark::kMillisecond);

// The largest plan the program shows: 100 000 monthly rows (100 000 000 €
// at 0,02 %), from the terms a Calcola left, and the same plan written as CSV.
void plan100000(benchmark::State& state)
{
    Window window(u"100000000", u"100000", u"0,02");
    window.events.click(Button::Calculate);
    const auto terms = window.events.planTerms();
    if (!terms) {
        state.SkipWithError("no plan");
        return;
    }
    for (auto _ : state) {
        auto plan = amortizationPlan(*terms, window.events.form().numbers());
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(plan100000)->Unit(benchmark::kMillisecond);

// The TAEG of those rows, from their cash flows: no more than building them costs.
void taeg100000(benchmark::State& state)
{
    Window window(u"100000000", u"100000", u"0,02");
    window.events.click(Button::Calculate);
    const auto plan =
        std::get<AmortizationPlan>(amortizationPlan(*window.events.planTerms(), window.events.form().numbers()));
    for (auto _ : state) {
        auto rate = annualPercentageRate(plan.flows());
        benchmark::DoNotOptimize(rate);
    }
}
BENCHMARK(taeg100000)->Unit(benchmark::kMillisecond);

void planCsv100000(benchmark::State& state)
{
    Window window(u"100000000", u"100000", u"0,02");
    window.events.click(Button::Calculate);
    const auto plan =
        std::get<AmortizationPlan>(amortizationPlan(*window.events.planTerms(), window.events.form().numbers()));
    for (auto _ : state) {
        Text csv = delimitedPlan(plan, AmountText(u',', u'.'), u';');
        benchmark::DoNotOptimize(csv);
    }
}
BENCHMARK(planCsv100000)->Unit(benchmark::kMillisecond);

// What the chart of those rows draws, for a plot 1 000 pixels wide: its
// bars, the debt's line, the ticks and the words.
void planChart100000(benchmark::State& state)
{
    Window window(u"100000000", u"100000", u"0,02");
    window.events.click(Button::Calculate);
    const auto plan =
        std::get<AmortizationPlan>(amortizationPlan(*window.events.planTerms(), window.events.form().numbers()));
    for (auto _ : state) {
        PlanChart chart = planChart(plan, AmountText(u',', u'.'), 1000);
        benchmark::DoNotOptimize(chart);
    }
}
BENCHMARK(planChart100000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ratalia

BENCHMARK_MAIN();
