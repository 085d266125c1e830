// Offers in a file and side by side: a file written in one region reads the
// same in another; a damaged file, or one from a later version, opens
// nothing; the comparison marks the cheapest by TAEG and by the cost of the
// credit, worked out here from each offer's own rows in decimals; and the
// command line saves, reads and compares the same files.

#include "cli/command_line.h"
#include "loan/offers.h"
#include "loan/plan_request.h"
#include "plan/offer_comparison.h"
#include "support/decimal.h"
#include "support/offer_expectations.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace ratalia::test {
namespace {

// Files in memory, as the command line sees them; `full` refuses every write.
class MemoryFiles : public Files {
public:
    std::optional<std::string> read(const std::string& path) override
    {
        const auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    bool exists(const std::string& path) override { return files.count(path) != 0 || locked.count(path) != 0; }
    bool write(const std::string& path, const std::string& bytes) override
    {
        if (full)
            return false;
        files[path] = bytes;
        return true;
    }
    std::map<std::string, std::string> files;
    std::map<std::string, std::string> locked; // there, but not to be read
    bool full = false;
};

struct Outcome {
    int status;
    std::string output, errors;
};

Outcome run(const std::vector<std::string>& arguments, MemoryFiles& files, char16_t separator = u',')
{
    std::ostringstream output, errors;
    const int status = runCommandLine(arguments, NumberText(separator), output, errors, &files);
    return {status, output.str(), errors.str()};
}

PlanInputs everyKindOfInput(char16_t separator)
{
    const Text d(1, separator);
    PlanInputs inputs;
    inputs.setText(PlanInput::Capital, u"180000" + d + u"5");
    inputs.setText(PlanInput::Duration, u"25");
    inputs.choose(PlanInput::Unit, 1);
    inputs.setText(PlanInput::AnnualRate, u"3" + d + u"125");
    inputs.choose(PlanInput::Frequency, 2);
    inputs.setText(PlanInput::RateSteps, u"25:4; 61:4" + d + u"5");
    inputs.setText(PlanInput::InitialFees, u"1500");
    inputs.setText(PlanInput::Insurance, u"0" + d + u"2");
    inputs.setText(PlanInput::FirstDue, u"03/2027");
    inputs.setText(PlanInput::Repayments, u"20:5000" + d + u"5:rata:1; 40:tutto");
    inputs.choose(PlanInput::Credit, 2);
    return inputs;
}

// A loan with a recurring extra, which a variable rate does not take.
PlanInputs withExtra()
{
    PlanInputs inputs;
    inputs.setText(PlanInput::Capital, u"50000");
    inputs.setText(PlanInput::Duration, u"120");
    inputs.setText(PlanInput::AnnualRate, u"5");
    inputs.setText(PlanInput::Extra, u"1200:annuale:4");
    return inputs;
}

class OffersFile : public ::testing::TestWithParam<char16_t> {};

TEST_P(OffersFile, written_in_one_region_reads_the_same_plan_in_every_other)
{
    const NumberText written(GetParam());
    const std::vector<Offer> offers{{u"Banca A", everyKindOfInput(GetParam())}, {u"Banca B", withExtra()}};
    const std::string text = offersFileText(offers, written);
    // Numbers are kept in one form whatever the region that wrote them.
    EXPECT_NE(text.find("capitale: 180000,50\n"), std::string::npos) << text;
    EXPECT_NE(text.find("anni: 25\n"), std::string::npos) << text;
    EXPECT_NE(text.find("rimborso: 20:5000,50:rata:1\nrimborso: 40:tutto\n"), std::string::npos) << text;
    for (const char16_t other : {u',', u'.', u'\u066B'}) {
        const NumberText numbers(other);
        auto read = readOffersFile(text, numbers);
        ASSERT_TRUE(std::holds_alternative<std::vector<Offer>>(read));
        const auto& back = std::get<std::vector<Offer>>(read);
        ASSERT_EQ(back.size(), 2u);
        EXPECT_EQ(back[0].name, u"Banca A");
        // The same plan, row by row, as the inputs typed in this region give.
        const PlanOutcome fromFile = planFor(back[0].inputs, numbers),
                          typed = planFor(everyKindOfInput(other), numbers);
        ASSERT_FALSE(typed.error);
        ASSERT_FALSE(fromFile.error);
        const auto& plan = std::get<AmortizationPlan>(fromFile.plan);
        EXPECT_EQ(plan.rows(), std::get<AmortizationPlan>(typed.plan).rows());
        EXPECT_EQ(plan.annualPercentageRate(), std::get<AmortizationPlan>(typed.plan).annualPercentageRate());
        EXPECT_EQ(plan.repayments().size(), 2u);
        const PlanOutcome extra = planFor(back[1].inputs, numbers);
        ASSERT_FALSE(extra.error);
        EXPECT_EQ(std::get<AmortizationPlan>(extra.plan).extra()->amount, 120'000);
        EXPECT_EQ(offersFileText(back, numbers), text);
    }
    // A duration worked out, in years, keeps its unit though its field is empty.
    PlanInputs years;
    years.choose(PlanInput::Solve, static_cast<std::size_t>(Unknown::Duration));
    years.choose(PlanInput::Unit, 1);
    const std::vector<Offer> one{{u"A", years}};
    const auto back = readOffersFile(offersFileText(one, written), written);
    ASSERT_TRUE(std::holds_alternative<std::vector<Offer>>(back));
    EXPECT_EQ(std::get<std::vector<Offer>>(back).front().inputs.unit(), DurationUnit::Years);
}

INSTANTIATE_TEST_SUITE_P(Regions, OffersFile, ::testing::Values(u',', u'.', u'\u066B'));

TEST(OffersFileTest, what_cannot_be_read_whole_opens_nothing_and_says_why)
{
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"other file", "capitale;mesi\n1;2\n",
         "Il file «f» non è un file di offerte di Ratalia: non è stato aperto nulla."},
        {"newer", "ratalia-offerte: 2\n\n[offerta]\nnome: A\n",
         "Il file «f» è scritto da una versione più recente di Ratalia (formato 2; questa legge fino al 1): non è "
         "stato aperto nulla. Si apre con una versione più recente."},
        {"cut short", "ratalia-offerte: 1\n", "Il file «f» non contiene alcuna offerta: non è stato aperto nulla."},
        {"unknown key", "ratalia-offerte: 1\n[offerta]\ncapitale: 1000\ncolore: blu\n",
         "Il file «f» è danneggiato alla riga 4 («colore» non è un dato di un'offerta): non è stato aperto nulla."},
        {"no colon", "ratalia-offerte: 1\n[offerta]\ncapitale 1000\n",
         "Il file «f» è danneggiato alla riga 3 (manca «chiave: valore»): non è stato aperto nulla."},
        {"twice", "ratalia-offerte: 1\n[offerta]\nmesi: 12\nanni: 1\n",
         "Il file «f» è danneggiato alla riga 4 («anni» è ripetuto): non è stato aperto nulla."},
        {"bad choice", "ratalia-offerte: 1\n[offerta]\nfrequenza: settimanale\n",
         "Il file «f» è danneggiato alla riga 3 («settimanale» non è tra le scelte di «frequenza»): non è stato "
         "aperto nulla."},
        {"before any offer", "ratalia-offerte: 1\ncapitale: 1000\n",
         "Il file «f» è danneggiato alla riga 2 (viene prima di ogni [offerta]): non è stato aperto nulla."},
        {"not UTF-8", "ratalia-offerte: 1\n[offerta]\nnome: \xFF\n",
         "Il file «f» è danneggiato (il testo non è UTF-8): non è stato aperto nulla."},
    };
    for (const auto& c : cases) {
        const auto read = readOffersFile(c.bytes, NumberText(u','));
        ASSERT_TRUE(std::holds_alternative<OffersFileError>(read)) << c.name;
        EXPECT_EQ(toUtf8(offersFileErrorText(std::get<OffersFileError>(read), u"f")), c.message) << c.name;
    }
    // What an editor may add is no damage: a byte-order mark, CR LF, comments, spaces.
    const auto edited = readOffersFile("\xEF\xBB\xBFratalia-offerte: 1\r\n# mia\r\n[offerta]\r\n  nome :  Banca A \r\n",
                                       NumberText(u','));
    ASSERT_TRUE(std::holds_alternative<std::vector<Offer>>(edited));
    EXPECT_EQ(std::get<std::vector<Offer>>(edited).front().name, u"Banca A");
}

// The cost of the credit of a plain offer, its installments summed in decimals: the interest and the costs.
std::int64_t costOfCredit(std::int64_t capital, std::int64_t months, const std::string& rate, std::int64_t fees,
                          std::int64_t perInstallment)
{
    ReferenceLoan loan;
    loan.capital = std::to_string(capital / 100);
    loan.months = months;
    loan.annualRate = rate;
    loan.initialFees = fees;
    loan.fee = perInstallment;
    return referencePlan(loan).costOfCredit();
}

TEST(OfferComparisonTest, marks_the_cheapest_and_says_why_a_lower_rate_costs_more)
{
    // The longer loan has the lower TAEG and the higher cost.
    std::vector<Offer> offers(3);
    offers[0].name = u"Lunga";
    offers[1].name = u"Breve";
    offers[2].name = u"Sbagliata";
    for (Offer* offer : {&offers[0], &offers[1], &offers[2]})
        offer->inputs.setText(PlanInput::Capital, u"180000");
    offers[0].inputs.setText(PlanInput::Duration, u"300");
    offers[0].inputs.setText(PlanInput::AnnualRate, u"3,1");
    offers[0].inputs.setText(PlanInput::InitialFees, u"1500");
    offers[1].inputs.setText(PlanInput::Duration, u"240");
    offers[1].inputs.setText(PlanInput::AnnualRate, u"3,4");
    offers[1].inputs.setText(PlanInput::InitialFees, u"800");
    offers[1].inputs.setText(PlanInput::InstallmentFee, u"2");
    offers[2].inputs.setText(PlanInput::Duration, u"240");
    offers[2].inputs.setText(PlanInput::AnnualRate, u"tre");
    const OfferComparison comparison = compareOffers(offers, NumberText(u','));

    const AmountText amounts(u',', u'.');
    const std::int64_t longCost = costOfCredit(18'000'000, 300, "3,1", 150'000, 0);
    const std::int64_t shortCost = costOfCredit(18'000'000, 240, "3,4", 80'000, 200);
    const auto rowOf = [&](std::string_view id) -> const ComparisonRow& {
        return *std::find_if(comparison.rows.begin(), comparison.rows.end(),
                             [&](const ComparisonRow& row) { return id == row.id; });
    };
    EXPECT_EQ(rowOf("CostOfCredit").values,
              (std::vector<Text>{amounts.grouped(longCost), amounts.grouped(shortCost), u"—"}));
    EXPECT_EQ(comparison.lowestRate, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(comparison.lowestCost, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(rowOf("Cheapest").values, (std::vector<Text>{u"per TAEG", u"per costo totale", u""}));
    const std::string verdict = toUtf8(comparison.verdict);
    EXPECT_EQ(verdict.rfind("«Lunga» ha il TAEG più basso", 0), 0u) << verdict;
    EXPECT_NE(verdict.find("ma «Breve» costa meno in tutto: costo totale del credito " +
                           toUtf8(amounts.grouped(shortCost)) + " contro " + toUtf8(amounts.grouped(longCost))),
              std::string::npos)
        << verdict;
    EXPECT_NE(verdict.find("«Breve» dura meno (240 mesi contro 300)"), std::string::npos) << verdict;
    ASSERT_EQ(comparison.notes.size(), 1u);
    EXPECT_EQ(toUtf8(comparison.notes[0]).rfind("Sbagliata: Tasso annuo nominale: «tre»", 0), 0u);
}

TEST(OfferComparisonTest, never_takes_a_taeg_too_large_to_state_for_the_lowest)
{
    // Costs of 9 990 € on 10 000 € put the TAEG beyond 1 000 000 %; so do 100 € of fees on 1 €.
    const auto offer = [](const char16_t* name, const char16_t* capital, const char16_t* months, const char16_t* fees,
                          const char16_t* feeEach) {
        Offer made;
        made.name = name;
        made.inputs.setText(PlanInput::Capital, capital);
        made.inputs.setText(PlanInput::Duration, months);
        made.inputs.setText(PlanInput::AnnualRate, u"5");
        made.inputs.setText(PlanInput::InitialFees, fees);
        made.inputs.setText(PlanInput::InstallmentFee, feeEach);
        return made;
    };
    const Offer costly = offer(u"Spese", u"10000", u"24", u"9990", u""),
                tiny = offer(u"Piccolo", u"1", u"1", u"", u"100"),
                plain = offer(u"Semplice", u"10000", u"24", u"", u"");
    const struct {
        const char* name;
        std::vector<Offer> offers;
        std::vector<bool> lowestRate, lowestCost;
        const char* verdict; // how it begins
    } cases[] = {
        {"beside a stated one", {costly, plain}, {false, true}, {false, true}, "«Semplice» è la più conveniente"},
        {"one shorter and cheaper in all",
         {costly, tiny, plain},
         {false, false, true},
         {false, true, false},
         "«Semplice» ha il TAEG più basso (5,12 %), ma «Piccolo» costa meno in tutto"},
        {"none stated", {costly, tiny}, {false, false}, {false, true}, "«Piccolo» costa meno in tutto"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const OfferComparison comparison = compareOffers(c.offers, NumberText(u','));
        EXPECT_EQ(comparison.lowestRate, c.lowestRate);
        EXPECT_EQ(comparison.lowestCost, c.lowestCost);
        EXPECT_EQ(toUtf8(comparison.verdict).rfind(c.verdict, 0), 0u) << toUtf8(comparison.verdict);
    }
}

TEST(OfferComparisonTest, command_line_saves_compares_and_reads_the_same_taeg)
{
    MemoryFiles files;
    ASSERT_EQ(run({"--salva", "a.ratalia", "--nome", "Banca A", "--capitale", "180000", "--mesi", "300", "--tasso",
                   "3,1", "--spese-iniziali", "1500"},
                  files)
                  .status,
              0);
    ASSERT_EQ(run({"--salva", "b.ratalia", "--nome", "Banca B", "--capitale", "180000", "--mesi", "240", "--tasso",
                   "3,4", "--spese-iniziali", "800", "--spese-rata", "2"},
                  files)
                  .status,
              0);
    const Outcome compared = run({"--confronta", "a.ratalia", "b.ratalia"}, files);
    ASSERT_EQ(compared.status, 0) << compared.errors;
    const auto taegLine = [](const std::string& text) {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("TAEG", 0) == 0)
                return line;
        return std::string();
    };
    const auto printedTaeg = [&](const char* file) {
        const std::string line = taegLine(run({"--piano", "--offerta", file}, files).output);
        return line.substr(line.find_first_not_of(' ', 5));
    };
    std::istringstream row(taegLine(compared.output).substr(4));
    std::string a, b, percent;
    row >> a >> percent >> b;
    EXPECT_EQ(a + " %", printedTaeg("a.ratalia"));
    EXPECT_EQ(b + " %", printedTaeg("b.ratalia"));
    // And the TAEG worked out here from the offer's own rows, in decimals.
    EXPECT_EQ(printedTaeg("a.ratalia"), taegOf("3,1", 300, 150'000, 0));
    const auto cheapest = compared.output.find("Più conveniente");
    ASSERT_NE(cheapest, std::string::npos);
    const std::string marks = compared.output.substr(cheapest, compared.output.find('\n', cheapest) - cheapest);
    EXPECT_EQ(marks.substr(marks.size() - 26), "per TAEG  per costo totale") << compared.output;

    // Options beside an offer change its values; a second offer joins the file; --nome picks one.
    const Outcome saved =
        run({"--salva", "a.ratalia", "--nome", "Banca C", "--capitale", "180000", "--mesi", "300", "--tasso", "2,9"},
            files);
    ASSERT_EQ(saved.status, 0) << saved.errors;
    EXPECT_EQ(saved.output, "Offerta «Banca C» salvata in «a.ratalia» (2 offerte nel file).\n");
    EXPECT_EQ(run({"--piano", "--offerta", "a.ratalia"}, files).errors,
              "ratalia: «a.ratalia» ha 2 offerte: indicare quale con --nome («Banca A», «Banca C»).\n");
    const std::string changed =
        run({"--piano", "--offerta", "a.ratalia", "--nome", "Banca A", "--tasso", "2,8"}, files).output;
    EXPECT_NE(changed.find("Tasso annuo:    2,8 %"), std::string::npos) << changed;
    const Outcome csv = run({"--confronta", "a.ratalia", "b.ratalia", "--csv"}, files);
    EXPECT_EQ(csv.output.substr(0, csv.output.find('\n')), "Offerta;Banca A;Banca C;Banca B");

    // The figure an offer works out is not given beside it.
    EXPECT_EQ(run({"--piano", "--offerta", "b.ratalia", "--rata", "900"}, files).errors,
              "ratalia: --rata: l'offerta «Banca B» calcola questa cifra dalle altre, e non la si dà.\n");
    // Two offers saved without a name each get their own.
    for (int k = 0; k < 2; ++k)
        ASSERT_EQ(
            run({"--salva", "senza-nome.ratalia", "--capitale", "1000", "--mesi", "12", "--tasso", "5"}, files).status,
            0);
    auto unnamed = readOffersFile(files.files["senza-nome.ratalia"], NumberText(u','));
    ASSERT_TRUE(std::holds_alternative<std::vector<Offer>>(unnamed));
    EXPECT_EQ(std::get<std::vector<Offer>>(unnamed).size(), 2u);

    // A full disk, a file that cannot be read, or one that holds something else, keeps what was there.
    const std::string before = files.files["a.ratalia"];
    files.full = true;
    const Outcome full = run({"--salva", "a.ratalia", "--capitale", "1000", "--mesi", "12", "--tasso", "5"}, files);
    EXPECT_EQ(full.status, exitNotWritten);
    EXPECT_EQ(full.errors.rfind("ratalia: Impossibile salvare le offerte in «a.ratalia».", 0), 0u) << full.errors;
    files.full = false;
    files.files["note.txt"] = "da non perdere";
    const Outcome other = run({"--salva", "note.txt", "--capitale", "1000", "--mesi", "12", "--tasso", "5"}, files);
    EXPECT_EQ(other.status, exitBadInput);
    EXPECT_EQ(files.files["note.txt"], "da non perdere");
    files.locked["chiuso.ratalia"] = "ratalia-offerte: 1\n";
    const Outcome locked =
        run({"--salva", "chiuso.ratalia", "--capitale", "1000", "--mesi", "12", "--tasso", "5"}, files);
    EXPECT_EQ(locked.errors, "ratalia: impossibile leggere «chiuso.ratalia»: l'offerta non è stata salvata.\n");
    EXPECT_EQ(files.files.count("chiuso.ratalia"), 0u);
    EXPECT_EQ(files.files["a.ratalia"], before);
}

} // namespace
} // namespace ratalia::test
