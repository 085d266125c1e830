#include "win32/plan_list_view.h"

#include "win32/gdi.h"

#include <algorithm>

namespace ratalia {

PlanListView::PlanListView(HWND list, PlanTable::Kind kind, const AmountText& amounts)
    : list_(list), kind_(kind), amounts_(amounts)
{
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
}

void PlanListView::show(const AmortizationPlan* plan)
{
    if (plan)
        table_.emplace(kind_, *plan, amounts_);
    else
        table_.reset();
    std::vector<Text> titles;
    for (std::size_t c = 0; table_ && c < table_->columnCount(); ++c)
        titles.push_back(table_->title(c));
    if (titles != titles_) {
        while (ListView_DeleteColumn(list_, 0)) {
        }
        titles_ = titles;
        for (std::size_t c = 0; c < titles_.size(); ++c) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
            // The first column, the installment's number or the year, reads from the left.
            column.fmt = c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
            column.pszText = reinterpret_cast<wchar_t*>(titles_[c].data());
            column.iSubItem = static_cast<int>(c);
            ListView_InsertColumn(list_, static_cast<int>(c), &column);
        }
    }
    ListView_SetItemCountEx(list_, static_cast<int>(rowCount()), 0);
    fitColumns();
    InvalidateRect(list_, nullptr, TRUE);
}

void PlanListView::fitColumns() const
{
    if (!table_ || table_->columnCount() == 0)
        return;
    HDC dc = GetDC(list_);
    std::vector<int> widths;
    {
        const Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list_, WM_GETFONT, 0, 0)));
        const auto width = [&](const Text& text) {
            SIZE size{};
            GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()),
                                  &size);
            return static_cast<int>(size.cx);
        };
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        // The header's and the cells' margins, and the sort mark's room a header keeps.
        const int padding = 3 * metrics.tmAveCharWidth + 12;
        for (std::size_t c = 0; c < table_->columnCount(); ++c)
            widths.push_back(std::max(width(table_->title(c)), width(table_->widest(c))) + padding);
    }
    ReleaseDC(list_, dc);
    RECT client{};
    GetClientRect(list_, &client);
    // Room for the vertical scroll bar, whether or not it shows now.
    const int room = client.right - ((GetWindowLongW(list_, GWL_STYLE) & WS_VSCROLL)
                                         ? 0
                                         : GetSystemMetricsForDpi(SM_CXVSCROLL, GetDpiForWindow(list_)));
    int total = 0;
    for (const int width : widths)
        total += width;
    const int spare = total < room ? (room - total) / static_cast<int>(widths.size()) : 0;
    for (std::size_t c = 0; c < widths.size(); ++c)
        ListView_SetColumnWidth(list_, static_cast<int>(c), widths[c] + spare);
}

void PlanListView::answer(NMLVDISPINFOW& info)
{
    if (!(info.item.mask & LVIF_TEXT) || !table_ || info.item.iItem < 0 || info.item.iSubItem < 0 ||
        static_cast<std::size_t>(info.item.iItem) >= table_->rowCount() ||
        static_cast<std::size_t>(info.item.iSubItem) >= table_->columnCount())
        return;
    const Text shown =
        table_->cell(static_cast<std::size_t>(info.item.iItem), static_cast<std::size_t>(info.item.iSubItem), true);
    cell_.assign(shown.begin(), shown.end());
    info.item.pszText = cell_.data();
}

} // namespace ratalia
