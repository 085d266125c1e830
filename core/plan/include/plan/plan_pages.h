#pragma once

// How a printed plan falls into pages, counted in lines of its body text, so
// that every printout (Qt's, GDI's) breaks its pages in the same places and
// only draws what is laid out here.
//
// A printout is a run of sections: blocks that stay whole (the title with
// the loan's figures, the totals with the note) and tables whose header
// repeats on every page they continue on. Pages after the first begin with a
// running header; every page ends with its foot ("Pagina k di n"), which the
// lines per page leave out.

#include "loan/amortization_plan.h"
#include "plan/plan_text.h"

#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace ratalia {

struct PrintSection {
    enum class Kind { Block, Table };
    Kind kind = Kind::Block;
    int lines = 0;        // a block's height, or a table's header height
    std::size_t rows = 0; // a table's rows, one line each
};

// One section's share of a page: a block whole, or rows [firstRow, firstRow + rowCount) of a table.
struct PagePiece {
    std::size_t section = 0;
    std::size_t firstRow = 0;
    std::size_t rowCount = 0;
};

struct PrintedPage {
    std::vector<PagePiece> pieces;
};

struct PageLines {
    int perPage = 0;       // lines a page holds above its foot
    int runningHeader = 0; // lines the pages after the first begin with
};

// What a printed plan shows: its rows, the figures above them, the totals
// and the note after them, and the yearly totals where it has due dates.
// It holds its own copy of the plan: a long printout runs while the windows
// keep working, and a new calculation meanwhile must not pull the rows from
// under the pages.
struct PlanReport {
    AmortizationPlan plan;
    AmountText amounts;
    std::vector<Figure> figures;
    std::vector<YearTotals> years;
    std::vector<Figure> totals;
    Text note;
};

// A printed plan's sections, in lines: the title (two lines) with the
// figures and a blank line; the table, its header's lines and a line a row;
// a blank line, the totals, another blank and the note, whose wrapped height
// in lines only the layout can measure; where there are yearly totals, a
// blank line and their table, whose header is its title and its columns'.
// Pages after the first begin with a two-line running header and every page
// ends with a two-line foot.
enum ReportPart { Opening, Table, Closing, Years };
inline constexpr int titleLines = 2;
inline constexpr int runningHeaderLines = 2;
inline constexpr int footLines = 2;
std::vector<PrintSection> planSections(const PlanReport& report, int figureLines, int tableHeaderLines, int noteLines,
                                       int yearsHeaderLines);

// The pages, in order. A block goes whole onto the page where it fits, else
// onto the next one (a block taller than a page starts a page of its own);
// a table puts as many rows under its header as fit, at least one.
std::vector<PrintedPage> paginate(std::span<const PrintSection> sections, PageLines lines);

} // namespace ratalia
