#include "plan/plan_pages.h"

#include <algorithm>

namespace ratalia {

std::vector<PrintSection> planSections(const PlanReport& report, int figureLines, int tableHeaderLines, int noteLines,
                                       int yearsHeaderLines)
{
    const bool years = !report.years.empty();
    std::vector<PrintSection> sections{
        {PrintSection::Kind::Block, titleLines + figureLines + 1, 0},
        {PrintSection::Kind::Table, tableHeaderLines, report.plan.rows().size()},
        {PrintSection::Kind::Block, 1 + static_cast<int>(report.totals.size()) + 1 + noteLines + (years ? 1 : 0), 0},
    };
    if (years)
        sections.push_back({PrintSection::Kind::Table, 1 + yearsHeaderLines, report.years.size()});
    return sections;
}

std::vector<PrintedPage> paginate(std::span<const PrintSection> sections, PageLines lines)
{
    std::vector<PrintedPage> pages(1);
    int used = 0; // lines of the current page taken so far
    const auto newPage = [&] {
        pages.emplace_back();
        used = lines.runningHeader;
    };
    const auto fresh = [&] { return used == (pages.size() == 1 ? 0 : lines.runningHeader); };

    for (std::size_t s = 0; s < sections.size(); ++s) {
        const PrintSection& section = sections[s];
        if (section.kind == PrintSection::Kind::Block) {
            if (used + section.lines > lines.perPage && !fresh())
                newPage();
            pages.back().pieces.push_back({s, 0, 0});
            used += section.lines;
            continue;
        }
        std::size_t next = 0;
        while (next < section.rows) {
            if (used + section.lines + 1 > lines.perPage && !fresh())
                newPage();
            const int room = lines.perPage - used - section.lines;
            const auto count = std::min(section.rows - next, static_cast<std::size_t>(std::max(room, 1)));
            pages.back().pieces.push_back({s, next, count});
            used += section.lines + static_cast<int>(count);
            next += count;
        }
    }
    return pages;
}

} // namespace ratalia
