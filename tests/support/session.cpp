#include "support/session.h"

#include "loan/plan_request.h"

#include "support/names.h"

#include "numbers/input_normalizer.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace ratalia::test {
namespace {

const Text errorTitle = u"Errore";
const Text warningTitle = u"Avvertenza";

std::string ascii(const Text& text)
{
    std::string out;
    for (const char16_t c : text.substr(0, 40)) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buffer[12];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    if (text.size() > 40)
        out += "…(" + std::to_string(text.size()) + " units)";
    return out;
}

std::string fieldName(Field field) { return nameOf(field); }

bool isResultEmpty(const LoanForm& form)
{
    for (const Field field : resultsClearedByAnyChange)
        if (!form.text(field).empty())
            return false;
    return true;
}

// What the results must be, computed apart from the program's own steps: in
// long double, straight from the inputs. Empty when the inputs are not all
// usable numbers or the numbers leave the double range.
struct Expected {
    long double monthlyRate, installment, totalPaid, interest, installments;
};

std::optional<Expected> recompute(const NumberText& numbers, const Text (&typed)[3], bool months)
{
    Text normalized[3];
    for (int i = 0; i < 3; ++i) {
        normalized[i] = typed[i];
        for (char16_t& c : normalized[i])
            if (c == u'.' || c == u',')
                c = numbers.decimalSeparator();
    }
    const auto capital = numbers.tryToNumber(normalized[0]);
    const auto duration = numbers.tryToNumber(normalized[1]);
    const auto rate = numbers.tryToNumber(normalized[2]);
    if (!capital || !duration || !rate || *capital <= 0 || *duration < 1 || *rate < 0)
        return std::nullopt;
    const long double whole = std::floor(static_cast<long double>(*duration) + 0.5L);
    const long double n = months ? whole : whole * 12;
    const long double i = static_cast<long double>(*rate) / 1200;
    Expected e{};
    e.installments = n;
    e.monthlyRate = i;
    if (i == 0) {
        e.installment = *capital / n;
    } else {
        const long double growth = std::pow(1 + i, n);
        e.installment = *capital * i * growth / (growth - 1);
    }
    e.totalPaid = e.installment * n;
    e.interest = e.totalPaid - *capital;
    if (!std::isfinite(e.totalPaid) || !std::isfinite(e.installment) || e.totalPaid > 1e300 || n > 1e15 ||
        (i != 0 && (1 + static_cast<double>(i) == 1 || i * n < 1e-9)))
        return std::nullopt; // beyond what 15 shown digits can be compared on
    return e;
}

// Shown results pass through 15-digit texts at every step, and 1 + i in
// double precision keeps i only to about 1E-16 / i of itself: far closer than
// this to the exact value, and far from it when a formula is wrong.
bool close(long double shown, long double expected, long double scale, long double monthlyRate)
{
    const long double relative = 1e-9L + (monthlyRate > 0 ? 1e-15L / monthlyRate : 0);
    return std::fabs(shown - expected) <= 1e-9L + relative * std::fabs(scale);
}

} // namespace

std::string Action::describe() const
{
    std::ostringstream out;
    switch (kind) {
    case Kind::Type:
        out << "type " << fieldName(field) << " = \"" << ascii(text) << '"';
        break;
    case Kind::Insert:
        out << "insert \"" << ascii(text) << "\" into " << fieldName(field) << " at " << position;
        break;
    case Kind::Delete:
        out << "delete in " << fieldName(field) << " at " << position;
        break;
    case Kind::Choose:
        out << "choose " << (unit == DurationUnit::Months ? "mesi" : "anni");
        break;
    case Kind::Click:
        out << "click " << nameOf(button);
        break;
    }
    return out.str();
}

void Session::Recorder::show(const Text& message, const Text& title)
{
    messages.push_back(message);
    titles.push_back(title);
}

Session::Session(char16_t separator) : events_(NumberText(separator), recorder_, recorder_) { events_.load(); }

