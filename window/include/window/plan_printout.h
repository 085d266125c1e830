#pragma once

#include "core/amortization_plan.h"
#include "core/plan_text.h"

#include <vector>

class QPagedPaintDevice;

namespace ratalia {

// What a printed plan shows besides its rows.
struct PlanReport {
    const AmortizationPlan& plan;
    AmountText amounts;
    std::vector<Figure> figures;
    std::vector<Figure> totals;
    Text note;
};

// Paints the plan on a printer or into a PDF: the loan's figures on the
// first page, the table with its header on every page, the totals after
// the last row, "Pagina k di n" at the foot. Returns the pages painted, 0
// when the device cannot be painted on.
int paintPlan(QPagedPaintDevice& device, const PlanReport& report);

} // namespace ratalia
