#pragma once

// Readable names of what a control stands for, for test tables and failures.

#include "form/form_layout.h"

#include <array>
#include <string>
#include <variant>

namespace ratalia::test {

inline std::string nameOf(Field field)
{
    static constexpr std::array names{"Capital",     "Duration",  "AnnualRate",    "MonthlyRate",
                                      "Installment", "TotalPaid", "TotalInterest", "InstallmentCount"};
    return names[static_cast<std::size_t>(field)];
}

inline std::string nameOf(const ControlId& id)
{
    struct Namer {
        std::string operator()(std::monostate) const { return "label"; }
        std::string operator()(Frame f) const
        {
            return std::array{"Inputs", "Results", "MonthlyRateFrame"}[static_cast<int>(f)];
        }
        std::string operator()(Field f) const { return nameOf(f); }
        std::string operator()(Button b) const
        {
            return std::array{"Calculate", "Round", "ResetRate"}[static_cast<int>(b)];
        }
        std::string operator()(DurationUnit u) const { return u == DurationUnit::Months ? "Months" : "Years"; }
        std::string operator()(Link l) const { return l == Link::Email ? "Email" : "WebSite"; }
    };
    return std::visit(Namer{}, id);
}

} // namespace ratalia::test
