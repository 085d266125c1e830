#pragma once

// The printed plan laid out: its pages as things to draw, in the printer's
// own units, measured through the front end's fonts. The title and every
// figure on the first page; each table (the installments, then the yearly
// totals where there are due dates) with its header on every page it runs
// over, each column as wide as its title (on two lines where it has a
// space) and its widest amount, in a smaller type where the body's would not
// fit the page; the totals and the note after the last installment; a
// running title at the top of the pages after the first and "Pagina k di n"
// at each foot. Qt's printout and GDI's only paint these pages.

#include "plan/drawing.h"
#include "plan/offer_comparison.h"
#include "plan/plan_pages.h"
#include "plan/plan_table.h"

#include <vector>

namespace ratalia {

// A printout's pages, each a drawing, which a front end paints one at a time.
class PrintedPages {
public:
    virtual ~PrintedPages() = default;
    virtual std::size_t pageCount() const = 0;
    virtual Drawing page(std::size_t index) const = 0;
};

class PrintLayout : public PrintedPages {
public:
    // A page's printable area is `width` × `height` units, `unitsPerPoint` of them a point.
    PrintLayout(const PlanReport& report, double width, double height, double unitsPerPoint,
                const TextMeasure& measure);

    std::size_t pageCount() const override { return pages_.size(); }
    Drawing page(std::size_t index) const override;

private:
    // A table's columns: where each begins and how wide it is, its title's lines, its type.
    struct TableColumns {
        std::vector<double> left, width;
        std::vector<std::vector<Text>> titles;
        int titleLines = 1;
        TextStyle body = TextStyle::Body;
        TextStyle bold = TextStyle::Bold;
    };
    TableColumns columnsOf(const PlanTable& table) const;
    double figures(Drawing& out, double y, const std::vector<Figure>& list) const;
    int figureLines(const std::vector<Figure>& list) const;
    double table(Drawing& out, double y, const PlanTable& table, const TableColumns& columns,
                 const PagePiece& piece) const;

    const PlanReport& report_;
    PlanTable installments_;
    PlanTable years_;
    TableColumns installmentColumns_;
    TableColumns yearColumns_;
    const TextMeasure& measure_;
    double width_, height_, line_;
    double labelWidth_ = 0; // the figures' labels' column
    int noteLines_ = 1;
    std::vector<PrintedPage> pages_;
};

// The comparison on one page: its title, the table of figures (in the
// smaller type where the body's would not fit), the verdict and the notes,
// and the chart of the debts in the room left.
class ComparisonPrintLayout : public PrintedPages {
public:
    ComparisonPrintLayout(const OfferComparison& comparison, const AmountText& amounts, double width, double height,
                          double unitsPerPoint, const TextMeasure& measure);

    std::size_t pageCount() const override { return 1; }
    Drawing page(std::size_t index) const override;

private:
    Drawing page_;
};

} // namespace ratalia
