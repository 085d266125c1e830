#include "core/amortization_plan.h"
#include "core/plan_command.h"
#include "core/plan_text.h"
#include "core/version.h"
#include "support/test_form.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace ratalia::test {
namespace {

__extension__ using Wide = __int128;

struct Loan {
    const char16_t* capital; // Italian texts
    const char16_t* duration;
    DurationUnit unit;
    const char16_t* rate;
};

// The same plan, worked out here from scratch: the monthly rate as the exact
// fraction annual ÷ 1200 of the rate typed, interest rounded half up in
// integers, the installment from the annuity formula in long double.
struct Simulation {
    Cents installment = 0;
    std::vector<PlanRow> rows;
};

Simulation simulate(const Loan& loan)
{
    const auto cents = [](std::u16string_view italian) {
        std::string number(italian.begin(), italian.end());
        std::replace(number.begin(), number.end(), ',', '.');
        return std::stold(number);
    };
    const long double capital = cents(loan.capital);
    const auto count = static_cast<std::int64_t>(cents(loan.duration)) * (loan.unit == DurationUnit::Years ? 12 : 1);
    // "6,75" is 675 ÷ 100: the monthly rate is 675 ÷ 120 000.
    std::string rate(std::u16string_view(loan.rate).begin(), std::u16string_view(loan.rate).end());
    const auto comma = rate.find(',');
    Wide denominator = 1200;
    if (comma != std::string::npos) {
        for (std::size_t k = comma + 1; k < rate.size(); ++k)
            denominator *= 10;
        rate.erase(comma, 1);
    }
    const Wide numerator = std::stoll(rate);

    Simulation s;
    const long double i = static_cast<long double>(numerator) / static_cast<long double>(denominator);
    const long double exact =
        i == 0 ? capital / count : capital * i / (1 - std::pow(1 + i, -static_cast<long double>(count)));
    s.installment = std::llround(exact * 100);
    Cents debt = std::llround(capital * 100);
    for (std::int64_t month = 1; month <= count; ++month) {
        const auto interest = static_cast<Cents>((2 * debt * numerator + denominator) / (2 * denominator));
        const Cents principal = month == count ? debt : std::min(s.installment - interest, debt);
        debt -= principal;
        s.rows.push_back({month, principal + interest, interest, principal, debt});
    }
    return s;
}

std::variant<AmortizationPlan, Text> planOf(TestForm& form, const Loan& loan)
{
    form.events.choose(loan.unit);
    form.fill(loan.capital, loan.duration, loan.rate);
    form.events.click(Button::Calculate);
    const auto terms = form.events.planTerms();
    if (!terms)
        return u"no plan";
    return amortizationPlan(*terms, form.form().numbers());
}

class AmortizationPlanTest : public testing::TestWithParam<char16_t> {};

TEST_P(AmortizationPlanTest, every_row_matches_a_month_by_month_simulation)
{
    const Loan loans[] = {
        {u"10000", u"24", DurationUnit::Months, u"6,75"},    {u"250000", u"30", DurationUnit::Years, u"3,9"},
        {u"12345,67", u"10", DurationUnit::Years, u"25"},    {u"5000", u"7", DurationUnit::Months, u"0"},
        {u"1000", u"1", DurationUnit::Months, u"12"},        {u"0,01", u"24", DurationUnit::Months, u"6,75"},
        {u"1000000", u"100000", DurationUnit::Months, u"1"}, {u"999999999", u"2", DurationUnit::Months, u"99,99"},
    };
    for (const Loan& loan : loans) {
        SCOPED_TRACE(toUtf8(loan.capital) + " " + toUtf8(loan.duration) + " " + toUtf8(loan.rate));
        TestForm form(GetParam());
        const auto outcome = planOf(form, loan);
        ASSERT_TRUE(std::holds_alternative<AmortizationPlan>(outcome)) << toUtf8(std::get<Text>(outcome));
        const auto& plan = std::get<AmortizationPlan>(outcome);
        const Simulation expected = simulate(loan);

        EXPECT_EQ(plan.installment(), expected.installment);
        ASSERT_EQ(plan.rows().size(), expected.rows.size());
        EXPECT_TRUE(plan.rows() == expected.rows)
            << "first difference at row "
            << std::mismatch(plan.rows().begin(), plan.rows().end(), expected.rows.begin()).first->number;
        Cents paid = 0, interest = 0, principal = 0;
        for (const PlanRow& row : expected.rows) {
            paid += row.installment;
            interest += row.interest;
            principal += row.principal;
        }
        EXPECT_EQ(plan.totalPaid(), paid);
        EXPECT_EQ(plan.totalInterest(), interest);
        EXPECT_EQ(plan.totalPrincipal(), plan.capital());
        EXPECT_EQ(plan.rows().back().remainingDebt, 0);
        EXPECT_EQ(plan.lastInstallmentDifference(), expected.rows.back().installment - expected.installment);
    }
}

TEST_P(AmortizationPlanTest, no_plan_beyond_what_it_can_show)
{
    const struct {
        Loan loan;
        const char16_t* message; // the start of it
    } refusals[] = {
        {{u"1000", u"100001", DurationUnit::Months, u"1"},
         u"Il piano di ammortamento si può mostrare fino a centomila rate; questo prestito ne ha 100001."},
        {{u"1000", u"9000", DurationUnit::Years, u"1"},
         u"Il piano di ammortamento si può mostrare fino a centomila rate; questo prestito ne ha 108000."},
        {{u"0,004", u"12", DurationUnit::Months, u"1"}, u"Il capitale è inferiore a mezzo centesimo"},
        {{u"1E+20", u"12", DurationUnit::Months, u"1"}, u"Gli importi di questo prestito sono troppo grandi"},
        {{u"9,2E+16", u"2", DurationUnit::Months, u"12"}, u"Gli importi di questo prestito sono troppo grandi"},
    };
    for (const auto& refusal : refusals) {
        TestForm form(GetParam());
        const auto outcome = planOf(form, refusal.loan);
        ASSERT_TRUE(std::holds_alternative<Text>(outcome));
        EXPECT_EQ(std::get<Text>(outcome).rfind(refusal.message, 0), 0u) << toUtf8(std::get<Text>(outcome));
    }
}

TEST_P(AmortizationPlanTest, only_while_the_results_show_a_completed_calculation)
{
    TestForm form(GetParam());
    form.fill(u"10000", u"24", u"6,75");
    const auto available = [&] { return form.events.hasPlan() && form.events.planTerms().has_value(); };
    EXPECT_FALSE(available());
    const std::vector<std::pair<const char*, std::function<void()>>> steps{
        {"Calcola", [&] { form.events.click(Button::Calculate); }},
        {"Arrotonda", [&] { form.events.click(Button::Round); }},
        {"capital typed", [&] { form.type(Field::Capital, u"10001"); }},
        {"Calcola again", [&] { form.events.click(Button::Calculate); }},
        {"anni chosen", [&] { form.events.choose(DurationUnit::Years); }},
        {"Calcola in years", [&] { form.events.click(Button::Calculate); }},
        {"rate reset", [&] { form.events.click(Button::ResetRate); }},
        {"bad capital",
         [&] {
             form.type(Field::Capital, u"x");
             form.events.click(Button::Calculate);
         }},
    };
    const bool expected[] = {true, true, false, true, false, true, false, false};
    for (std::size_t k = 0; k < steps.size(); ++k) {
        steps[k].second();
        EXPECT_EQ(available(), expected[k]) << "after " << steps[k].first;
    }
}

TEST_P(AmortizationPlanTest, the_csv_reads_back_as_the_plan)
{
    TestForm form(GetParam());
    const auto plan = std::get<AmortizationPlan>(planOf(form, {u"123456,78", u"40", DurationUnit::Years, u"4,5"}));
    const char16_t separator = GetParam();
    const char16_t delimiter = csvDelimiter(separator);
    EXPECT_EQ(delimiter, separator == u',' ? u';' : u',');
    std::istringstream csv(toUtf8(delimitedPlan(plan, AmountText(separator, u'\''), delimiter)));

    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(fromUtf8(line), Text(u"N.") + delimiter + u"Rata" + delimiter + u"Interessi" + delimiter +
                                  u"Quota capitale" + delimiter + u"Debito residuo");
    std::vector<PlanRow> read;
    while (std::getline(csv, line)) {
        std::vector<std::int64_t> numbers;
        std::u16string field;
        for (const char16_t c : fromUtf8(line) + delimiter) {
            if (c != delimiter) {
                if (c != separator)
                    field += c;
                continue;
            }
            numbers.push_back(std::stoll(toUtf8(field)));
            field.clear();
        }
        ASSERT_EQ(numbers.size(), 5u) << line;
        read.push_back({numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]});
    }
    EXPECT_TRUE(read == plan.rows());
}

