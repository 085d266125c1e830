#include "plan/chart_layout.h"
#include "plan/plan_form.h"
#include "plan/plan_pages.h"
#include "plan/plan_window_layout.h"
#include "plan/print_layout.h"
#include "support/test_form.h"
#include "support/typed_inputs.h"

#include <gtest/gtest.h>

#include <cmath>
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

// Widths as a plain font would give them: every character 5 points wide at
// 9 points, and lines of 13,5.
class PlainMeasure : public TextMeasure {
public:
    double width(TextView text, TextStyle style) const override
    {
        return static_cast<double>(text.size()) * 5 * pointsOf(style) / 9;
    }
    double lineHeight(TextStyle style) const override { return linePitch(style); }
    int lines(TextView text, TextStyle style, double room) const override
    {
        return std::max(1, static_cast<int>(std::ceil(width(text, style) / room)));
    }
};

PlanOutcome outcomeOf(const char16_t* capital, const char16_t* months, const char16_t* rate, PlanInputs inputs)
{
    TestForm form(u',');
    form.fill(capital, months, rate);
    form.events.click(Button::Calculate);
    return planFor(*form.events.planTerms(), inputs, form.form().numbers());
}

// On an A4 page less its margins (493 × 757 points) every text of the
// printout fits its place: the tables' titles whole, on two lines or in a
// smaller type where they must be, whatever the columns.
TEST(PrintLayoutTest, nothing_on_paper_is_cut)
{
    const struct {
        const char* name;
        TypedInputs inputs;
    } cases[] = {
        {"the installments alone", {}},
        {"dates and a repayment", {.firstDue = u"01/2027", .repayAfter = u"60", .repayAmount = u"20000"}},
        {"every column",
         {.initialFees = u"1500",
          .installmentFee = u"2",
          .annualFee = u"30",
          .firstDue = u"01/2027",
          .repayAfter = u"60",
          .repayAmount = u"tutto",
          .penalty = u"1",
          .credit = CreditKind::Consumer}},
    };
    const PlainMeasure measure;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PlanOutcome outcome = outcomeOf(u"80000", u"240", u"3,5", c.inputs);
        const auto& plan = std::get<AmortizationPlan>(outcome.plan);
        const AmountText amounts(u',', u'.');
        const PlanReport report{plan,
                                amounts,
                                costFigures(plan, amounts),
                                yearlyTotals(plan),
                                planTotals(plan, amounts),
                                differenceNote(plan, amounts)};
        const PrintLayout layout(report, 493, 757, 1, measure);
        std::size_t titles = 0;
        for (std::size_t page = 0; page < layout.pageCount(); ++page)
            for (const DrawnItem& item : layout.page(page)) {
                const auto* text = std::get_if<DrawnText>(&item);
                if (!text || text->wraps)
                    continue;
                EXPECT_LE(measure.width(text->text, text->style), text->width + 1e-9) << toUtf8(text->text);
                EXPECT_LE(text->left + text->width, 493 + 1e-9) << toUtf8(text->text);
                titles += text->text == u"Rimborso" || text->text == u"Rimborso anticipato";
            }
        // The titles are there: the repayment's column on each page of the installments.
        EXPECT_EQ(titles > 0, plan.repaidEarly());
    }
}

TEST(PlanWindowPlaceTest, opens_beside_the_main_window_where_the_screen_allows)
{
    const ScreenRect screen{0, 0, 1366, 728};
    const struct {
        const char* name;
        ScreenRect main;
        int width, height;
        ScreenRect placed;
    } cases[] = {
        {"to the right", {100, 100, 370, 360}, 700, 600, {478, 100, 700, 600}},
        {"to the left where the right has no room", {900, 50, 370, 360}, 700, 600, {192, 50, 700, 600}},
        {"narrower beside it, where that keeps its smallest width", {0, 0, 370, 360}, 1100, 700, {378, 0, 988, 700}},
        {"narrower to the left", {990, 0, 370, 360}, 1100, 700, {0, 0, 982, 700}},
        {"as far from it as it can, where neither side has room", {400, 0, 370, 360}, 1000, 700, {366, 0, 1000, 700}},
        {"never larger than the screen, nor below its foot", {500, 500, 370, 360}, 2000, 1000, {0, 0, 1366, 728}},
    };
    for (const auto& c : cases) {
        const ScreenRect placed = placeBeside(c.main, screen, c.width, c.height, 776);
        EXPECT_EQ(std::make_tuple(placed.left, placed.top, placed.width, placed.height),
                  std::make_tuple(c.placed.left, c.placed.top, c.placed.width, c.placed.height))
            << c.name;
    }
}

TEST(PlanChartTest, a_plan_within_a_year_has_its_year_and_its_words_have_the_regions_zero)
{
    TestForm form(u'.');
    form.fill(u"1000", u"1", u"5");
    form.events.click(Button::Calculate);
    const PlanOutcome outcome =
        planFor(*form.events.planTerms(), TypedInputs{.firstDue = u"05/2027"}, NumberText(u'.'));
    const auto& plan = std::get<AmortizationPlan>(outcome.plan);
    const PlanChart chart = planChart(plan, AmountText(u'.', u','), 100);
    ASSERT_EQ(chart.timeTicks.size(), 1u);
    EXPECT_EQ(chart.timeTicks[0].label, u"2027");
    EXPECT_NE(chart.description.find(u"a 0.00"), Text::npos) << toUtf8(chart.description);
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

TEST(SaveDialogTest, the_yearly_totals_are_saved_under_their_own_title_and_name)
{
    const PlanOutcome dated = outcomeOf(u"1000", u"12", u"5", TypedInputs{.firstDue = u"01/2027"});
    const PlanOutcome plain = outcomeOf(u"1000", u"12", u"5", TypedInputs{});
    const auto& withDates = std::get<AmortizationPlan>(dated.plan);
    const auto& withoutDates = std::get<AmortizationPlan>(plain.plan);
    EXPECT_EQ(viewFileKind(PlanView::Years, withDates).dialogTitle, u"Esporta i totali per anno in CSV");
    EXPECT_EQ(viewFileName(PlanView::Years, withDates), u"totali-per-anno");
    // Without due dates the years' view has nothing: the installments go.
    EXPECT_EQ(viewFileKind(PlanView::Years, withoutDates).dialogTitle, u"Esporta il piano in CSV");
    EXPECT_EQ(viewFileKind(PlanView::Installments, withDates).dialogTitle, u"Esporta il piano in CSV");
}

} // namespace
} // namespace ratalia::test
