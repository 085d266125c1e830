// The loan's shapes (frequency, rate steps, maxi-rata, preammortamento, an odd
// first period from the signing, costs at the end) against figures worked
// out in the test in high-precision decimals: the European Commission's
// worked APRC examples from their own terms, the plan's rows by the rules the
// README states, and the messages for what has no meaning.

#include "cli/command_line.h"
#include "loan/plan_request.h"
#include "support/decimal.h"
#include "support/reference_loan.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ratalia::test {
namespace {

// What the TAEG line says: "6,19 %".
std::string taegOf(const std::vector<std::string>& options)
{
    std::vector<std::string> arguments{"--piano"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::ostringstream output, errors;
    EXPECT_EQ(runCommandLine(arguments, NumberText(u','), output, errors), 0) << errors.str();
    std::istringstream lines(output.str());
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("TAEG:", 0) == 0)
            return line.substr(line.find_first_not_of(' ', 5));
    return "no TAEG line";
}

// A rate in hundredths of a per cent as the program states it: 619 → "6,19 %".
std::string percentText(std::int64_t basisPoints)
{
    const std::string hundredths = std::to_string(100 + basisPoints % 100);
    return std::to_string(basisPoints / 100) + "," + hundredths.substr(1) + " %";
}

// The yearly rate X at which what is received equals the payments, the k-th
// (from 1) paid (whole + k − 1) periods and `odd` days after the signing:
// with z = (1 + X)^(−1 / (periods × days)) every time is a whole power of z,
// so bisection on z needs no fractional power. Without odd days, days = 1.
Decimal yearlyRate(const Decimal& received, const std::vector<Decimal>& payments, std::int64_t perYear,
                   std::int64_t whole = 1, std::int64_t odd = 0, std::int64_t days = 1)
{
    Decimal low(0), high(1);
    const Decimal half(5, 1);
    for (int step = 0; step < 150; ++step) {
        const Decimal z = (low + high) * half;
        const Decimal v = z.power(days); // one period
        Decimal sum(0);
        for (std::size_t k = payments.size(); k-- > 0;)
            sum = sum * v + payments[k];
        sum = sum * z.power(perYear * odd + whole * days); // the first payment's time
        (sum < received ? low : high) = z;
    }
    return Decimal(1) / low.power(perYear * days) - Decimal(1);
}

// One of the Commission's examples in its own terms.
struct Example {
    const char* name;
    std::vector<std::string> options;  // the same loan typed on the command line
    const char* reported;              // its APRC, per cent
    std::int64_t capital = 20'000'000; // cents
    std::int64_t installments = 240;
    std::int64_t perYear = 12;
    const char* rate = "6";                                    // nominal, per cent a year
    std::vector<std::pair<std::int64_t, const char*>> steps{}; // from installment k, the rate
    std::int64_t balloon = 0;                  // cents, owed after the last installment and paid with it
    std::int64_t interestOnly = 0;             // the first installments pay interest only
    bool equalPrincipal = false;               // the principal, not the installment, is constant
    std::int64_t upfront = 400'000;            // cents, at the signing
    std::int64_t fee = 0;                      // cents, with every installment
    std::int64_t exitFee = 0;                  // cents, with the last
    std::int64_t whole = 1, odd = 0, days = 1; // the first period: whole periods and odd days of a year of `days`
};

// The payments as the examples make them: the balance unrounded, each
// installment rounded to the cent; a new annuity on the balance at each
// rate step; with an odd first period one constant installment whose first
// interest is simple interest for the whole periods and the odd days.
std::vector<Decimal> examplePayments(const Example& e)
{
    const Decimal capital = Decimal::cents(e.capital);
    const Decimal balloon = Decimal::cents(e.balloon);
    const auto rateOf = [&](std::int64_t k) {
        const char* rate = e.rate;
        for (const auto& [from, stepRate] : e.steps)
            if (from <= k)
                rate = stepRate;
        return Decimal::parse(rate) / Decimal(100 * e.perYear);
    };
    const auto annuity = [&](const Decimal& debt, const Decimal& i, std::int64_t n) {
        const Decimal grown = (Decimal(1) + i).power(n);
        return (debt * grown - balloon) * i / (grown - Decimal(1));
    };
    std::vector<Decimal> payments;
    Decimal balance = capital, installment(0);
    const std::int64_t repaying = e.installments - e.interestOnly;
    for (std::int64_t k = 1; k <= e.installments; ++k) {
        const Decimal i = rateOf(k);
        Decimal interest = balance * i, principal(0);
        if (k == 1 && e.odd > 0) {
            const Decimal first = Decimal::parse(e.rate) / Decimal(100) *
                                  (Decimal(e.whole) / Decimal(e.perYear) + Decimal(e.odd) / Decimal(e.days));
            const Decimal rest = (Decimal(1) - Decimal(1) / (Decimal(1) + i).power(e.installments - 1)) / i;
            installment = capital * (Decimal(1) + first) / (Decimal(1) + rest);
            interest = capital * first;
        } else if (k > e.interestOnly && !e.equalPrincipal &&
                   (k == e.interestOnly + 1 ||
                    std::any_of(e.steps.begin(), e.steps.end(), [&](const auto& s) { return s.first == k; }))) {
            installment = annuity(balance, i, e.installments - k + 1);
        }
        if (k > e.interestOnly)
            principal = e.equalPrincipal ? (capital - balloon) / Decimal(repaying) : installment - interest;
        balance = balance - principal;
        std::int64_t paid = (interest + principal).roundedTo(2) + e.fee;
        if (k == e.installments)
            paid += e.balloon + e.exitFee;
        payments.push_back(Decimal::cents(paid));
    }
    return payments;
}

// Each example typed as options prints, on its TAEG line, its APRC rounded to
// two decimals, as the test works it out from the example's terms, and as
// the report states it.
TEST(LoanShapesTest, the_commissions_examples_give_their_aprc)
{
    const std::vector<std::string> base{"--capitale", "200000", "--mesi", "240", "--spese-iniziali", "4000"};
    const auto with = [&](std::vector<std::string> more, std::vector<std::string> options) {
        options.insert(options.end(), more.begin(), more.end());
        return options;
    };
    const Example examples[] = {
        {.name = "2, case 1: 1 month and 3 days",
         .options = with({"--tasso", "6", "--stipula", "12/01/2012", "--prima-rata", "15/02/2012"}, base),
         .reported = "6.434185",
         .whole = 1,
         .odd = 3,
         .days = 365},
        {.name = "2, case 2: the year before is a leap one",
         .options = with({"--tasso", "6", "--stipula", "12/01/2013", "--prima-rata", "15/02/2013"}, base),
         .reported = "6.434111",
         .whole = 1,
         .odd = 3,
         .days = 366},
        {.name = "2, case 3: yearly installments, 34 days first",
         .options = with(
             {"--tasso", "6", "--frequenza", "annuale", "--stipula", "12/01/2012", "--prima-rata", "15/02/2012"}, base),
         .reported = "6.282070",
         .installments = 20,
         .perYear = 1,
         .whole = 0,
         .odd = 34,
         .days = 365},
        {.name = "6: a cost at the end",
         .options = with({"--tasso", "6", "--spese-finali", "100"}, base),
         .reported = "6.436359",
         .exitFee = 10'000},
        {.name = "7: 30 years' installment, the rest after 15 as a maxi-rata",
         .options = {"--capitale", "200000", "--mesi", "180", "--tasso", "6", "--maxi-rata", "142097,69",
                     "--spese-iniziali", "4000"},
         .reported = "6.409523",
         .installments = 180,
         .balloon = 14'209'769},
        {.name = "8: interest only",
         .options = with({"--tasso", "7", "--maxi-rata", "200000"}, base),
         .reported = "7.430479",
         .rate = "7",
         .balloon = 20'000'000},
        {.name = "8, the rate at its highest from the 7th",
         .options = with({"--tasso", "7", "--maxi-rata", "200000", "--variazione-tasso", "7:8,39"}, base),
         .reported = "8.869280",
         .rate = "7",
         .steps = {{7, "8.39"}},
         .balloon = 20'000'000},
        {.name = "18, case 1: 14 days",
         .options = with({"--tasso", "6", "--stipula", "15/02/2015", "--prima-rata", "01/03/2015"}, base),
         .reported = "6.435937",
         .whole = 0,
         .odd = 14,
         .days = 365},
        {.name = "18, case 2: the first interest above the installment",
         .options = with({"--tasso", "6", "--stipula", "12/03/2012", "--prima-rata", "01/05/2012"}, base),
         .reported = "6.432478",
         .whole = 1,
         .odd = 20,
         .days = 366},
        {.name = "20: 5 % for two years, then 6 %",
         .options = with({"--tasso", "5", "--variazione-tasso", "25:6"}, base),
         .reported = "6.190654",
         .rate = "5",
         .steps = {{25, "6"}}},
        {.name = "21: fixed 9 months, then variable",
         .options = with({"--tasso", "5", "--variazione-tasso", "10:5,5"}, base),
         .reported = "5.853526",
         .rate = "5",
         .steps = {{10, "5.5"}}},
        {.name = "21, at the highest rate",
         .options = with({"--tasso", "5", "--variazione-tasso", "10:6,89"}, base),
         .reported = "7.199734",
         .rate = "5",
         .steps = {{10, "6.89"}}},
        {.name = "22, case 1: a cap paid with each installment",
         .options = with({"--tasso", "5", "--variazione-tasso", "10:5,5", "--spese-rata", "30"}, base),
         .reported = "6.134668",
         .rate = "5",
         .steps = {{10, "5.5"}},
         .fee = 3000},
        {.name = "22, case 1, at the cap",
         .options = with({"--tasso", "5", "--variazione-tasso", "10:6,5", "--spese-rata", "30"}, base),
         .reported = "7.093592",
         .rate = "5",
         .steps = {{10, "6.5"}},
         .fee = 3000},
        {.name = "22, case 2",
         .options = with({"--tasso", "5", "--variazione-tasso", "10:5,5", "--spese-rata", "20"}, base),
         .reported = "6.041228",
         .rate = "5",
         .steps = {{10, "5.5"}},
         .fee = 2000},
        {.name = "30: 60 months of interest, then equal principal (7 % effective as its nominal rate)",
         .options = {"--capitale", "30000", "--mesi", "180", "--tasso", "6,784974", "--preammortamento", "60",
                     "--ammortamento", "italiana", "--spese-iniziali", "600"},
         .reported = "7.302956",
         .capital = 3'000'000,
         .installments = 180,
         .rate = "6.784974",
         .interestOnly = 60,
         .equalPrincipal = true,
         .upfront = 60'000},
        {.name = "42: a bridging loan over 12 months",
         .options = {"--capitale", "200000", "--mesi", "12", "--tasso", "7,5", "--maxi-rata", "200000",
                     "--spese-iniziali", "4000"},
         .reported = "10.039962",
         .installments = 12,
         .rate = "7.5",
         .balloon = 20'000'000},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(e.name);
        const Decimal x =
            yearlyRate(Decimal::cents(e.capital - e.upfront), examplePayments(e), e.perYear, e.whole, e.odd, e.days);
        const std::int64_t worked = basisPoints(x);
        EXPECT_EQ(worked, (Decimal::parse(e.reported) / Decimal(100)).roundedTo(4)) << "the report's terms";
        EXPECT_EQ(taegOf(e.options), percentText(worked));
    }
}

// A shaped loan typed into the plan's inputs, and its rows as the README's
// rules make them in cents: each interest the debt × the period's rate,
// rounded; the French installment the annuity on the debt in cents, less
// what the maxi-rata leaves, worked out again at each rate step; the Italian
// principal what the installments repay ÷ their count; the last row pays
// the rest and the maxi-rata.
struct Shaped {
    const char* name;
    std::int64_t capital; // cents
    std::int64_t months;
    const char* rate;
    std::size_t frequency = 0; // mensile, bimestrale, trimestrale, semestrale, annuale
    std::int64_t interestOnly = 0;
    std::int64_t balloon = 0; // cents
    std::vector<std::pair<std::int64_t, const char*>> steps{};
    bool italian = false;
    std::int64_t annualFee = 0, finalFee = 0; // cents
};

std::vector<ReferenceRow> shapedRows(const Shaped& c, std::int64_t perYear)
{
    const std::int64_t n = c.months * perYear / 12;
    const auto rateOf = [&](std::int64_t k) {
        const char* rate = c.rate;
        for (const auto& [from, stepRate] : c.steps)
            if (from <= k)
                rate = stepRate;
        return Decimal::parse(rate) / Decimal(100 * perYear);
    };
    std::vector<ReferenceRow> rows;
    std::int64_t debt = c.capital, constant = 0;
    if (c.italian)
        constant = (Decimal::cents(c.capital - c.balloon) / Decimal(n - c.interestOnly)).roundedTo(2);
    for (std::int64_t k = 1; k <= n; ++k) {
        const Decimal i = rateOf(k);
        const bool step = std::any_of(c.steps.begin(), c.steps.end(), [&](const auto& s) { return s.first == k; });
        if (!c.italian && (k == c.interestOnly + 1 || (step && k > c.interestOnly))) {
            const Decimal grown = (Decimal(1) + i).power(n - k + 1);
            constant =
                ((Decimal::cents(debt) * grown - Decimal::cents(c.balloon)) * i / (grown - Decimal(1))).roundedTo(2);
        }
        ReferenceRow row;
        row.interest = (Decimal::cents(debt) * i).roundedTo(2);
        row.principal = k <= c.interestOnly ? 0 : c.italian ? constant : constant - row.interest;
        std::int64_t balloon = 0;
        if (k == n) {
            row.principal = debt - c.balloon;
            balloon = c.balloon;
        }
        row.installment = row.interest + row.principal;
        row.costs = ((k - 1) % perYear == 0 ? c.annualFee : 0) + (k == n ? c.finalFee : 0);
        row.prepaid = balloon; // the test's own: what is paid besides the installment
        debt -= row.principal + balloon;
        row.debt = debt;
        rows.push_back(row);
    }
    return rows;
}

TEST(LoanShapesTest, each_shape_makes_the_rows_its_rules_state)
{
    const Shaped cases[] = {
        {"quarterly: 8 installments at 1,5 %", 1'000'000, 24, "6", 2},
        {"six months of interest, then the annuity", 3'000'000, 36, "5", 0, 6},
        {"a rate step and a maxi-rata", 2'500'000, 48, "7,5", 0, 0, 1'000'000, {{25, "9,5"}}},
        {"a maxi-rata of all the capital: interest only", 5'000'000, 60, "4", 0, 0, 5'000'000},
        {"Italian, preammortamento and maxi-rata", 3'000'000, 120, "3,5", 0, 12, 600'000, {}, true},
        {"every two months, a yearly fee and one at the end", 1'200'000, 36, "6", 1, 0, 0, {}, false, 3000, 5000},
        {"Italian with two steps, quarterly", 2'000'000, 60, "4", 2, 0, 0, {{5, "5"}, {13, "3,25"}}, true},
    };
    const NumberText numbers(u',');
    const auto text = [](std::int64_t cents) {
        const std::string hundredths = std::to_string(100 + cents % 100);
        return fromUtf8(std::to_string(cents / 100) + "," + hundredths.substr(1));
    };
    for (const Shaped& c : cases) {
        SCOPED_TRACE(c.name);
        PlanInputs inputs;
        inputs.setText(PlanInput::Capital, text(c.capital));
        inputs.setText(PlanInput::Duration, fromUtf8(std::to_string(c.months)));
        inputs.setText(PlanInput::AnnualRate, fromUtf8(c.rate));
        inputs.choose(PlanInput::Frequency, c.frequency);
        inputs.choose(PlanInput::Kind, c.italian ? 1 : 0);
        if (c.interestOnly > 0)
            inputs.setText(PlanInput::InterestOnly, fromUtf8(std::to_string(c.interestOnly)));
        if (c.balloon > 0)
            inputs.setText(PlanInput::Balloon, text(c.balloon));
        std::string steps;
        for (const auto& [from, rate] : c.steps)
            steps += std::to_string(from) + ":" + rate + "; ";
        inputs.setText(PlanInput::RateSteps, fromUtf8(steps));
        if (c.annualFee > 0)
            inputs.setText(PlanInput::AnnualFee, text(c.annualFee));
        if (c.finalFee > 0)
            inputs.setText(PlanInput::FinalFees, text(c.finalFee));
        const PlanOutcome outcome = planFor(inputs, numbers);
        ASSERT_FALSE(outcome.error) << toUtf8(inputErrorText(*outcome.error, Naming::Window, AmountText(u',', u'.')));
        const auto* plan = std::get_if<AmortizationPlan>(&outcome.plan);
        ASSERT_NE(plan, nullptr);
        const std::int64_t perYear = inputs.periodsPerYear();
        const std::vector<ReferenceRow> expected = shapedRows(c, perYear);
        ASSERT_EQ(plan->rows().size(), expected.size());
        std::vector<Decimal> payments;
        for (std::size_t k = 0; k < expected.size(); ++k) {
            const PlanRow& row = plan->rows()[k];
            const ReferenceRow& want = expected[k];
            EXPECT_EQ(row.interest, want.interest) << "row " << k + 1;
            EXPECT_EQ(row.principal, want.principal) << "row " << k + 1;
            EXPECT_EQ(row.balloon, want.prepaid) << "row " << k + 1;
            EXPECT_EQ(row.costs, want.costs) << "row " << k + 1;
            EXPECT_EQ(row.remainingDebt, want.debt) << "row " << k + 1;
            payments.push_back(Decimal::cents(want.installment + want.costs + want.prepaid));
        }
        EXPECT_EQ(inBasisPoints(*plan->annualPercentageRate()),
                  basisPoints(yearlyRate(Decimal::cents(c.capital), payments, perYear)));
    }
}

// What has no meaning is refused in one sentence that names the option, status 2.
TEST(LoanShapesTest, a_shape_that_has_no_meaning_is_named)
{
    const struct {
        std::vector<std::string> options;
        const char* said;
    } cases[] = {
        {{"--variazione-tasso", "1:6"},
         "--variazione-tasso: «1:6»: dalla prima rata vale il TAN del contratto; una variazione viene dopo."},
        {{"--variazione-tasso", "300:6"}, "--variazione-tasso: il piano ha 240 rate, non 300."},
        {{"--variazione-tasso", "25"},
         "--variazione-tasso: «25» non è una variazione: si scrive rata:TAN, per esempio 25:6."},
        {{"--variazione-tasso", "25:6", "--variazione-tasso", "25:7"},
         "--variazione-tasso: due variazioni dalla rata 25."},
        {{"--maxi-rata", "200000,01"}, "--maxi-rata: 200.000,01 supera il capitale (200.000,00)."},
        {{"--preammortamento", "240"},
         "--preammortamento: il prestito ha 240 rate: il preammortamento deve lasciarne almeno una per restituire il "
         "capitale."},
        {{"--frequenza", "trimestrale", "--mesi", "250"},
         "--mesi: «250» non è un numero intero di rate: con questa frequenza una rata ogni 3 mesi."},
        {{"--frequenza", "settimanale"},
         "--frequenza: «settimanale» non è tra le scelte: mensile, bimestrale, trimestrale, semestrale oppure "
         "annuale."},
        {{"--stipula", "15/02/2012", "--prima-rata", "15/02/2012"},
         "--stipula: la stipula viene prima della prima rata."},
        {{"--stipula", "14/01/2011", "--prima-rata", "15/02/2012"},
         "--stipula: più di un periodo e un anno prima della prima rata: non è la stipula di questo piano."},
        {{"--stipula", "12/01/2012", "--prima-rata", "02/2012"},
         "--prima-rata: con la data della stipula serve il giorno della prima rata (GG/MM/AAAA)."},
        {{"--stipula", "30/02/2012", "--prima-rata", "15/03/2012"},
         "--stipula: «30/02/2012» non è una data: si scrive GG/MM/AAAA, per esempio 15/01/2027."},
        {{"--preammortamento", "12", "--estinzione-dopo", "6", "--estinzione-importo", "1000"},
         "--estinzione-dopo: le prime 12 rate sono di preammortamento: si rimborsa in anticipo dopo."},
        {{"--variazione-tasso", "25:6", "--estinzione-dopo", "30", "--estinzione-importo", "1000", "--riduci",
          "durata"},
         "--riduci: con le variazioni del tasso, dopo un'estinzione parziale si ricalcola la rata, non la durata."},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"--piano", "--capitale", "200000", "--tasso", "5"};
        if (std::find(c.options.begin(), c.options.end(), "--mesi") == c.options.end())
            arguments.insert(arguments.end(), {"--mesi", "240"});
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        std::ostringstream output, errors;
        EXPECT_EQ(runCommandLine(arguments, NumberText(u','), output, errors), 2) << c.said;
        EXPECT_EQ(errors.str(), "ratalia: " + std::string(c.said) + "\n");
        EXPECT_EQ(output.str(), "");
    }
    // With a signing date the installment depends on the odd days: it is the one worked out.
    std::ostringstream output, errors;
    EXPECT_EQ(runCommandLine({"--piano", "--rata", "800", "--mesi", "240", "--tasso", "3", "--stipula", "12/01/2012",
                              "--prima-rata", "15/02/2012"},
                             NumberText(u','), output, errors),
              2);
    EXPECT_EQ(errors.str(), "ratalia: --rata: con la data di stipula la rata dipende dai giorni del primo periodo: si "
                            "calcola la rata, e le altre tre cifre si danno.\n");
}

// Insurance on the debt: each premium the yearly share of the debt the
// installment is paid on, so it falls with the debt, also after an early
// repayment; a single premium at the signing comes out of what is received.
// Both count in the cost of the credit and the TAEG.
TEST(LoanShapesTest, insurance_on_the_debt_falls_with_it_and_counts_in_the_taeg)
{
    const struct {
        const char* name;
        ReferenceLoan loan;
        const char* yearly;  // per cent of the debt
        std::int64_t single; // cents
    } cases[] = {
        {"0,3 % a year on a mortgage", {.capital = "150000", .months = 240, .annualRate = "3,5"}, "0,3", 0},
        {"and a single premium with the fees",
         {.capital = "150000", .months = 240, .annualRate = "3,5", .initialFees = 120'000},
         "0,25",
         250'000},
        {"after an early repayment, on the lower debt",
         {.capital = "40000", .months = 120, .annualRate = "5", .after = 36, .amount = 1'000'000},
         "0,4",
         0},
        {"a single premium alone", {.capital = "20000", .months = 60, .annualRate = "7,9"}, "0", 90'000},
    };
    const NumberText numbers(u',');
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ReferencePlan reference = referencePlan(c.loan);
        // The month-by-month premiums, each on the debt before its installment.
        std::vector<Decimal> payments;
        std::int64_t debt = reference.capital, premiums = 0;
        std::vector<std::int64_t> expected;
        for (const ReferenceRow& row : reference.rows) {
            const std::int64_t premium = (Decimal::cents(debt) * Decimal::parse(c.yearly) / Decimal(1200)).roundedTo(2);
            expected.push_back(premium);
            premiums += premium;
            payments.push_back(Decimal::cents(row.payment() + premium));
            debt = row.debt;
        }
        PlanInputs inputs;
        inputs.setText(PlanInput::Capital, fromUtf8(c.loan.capital));
        inputs.setText(PlanInput::Duration, fromUtf8(std::to_string(c.loan.months)));
        inputs.setText(PlanInput::AnnualRate, fromUtf8(c.loan.annualRate));
        inputs.setText(PlanInput::InitialFees, fromUtf8(std::to_string(c.loan.initialFees / 100)));
        inputs.setText(PlanInput::Insurance, fromUtf8(c.yearly));
        inputs.setText(PlanInput::SinglePremium, fromUtf8(std::to_string(c.single / 100)));
        if (c.loan.after > 0) {
            inputs.setText(PlanInput::RepayAfter, fromUtf8(std::to_string(c.loan.after)));
            inputs.setText(PlanInput::RepayAmount, fromUtf8(std::to_string(*c.loan.amount / 100)));
        }
        const PlanOutcome outcome = planFor(inputs, numbers);
        ASSERT_FALSE(outcome.error);
        const auto* plan = std::get_if<AmortizationPlan>(&outcome.plan);
        ASSERT_NE(plan, nullptr);
        ASSERT_EQ(plan->rows().size(), expected.size());
        for (std::size_t k = 0; k < expected.size(); ++k)
            EXPECT_EQ(plan->rows()[k].costs, expected[k]) << "row " << k + 1;
        EXPECT_EQ(plan->received(), reference.capital - c.loan.initialFees - c.single);
        if (c.loan.after == 0) {
            EXPECT_EQ(plan->costOfCredit(), reference.contractInterest() + c.loan.initialFees + c.single + premiums);
            EXPECT_EQ(inBasisPoints(*plan->annualPercentageRate()),
                      basisPoints(yearlyRate(Decimal::cents(plan->received()), payments, 12)));
        }
    }
}

// The odd days' interest as a row of its own (preammortamento tecnico): simple
// interest on the capital for the days from the signing to the first due
// date, paid then; the installments of the plain plan follow a month apart,
// and the TAEG counts each payment from the signing.
TEST(LoanShapesTest, the_odd_days_in_a_row_of_their_own)
{
    const struct {
        const char* name;
        const char* signing;
        const char* firstDue;
        std::int64_t days, yearDays;
        ReferenceLoan loan;
    } cases[] = {
        {"19 days of January",
         "12/01/2012",
         "31/01/2012",
         19,
         365,
         {.capital = "200000", .months = 240, .annualRate = "6", .initialFees = 400'000}},
        {"a leap year's February, Italian plan",
         "03/02/2024",
         "29/02/2024",
         26,
         366,
         {.capital = "80000", .months = 120, .annualRate = "4,1", .italian = true}},
    };
    const NumberText numbers(u',');
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ReferencePlan reference = referencePlan(c.loan);
        const std::int64_t odd = (Decimal::cents(reference.capital) * Decimal::parse(c.loan.annualRate) *
                                  Decimal(c.days) / Decimal(100 * c.yearDays))
                                     .roundedTo(2);
        PlanInputs inputs;
        inputs.setText(PlanInput::Capital, fromUtf8(c.loan.capital));
        inputs.setText(PlanInput::Duration, fromUtf8(std::to_string(c.loan.months)));
        inputs.setText(PlanInput::AnnualRate, fromUtf8(c.loan.annualRate));
        inputs.choose(PlanInput::Kind, c.loan.italian ? 1 : 0);
        inputs.setText(PlanInput::InitialFees, fromUtf8(std::to_string(c.loan.initialFees / 100)));
        inputs.setText(PlanInput::Signing, fromUtf8(c.signing));
        inputs.setText(PlanInput::FirstDue, fromUtf8(c.firstDue));
        inputs.choose(PlanInput::OddDays, 1);
        const PlanOutcome outcome = planFor(inputs, numbers);
        ASSERT_FALSE(outcome.error);
        const auto* plan = std::get_if<AmortizationPlan>(&outcome.plan);
        ASSERT_NE(plan, nullptr);
        ASSERT_EQ(plan->rows().size(), reference.rows.size() + 1);
        EXPECT_EQ(plan->rows().front().number, 0);
        EXPECT_EQ(plan->rows().front().interest, odd);
        EXPECT_EQ(plan->rows().front().installment, odd);
        std::vector<Decimal> payments{Decimal::cents(odd)};
        for (std::size_t k = 0; k < reference.rows.size(); ++k) {
            EXPECT_EQ(plan->row(static_cast<std::int64_t>(k) + 1).installment, reference.rows[k].installment);
            EXPECT_EQ(plan->row(static_cast<std::int64_t>(k) + 1).remainingDebt, reference.rows[k].debt);
            payments.push_back(Decimal::cents(reference.rows[k].payment()));
        }
        EXPECT_EQ(plan->contractInterest(), reference.contractInterest() + odd);
        // The odd row at d ÷ D years, the k-th installment k months after it.
        EXPECT_EQ(inBasisPoints(*plan->annualPercentageRate()),
                  basisPoints(yearlyRate(Decimal::cents(reference.received()), payments, 12, 0, c.days, c.yearDays)));
        // Its month is the first due date's, the installments' the months after.
        EXPECT_EQ(plan->dueDate(plan->rows().front()), plan->firstDue());
        EXPECT_EQ(plan->dueDate(1), plan->firstDue()->plus(1));
    }
}

} // namespace
} // namespace ratalia::test
