#include "plan/plan_pages.h"
#include "plan/plan_window_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace ratalia::test {
namespace {

// Pages written as "section:first+count" pieces, pages split by " | ".
std::string layout(const std::vector<PrintedPage>& pages)
{
    std::string out;
    for (std::size_t k = 0; k < pages.size(); ++k) {
        out += k > 0 ? " | " : "";
        for (std::size_t p = 0; p < pages[k].pieces.size(); ++p) {
            const PagePiece& piece = pages[k].pieces[p];
            out += (p > 0 ? " " : "") + std::to_string(piece.section) + ":" + std::to_string(piece.firstRow) + "+" +
                   std::to_string(piece.rowCount);
        }
    }
    return out;
}

using K = PrintSection::Kind;

TEST(PaginationTest, breaks_pages_where_the_lines_run_out)
{
    // Pages of 10 lines; pages after the first start with a 2-line header.
    const PageLines lines{10, 2};
    const struct {
        const char* name;
        std::vector<PrintSection> sections;
        const char* pages;
    } cases[] = {
        {"everything on one page", {{K::Block, 3, 0}, {K::Table, 1, 4}, {K::Block, 2, 0}}, "0:0+0 1:0+4 2:0+0"},
        {"a table over three pages",
         {{K::Block, 3, 0}, {K::Table, 1, 18}, {K::Block, 2, 0}},
         "0:0+0 1:0+6 | 1:6+7 | 1:13+5 2:0+0"},
        {"the closing block on a page of its own",
         {{K::Block, 3, 0}, {K::Table, 1, 6}, {K::Block, 2, 0}},
         "0:0+0 1:0+6 | 2:0+0"},
        {"a table that starts on a new page", {{K::Block, 9, 0}, {K::Table, 1, 3}}, "0:0+0 | 1:0+3"},
        {"a block taller than a page", {{K::Block, 14, 0}, {K::Table, 1, 2}}, "0:0+0 | 1:0+2"},
        {"an empty table prints nothing", {{K::Block, 3, 0}, {K::Table, 1, 0}, {K::Block, 2, 0}}, "0:0+0 2:0+0"},
        {"one row per page at the least", {{K::Table, 9, 3}}, "0:0+1 | 0:1+1 | 0:2+1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(layout(paginate(c.sections, lines)), c.pages) << c.name;
}

TEST(SaveDialogTest, a_name_without_an_extension_gets_one)
{
    const struct {
        const char16_t* typed;
        const char16_t* saved;
    } cases[] = {
        {u"dlg", u"dlg.csv"},
        {u"/home/anna/piano", u"/home/anna/piano.csv"},
        {u"/home/anna/piano.csv", u"/home/anna/piano.csv"},
        {u"/home/anna/piano.txt", u"/home/anna/piano.txt"},
        {u"/home/anna/piano.", u"/home/anna/piano.csv"},
        {u"/home/anna/.csv", u"/home/anna/.csv.csv"},
        {u"/home/an.na/piano", u"/home/an.na/piano.csv"},
        {u"C:\\Documenti\\piano", u"C:\\Documenti\\piano.csv"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withExtension(c.typed, PlanWindowLayout::csvFile), c.saved);
}

} // namespace
} // namespace ratalia::test
