// Any set of the plan's inputs, each field's text and each choice from the
// bytes, and the plan's invariants checked on what comes out: the rows add
// up to their totals to the cent, each installment is its interest and its
// principal, the debt goes down to 0,00 by what is repaid (a maxi-rata
// with the last), no figure is negative but an odd first period's principal, the TAEG is a non-negative number or a
// sentence, nothing throws.

#include "fuzz_input.h"
#include "loan/plan_request.h"
#include "plan/plan_text.h"

#include <cmath>
#include <string>

using namespace ratalia;

namespace {

Text digits(fuzz::FuzzInput& input, std::size_t most)
{
    Text out;
    const std::size_t length = 1 + input.byte() % most;
    for (std::size_t i = 0; i < length; ++i)
        out += static_cast<char16_t>(u'0' + input.byte() % 10);
    return out;
}

// Mostly what a borrower types for the kind of value, now and then anything.
Text typed(fuzz::FuzzInput& input, InputValue value, char16_t separator, char16_t group)
{
    const std::uint8_t how = input.byte();
    if (how >= 200)
        return input.text(16);
    if (how < 16)
        return {};
    switch (value) {
    case InputValue::Month: {
        Text month = digits(input, 2);
        return month + u"/" + Text(how % 2 ? u"20" : u"") + digits(input, 2);
    }
    case InputValue::Day:
    case InputValue::MonthOrDay: {
        Text day = digits(input, 2) + u"/" + digits(input, 2);
        return day + u"/" + Text(how % 2 ? u"20" : u"") + digits(input, 2);
    }
    case InputValue::RateSteps: {
        Text steps;
        for (std::uint8_t count = 1 + input.byte() % 3; count > 0; --count)
            steps += digits(input, 3) + u":" + digits(input, 2) +
                     (how % 3 ? Text(1, separator) + digits(input, 2) : Text()) + u"; ";
        return steps;
    }
    case InputValue::Count:
        return digits(input, 6);
    case InputValue::Percentage:
        return digits(input, 2) + (how % 3 ? Text(1, separator) + digits(input, 3) : Text());
    case InputValue::AmountOrAll:
        if (how % 5 == 0)
            return u"tutto";
        [[fallthrough]];
    default: {
        Text amount = digits(input, 3);
        for (std::uint8_t groups = input.byte() % 3; groups > 0; --groups)
            amount += Text(how % 4 == 0 ? 0 : 1, group) + digits(input, 3);
        return how % 2 ? amount + separator + digits(input, 2) : amount;
    }
    }
}

void check(bool holds, const char* rule)
{
    if (!holds)
        fuzz::broken(rule);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    const char16_t separator = input.separator();
    const char16_t group = separator == u',' ? u'.' : separator == u'.' ? u',' : u'\u066C';
    const NumberText numbers(separator, group);
    PlanInputs inputs;
    for (const PlanInputSpec& spec : planInputSpecs()) {
        if (spec.value == InputValue::Choice)
            inputs.choose(spec.id, input.byte() % spec.choices.size());
        else
            inputs.setText(spec.id, typed(input, spec.value, separator, group));
    }

    const PlanOutcome outcome = planFor(inputs, numbers);
    const AmountText amounts(separator, group);
    if (outcome.error)
        check(!inputErrorText(*outcome.error, Naming::Window, amounts).empty(), "an error names its input");
    const auto* plan = std::get_if<AmortizationPlan>(&outcome.plan);
    if (!plan)
        return 0;
    check(outcome.loan.has_value(), "a plan has the loan it was read from");

    const auto& rows = plan->rows();
    check(!rows.empty(), "a plan has rows");
    Cents installments = 0, interest = 0, principal = 0, prepaid = 0, costs = 0, payments = 0;
    Cents debt = plan->capital();
    for (const PlanRow& row : rows) {
        // Only an odd first period's interest may be more than its installment.
        const bool oddFirst = row.number == 1 && plan->firstPeriod();
        check(row.installment >= 0 && row.interest >= 0 && (row.principal >= 0 || oddFirst) && row.costs >= 0 &&
                  row.prepaid >= 0 && row.penalty >= 0 && row.refund >= 0 && row.balloon >= 0 && row.remainingDebt >= 0,
              "no figure of a row is negative");
        check(row.installment == row.interest + row.principal, "an installment is its interest and its principal");
        check(row.balloon == 0 || &row == &rows.back(), "a maxi-rata comes with the last installment");
        debt -= row.principal + row.prepaid + row.balloon;
        check(row.remainingDebt == debt, "the debt goes down by what each row repays");
        installments += row.installment;
        interest += row.interest;
        principal += row.principal;
        prepaid += row.prepaid;
        costs += row.costs;
        payments += row.payment();
    }
    check(rows.back().remainingDebt == 0, "the debt ends at 0,00");
    check(installments == plan->totalInstallments(), "the installments add up to their total");
    check(interest == plan->totalInterest(), "the interest adds up to its total");
    check(principal == plan->totalPrincipal(), "the principal adds up to its total");
    check(prepaid == plan->repaid() + plan->extraPaid(),
          "the early repayments and the extras add up to what was repaid");
    check(costs == plan->totalInstallmentCosts(), "the costs add up to their total");
    check(payments == plan->totalPayments(), "the payments add up to their total");
    check(principal + prepaid + rows.back().balloon == plan->capital(), "the capital is repaid whole");
    check(plan->received() > 0 && plan->costOfCredit() >= 0,
          "something is received, and the credit costs nothing less than nothing");

    const auto taeg = plan->annualPercentageRate();
    check(!taeg || (std::isfinite(*taeg) && *taeg >= 0), "the TAEG is a non-negative number, or none");
    const auto effective = plan->rateAsRepaid();
    check(!effective || std::isfinite(*effective), "the rate of the payments made is a number, or none");
    for (const Figure& figure : loanFigures(*outcome.loan, *plan, amounts, numbers, true))
        if (figure.id == FigureId::Taeg)
            check(!figure.value.empty(), "the TAEG shows a number or a sentence");
    return 0;
}
