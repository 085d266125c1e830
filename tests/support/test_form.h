#pragma once

// Drives the program without a screen: the event table with a message box
// that records instead of waiting, and a link opener that records targets.

#include "form/form_events.h"
#include "form/link_opener.h"
#include "form/loan_form.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace ratalia::test {

struct ShownMessage {
    Text message;
    Text title;
    bool operator==(const ShownMessage&) const = default;
};

class RecordingMessageBox : public ModalMessageBox {
public:
    void show(const Text& message, const Text& title) override { shown.push_back({message, title}); }
    std::vector<ShownMessage> shown;
};

class RecordingLinkOpener : public LinkOpener {
public:
    void open(const std::string& target) override { opened.push_back(target); }
    std::vector<std::string> opened;
};

// Writes a number text for the given region: every "," in `italian` becomes the separator.
inline Text regional(TextView italian, char16_t separator)
{
    Text out(italian);
    for (char16_t& c : out)
        if (c == u',')
            c = separator;
    return out;
}

// The separators every table runs under: the two usual ones and one that is
// neither, so that nothing can silently assume "," or ".".
inline const std::vector<char16_t>& separators()
{
    static const std::vector<char16_t> all{u',', u'.', u'\u066B'};
    return all;
}

inline std::string separatorName(const testing::TestParamInfo<char16_t>& info)
{
    switch (info.param) {
    case u',':
        return "comma";
    case u'.':
        return "point";
    default:
        return "arabic";
    }
}

class TestForm {
public:
    explicit TestForm(char16_t separator, bool loaded = true)
        : events(NumberText(separator), messages, links), separator_(separator)
    {
        if (loaded)
            events.load();
    }

    LoanForm& form() { return events.form(); }
    const Text& text(Field field) { return events.form().text(field); }
    Text regional(TextView italian) const { return test::regional(italian, separator_); }
    void type(Field field, TextView italian) { events.edit(field, regional(italian)); }
    void fill(TextView capital, TextView duration, TextView rate)
    {
        type(Field::Capital, capital);
        type(Field::Duration, duration);
        type(Field::AnnualRate, rate);
    }

    RecordingMessageBox messages;
    RecordingLinkOpener links;
    FormEvents events;

private:
    char16_t separator_;
};

} // namespace ratalia::test
