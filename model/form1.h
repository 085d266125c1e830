#pragma once

// The window's logical state, without a screen. Form1 holds the eight fields,
// the months/years option pair, the buttons' enabled flags and the working
// values the procedures keep between runs. Procedures (calc/, window/) read
// and write it; writing a new text into an input runs that input's change
// handler before the write returns, exactly as a text field on screen would;
// observers (the Qt window, tests) are told of every change so they can mirror it.

#include "model/number_text.h"
#include "model/text.h"

#include <array>
#include <optional>
#include <vector>

namespace ratalia {

enum class Field { Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8 };
enum class Button { Command1, Command2, Command3 };
enum class Option { Option1, Option2 };

constexpr bool isInput(Field field) { return field <= Field::Text3; }

// A modal message box: one OK button, no icon; returns once it is closed.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const Text& message, const Text& title) = 0;
};

// Runs the change handler of an input field (Text1…Text3).
class ChangeHandler {
public:
    virtual ~ChangeHandler() = default;
    virtual void inputChanged(Field field) = 0;
};

class FormObserver {
public:
    virtual ~FormObserver() = default;
    virtual void textChanged(Field field, const Text& text) = 0;
    virtual void optionChanged(Option selected) = 0;
    virtual void enabledChanged(Button button, bool enabled) = 0;
};

// Values the procedures share and keep from one use to the next.
struct WorkingValues {
    Text DatoInEntrata;
    Text DatoInUscita;
    Text Carattere;
    int Posizione = 0;
    Text Messaggio;
};

class Form1 {
public:
    Form1(NumberText numbers, MessageBox& messageBox, ChangeHandler& changeHandler);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    const Text& text(Field field) const { return texts_[index(field)]; }
    // Writing the text a field already holds changes nothing and runs nothing.
    void setText(Field field, Text text);
    // The field's text read as a number, as NumberText::toNumber reads it
    // (throws ConversionFailure). The calculation reads the same unchanged
    // text many times; each field keeps its last reading until it changes.
    double number(Field field) const;

    bool option1Selected() const { return option_ == Option::Option1; }
    Option selectedOption() const { return option_; }
    // Returns whether the selection changed.
    bool select(Option option);

    bool isEnabled(Button button) const { return enabled_[index(button)]; }
    void setEnabled(Button button, bool enabled);

    void showMessage(const Text& message, const Text& title) const { messageBox_.show(message, title); }

    const NumberText& numbers() const { return numbers_; }
    WorkingValues& values() { return values_; }
    const WorkingValues& values() const { return values_; }

    void addObserver(FormObserver& observer);
    void removeObserver(FormObserver& observer);

private:
    template <typename E> static constexpr std::size_t index(E e) { return static_cast<std::size_t>(e); }

    NumberText numbers_;
    MessageBox& messageBox_;
    ChangeHandler& changeHandler_;
    std::array<Text, 8> texts_;
    mutable std::array<std::optional<std::optional<double>>, 8> readings_;
    Option option_ = Option::Option1;
    std::array<bool, 3> enabled_{false, false, true};
    WorkingValues values_;
    std::vector<FormObserver*> observers_;
};

} // namespace ratalia