INSTANTIATE_TEST_SUITE_P(Regions, AmortizationPlanTest, testing::ValuesIn(separators()), separatorName);

struct Outcome {
    int status;
    std::string output;
    std::string errors;
};

Outcome run(std::vector<std::string> arguments, char16_t separator = u',')
{
    std::ostringstream output, errors;
    const int status = runCommandLine(arguments, NumberText(separator), output, errors);
    return {status, output.str(), errors.str()};
}

TEST(CommandLineTest, prints_the_plan_of_the_window)
{
    const Outcome csv = run({"--piano", "--capitale", "10000", "--mesi", "24", "--tasso", "6,75", "--csv"});
    ASSERT_EQ(csv.status, 0) << csv.errors;
    EXPECT_EQ(csv.errors, "");
    std::istringstream lines(csv.output);
    std::string line;
    std::vector<std::string> rows;
    while (std::getline(lines, line))
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], "N.;Rata;Interessi;Quota capitale;Debito residuo");
    EXPECT_EQ(rows[1], "1;446,59;56,25;390,34;9609,66");
    EXPECT_EQ(rows[24], "24;446,68;2,50;444,18;0,00");

    // The same loan said otherwise gives the same plan.
    for (const auto& same : std::vector<std::vector<std::string>>{
             {"--csv", "--tasso=6.75", "--anni", "2", "--capitale", "10000", "--piano"},
             {"--piano", "--capitale", "10000.00", "--mesi", "24,0", "--tasso", "6,750", "--csv"}}) {
        const Outcome again = run(same);
        EXPECT_EQ(again.status, 0);
        EXPECT_EQ(again.output, csv.output);
    }

    const Outcome table = run({"--piano", "--capitale", "10000", "--mesi", "24", "--tasso", "6,75"}, u'.');
    EXPECT_NE(table.output.find("Capitale:       10,000.00\n"), std::string::npos) << table.output;
    EXPECT_NE(table.output.find("N.    Rata  Interessi  Quota capitale  Debito residuo\n"
                                " 1  446.59      56.25          390.34        9,609.66\n"),
              std::string::npos);
    EXPECT_NE(table.output.find("Totale quota capitale:  10,000.00\n"), std::string::npos);
}

