#include "numbers/amount_text.h"

#include <string>

namespace ratalia {
namespace {

// Through unsigned, so that the most negative amount has a magnitude too.
std::uint64_t magnitude(std::int64_t value)
{
    return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

// The decimal digits of a whole number, `group` between thousands (0: none).
Text digits(std::uint64_t value, char16_t group)
{
    const std::string plain = std::to_string(value);
    Text out;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (group != 0 && i > 0 && (plain.size() - i) % 3 == 0)
            out += group;
        out += static_cast<char16_t>(plain[i]);
    }
    return out;
}

} // namespace

AmountText::AmountText(char16_t decimalSeparator, char16_t groupSeparator)
    : decimal_(decimalSeparator), group_(groupSeparator)
{
}

Text AmountText::grouped(Cents amount) const { return written(amount, group_); }
Text AmountText::plain(Cents amount) const { return written(amount, 0); }

Text AmountText::whole(std::int64_t count) const
{
    Text out;
    if (count < 0)
        out += u'-';
    return out + digits(magnitude(count), group_);
}

Text AmountText::written(Cents amount, char16_t group) const
{
    const std::uint64_t cents = magnitude(amount);
    Text out;
    if (amount < 0)
        out += u'-';
    out += digits(cents / 100, group);
    out += decimal_;
    out += static_cast<char16_t>(u'0' + cents % 100 / 10);
    out += static_cast<char16_t>(u'0' + cents % 10);
    return out;
}

} // namespace ratalia
