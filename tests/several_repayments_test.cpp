// Several early repayments, a recurring extra and insurance on the debt,
// against a loan simulated month by month in high-precision decimals in the
// test from the README's rules: each repayment and extra lowers the debt
// right after its installment; a repayment that keeps the end works the
// installment out again on what is owed, one that keeps the installment and
// any extra let the loan end sooner; the premium is the yearly share of the
// debt the installment is paid on; each penalty of consumer credit is held
// to 1 % (0,5 % with a year or less left) and to the interest that repayment
// saves.

#include "loan/plan_request.h"
#include "support/decimal.h"
#include "support/reference_loan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace ratalia::test {
namespace {

struct Repayment {
    std::int64_t after = 0;
    std::optional<std::int64_t> amount; // cents; nothing: all that is owed
    bool reduceDuration = false;
    std::string penalty = "0";
};

struct Extra {
    std::int64_t amount = 0; // cents
    bool yearly = false;
    std::int64_t from = 1;
};

struct Case {
    const char* name;
    std::int64_t capital; // cents
    std::int64_t months;
    std::string rate;
    bool italian = false;
    std::string insurance = "0"; // per cent of the debt a year
    std::vector<Repayment> repayments;
    std::optional<Extra> extra;
    Credit credit = Credit::Other;
    // As typed in the window.
    const char* listTyped = "";
    const char* extraTyped = "";
    std::int64_t initialFees = 0; // cents
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

struct Simulated {
    std::vector<ReferenceRow> rows;
    std::vector<std::int64_t> repaid; // per repayment
    std::vector<bool> closed;         // it repaid all that was still owed
    std::int64_t extraPaid = 0;
    std::int64_t interest() const { return ReferencePlan::sum(rows, &ReferenceRow::interest); }
};

// The loan month by month with the first `count` repayments and the extra.
Simulated simulate(const Case& c, std::size_t count, bool withExtra)
{
    const Decimal rate = monthlyRate(c.rate);
    std::int64_t constant = c.italian ? (Decimal::cents(c.capital) / Decimal(c.months)).roundedTo(2)
                                      : annuityCents(c.capital, rate, c.months);
    Simulated out;
    out.repaid.assign(count, 0);
    out.closed.assign(count, false);
    std::int64_t debt = c.capital;
    bool freeEnd = false;
    for (std::int64_t n = 1; n <= c.months && debt > 0; ++n) {
        ReferenceRow row;
        row.interest = (Decimal::cents(debt) * Decimal::parse(c.rate) / Decimal(1200)).roundedTo(2);
        row.costs = (Decimal::cents(debt) * Decimal::parse(c.insurance) / Decimal(1200)).roundedTo(2);
        row.principal = c.italian ? constant : constant - row.interest;
        const bool ends = n == c.months || (freeEnd && row.principal >= debt);
        if (ends)
            row.principal = debt;
        row.installment = row.interest + row.principal;
        debt -= row.principal;
        bool keepEnd = false;
        if (!ends) {
            for (std::size_t k = 0; k < count; ++k)
                if (c.repayments[k].after == n) {
                    const std::int64_t paid = std::min(c.repayments[k].amount.value_or(debt), debt);
                    out.closed[k] = paid > 0 && paid == debt;
                    out.repaid[k] += paid;
                    row.prepaid += paid;
                    debt -= paid;
                    keepEnd = keepEnd || !c.repayments[k].reduceDuration;
                    freeEnd = freeEnd || c.repayments[k].reduceDuration;
                }
            if (withExtra && c.extra && n >= c.extra->from && (!c.extra->yearly || (n - c.extra->from) % 12 == 0)) {
                const std::int64_t paid = std::min(c.extra->amount, debt);
                out.extraPaid += paid;
                row.prepaid += paid;
                debt -= paid;
            }
            if (debt > 0 && keepEnd) {
                constant = c.italian ? (Decimal::cents(debt) / Decimal(c.months - n)).roundedTo(2)
                                     : annuityCents(debt, rate, c.months - n);
                freeEnd = false;
            }
            freeEnd = freeEnd || (withExtra && c.extra && n >= c.extra->from);
        }
        row.debt = debt;
        out.rows.push_back(row);
    }
    return out;
}

// The penalty charged for repayment k within the consumer-credit limits.
std::int64_t consumerPenalty(const Case& c, const Simulated& before, const Simulated& with, std::size_t k)
{
    const Repayment& r = c.repayments[k];
    const std::int64_t repaid = with.repaid[k];
    const std::int64_t agreed = (Decimal::cents(repaid) * Decimal::parse(r.penalty) / Decimal(100)).roundedTo(2);
    if (with.closed[k] && repaid <= 1'000'000)
        return 0;
    const Decimal share = Decimal(c.months - r.after > 12 ? 100 : 50, 4);
    const std::int64_t cap = (Decimal::cents(repaid) * share).roundedTo(2);
    return std::min({agreed, cap, std::max<std::int64_t>(before.interest() - with.interest(), 0)});
}

Text repaymentText(const Repayment& r)
{
    std::string text =
        std::to_string(r.after) + ":" +
        (r.amount ? std::to_string(*r.amount / 100) + "," + std::to_string(100 + *r.amount % 100).substr(1)
                  : std::string("tutto")) +
        (r.reduceDuration ? ":durata" : ":rata") + ":" + r.penalty;
    return fromUtf8(text);
}

class SeveralRepayments : public ::testing::TestWithParam<Case> {};

TEST_P(SeveralRepayments, follow_a_month_by_month_simulation)
{
    const Case& c = GetParam();
    PlanInputs inputs;
    inputs.setText(PlanInput::Capital, fromUtf8(std::to_string(c.capital / 100)));
    inputs.setText(PlanInput::Duration, fromUtf8(std::to_string(c.months)));
    inputs.setText(PlanInput::AnnualRate, fromUtf8(c.rate));
    inputs.choose(PlanInput::Kind, c.italian ? 1 : 0);
    inputs.setText(PlanInput::Insurance, fromUtf8(c.insurance));
    inputs.choose(PlanInput::Credit, c.credit == Credit::Consumer ? 2 : c.credit == Credit::Home ? 1 : 0);
    // The list as a user types it, or as each repayment reads in full.
    Text list = fromUtf8(c.listTyped);
    if (list.empty())
        for (const Repayment& r : c.repayments)
            list += (list.empty() ? u"" : u"; ") + repaymentText(r);
    inputs.setText(PlanInput::Repayments, list);
    inputs.setText(PlanInput::Extra, fromUtf8(c.extraTyped));
    inputs.setText(PlanInput::InitialFees, fromUtf8(std::to_string(c.initialFees / 100)));
    const PlanOutcome outcome = planFor(inputs, NumberText(u','));
    ASSERT_FALSE(outcome.error) << toUtf8(inputErrorText(*outcome.error, Naming::Window, AmountText(u',', u'.')));
    const auto* plan = std::get_if<AmortizationPlan>(&outcome.plan);
    ASSERT_TRUE(plan);

    const Simulated contract = simulate(c, 0, false);
    const Simulated expected = simulate(c, c.repayments.size(), true);
    ASSERT_EQ(plan->rows().size(), expected.rows.size());
    for (std::size_t k = 0; k < expected.rows.size(); ++k) {
        const PlanRow& row = plan->rows()[k];
        const ReferenceRow& want = expected.rows[k];
        SCOPED_TRACE("row " + std::to_string(k + 1));
        EXPECT_EQ(row.interest, want.interest);
        EXPECT_EQ(row.principal, want.principal);
        EXPECT_EQ(row.prepaid, want.prepaid);
        EXPECT_EQ(row.costs, want.costs);
        EXPECT_EQ(row.remainingDebt, want.debt);
    }
    EXPECT_EQ(plan->interestSaved(), contract.interest() - expected.interest());
    EXPECT_EQ(plan->extraPaid(), expected.extraPaid);
    // Each repayment's penalty, from the interest it alone saves after the earlier ones.
    ASSERT_EQ(plan->repayments().size(), c.repayments.size());
    for (std::size_t k = 0; k < c.repayments.size(); ++k) {
        const Simulated before = simulate(c, k, true), with = simulate(c, k + 1, true);
        const std::int64_t agreed =
            (Decimal::cents(with.repaid[k]) * Decimal::parse(c.repayments[k].penalty) / Decimal(100)).roundedTo(2);
        EXPECT_EQ(plan->repayments()[k].repaid, with.repaid[k]);
        EXPECT_EQ(plan->repayments()[k].penalty,
                  c.credit == Credit::Consumer ? consumerPenalty(c, before, with, k) : agreed)
            << "repayment " << k + 1;
        // Consumer credit: the initial fees back in proportion to the interest this repayment saves.
        const std::int64_t back = (Decimal::cents(c.initialFees) * Decimal(before.interest() - with.interest()) /
                                   Decimal(contract.interest()))
                                      .roundedTo(2);
        EXPECT_EQ(plan->repayments()[k].refund, c.credit == Credit::Consumer ? back : 0) << "repayment " << k + 1;
    }
    // And in proportion to what the extras alone save, with the last installment.
    const Simulated extrasOnly = simulate(c, 0, true);
    const std::int64_t extrasBack =
        (Decimal::cents(c.initialFees) * Decimal(contract.interest() - extrasOnly.interest()) /
         Decimal(contract.interest()))
            .roundedTo(2);
    EXPECT_EQ(plan->extraRefund(), c.credit == Credit::Consumer && c.extra ? extrasBack : 0);
    // The contract's TAEG counts the premiums; the repayments change none of it.
    const std::vector<ReferenceRow>& paid = contract.rows;
    ASSERT_TRUE(plan->annualPercentageRate());
    EXPECT_EQ(static_cast<std::int64_t>(std::llround(*plan->annualPercentageRate() * 10000)),
              basisPoints(yearlyRate(c.capital - c.initialFees, paid)));
}

INSTANTIATE_TEST_SUITE_P(
    Loans, SeveralRepayments,
    ::testing::Values(Case{"two_repayments_one_keeps_the_end_one_the_installment",
                           10'000'000,
                           240,
                           "3,5",
                           false,
                           "0",
                           {{24, 1'000'000, false, "0"}, {60, 2'000'000, true, "0"}},
                           std::nullopt},
                      Case{"an_extra_every_month_from_the_thirteenth",
                           15'000'000,
                           300,
                           "4",
                           false,
                           "0",
                           {},
                           Extra{20'000, false, 13},
                           Credit::Other,
                           "",
                           "200:mensile:13"},
                      Case{"italian_plan_with_a_yearly_extra_and_a_repayment",
                           5'000'000,
                           120,
                           "6",
                           true,
                           "0",
                           {{48, 500'000, false, "0,5"}},
                           Extra{120'000, true, 12},
                           Credit::Other,
                           "",
                           "1200:annuale:12"},
                      Case{"insurance_on_the_debt_with_a_repayment_and_an_extra",
                           8'000'000,
                           180,
                           "3,9",
                           false,
                           "0,3",
                           {{24, 1'000'000, false, "1"}},
                           Extra{10'000, false, 1},
                           Credit::Other,
                           "",
                           "100"},
                      Case{"consumer_credit_holds_each_penalty_to_its_own_limits",
                           2'000'000,
                           60,
                           "7,9",
                           false,
                           "0",
                           {{12, 300'000, false, "2"}, {30, 500'000, true, "1"}, {50, std::nullopt, true, "1"}},
                           std::nullopt,
                           Credit::Consumer,
                           "",
                           "",
                           30'000},
                      // Two on one installment: only the one that repays all still owed closes the loan.
                      Case{"consumer_credit_two_repayments_on_one_installment_and_an_extra",
                           1'000'000,
                           36,
                           "6",
                           false,
                           "0",
                           {{12, 100'000, false, "1"}, {12, std::nullopt, false, "1"}},
                           Extra{5'000, false, 2},
                           Credit::Consumer,
                           "",
                           "50:mensile:2",
                           20'000},
                      Case{"a_repayment_after_the_extras_ended_the_loan_repays_nothing",
                           1'000'000,
                           36,
                           "5",
                           false,
                           "0",
                           {{30, 100'000, false, "0"}},
                           Extra{100'000, false, 1},
                           Credit::Other,
                           "30:1000",
                           "1000"}),
    [](const auto& info) { return std::string(info.param.name); });

// What cannot be read says what it should be, naming the field.
TEST(SeveralRepaymentsInput, wrong_items_are_named)
{
    const AmountText amounts(u',', u'.');
    const struct {
        const char* field;
        const char* typed;
        const char* message;
        const char16_t* months = u"240";
    } cases[] = {
        {"list", "24", "Altri rimborsi anticipati: «24» non è un rimborso"},
        {"list", "24:5000:presto", "Altri rimborsi anticipati: «24:5000:presto» non è un rimborso"},
        {"list", "300:5000", "Altri rimborsi anticipati: il piano ha 240 rate, non 300."},
        {"list", "12:999999", "Altri rimborsi anticipati: 999.999,00 supera il debito residuo dopo la rata 12"},
        {"list", "24:5000:durata; 60:5000",
         "Altri rimborsi anticipati: dopo un rimborso che riduce la durata, anche quello con la rata 60 la riduce"},
        {"extra", "cento", "Versamento in più ricorrente: «cento» non è un versamento"},
        {"extra", "100:settimanale", "Versamento in più ricorrente: «100:settimanale» non è un versamento"},
        {"extra", "100:mensile:240", "Versamento in più ricorrente: dopo la rata 240 il debito è estinto"},
        // From the first installment, of a loan of one: no installment typed to name.
        {"extra", "100", "Versamento in più ricorrente: dopo la rata 1 il debito è estinto", u"1"},
    };
    for (const auto& c : cases) {
        PlanInputs inputs;
        inputs.setText(PlanInput::Capital, u"100000");
        inputs.setText(PlanInput::Duration, c.months);
        inputs.setText(PlanInput::AnnualRate, u"3,5");
        inputs.setText(std::string(c.field) == "list" ? PlanInput::Repayments : PlanInput::Extra, fromUtf8(c.typed));
        const PlanOutcome outcome = planFor(inputs, NumberText(u','));
        ASSERT_TRUE(outcome.error) << c.typed;
        EXPECT_EQ(toUtf8(inputErrorText(*outcome.error, Naming::Window, amounts)).rfind(c.message, 0), 0u)
            << toUtf8(inputErrorText(*outcome.error, Naming::Window, amounts));
    }
}

} // namespace
} // namespace ratalia::test
