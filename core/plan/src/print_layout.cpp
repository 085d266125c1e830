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

} // namespace ratalia
