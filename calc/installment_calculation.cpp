#include "calc/installment_calculation.h"

#include "calc/annuity.h"

#include "model/form1.h"
#include "model/input_normalizer.h"
#include "model/run_time_error.h"

#include <cmath>
#include <optional>
#include <utility>

namespace ratalia {
namespace {

const Text errorTitle = u"Errore";
const Text errorMessage = u"Sono stati inseriti uno o più dati errati";
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
class NumeroRate {
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
    explicit InstallmentCalculation(Form1& form) : form_(form), numbers_(form.numbers()) {}

    void run()
    {
        normalize(Field::Text1);
        normalize(Field::Text2);
        normalize(Field::Text3);

        Step step = Step::RejectCapital;
        while (step != Step::End) {
            try {
                step = execute(step);
            } catch (const ArithmeticFailure&) {
                step = following(step);
            } catch (const ConversionFailure&) {
                form_.showMessage(errorMessage, errorTitle);
                form_.setText(Field::Text1, {});
                form_.setText(Field::Text2, {});
                return;
            }
        }
    }

private:
    void normalize(Field field)
    {
        form_.values().DatoInEntrata = form_.text(field);
        ModificatoreDatiInEntrata_(form_);
        form_.setText(field, form_.values().DatoInUscita);
    }

    double number(Field field) const { return form_.number(field); }
    void write(Field field, double value) { form_.setText(field, numbers_.localeText(checked(value))); }
    void format(Field field) { form_.setText(field, numbers_.patternText(form_.text(field), Pattern::TenDecimals)); }

    Step execute(Step step)
    {
        switch (step) {
        case Step::RejectCapital:
            if (number(Field::Text1) <= 0)
                form_.setText(Field::Text1, {});
            break;
        case Step::RejectDuration:
            if (number(Field::Text2) < 1)
                form_.setText(Field::Text2, {});
            break;
        case Step::RejectRate:
            if (number(Field::Text3) < 0)
                form_.setText(Field::Text3, {});
            break;
        case Step::FractionTest:
            if (checked(std::floor(number(Field::Text2)) - number(Field::Text2)) != 0)
                return Step::BuildWarning;
            return Step::CountInstallments;
        case Step::BuildWarning:
            form_.values().Messaggio = (form_.option1Selected() ? monthsWarning : yearsWarning) +
                                       numbers_.plainText(form_.text(Field::Text2)) + roundedTo +
                                       numbers_.plainText(roundedDuration());
            break;
        case Step::ShowWarning:
            form_.showMessage(form_.values().Messaggio, warningTitle);
            break;
        case Step::RoundDuration:
            form_.setText(Field::Text2, roundedDuration());
            break;
        case Step::CountInstallments:
            if (form_.option1Selected())
                installments_.setMonths(form_.text(Field::Text2));
            else
                installments_.setYears(checked(number(Field::Text2) * 12), numbers_);
            break;
        case Step::RateTest:
            return number(Field::Text3) == 0 ? Step::ZeroMonthlyRate : Step::MonthlyRate;
        case Step::ZeroMonthlyRate:
            form_.setText(Field::Text4, u"0");
            break;
        case Step::ZeroInstallments:
        case Step::Installments:
            form_.setText(Field::Text8, installments_.text());
            break;
        case Step::ZeroInstallment:
            write(Field::Text5, number(Field::Text1) / number(Field::Text8));
            break;
        case Step::ZeroTotalPaid:
        case Step::TotalPaid:
            write(Field::Text6, number(Field::Text5) * installments_.number(numbers_));
            break;
        case Step::ZeroTotalInterest:
        case Step::TotalInterest:
            write(Field::Text7, number(Field::Text6) - number(Field::Text1));
            break;
        case Step::MonthlyRate:
            write(Field::Text4, checked(number(Field::Text3) / 100) / 12);
            break;
        case Step::Installment:
            write(Field::Text5, installment());
            break;
        case Step::FormatMonthlyRate:
            format(Field::Text4);
            break;
        case Step::FormatInstallment:
            format(Field::Text5);
            break;
        case Step::FormatTotalPaid:
            format(Field::Text6);
            break;
        case Step::FormatTotalInterest:
            format(Field::Text7);
            break;
        case Step::EnableRounding:
            if (!form_.text(Field::Text5).empty() || !form_.text(Field::Text6).empty() ||
                !form_.text(Field::Text7).empty() || !form_.text(Field::Text8).empty())
                form_.setEnabled(Button::Command2, true);
            break;
        case Step::End:
            break;
        }
        return following(step);
    }

    Text roundedDuration() const { return numbers_.patternText(form_.text(Field::Text2), Pattern::Whole); }

    // C × (i × (1 + i)^N) ÷ ((1 + i)^N − 1), evaluated in this order so that
    // every intermediate overflow or division by zero is caught.
    double installment() const
    {
        const double n = installments_.number(numbers_);
        // Below 1E-7 the double 1 + i has lost too many of i's digits for the
        // formula: the installment is worked out exactly in i instead. Where
        // 1 + i is 1, the formula divides by zero as it always did.
        const double rate = number(Field::Text4);
        if (rate > 0 && rate < 1E-7 && rate + 1 != 1 && n >= 1 && std::floor(n) == n)
            return smallRateInstallment(number(Field::Text1), rate, n);

        const double a = checked(number(Field::Text4) + 1);
        const double b = checked(number(Field::Text4) + 1);
        const double p = checked(std::pow(a, n));
        const double m = checked(number(Field::Text4) * p);
        const double q = checked(std::pow(b, n));
        const double s = checked(q - 1);
        const double r = checked(m / s);
        return checked(r * number(Field::Text1));
    }

    Form1& form_;
    const NumberText& numbers_;
    NumeroRate installments_;
};

} // namespace

void Command1_Click(Form1& form)
{
    InstallmentCalculation(form).run();
}

} // namespace ratalia
