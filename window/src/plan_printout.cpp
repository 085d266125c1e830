#include "window/plan_printout.h"

#include "core/program_texts.h"
#include "window/qt_text.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace ratalia {
namespace {

QString shown(const Text& text) { return QString::fromStdU16String(text); }

// One page's share of the rows; the totals follow the last row.
struct Page {
    std::size_t firstRow = 0;
    std::size_t rowCount = 0;
};

class Printout {
public:
    Printout(QPagedPaintDevice& device, const PlanReport& report) : device_(device), report_(report)
    {
        body_.setFamily(QStringLiteral("Liberation Sans"));
        body_.setStyleHint(QFont::SansSerif);
        body_.setPointSizeF(9);
        bold_ = body_;
        bold_.setBold(true);
        title_ = bold_;
        title_.setPointSizeF(14);
        const QFontMetricsF metrics(body_, &device_);
        line_ = std::ceil(metrics.height() * 1.3);
        width_ = device_.width();
        height_ = device_.height();
        // Column edges: the number narrow, the four amounts alike.
        const std::array<double, 6> edges{0, 0.10, 0.325, 0.55, 0.775, 1.0};
        for (std::size_t c = 0; c < edges.size(); ++c)
            edges_[c] = edges[c] * width_;
    }

    int paint()
    {
        QPainter painter;
        if (!painter.begin(&device_))
            return 0;
        const std::vector<Page> pages = paginate();
        for (std::size_t k = 0; k < pages.size(); ++k) {
            if (k > 0)
                device_.newPage();
            double y = k == 0 ? firstPageTop(painter) : runningHeader(painter);
            if (pages[k].rowCount > 0)
                y = table(painter, y, pages[k]);
            if (k + 1 == pages.size())
                tail(painter, y);
            painter.setFont(body_);
            painter.drawText(QRectF(0, height_ - line_, width_, line_), Qt::AlignCenter,
                             QStringLiteral("Pagina %1 di %2").arg(k + 1).arg(pages.size()));
        }
        painter.end();
        return static_cast<int>(pages.size());
    }

private:
    double firstPageHeight() const { return 2 * line_ + static_cast<double>(report_.figures.size()) * line_ + line_; }
    double runningHeaderHeight() const { return 2 * line_; }
    double noteHeight() const
    {
        const QFontMetricsF metrics(body_, &device_);
        return metrics.boundingRect(QRectF(0, 0, width_, 10 * height_), Qt::TextWordWrap, shown(report_.note)).height();
    }
    double tailHeight() const
    {
        return 1.5 * line_ + static_cast<double>(report_.totals.size()) * line_ + noteHeight();
    }
    double bottom() const { return height_ - 2 * line_; }

    std::vector<Page> paginate() const
    {
        std::vector<Page> pages;
        const std::size_t total = report_.plan.rows().size();
        std::size_t next = 0;
        while (next < total) {
            const double top = (pages.empty() ? firstPageHeight() : runningHeaderHeight()) + line_;
            const auto fits = static_cast<std::size_t>(std::max(1.0, std::floor((bottom() - top) / line_)));
            const std::size_t count = std::min(fits, total - next);
            pages.push_back({next, count});
            next += count;
        }
        const double top = (pages.size() == 1 ? firstPageHeight() : runningHeaderHeight()) + line_;
        if (top + static_cast<double>(pages.back().rowCount) * line_ + tailHeight() > bottom())
            pages.push_back({total, 0});
        return pages;
    }

    double firstPageTop(QPainter& painter) const
    {
        painter.setFont(title_);
        painter.drawText(QRectF(0, 0, width_, 2 * line_), Qt::AlignLeft | Qt::AlignTop, qtText(texts::planTitle));
        return figures(painter, 2 * line_, report_.figures) + line_;
    }

    double runningHeader(QPainter& painter) const
    {
        painter.setFont(body_);
        painter.drawText(QRectF(0, 0, width_, line_), Qt::AlignLeft | Qt::AlignVCenter, qtText(texts::planTitle));
        return runningHeaderHeight();
    }

    double figures(QPainter& painter, double y, const std::vector<Figure>& list) const
    {
        for (const Figure& figure : list) {
            painter.setFont(body_);
            painter.drawText(QRectF(0, y, width_ * 0.3, line_), Qt::AlignLeft | Qt::AlignVCenter,
                             shown(figure.label) + QLatin1Char(':'));
            painter.setFont(bold_);
            painter.drawText(QRectF(width_ * 0.3, y, width_ * 0.7, line_), Qt::AlignLeft | Qt::AlignVCenter,
                             shown(figure.value));
            y += line_;
        }
        return y;
    }

    void cells(QPainter& painter, double y, auto&& textOf) const
    {
        const double padding = line_ * 0.3;
        for (std::size_t c = 0; c < planColumns.size(); ++c)
            painter.drawText(QRectF(edges_[c], y, edges_[c + 1] - edges_[c] - padding, line_),
                             Qt::AlignRight | Qt::AlignVCenter, shown(textOf(planColumns[c])));
    }

    double table(QPainter& painter, double y, const Page& page) const
    {
        painter.setFont(bold_);
        cells(painter, y, columnTitle);
        y += line_;
        painter.drawLine(QPointF(0, y), QPointF(width_, y));
        painter.setFont(body_);
        for (std::size_t r = page.firstRow; r < page.firstRow + page.rowCount; ++r) {
            const PlanRow& row = report_.plan.rows()[r];
            cells(painter, y, [&](PlanColumn column) { return cellText(row, column, report_.amounts, true); });
            y += line_;
        }
        return y;
    }

    void tail(QPainter& painter, double y) const
    {
        y = figures(painter, y + line_, report_.totals) + line_ / 2;
        painter.setFont(body_);
        painter.drawText(QRectF(0, y, width_, bottom() - y), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                         shown(report_.note));
    }

    QPagedPaintDevice& device_;
    const PlanReport& report_;
    QFont body_;
    QFont bold_;
    QFont title_;
    double line_ = 0;
    double width_ = 0;
    double height_ = 0;
    std::array<double, 6> edges_{};
};

} // namespace

int paintPlan(QPagedPaintDevice& device, const PlanReport& report) { return Printout(device, report).paint(); }

} // namespace ratalia
