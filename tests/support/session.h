#pragma once

// Whole sessions of user actions on the program without a screen, and the
// rules that must hold after every action whatever the user did. Shared by
// the random-use test and the session fuzzer; plain C++, no test framework.

#include "form/form_events.h"
#include "form/link_opener.h"
#include "form/loan_form.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ratalia::test {

struct Action {
    enum class Kind { Type, Insert, Delete, Choose, Click };
    Kind kind = Kind::Type;
    Field field = Field::Capital; // Type, Insert, Delete
    Text text;                    // Type: the whole new text; Insert: what is inserted
    std::size_t position = 0;     // Insert, Delete: where, wrapped to the text's length
    DurationUnit unit = DurationUnit::Months;
    Button button = Button::Calculate;

    std::string describe() const;
};

// Plays actions on a fresh window model and checks the rules after each one.
class Session {
public:
    explicit Session(char16_t separator);

    // Returns a description of the first broken rule, if any.
    std::optional<std::string> play(const Action& action);
    const LoanForm& form() const { return events_.form(); }

private:
    class Recorder : public ModalMessageBox, public LinkOpener {
    public:
        void show(const Text& message, const Text& title) override;
        void open(const std::string&) override {}
        std::vector<Text> titles;
        std::vector<Text> messages;
    };

    std::optional<std::string> checkCalculation(const Text (&inputs)[3], bool inMonths, std::size_t messagesBefore);
    std::optional<std::string> checkAlways() const;
    std::optional<std::string> checkPlan() const;

    Recorder recorder_;
    FormEvents events_;
};

// Plays a whole sequence; on a broken rule returns its description.
std::optional<std::string> playAll(char16_t separator, const std::vector<Action>& actions);

// The shortest sequence found by dropping actions one at a time that still breaks a rule.
std::vector<Action> shrink(char16_t separator, std::vector<Action> actions);

// Texts that users and pastes may bring, hostile ones included.
const std::vector<Text>& hostileTexts();

} // namespace ratalia::test
