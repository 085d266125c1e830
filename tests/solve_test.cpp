// The capital, the duration and the rate worked out from the installment,
// checked against the installment worked out in the test in high-precision
// decimals (support/reference_loan.h): the answer meets the rule and the
// next figure over does not.

#include "cli/command_line.h"
#include "loan/plan_request.h"
#include "support/decimal.h"
#include "support/reference_loan.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ratalia::test {
namespace {

// The first installment as the rule states it: the French installment, or
// the Italian plan's capital ÷ N and a month's interest, each rounded to the cent.
std::int64_t firstInstallment(std::int64_t capital, std::int64_t months, const Decimal& annualRate, bool italian)
{
    const Decimal rate = annualRate / Decimal(1200);
    if (!italian)
        return annuityCents(capital, rate, months);
    const Decimal c = Decimal::cents(capital);
    return (c / Decimal(months)).roundedTo(2) + (c * rate).roundedTo(2);
}

// 1234567 cents as "12345,67".
Text centsText(std::int64_t cents)
{
    const std::string hundredths = std::to_string(100 + cents % 100);
    return fromUtf8(std::to_string(cents / 100) + "," + hundredths.substr(1));
}

// 10^-4 per cent × k, as a decimal.
Decimal ratePoint(std::int64_t k) { return Decimal(k, 4); }
PlanInputs question(Unknown unknown, const char16_t* capital, const char16_t* months, const char16_t* rate,
                    const char16_t* installment, bool italian = false)
{
    PlanInputs inputs;
    inputs.choose(PlanInput::Solve, static_cast<std::size_t>(unknown));
    inputs.setText(PlanInput::Capital, capital);
    inputs.setText(PlanInput::Duration, months);
    inputs.setText(PlanInput::AnnualRate, rate);
    inputs.setText(PlanInput::Installment, installment);
    inputs.choose(PlanInput::Kind, italian ? 1 : 0);
    return inputs;
}

const LoanReading& answered(const PlanOutcome& outcome)
{
    EXPECT_FALSE(outcome.error);
    EXPECT_TRUE(std::holds_alternative<AmortizationPlan>(outcome.plan));
    return *outcome.loan;
}

TEST(SolveTest, the_capital_is_the_largest_whose_installment_is_not_above_the_one_given)
{
    const struct {
        const char* name;
        const char16_t *installment, *months, *rate;
        bool italian;
    } cases[] = {
        {"a mortgage", u"800", u"240", u"3,5", false},
        {"a car loan", u"289,90", u"60", u"7,95", false},
        {"a zero rate", u"100", u"12", u"0", false},
        {"one installment", u"1005", u"1", u"6", false},
        {"the longest plan, at a zero rate", u"1", u"100000", u"0", false},
        {"a century at 3 %", u"500", u"1200", u"3", false},
        {"the Italian plan, by its first installment", u"900", u"240", u"3,5", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PlanOutcome outcome =
            planFor(question(Unknown::Capital, u"", c.months, c.rate, c.installment, c.italian), NumberText(u','));
        const LoanReading& loan = answered(outcome);
        const std::int64_t given = Decimal::parse(toUtf8(Text(c.installment))).roundedTo(2);
        const std::int64_t months = std::stoll(toUtf8(Text(c.months)));
        const Decimal rate = Decimal::parse(toUtf8(Text(c.rate)));
        EXPECT_LE(firstInstallment(loan.capital, months, rate, c.italian), given);
        // The next cent up asks for more, or for a last installment no plan allows.
        const PlanOutcome more = planFor(
            question(Unknown::Installment, centsText(loan.capital + 1).c_str(), c.months, c.rate, u"", c.italian),
            NumberText(u','));
        EXPECT_TRUE(firstInstallment(loan.capital + 1, months, rate, c.italian) > given ||
                    std::holds_alternative<PlanRefusal>(more.plan));
        EXPECT_EQ(std::get<AmortizationPlan>(outcome.plan).rows().front().installment,
                  firstInstallment(loan.capital, months, rate, c.italian));
    }
}

TEST(SolveTest, the_duration_is_the_fewest_installments_and_the_plan_has_their_equal_installment)
{
    const struct {
        const char* name;
        const char16_t *capital, *installment, *rate;
        bool italian;
        std::int64_t months;
    } cases[] = {
        {"15 000 at 300 a month", u"15000", u"300", u"5", false, 57},
        {"a mortgage", u"150000", u"750", u"3,2", false, 287},
        {"a zero rate", u"1200", u"100", u"0", false, 12},
        {"one installment", u"1000", u"1005", u"6", false, 1},
        {"the Italian plan", u"150000", u"900", u"3,5", true, 325},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PlanOutcome outcome =
            planFor(question(Unknown::Duration, c.capital, u"", c.rate, c.installment, c.italian), NumberText(u','));
        const LoanReading& loan = answered(outcome);
        EXPECT_EQ(loan.count, c.months);
        const std::int64_t capital = Decimal::parse(toUtf8(Text(c.capital))).roundedTo(2);
        const std::int64_t given = Decimal::parse(toUtf8(Text(c.installment))).roundedTo(2);
        const Decimal rate = Decimal::parse(toUtf8(Text(c.rate)));
        EXPECT_LE(firstInstallment(capital, loan.count, rate, c.italian), given);
        if (loan.count > 1) {
            EXPECT_GT(firstInstallment(capital, loan.count - 1, rate, c.italian), given);
        }
        EXPECT_EQ(std::get<AmortizationPlan>(outcome.plan).rows().size(), static_cast<std::size_t>(loan.count));
    }
}

TEST(SolveTest, the_rate_has_the_fewest_decimals_and_says_every_rate_that_gives_the_installment)
{
    const struct {
        const char* name;
        const char16_t *capital, *months, *installment;
        bool italian;
        const char* rate;             // as worked out
        const char *lowest, *highest; // every rate of four decimals giving the installment
    } cases[] = {
        {"200 000 over 240 months at 1 432,86: 6 % alone", u"200000", u"240", u"1432,86", false, "6", "6", "6"},
        {"3 000 over 12 months at 263,61", u"3000", u"12", u"263,61", false, "9,9", "9,8978", "9,9049"},
        {"a zero rate", u"1200", u"12", u"100", false, "0", "0", "0,0092"},
        {"the Italian plan", u"150000", u"240", u"1000", true, "3", "3", "3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PlanOutcome outcome =
            planFor(question(Unknown::Rate, c.capital, c.months, u"", c.installment, c.italian), NumberText(u','));
        const LoanReading& loan = answered(outcome);
        const std::int64_t capital = Decimal::parse(toUtf8(Text(c.capital))).roundedTo(2);
        const std::int64_t months = std::stoll(toUtf8(Text(c.months)));
        const std::int64_t given = Decimal::parse(toUtf8(Text(c.installment))).roundedTo(2);
        const Decimal shown = Decimal(loan.annualRate.significand, static_cast<int>(-loan.annualRate.exponent));
        EXPECT_EQ(shown.roundedTo(4), Decimal::parse(c.rate).roundedTo(4));
        // A range only where more than one rate gives the installment.
        EXPECT_EQ(loan.rates.has_value(), std::string(c.lowest) != c.highest);
        const auto low = loan.rates
                             ? Decimal(loan.rates->lowest.significand, static_cast<int>(-loan.rates->lowest.exponent))
                             : shown;
        const auto high =
            loan.rates ? Decimal(loan.rates->highest.significand, static_cast<int>(-loan.rates->highest.exponent))
                       : shown;
        EXPECT_EQ(low.roundedTo(4), Decimal::parse(c.lowest).roundedTo(4));
        EXPECT_EQ(high.roundedTo(4), Decimal::parse(c.highest).roundedTo(4));
        // The range's ends give the installment, the rates just beyond them do not.
        const std::int64_t lowK = low.roundedTo(4), highK = high.roundedTo(4);
        EXPECT_EQ(firstInstallment(capital, months, ratePoint(lowK), c.italian), given);
        EXPECT_EQ(firstInstallment(capital, months, ratePoint(highK), c.italian), given);
        if (lowK > 0) {
            EXPECT_LT(firstInstallment(capital, months, ratePoint(lowK - 1), c.italian), given);
        }
        EXPECT_GT(firstInstallment(capital, months, ratePoint(highK + 1), c.italian), given);
    }
}

// Questions with no answer: one sentence, status 2, no plan.
TEST(SolveTest, a_question_without_an_answer_gets_one_sentence)
{
    const struct {
        std::vector<std::string> arguments;
        const char* said;
    } cases[] = {
        {{"--capitale", "10000", "--rata", "41,67", "--tasso", "5"},
         "ratalia: Una rata di 41,67 non supera gli interessi del primo mese (41,67): il debito non scenderebbe "
         "mai.\n"},
        {{"--capitale", "1000000", "--tasso", "0", "--rata", "5"},
         "ratalia: Con una rata di 5,00 il prestito durerebbe più di centomila rate, più di quante il piano di "
         "ammortamento ne mostri.\n"},
        {{"--capitale", "12000", "--mesi", "12", "--rata", "999,99"},
         "ratalia: Una rata di 999,99 non restituisce il capitale in queste rate nemmeno senza interessi: a tasso "
         "zero la rata sarebbe di 1.000,00.\n"},
        {{"--capitale", "1000", "--mesi", "12", "--rata", "1000"},
         "ratalia: Una rata di 1.000,00 vorrebbe un tasso annuo oltre il 100 %: al 100 % la rata sarebbe di "
         "135,00.\n"},
        {{"--rata", "10000000000000", "--mesi", "100000", "--tasso", "0"},
         "ratalia: Gli importi di questo prestito sono troppo grandi per un piano di ammortamento.\n"},
        {{"--rata", "100", "--mesi", "100001", "--tasso", "1"},
         "ratalia: Il piano di ammortamento si può mostrare fino a centomila rate; questo prestito ne ha "
         "100.001.\n"},
        {{"--capitale", "1000", "--mesi", "12", "--rata", "0"}, "ratalia: --rata: deve essere più di zero.\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"--piano"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        std::ostringstream output, errors;
        EXPECT_EQ(runCommandLine(arguments, NumberText(u','), output, errors), 2) << c.said;
        EXPECT_EQ(errors.str(), c.said);
        EXPECT_EQ(output.str(), "");
    }
}

// The command line's answers, each with its plan, the figure marked as worked out.
TEST(SolveTest, the_command_line_says_which_figure_it_worked_out)
{
    const struct {
        std::vector<std::string> arguments;
        const char* line;
    } cases[] = {
        {{"--rata", "800", "--mesi", "240", "--tasso", "3,5"}, "Capitale:       137.941,47 (calcolato)\n"},
        {{"--capitale", "15000", "--rata", "300", "--tasso", "5"}, "Durata:         57 mesi (calcolata)\n"},
        {{"--capitale", "200000", "--mesi", "240", "--rata", "1432,86"}, "Tasso annuo:    6 % (calcolato)\n"},
        {{"--capitale", "3000", "--mesi", "12", "--rata", "263,61"},
         "Tasso annuo:    9,9 % (calcolato; ogni TAN da 9,8978 % a 9,9049 % dà questa rata)\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"--piano"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        std::ostringstream output, errors;
        EXPECT_EQ(runCommandLine(arguments, NumberText(u','), output, errors), 0) << errors.str();
        EXPECT_NE(output.str().find(c.line), std::string::npos) << output.str().substr(0, 400);
    }
}

// The questions follow the plan's shape: the installment that counts is the
// first that repays capital, at the period's rate, of the capital less the
// maxi-rata, worked out here as the README states it.
TEST(SolveTest, the_questions_follow_the_installments_a_year_the_preammortamento_and_the_maxi_rata)
{
    const auto first = [](std::int64_t capital, std::int64_t installments, const Decimal& annualRate, bool italian,
                          std::int64_t perYear, std::int64_t interestOnly, std::int64_t balloon) {
        const Decimal i = annualRate / Decimal(100 * perYear);
        const std::int64_t n = installments - interestOnly;
        const Decimal c = Decimal::cents(capital), b = Decimal::cents(balloon);
        if (italian)
            return ((c - b) / Decimal(n)).roundedTo(2) + (c * i).roundedTo(2);
        const Decimal grown = (Decimal(1) + i).power(n);
        return ((c * grown - b) * i / (grown - Decimal(1))).roundedTo(2);
    };
    const struct {
        const char* name;
        Unknown unknown;
        const char16_t *capital, *months, *rate, *installment;
        std::size_t frequency;
        const char16_t *interestOnly, *balloon;
        bool italian;
    } cases[] = {
        {"how much, with a maxi-rata of 20 000", Unknown::Capital, u"", u"240", u"3,5", u"800", 0, u"", u"20000",
         false},
        {"how much, quarterly, Italian", Unknown::Capital, u"", u"120", u"4", u"2500", 2, u"", u"", true},
        {"how long, quarterly", Unknown::Duration, u"15000", u"", u"6", u"900", 2, u"", u"", false},
        {"how long, after 12 months of preammortamento", Unknown::Duration, u"20000", u"", u"5", u"400", 0, u"12", u"",
         false},
        {"what rate, after 60 months of preammortamento", Unknown::Rate, u"30000", u"180", u"", u"296,66", 0, u"60",
         u"", false},
    };
    static constexpr std::int64_t perYearOf[] = {12, 6, 4, 2, 1};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlanInputs inputs = question(c.unknown, c.capital, c.months, c.rate, c.installment, c.italian);
        inputs.choose(PlanInput::Frequency, c.frequency);
        inputs.setText(PlanInput::InterestOnly, c.interestOnly);
        inputs.setText(PlanInput::Balloon, c.balloon);
        const PlanOutcome outcome = planFor(inputs, NumberText(u','));
        const LoanReading& loan = answered(outcome);
        const std::int64_t perYear = perYearOf[c.frequency];
        const std::int64_t installments = loan.count * perYear / 12;
        const std::int64_t p = std::u16string_view(c.interestOnly).empty() ? 0 : std::stoll(toUtf8(c.interestOnly));
        const std::int64_t balloon =
            std::u16string_view(c.balloon).empty() ? 0 : Decimal::parse(toUtf8(c.balloon)).roundedTo(2);
        const Decimal rate = Decimal(loan.annualRate.significand, -static_cast<int>(loan.annualRate.exponent));
        const std::int64_t given = (Decimal::parse(toUtf8(c.installment))).roundedTo(2);
        const auto at = [&](std::int64_t capital, std::int64_t count) {
            return first(capital, count, rate, c.italian, perYear, p, balloon);
        };
        EXPECT_LE(at(loan.capital, installments), given);
        switch (c.unknown) {
        case Unknown::Capital:
            EXPECT_GT(at(loan.capital + 1, installments), given);
            break;
        case Unknown::Duration:
            EXPECT_EQ(loan.count % (12 / perYear), 0);
            EXPECT_GT(at(loan.capital, installments - 1), given);
            break;
        default:
            EXPECT_EQ(at(loan.capital, installments), given);
            break;
        }
    }
}

} // namespace
} // namespace ratalia::test
