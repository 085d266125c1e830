#pragma once

// The window's logical state, without a screen: the eight fields, the
// months/years choice and the buttons' enabled flags. Procedures read and
// write it; writing a new text into an input runs that input's change handler
// before the write returns, exactly as a text field on screen would; observers
// (the Qt window, tests) are told of every change so they can mirror it.

#include "loan/loan_terms.h"
#include "numbers/number_text.h"
#include "numbers/text.h"

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace ratalia {

enum class Field {
    Capital,
    Duration,
    AnnualRate,
    MonthlyRate,
    Installment,
    TotalPaid,
    TotalInterest,
    InstallmentCount
};
enum class Button { Calculate, Round, ResetRate };

inline constexpr std::size_t fieldCount = static_cast<std::size_t>(Field::InstallmentCount) + 1;
inline constexpr std::size_t buttonCount = static_cast<std::size_t>(Button::ResetRate) + 1;

constexpr bool isInput(Field field) { return field <= Field::AnnualRate; }

// The results every change of an input or of the unit empties, in the order
// they are emptied: all but the monthly rate, which only a new rate empties.
inline constexpr std::array resultsClearedByAnyChange{Field::Installment, Field::TotalPaid, Field::TotalInterest,
                                                      Field::InstallmentCount};
// The results that are amounts of money: what "&Arrotonda" rounds to cents.
inline constexpr std::array amountResults{Field::Installment, Field::TotalPaid, Field::TotalInterest};

// A modal message box: one OK button, no icon; returns once it is closed.
class ModalMessageBox {
public:
    virtual ~ModalMessageBox() = default;
    virtual void show(const Text& message, const Text& title) = 0;
};

// Runs the change handler of an input field.
class ChangeHandler {
public:
    virtual ~ChangeHandler() = default;
    virtual void inputChanged(Field field) = 0;
};

class FormObserver {
public:
    virtual ~FormObserver() = default;
    virtual void textChanged(Field field, const Text& text) = 0;
    virtual void unitChanged(DurationUnit unit) = 0;
    virtual void enabledChanged(Button button, bool enabled) = 0;
};

class LoanForm {
public:
    LoanForm(NumberText numbers, ModalMessageBox& messageBox, ChangeHandler& changeHandler);
    LoanForm(const LoanForm&) = delete;
    LoanForm& operator=(const LoanForm&) = delete;

    const Text& text(Field field) const { return texts_[index(field)]; }
    // Writing the text a field already holds changes nothing and runs nothing.
    void setText(Field field, Text text);
    // The field's text read as a number, as NumberText::toNumber reads it
    // (throws ConversionFailure). The calculation reads the same unchanged
    // text many times; each field keeps its last reading until it changes.
    double number(Field field) const;

    bool inMonths() const { return unit_ == DurationUnit::Months; }
    DurationUnit durationUnit() const { return unit_; }
    // Returns whether the choice changed.
    bool choose(DurationUnit unit);

    bool isEnabled(Button button) const { return enabled_[index(button)]; }
    void setEnabled(Button button, bool enabled);

    void showMessage(const Text& message, const Text& title) const { messageBox_.show(message, title); }

    const NumberText& numbers() const { return numbers_; }

    // Tells an observer the whole state, as if every part had just changed.
    void describeTo(FormObserver& observer) const;
    void addObserver(FormObserver& observer);
    void removeObserver(FormObserver& observer);

private:
    template <typename E> static constexpr std::size_t index(E e) { return static_cast<std::size_t>(e); }

    NumberText numbers_;
    ModalMessageBox& messageBox_;
    ChangeHandler& changeHandler_;
    // A field's text read as a number, once: nothing when it is not a number.
    struct Reading {
        std::optional<double> value;
    };

    std::array<Text, fieldCount> texts_;
    mutable std::array<std::optional<Reading>, fieldCount> readings_; // none until read since the last change
    DurationUnit unit_ = DurationUnit::Months;
    std::array<bool, buttonCount> enabled_{false, false, true};
    std::vector<FormObserver*> observers_;
};

} // namespace ratalia
