#pragma once

#include "plan/plan_pages.h"
#include "win32/gdi.h"

#include <windows.h>

#include <vector>

namespace ratalia {

// The plan on a printer through GDI: the same pages as the Linux printout,
// laid out by the core (paginate), measured and drawn here: the title and
// the loan's figures on the first page, the table with its header on every
// page, the totals and the note after the last row, the yearly totals where
// there are due dates, "Pagina k di n" at each foot.
class GdiPrintout {
public:
    GdiPrintout(HDC printer, const PlanReport& report);

    std::size_t pageCount() const { return pages_.size(); }
    // Paints one page, counted from 0, between StartPage and EndPage.
    void paintPage(std::size_t page) const;

private:
    int figures(int y, const std::vector<Figure>& list) const;
    // A table's header, its rule and this page's rows of it; returns the line below.
    template <typename Column, typename CellOf>
    int grid(int y, const PagePiece& piece, const std::vector<Column>& columns, CellOf cellOf) const;
    // One line of a table: its cells, right-aligned, the first column narrow.
    void cells(int y, const std::vector<Text>& texts, HFONT font) const;
    void text(const Text& shown, RECT box, UINT format, HFONT font) const;
    // The line under a table's header.
    void rule(int y) const;

    HDC dc_;
    const PlanReport& report_;
    std::vector<PlanColumn> columns_;
    std::vector<YearColumn> yearColumns_;
    Font body_;
    Font bold_;
    Font title_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0, line_ = 0;
    int noteLines_ = 0;
    std::vector<PrintedPage> pages_;
};

} // namespace ratalia