TEST(CommandLineTest, answers_every_request_with_one_status_and_one_message)
{
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string errors; // the whole standard error
    } cases[] = {
        {{"--piano", "--capitale", "10000", "--mesi", "23,6", "--tasso", "5", "--csv"},
         0,
         "ratalia: Il valore rappresentante i numeri dei mesi verrà arrotondato, ovvero al posto di 23.6 sarà preso in "
         "considerazione il valore di 24\n"},
        {{"--piano", "--capitale", "dieci", "--mesi", "24", "--tasso", "5"},
         2,
         "ratalia: Sono stati inseriti uno o più dati errati\n"},
        {{"--piano", "--capitale", "-5", "--mesi", "24", "--tasso", "5"},
         2,
         "ratalia: Sono stati inseriti uno o più dati errati\n"},
        {{"--piano", "--capitale", "", "--mesi", "24", "--tasso", "5"},
         2,
         "ratalia: Sono stati inseriti uno o più dati errati\n"},
        {{"--piano", "--capitale", "1000", "--mesi", "200000", "--tasso", "0,5"},
         2,
         "ratalia: Il piano di ammortamento si può mostrare fino a centomila rate; questo prestito ne ha 200000.\n"},
        {{"--piano", "--capitale", "1000", "--tasso", "5"},
         2,
         "ratalia: indicare la durata con --mesi oppure con --anni.\n"},
        {{"--piano", "--capitale", "1000", "--mesi", "2", "--anni", "2", "--tasso", "5"},
         2,
         "ratalia: indicare la durata con --mesi oppure con --anni.\n"},
        {{"--piano", "--capitale", "1000", "--mesi", "2"}, 2, "ratalia: manca --tasso.\n"},
        {{"--piano", "--capitale", "1000", "--mesi", "2", "--tasso"}, 2, "ratalia: manca il valore di --tasso.\n"},
        {{"--capitale", "1000", "--mesi", "2", "--tasso", "1"},
         2,
         "ratalia: le opzioni del piano vogliono --piano (ratalia --help elenca le opzioni).\n"},
        {{"--piano", "--piano"}, 2, "ratalia: l'opzione --piano è ripetuta.\n"},
        {{"--tassi", "5"}, 2, "ratalia: opzione non riconosciuta: --tassi (ratalia --help elenca le opzioni).\n"},
        {{"--csv=sì"}, 2, "ratalia: opzione non riconosciuta: --csv=sì (ratalia --help elenca le opzioni).\n"},
        {{"--help"}, 0, ""},
        {{"--version"}, 0, ""},
    };
    for (const auto& c : cases) {
        const Outcome result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments[0] << " " << result.errors;
        EXPECT_EQ(result.errors, c.errors);
        if (c.status == 2) {
            EXPECT_EQ(result.output, "");
        }
    }
    EXPECT_EQ(run({"--version"}).output, std::string("Ratalia ") + version + "\n");
    EXPECT_NE(run({"--help"}).output.find("  --piano "), std::string::npos);
    EXPECT_TRUE(isCommandLine({"--help"}));
    EXPECT_FALSE(isCommandLine({"-platform", "offscreen"}));
}

} // namespace
} // namespace ratalia::test
