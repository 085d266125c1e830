#pragma once

#include <QString>

#include <string_view>

namespace ratalia {

// A text of the core (UTF-16, like QString) as Qt shows it.
inline QString qtText(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace ratalia