std::optional<std::string> Session::play(const Action& action)
{
    LoanForm& form = events_.form();
    const Text before = isInput(action.field) ? form.text(action.field) : Text();
    switch (action.kind) {
    case Action::Kind::Type:
    case Action::Kind::Insert:
    case Action::Kind::Delete: {
        Text text = before;
        if (action.kind == Action::Kind::Type) {
            text = action.text;
        } else if (action.kind == Action::Kind::Insert) {
            text.insert(text.empty() ? 0 : action.position % (text.size() + 1), action.text);
        } else if (!text.empty()) {
            text.erase(action.position % text.size(), 1);
        }
        // The normalizer keeps every text's length, whatever it holds.
        if (normalizedInput(text, form.numbers()).size() != text.size())
            return "the normalizer changed the length of \"" + ascii(text) + '"';

        const Text monthlyRate = form.text(Field::MonthlyRate);
        events_.edit(action.field, text);
        if (text != before) {
            if (!isResultEmpty(form) || form.isEnabled(Button::Round))
                return "results survived a change of " + fieldName(action.field);
            if (action.field == Field::AnnualRate ? !form.text(Field::MonthlyRate).empty()
                                                  : form.text(Field::MonthlyRate) != monthlyRate)
                return "the monthly rate was handled wrongly after a change of " + fieldName(action.field);
        }
        break;
    }
    case Action::Kind::Choose: {
        const bool changes = form.durationUnit() != action.unit;
        events_.choose(action.unit);
        if (changes && (!isResultEmpty(form) || form.isEnabled(Button::Round)))
            return std::string("results survived a change of unit");
        break;
    }
    case Action::Kind::Click: {
        if (!form.isEnabled(action.button))
            return checkAlways(); // a greyed-out button cannot be pressed
        const Text inputs[3] = {form.text(Field::Capital), form.text(Field::Duration), form.text(Field::AnnualRate)};
        const bool inMonths = form.inMonths();
        const std::size_t messagesBefore = recorder_.titles.size();
        events_.click(action.button);
        if (action.button == Button::Calculate) {
            if (auto broken = checkCalculation(inputs, inMonths, messagesBefore))
                return broken;
        } else if (recorder_.titles.size() != messagesBefore) {
            return std::string("a message box from a button other than Calcola");
        }
        break;
    }
    }
    return checkAlways();
}

std::optional<std::string> Session::checkCalculation(const Text (&inputs)[3], bool inMonths, std::size_t messagesBefore)
{
    const LoanForm& form = events_.form();
    const std::vector<Text> titles(recorder_.titles.begin() + static_cast<std::ptrdiff_t>(messagesBefore),
                                   recorder_.titles.end());
    const bool failed = !titles.empty() && titles.back() == errorTitle;
    const bool titlesValid = titles.empty() || titles == std::vector<Text>{warningTitle} ||
                             titles == std::vector<Text>{errorTitle} ||
                             titles == std::vector<Text>{warningTitle, errorTitle};
    if (!titlesValid)
        return std::string("unexpected message boxes after Calcola");
    if (failed) {
        if (!form.text(Field::Capital).empty() || !form.text(Field::Duration).empty())
            return std::string("the error left the capital or the duration filled");
        return std::nullopt;
    }
    for (const Field field :
         {Field::MonthlyRate, Field::Installment, Field::TotalPaid, Field::TotalInterest, Field::InstallmentCount})
        if (form.text(field).empty())
            return "Calcola ended without an error and without " + fieldName(field);
    if (!form.isEnabled(Button::Round))
        return std::string("Calcola gave results but Arrotonda stays disabled");
    if (auto broken = checkPlan())
        return broken;

    const NumberText& numbers = form.numbers();
    if (const auto expected = recompute(numbers, inputs, inMonths)) {
        const auto shown = [&](Field field) { return static_cast<long double>(numbers.toNumber(form.text(field))); };
        const long double n = expected->installments;
        const long double i = expected->monthlyRate;
        if (!close(shown(Field::InstallmentCount), n, n, 0) || !close(shown(Field::MonthlyRate), i, i, 0) ||
            !close(shown(Field::Installment), expected->installment, expected->installment, i) ||
            !close(shown(Field::TotalPaid), expected->totalPaid, expected->totalPaid, i) ||
            !close(shown(Field::TotalInterest), expected->interest, expected->totalPaid, i))
            return std::string("results differ from the recomputation: ") + ascii(form.text(Field::Installment)) + " " +
                   ascii(form.text(Field::TotalPaid)) + " " + ascii(form.text(Field::TotalInterest));
    }
    return std::nullopt;
}

