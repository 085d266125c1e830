#pragma once

#include "loan/amortization_plan.h"
#include "plan/plan_pages.h"
#include "plan/plan_text.h"

#include <QFont>

#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace ratalia {

// The plan on a printer or in a PDF: the title and the loan's figures on
// the first page, the table with its header on every page, the totals and
// the note after the last row, the yearly totals where there are due dates,
// "Pagina k di n" at each foot. The pages are
// the core's (paginate); this only measures lines and draws them, one page
// at a time, so that a long printout can show its progress.
class PlanPrintout {
public:
    PlanPrintout(const QPagedPaintDevice& device, const PlanReport& report);

    std::size_t pageCount() const { return pages_.size(); }
    // Paints one page, counted from 0, with a painter active on the device.
    void paintPage(QPainter& painter, std::size_t page) const;

private:
    double figures(QPainter& painter, double y, const std::vector<Figure>& list) const;
    template <typename Column>
    void cells(QPainter& painter, double y, const std::vector<Column>& columns, auto&& textOf) const;

    const PlanReport& report_;
    std::vector<PlanColumn> columns_;
    std::vector<YearColumn> yearColumns_;
    QFont body_;
    QFont bold_;
    QFont title_;
    double line_ = 0;
    double width_ = 0;
    double height_ = 0;
    int noteLines_ = 0;
    std::vector<PrintedPage> pages_;
};

} // namespace ratalia
