#include "plan/print_layout.h"

#include "form/program_texts.h"
#include "plan/plan_window_layout.h"

#include <algorithm>
#include <numeric>

namespace ratalia {

PrintLayout::PrintLayout(const PlanReport& report, double width, double height, double unitsPerPoint,
                         const TextMeasure& measure)
    : report_(report), installments_(PlanTable::Kind::Installments, report.plan, report.amounts),
      years_(PlanTable::Kind::Years, report.plan, report.amounts), measure_(measure), width_(width), height_(height),
      line_(linePitch(TextStyle::Body) * unitsPerPoint)
{
    installmentColumns_ = columnsOf(installments_);
    yearColumns_ = columnsOf(years_);
    // The figures' labels in a column as wide as the widest, up to 40 % of the page.
    for (const auto* list : {&report.figures, &report.totals})
        for (const Figure& figure : *list)
            labelWidth_ = std::max(labelWidth_, measure.width(figure.label + u":", TextStyle::Body));
    labelWidth_ = std::min(labelWidth_ + line_, width_ * 0.4);
    noteLines_ = std::max(1, measure.lines(report.note, TextStyle::Body, width_));

    const auto sections = planSections(report, figureLines(report.figures), installmentColumns_.titleLines, noteLines_,
                                       yearColumns_.titleLines);
    const int perPage = static_cast<int>(height_ / line_) - footLines;
    pages_ = paginate(sections, {perPage, runningHeaderLines});
}

PrintLayout::TableColumns PrintLayout::columnsOf(const PlanTable& table) const
{
    TableColumns columns;
    const std::size_t count = table.columnCount();
    if (count == 0)
        return columns;
    // Each column as wide as its title and its widest amount, with a gap:
    // titles on one line where the page holds them so, else on two, else in
    // the smaller type.
    const auto layout = [&](bool twoLines, TextStyle body, TextStyle bold) {
        columns.body = body;
        columns.bold = bold;
        columns.titles.clear();
        columns.width.clear();
        columns.titleLines = 1;
        const double gap = measure_.width(u"00", body);
        for (std::size_t c = 0; c < count; ++c) {
            columns.titles.push_back(twoLines ? table.titleLines(c) : std::vector<Text>{table.title(c)});
            columns.titleLines = std::max(columns.titleLines, static_cast<int>(columns.titles.back().size()));
            double width = measure_.width(table.widest(c), body);
            for (const Text& titleLine : columns.titles.back())
                width = std::max(width, measure_.width(titleLine, bold));
            columns.width.push_back(width + gap);
        }
        return std::accumulate(columns.width.begin(), columns.width.end(), 0.0) <= width_;
    };
    if (!layout(false, TextStyle::Body, TextStyle::Bold) && !layout(true, TextStyle::Body, TextStyle::Bold))
        layout(true, TextStyle::Small, TextStyle::SmallBold);
    // What is left over goes to every column alike, so that the table spans the page.
    const double total = std::accumulate(columns.width.begin(), columns.width.end(), 0.0);
    const double spare = (width_ - total) / static_cast<double>(count);
    double left = 0;
    for (std::size_t c = 0; c < count; ++c) {
        columns.width[c] = std::max(1.0, columns.width[c] + spare);
        columns.left.push_back(left);
        left += columns.width[c];
    }
    return columns;
}

int PrintLayout::figureLines(const std::vector<Figure>& list) const
{
    int lines = 0;
    for (const Figure& figure : list)
        lines += std::max(1, measure_.lines(figure.value, TextStyle::Bold, width_ - labelWidth_));
    return lines;
}

double PrintLayout::figures(Drawing& out, double y, const std::vector<Figure>& list) const
{
    for (const Figure& figure : list) {
        const int lines = std::max(1, measure_.lines(figure.value, TextStyle::Bold, width_ - labelWidth_));
        out.emplace_back(DrawnText{0, y, labelWidth_, line_, figure.label + u":", TextStyle::Body, Align::Left, false});
        out.emplace_back(DrawnText{labelWidth_, y, width_ - labelWidth_, lines * line_, figure.value, TextStyle::Bold,
                                   Align::Left, lines > 1});
        y += lines * line_;
    }
    return y;
}

double PrintLayout::table(Drawing& out, double y, const PlanTable& table, const TableColumns& columns,
                          const PagePiece& piece) const
{
    const double padding = line_ * 0.3;
    // The titles, bottom-aligned in the header's lines.
    for (std::size_t c = 0; c < columns.titles.size(); ++c) {
        const auto& lines = columns.titles[c];
        double top = y + static_cast<double>(columns.titleLines - static_cast<int>(lines.size())) * line_;
        for (const Text& titleLine : lines) {
            out.emplace_back(DrawnText{columns.left[c], top, columns.width[c] - padding, line_, titleLine, columns.bold,
                                       Align::Right, false});
            top += line_;
        }
    }
    y += columns.titleLines * line_;
    out.emplace_back(DrawnLine{0, y, width_, y, Ink::Text, line_ / 20});
    for (std::size_t r = piece.firstRow; r < piece.firstRow + piece.rowCount; ++r) {
        for (std::size_t c = 0; c < columns.titles.size(); ++c)
            out.emplace_back(DrawnText{columns.left[c], y, columns.width[c] - padding, line_, table.cell(r, c, true),
                                       columns.body, Align::Right, false});
        y += line_;
    }
    return y;
}

Drawing PrintLayout::page(std::size_t index) const
{
    Drawing out;
    const Text title(texts::planTitle);
    double y = 0;
    if (index > 0) {
        out.emplace_back(DrawnText{0, 0, width_, line_, title, TextStyle::Body, Align::Left, false});
        y = runningHeaderLines * line_;
    }
    for (const PagePiece& piece : pages_[index].pieces) {
        switch (piece.section) {
        case Opening:
            out.emplace_back(DrawnText{0, y, width_, titleLines * line_, title, TextStyle::Title, Align::Left, false});
            y = figures(out, y + titleLines * line_, report_.figures) + line_;
            break;
        case Table:
            y = table(out, y, installments_, installmentColumns_, piece);
            break;
        case Closing:
            y = figures(out, y + line_, report_.totals) + line_;
            out.emplace_back(
                DrawnText{0, y, width_, noteLines_ * line_, report_.note, TextStyle::Body, Align::Left, true});
            y += noteLines_ * line_ + (report_.years.empty() ? 0 : line_);
            break;
        case Years:
            out.emplace_back(DrawnText{0, y, width_, line_, years_.heading(), TextStyle::Bold, Align::Left, false});
            y = table(out, y + line_, years_, yearColumns_, piece);
            break;
        default:
            break;
        }
    }
    out.emplace_back(DrawnText{0, height_ - line_, width_, line_, pageFoot(index + 1, pages_.size()), TextStyle::Body,
                               Align::Centre, false});
    return out;
}

ComparisonPrintLayout::ComparisonPrintLayout(const OfferComparison& comparison, const AmountText& amounts, double width,
                                             double height, double unitsPerPoint, const TextMeasure& measure)
{
    const double line = linePitch(TextStyle::Body) * unitsPerPoint;
    double y = 0;
    page_.emplace_back(DrawnText{0, y, width, 2 * line, Text(PlanWindowLayout::comparisonTitle), TextStyle::Title,
                                 Align::Left, false});
    y += 2 * line;
    // The columns as wide as their widest text, in the body's type where the page holds them.
    TextStyle body = TextStyle::Body, bold = TextStyle::Bold;
    std::vector<double> widths;
    const auto measureColumns = [&] {
        widths.assign(comparison.names.size() + 1, 0);
        const double gap = measure.width(u"00", body);
        for (const ComparisonRow& row : comparison.rows) {
            widths[0] = std::max(widths[0], measure.width(row.label, bold) + gap);
            for (std::size_t k = 0; k < row.values.size(); ++k)
                widths[k + 1] = std::max(widths[k + 1], measure.width(row.values[k], body) + gap);
        }
        for (std::size_t k = 0; k < comparison.names.size(); ++k)
            widths[k + 1] = std::max(widths[k + 1], measure.width(comparison.names[k], bold) + gap);
        return std::accumulate(widths.begin(), widths.end(), 0.0) <= width;
    };
    if (!measureColumns()) {
        body = TextStyle::Small;
        bold = TextStyle::SmallBold;
        measureColumns();
    }
    const double rowHeight = linePitch(body) * unitsPerPoint;
    // The cheapest's figures in bold, as on screen.
    const auto tableRow = [&](const Text& label, const std::vector<Text>& values, TextStyle style,
                              const std::vector<bool>& marked) {
        double x = 0;
        page_.emplace_back(DrawnText{x, y, widths[0], rowHeight, label, bold, Align::Left, false});
        x += widths[0];
        for (std::size_t k = 0; k < values.size(); ++k) {
            const TextStyle cell = k < marked.size() && marked[k] ? bold : style;
            page_.emplace_back(DrawnText{x, y, widths[k + 1], rowHeight, values[k], cell, Align::Right, false});
            x += widths[k + 1];
        }
        y += rowHeight;
    };
    tableRow(Text(), comparison.names, bold, {});
    page_.emplace_back(
        DrawnLine{0, y, std::min(width, std::accumulate(widths.begin(), widths.end(), 0.0)), y, Ink::Grid, 0});
    for (const ComparisonRow& row : comparison.rows) {
        const std::string_view id = row.id;
        tableRow(row.label, row.values, body,
                 id == "Taeg"           ? comparison.lowestRate
                 : id == "CostOfCredit" ? comparison.lowestCost
                                        : std::vector<bool>());
    }
    y += line / 2;
    for (const Text& sentence : [&] {
             std::vector<Text> all{comparison.verdict};
             all.insert(all.end(), comparison.notes.begin(), comparison.notes.end());
             return all;
         }()) {
        const double tall = measure.lines(sentence, TextStyle::Body, width) * line;
        page_.emplace_back(DrawnText{0, y, width, tall, sentence, TextStyle::Body, Align::Left, true});
        y += tall + line / 2;
    }
    // The chart in what is left, where that is room enough for one.
    const double room = std::min(height - y, width * 0.6);
    if (room < 8 * line)
        return;
    for (DrawnItem item : comparisonChart(comparison, amounts, width, room, measure)) {
        std::visit(
            [&](auto& drawn) {
                using Kind = std::decay_t<decltype(drawn)>;
                if constexpr (std::is_same_v<Kind, DrawnText> || std::is_same_v<Kind, DrawnRect>) {
                    drawn.top += y;
                } else if constexpr (std::is_same_v<Kind, DrawnLine>) {
                    drawn.y1 += y;
                    drawn.y2 += y;
                } else {
                    for (auto& point : drawn.points)
                        point.second += y;
                }
            },
            item);
        page_.push_back(std::move(item));
    }
}

Drawing ComparisonPrintLayout::page(std::size_t) const { return page_; }

} // namespace ratalia
