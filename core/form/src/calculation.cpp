#include "calculation.h"

#include "numbers/annuity.h"

#include "form/loan_form.h"
#include "form/program_texts.h"
#include "numbers/failures.h"
#include "numbers/input_normalizer.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace ratalia {
namespace {

const Text errorTitle = u"Errore";
const Text warningTitle = u"Avvertenza";
const Text monthsWarning = u"Il valore rappresentante i numeri dei mesi verrà arrotondato, ovvero al posto di";
const Text yearsWarning = u"Il valore rappresentante i numeri degl'anni verrà arrotondato, ovvero al posto di";
const Text roundedTo = u" sarà preso in considerazione il valore di";

double checked(double value)
{
    if (!std::isfinite(value))
        throw ArithmeticFailure();
    return value;
}

// The number of monthly installments. In months it is the duration's own
// text, so the result field shows exactly what the user typed; in years it
// is a number of its own. Until it is set it is empty, and reading it as a
// number fails like reading an empty field.
class InstallmentNumber {
public:
    void setMonths(Text durationText)
    {
        text_ = std::move(durationText);
        number_.reset();
    }
    void setYears(double installments, const NumberText& numbers)
    {
        number_ = installments;
        text_ = numbers.localeText(installments);
    }
    const Text& text() const { return text_; }
    double number(const NumberText& numbers) const { return number_ ? *number_ : numbers.toNumber(text_); }

private:
    Text text_;
    std::optional<double> number_;
};

// The steps in the order they run. A step that fails on arithmetic is
// skipped and the next one runs, leaving its field as it was.
enum class Step {
    RejectCapital,
    RejectDuration,
    RejectRate,
    FractionTest,
    BuildWarning,
    ShowWarning,
    RoundDuration,
    CountInstallments,
    RateTest,
    ZeroMonthlyRate,
    ZeroInstallments,
    ZeroInstallment,
    ZeroTotalPaid,
    ZeroTotalInterest,
    MonthlyRate,
    Installment,
    TotalPaid,
    TotalInterest,
    Installments,
    FormatMonthlyRate,
    FormatInstallment,
    FormatTotalPaid,
    FormatTotalInterest,
    EnableRounding,
    End,
};

Step following(Step step)
{
    if (step == Step::ZeroTotalInterest)
        return Step::FormatMonthlyRate;
    return static_cast<Step>(static_cast<int>(step) + 1);
}

class InstallmentCalculation {
public:
    explicit InstallmentCalculation(LoanForm& form) : form_(form), numbers_(form.numbers()) {}

    CalculationOutcome run()
    {
        normalize(Field::Capital);
        normalize(Field::Duration);
        normalize(Field::AnnualRate);

        Step step = Step::RejectCapital;
        while (step != Step::End) {
            try {
                step = execute(step);
            } catch (const ArithmeticFailure&) {
                step = following(step);
            } catch (const ConversionFailure&) {
                form_.showMessage(Text(texts::wrongData), errorTitle);
                form_.setText(Field::Capital, {});
                form_.setText(Field::Duration, {});
                return {std::nullopt, installments_.text()};
            }
        }
        return {calculatedFigures(), installments_.text()};
    }

private:
    void normalize(Field field) { form_.setText(field, normalizedInput(form_.text(field), numbers_)); }

    double number(Field field) const { return form_.number(field); }
    void write(Field field, double value) { form_.setText(field, numbers_.localeText(checked(value))); }
    void format(Field field) { form_.setText(field, numbers_.patternText(form_.text(field), Pattern::TenDecimals)); }

