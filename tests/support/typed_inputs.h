#pragma once

// The plan window's inputs as a test writes them, by name: converts to the
// program's PlanInputs.

#include "loan/plan_inputs.h"

namespace ratalia::test {

struct TypedInputs {
    PlanKind kind = PlanKind::French;
    Text initialFees{};
    Text substituteTax{};
    Text installmentFee{};
    Text annualFee{};
    Text firstDue{};
    Text repayAfter{};
    Text repayAmount{};
    bool reduceDuration = false;
    Text penalty{};
    CreditKind credit = CreditKind::Other;

    operator PlanInputs() const // NOLINT: a test's shorthand for the inputs it stands for
    {
        PlanInputs inputs;
        inputs.choose(PlanInput::Kind, static_cast<std::size_t>(kind));
        inputs.setText(PlanInput::InitialFees, initialFees);
        inputs.setText(PlanInput::SubstituteTax, substituteTax);
        inputs.setText(PlanInput::InstallmentFee, installmentFee);
        inputs.setText(PlanInput::AnnualFee, annualFee);
        inputs.setText(PlanInput::FirstDue, firstDue);
        inputs.setText(PlanInput::RepayAfter, repayAfter);
        inputs.setText(PlanInput::RepayAmount, repayAmount);
        inputs.choose(PlanInput::Reduce, reduceDuration ? 1 : 0);
        inputs.setText(PlanInput::Penalty, penalty);
        inputs.choose(PlanInput::Credit, static_cast<std::size_t>(credit));
        return inputs;
    }
};

} // namespace ratalia::test
