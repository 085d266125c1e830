// Prints what the window shows for a few thousand seeded loans, after Calcola
// and after Arrotonda, so that two builds of the program can be compared byte
// for byte.

#include "support/silent.h"

#include "form/form_events.h"

#include <cstdio>
#include <random>
#include <string>

using namespace ratalia;

namespace {

std::string utf8(const Text& text)
{
    std::string out;
    for (const char16_t unit : text)
        out += static_cast<char>(unit < 0x80 ? unit : '?');
    return out;
}

} // namespace

int main(int argc, char* argv[])
{
    const int loans = argc > 1 ? std::stoi(argv[1]) : 3000;
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<int> cents(100, 100000000);
    std::uniform_int_distribution<int> months(1, 480);
    std::uniform_int_distribution<int> basisPoints(0, 3000);
    test::Silent silent;
    for (int loan = 0; loan < loans; ++loan) {
        FormEvents events(NumberText(u','), silent, silent);
        events.load();
        const int capital = cents(random);
        const int count = months(random);
        const int rate = basisPoints(random);
        auto text = [](const std::string& s) { return Text(s.begin(), s.end()); };
        events.edit(Field::Capital, text(std::to_string(capital / 100) + "," + std::to_string(capital % 100)));
        events.edit(Field::Duration, text(std::to_string(count)));
        events.edit(Field::AnnualRate, text(std::to_string(rate / 100) + "," + std::to_string(rate % 100)));
        events.click(Button::Calculate);
        std::string line;
        for (int field = 0; field < 8; ++field)
            line += utf8(events.form().text(static_cast<Field>(field))) + ';';
        events.click(Button::Round);
        for (const Field field : {Field::Installment, Field::TotalPaid, Field::TotalInterest})
            line += utf8(events.form().text(field)) + ';';
        std::printf("%s\n", line.c_str());
    }
}