// Whatever the inputs, a completed calculation has a plan or a reason why not,
// and a plan (kept short here, so that sessions stay fast) repays the debt
// row by row, ends at zero with totals that add up, and its last installment
// lies within one installment of the others.
std::optional<std::string> Session::checkPlan() const
{
    const auto terms = events_.planTerms();
    if (!terms)
        return std::string("Calcola gave results but no plan");
    const auto count = events_.form().numbers().tryToNumber(terms->installmentCount);
    if (!count || *count > 480)
        return std::nullopt;
    const auto outcome = amortizationPlan(*terms, events_.form().numbers());
    const auto* plan = std::get_if<AmortizationPlan>(&outcome);
    if (!plan)
        return std::nullopt;
    const auto& rows = plan->rows();
    const bool repays = std::all_of(rows.begin(), rows.end() - 1,
                                    [](const PlanRow& row) { return row.principal >= 0 && row.remainingDebt > 0; });
    const Cents last = rows.back().installment;
    if (rows.size() != static_cast<std::size_t>(*count) || rows.back().remainingDebt != 0 || !repays || last <= 0 ||
        last - plan->installment() >= plan->installment() || plan->totalPrincipal() != plan->capital() ||
        plan->totalInstallments() != plan->totalInterest() + plan->totalPrincipal())
        return "the plan of " + ascii(terms->capital) + " / " + ascii(terms->installmentCount) +
               " does not repay the debt row by row, or its totals do not add up";
    return std::nullopt;
}

std::optional<std::string> Session::checkAlways() const
{
    const LoanForm& form = events_.form();
    const bool allInputs = !form.text(Field::Capital).empty() && !form.text(Field::Duration).empty() &&
                           !form.text(Field::AnnualRate).empty();
    if (form.isEnabled(Button::Calculate) != allInputs)
        return std::string("Calcola is enabled while an input is empty, or the other way round");
    for (const Field field :
         {Field::MonthlyRate, Field::Installment, Field::TotalPaid, Field::TotalInterest, Field::InstallmentCount}) {
        const Text& text = form.text(field);
        if (!text.empty() && !form.numbers().tryToNumber(text))
            return fieldName(field) + " shows \"" + ascii(text) + "\", which is not a number";
    }
    return std::nullopt;
}

std::optional<std::string> playAll(char16_t separator, const std::vector<Action>& actions)
{
    Session session(separator);
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (auto broken = session.play(actions[i]))
            return "after action " + std::to_string(i + 1) + ": " + *broken;
    return std::nullopt;
}

std::vector<Action> shrink(char16_t separator, std::vector<Action> actions)
{
    bool dropped = true;
    while (dropped) {
        dropped = false;
        for (std::size_t i = actions.size(); i-- > 0;) {
            std::vector<Action> fewer = actions;
            fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(i));
            if (playAll(separator, fewer)) {
                actions = std::move(fewer);
                dropped = true;
            }
        }
    }
    return actions;
}

const std::vector<Text>& hostileTexts()
{
    // clang-format off
    static const std::vector<Text> texts{
        u"1E400", u"-1E400", u"1E-400", u"4.9E-324", u"1.7976931348623157E308", u"NaN", u"Inf", u"Infinity",
        u"--5", u"5-", u"+", u"1e", u"1e+", u".", u",", u"1,,5", u"0x10", u"1_000",
        u"\u0661\u0662", u"\uFF11\uFF12", u"1\u066B5", u"\u200F12\u200E", u"1\u200B2", Text(u"1\0" u"2", 3),
        u"\xD83D\xDCB0", u"\xD800", u"\xDC00" u"5", u"\uFFFD", u"1e308", u"1e-20", u"0", u"-0", u" ", u"",
        u"1.5e3", u"2,5", u"0.5", u"1e15", u"123456789012345678901234567890",
    };
    // clang-format on
    return texts;
}

} // namespace ratalia::test
