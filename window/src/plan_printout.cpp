#include "window/plan_printout.h"

#include "form/program_texts.h"
#include "plan/plan_window_layout.h"
#include "window/qt_text.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <array>
#include <cmath>

namespace ratalia {
namespace {

// The number's share of the width; the amounts share the rest alike.
constexpr double numberShare = 0.10;

} // namespace

PlanPrintout::PlanPrintout(const QPagedPaintDevice& device, const PlanReport& report)
    : report_(report), columns_(columnsOf(report.plan)), yearColumns_(yearColumns(report.plan))
{
    body_.setFamily(QStringLiteral("Liberation Sans"));
    body_.setStyleHint(QFont::SansSerif);
    body_.setPointSizeF(bodyPoints);
    bold_ = body_;
    bold_.setBold(true);
    title_ = bold_;
    title_.setPointSizeF(titlePoints);
    const QFontMetricsF metrics(body_, &device);
    line_ = std::round(linePoints * device.logicalDpiY() / 72);
    width_ = device.width();
    height_ = device.height();
    const double note =
        metrics.boundingRect(QRectF(0, 0, width_, 10 * height_), Qt::TextWordWrap, qtText(report.note)).height();
    noteLines_ = static_cast<int>(std::ceil(note / line_));

    const auto sections = planSections(report, noteLines_);
    const int perPage = static_cast<int>(std::floor(height_ / line_)) - footLines;
    pages_ = paginate(sections, {perPage, runningHeaderLines});
}

void PlanPrintout::paintPage(QPainter& painter, std::size_t page) const
{
    const QString title = qtText(texts::planTitle);
    double y = 0;
    if (page > 0) {
        painter.setFont(body_);
        painter.drawText(QRectF(0, 0, width_, line_), Qt::AlignLeft | Qt::AlignVCenter, title);
        y = runningHeaderLines * line_;
    }
    for (const PagePiece& piece : pages_[page].pieces) {
        switch (piece.section) {
        case Opening:
            painter.setFont(title_);
            painter.drawText(QRectF(0, y, width_, titleLines * line_), Qt::AlignLeft | Qt::AlignTop, title);
            y = figures(painter, y + titleLines * line_, report_.figures) + line_;
            break;
        case Table:
            painter.setFont(bold_);
            cells(painter, y, columns_, [](PlanColumn column) { return columnTitle(column); });
            y += line_;
            painter.drawLine(QPointF(0, y), QPointF(width_, y));
            painter.setFont(body_);
            for (std::size_t r = piece.firstRow; r < piece.firstRow + piece.rowCount; ++r) {
                const PlanRow& row = report_.plan.rows()[r];
                cells(painter, y, columns_,
                      [&](PlanColumn column) { return cellText(report_.plan, row, column, report_.amounts, true); });
                y += line_;
            }
            break;
        case Closing:
            y = figures(painter, y + line_, report_.totals) + line_;
            painter.setFont(body_);
            painter.drawText(QRectF(0, y, width_, noteLines_ * line_), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                             qtText(report_.note));
            y += noteLines_ * line_ + (report_.years.empty() ? 0 : line_);
            break;
        case Years:
            painter.setFont(bold_);
            painter.drawText(QRectF(0, y, width_, line_), Qt::AlignLeft | Qt::AlignVCenter, qtText(yearsTitle));
            y += line_;
            cells(painter, y, yearColumns_, [](YearColumn column) { return columnTitle(column); });
            y += line_;
            painter.drawLine(QPointF(0, y), QPointF(width_, y));
            painter.setFont(body_);
            for (std::size_t r = piece.firstRow; r < piece.firstRow + piece.rowCount; ++r) {
                const YearTotals& year = report_.years[r];
                cells(painter, y, yearColumns_,
                      [&](YearColumn column) { return cellText(year, column, report_.amounts, true); });
                y += line_;
            }
            break;
        default:
            break;
        }
    }
    painter.setFont(body_);
    painter.drawText(QRectF(0, height_ - line_, width_, line_), Qt::AlignCenter,
                     qtText(pageFoot(page + 1, pages_.size())));
}

double PlanPrintout::figures(QPainter& painter, double y, const std::vector<Figure>& list) const
{
    for (const Figure& figure : list) {
        painter.setFont(body_);
        painter.drawText(QRectF(0, y, width_ * 0.3, line_), Qt::AlignLeft | Qt::AlignVCenter,
                         qtText(figure.label) + QLatin1Char(':'));
        painter.setFont(bold_);
        painter.drawText(QRectF(width_ * 0.3, y, width_ * 0.7, line_), Qt::AlignLeft | Qt::AlignVCenter,
                         qtText(figure.value));
        y += line_;
    }
    return y;
}

template <typename Column>
void PlanPrintout::cells(QPainter& painter, double y, const std::vector<Column>& columns, auto&& textOf) const
{
    const double padding = line_ * 0.3;
    const double amountWidth = width_ * (1 - numberShare) / static_cast<double>(columns.size() - 1);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const double left = c == 0 ? 0 : width_ * numberShare + static_cast<double>(c - 1) * amountWidth;
        const double width = c == 0 ? width_ * numberShare : amountWidth;
        painter.drawText(QRectF(left, y, width - padding, line_), Qt::AlignRight | Qt::AlignVCenter,
                         qtText(textOf(columns[c])));
    }
}

} // namespace ratalia
