#pragma once

// Two banks' mortgages, each kept in a file of its own, as both plan windows'
// tests open them, and the TAEG of each worked out here in decimals from the
// offer's own rows.

#include "loan/offers.h"
#include "support/reference_loan.h"

#include <string>
#include <vector>

namespace ratalia::test {

inline std::vector<Offer> twoBanks()
{
    std::vector<Offer> offers(2);
    offers[0].name = u"Banca A";
    offers[0].inputs.setText(PlanInput::Capital, u"180000");
    offers[0].inputs.setText(PlanInput::Duration, u"300");
    offers[0].inputs.setText(PlanInput::AnnualRate, u"3,1");
    offers[0].inputs.setText(PlanInput::InitialFees, u"1500");
    offers[1].name = u"Banca B";
    offers[1].inputs.setText(PlanInput::Capital, u"180000");
    offers[1].inputs.setText(PlanInput::Duration, u"240");
    offers[1].inputs.setText(PlanInput::AnnualRate, u"3,4");
    offers[1].inputs.setText(PlanInput::InitialFees, u"800");
    offers[1].inputs.setText(PlanInput::InstallmentFee, u"2");
    return offers;
}

// "3,43 %": 180 000 € over `months` at `rate` with `fees` cents at the start and `perInstallment` with each.
inline std::string taegOf(const char* rate, std::int64_t months, std::int64_t fees, std::int64_t perInstallment)
{
    ReferenceLoan loan;
    loan.capital = "180000";
    loan.months = months;
    loan.annualRate = rate;
    loan.initialFees = fees;
    loan.fee = perInstallment;
    const ReferencePlan plan = referencePlan(loan);
    const std::int64_t points = basisPoints(yearlyRate(plan.received(), plan.rows));
    return std::to_string(points / 100) + "," + std::to_string(100 + points % 100).substr(1) + " %";
}

} // namespace ratalia::test
