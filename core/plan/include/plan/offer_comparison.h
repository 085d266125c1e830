#pragma once

// Offers side by side: one column an offer, one row a figure (TAN, TAEG,
// installments, what is received, the cost of the credit, the interest, the
// total due, the end), the cheapest by TAEG and by the cost of the credit
// marked, and one sentence that says which is cheaper and, where the two
// disagree, why. The window's Confronto view, its copy, CSV and printout and
// the command line's --confronta all show this.

#include "loan/offers.h"
#include "loan/plan_request.h"
#include "numbers/amount_text.h"
#include "plan/drawing.h"

#include <span>
#include <vector>

namespace ratalia {

struct ComparisonRow {
    const char* id; // names the row for a test and a screen reader: "Taeg"
    Text label;     // "TAEG"
    std::vector<Text> values;
};

struct OfferComparison {
    std::vector<Text> names;
    std::vector<ComparisonRow> rows;
    // Per offer: the lowest TAEG as stated, the lowest cost of the credit; ties all marked.
    std::vector<bool> lowestRate, lowestCost;
    // The debt after each month from the first installment's, per offer, in euros: what the chart draws.
    std::vector<std::vector<double>> debtByMonth;
    // Which is cheaper and why, in one sentence (two where the capitals differ).
    Text verdict;
    // Offers with no plan: each one's sentence, "Banca C: …".
    std::vector<Text> notes;
};

// The offers as the plan window holds them, each read as its plan is.
OfferComparison compareOffers(std::span<const Offer> offers, const NumberText& numbers);

// In aligned columns: the header of names, one line a row, the verdict and the notes under it.
Text alignedComparison(const OfferComparison& comparison);
// As CSV: the header of names, one line a row, amounts as the window shows them.
Text delimitedComparison(const OfferComparison& comparison, char16_t delimiter);

// The chart of each offer's debt over the months, laid out for a view
// `width` × `height`: a legend of the names on the first line, the debt's
// ticks on the left, the months' under the plot, one line an offer.
Drawing comparisonChart(const OfferComparison& comparison, const AmountText& amounts, double width, double height,
                        const TextMeasure& measure);
// The chart in words, for a screen reader.
Text comparisonChartDescription(const OfferComparison& comparison, const AmountText& amounts);

} // namespace ratalia