    Step execute(Step step)
    {
        switch (step) {
        case Step::RejectCapital:
            if (number(Field::Capital) <= 0)
                form_.setText(Field::Capital, {});
            break;
        case Step::RejectDuration:
            if (number(Field::Duration) < 1)
                form_.setText(Field::Duration, {});
            break;
        case Step::RejectRate:
            if (number(Field::AnnualRate) < 0)
                form_.setText(Field::AnnualRate, {});
            break;
        case Step::FractionTest:
            if (checked(std::floor(number(Field::Duration)) - number(Field::Duration)) != 0)
                return Step::BuildWarning;
            return Step::CountInstallments;
        case Step::BuildWarning:
            warning_ = (form_.inMonths() ? monthsWarning : yearsWarning) +
                       numbers_.plainText(form_.text(Field::Duration)) + roundedTo +
                       numbers_.plainText(roundedDuration());
            break;
        case Step::ShowWarning:
            form_.showMessage(warning_, warningTitle);
            break;
        case Step::RoundDuration:
            form_.setText(Field::Duration, roundedDuration());
            break;
        case Step::CountInstallments:
            if (form_.inMonths())
                installments_.setMonths(form_.text(Field::Duration));
            else
                installments_.setYears(checked(number(Field::Duration) * 12), numbers_);
            break;
        case Step::RateTest:
            return number(Field::AnnualRate) == 0 ? Step::ZeroMonthlyRate : Step::MonthlyRate;
        case Step::ZeroMonthlyRate:
            form_.setText(Field::MonthlyRate, u"0");
            break;
        case Step::ZeroInstallments:
        case Step::Installments:
            form_.setText(Field::InstallmentCount, installments_.text());
            break;
        case Step::ZeroInstallment:
            write(Field::Installment, number(Field::Capital) / number(Field::InstallmentCount));
            break;
        case Step::ZeroTotalPaid:
        case Step::TotalPaid:
            write(Field::TotalPaid, number(Field::Installment) * installments_.number(numbers_));
            break;
        case Step::ZeroTotalInterest:
        case Step::TotalInterest:
            write(Field::TotalInterest, number(Field::TotalPaid) - number(Field::Capital));
            break;
        case Step::MonthlyRate:
            write(Field::MonthlyRate, checked(number(Field::AnnualRate) / 100) / 12);
            break;
        case Step::Installment:
            write(Field::Installment, installment());
            break;
        case Step::FormatMonthlyRate:
            usedMonthlyRate_ = form_.text(Field::MonthlyRate);
            format(Field::MonthlyRate);
            break;
        case Step::FormatInstallment:
            format(Field::Installment);
            break;
        case Step::FormatTotalPaid:
            format(Field::TotalPaid);
            break;
        case Step::FormatTotalInterest:
            format(Field::TotalInterest);
            break;
        case Step::EnableRounding:
            if (std::any_of(resultsClearedByAnyChange.begin(), resultsClearedByAnyChange.end(),
                            [&](Field field) { return !form_.text(field).empty(); }))
                form_.setEnabled(Button::Round, true);
            break;
        case Step::End:
            break;
        }
        return following(step);
    }

    std::optional<CalculatedFigures> calculatedFigures()
    {
        const bool complete = !form_.text(Field::MonthlyRate).empty() &&
                              std::none_of(resultsClearedByAnyChange.begin(), resultsClearedByAnyChange.end(),
                                           [&](Field f) { return form_.text(f).empty(); });
        if (!complete)
            return std::nullopt;
        return CalculatedFigures{std::move(usedMonthlyRate_), form_.text(Field::Installment)};
    }

    Text roundedDuration() const { return numbers_.patternText(form_.text(Field::Duration), Pattern::Whole); }

    // C × (i × (1 + i)^N) ÷ ((1 + i)^N − 1), evaluated in this order so that
    // every intermediate overflow or division by zero is caught.
    double installment() const
    {
        const double n = installments_.number(numbers_);
        // Below 1E-7 the double 1 + i has lost too many of i's digits for the
        // formula: the installment is worked out exactly in i instead. Where
        // 1 + i is 1, the formula divides by zero as it always did.
        const double rate = number(Field::MonthlyRate);
        if (rate > 0 && rate < 1E-7 && rate + 1 != 1 && n >= 1 && std::floor(n) == n)
            return smallRateInstallment(number(Field::Capital), rate, n);

        const double a = checked(number(Field::MonthlyRate) + 1);
        const double p = checked(exactPower(a, n));
        const double m = checked(number(Field::MonthlyRate) * p);
        // The denominator's (1 + i)^N reads the same text again: it is p.
        const double s = checked(p - 1);
        const double r = checked(m / s);
        return checked(r * number(Field::Capital));
    }

    LoanForm& form_;
    const NumberText& numbers_;
    InstallmentNumber installments_;
    Text warning_;         // built, then shown, in two steps of their own
    Text usedMonthlyRate_; // every digit, before the rate is shown with ten
};

} // namespace

CalculationOutcome calculate(LoanForm& form) { return InstallmentCalculation(form).run(); }

} // namespace ratalia
