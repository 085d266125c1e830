#pragma once

// A table of the plan, its installments or its calendar years, in a virtual
// list view: rows are written only when shown, so 100 000 open at once.
// Each column is as wide as its title and its widest amount, never a title
// cut; a view too narrow for them scrolls sideways.

#include "plan/plan_table.h"

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

namespace ratalia {

class PlanListView {
public:
    // The list view, made by the window with LVS_REPORT | LVS_OWNERDATA.
    PlanListView(HWND list, PlanTable::Kind kind, const AmountText& amounts);

    HWND handle() const { return list_; }
    // Shows this plan's table, or none; the plan must outlive the view's use of it.
    void show(const AmortizationPlan* plan);
    std::size_t rowCount() const { return table_ ? table_->rowCount() : 0; }
    // The columns' widths for the view's width now; after a change of size or font.
    void fitColumns() const;
    // A cell's text, when the list view asks for it.
    void answer(NMLVDISPINFOW& info);

private:
    HWND list_;
    PlanTable::Kind kind_;
    AmountText amounts_;
    std::optional<PlanTable> table_;
    std::vector<Text> titles_; // as now shown
    std::wstring cell_;        // the text a cell was last given, until the view asks again
};

} // namespace ratalia
