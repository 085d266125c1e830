#pragma once

#include <QLocale>

namespace ratalia {

// The decimal separator of the user's regional settings (LC_ALL, LC_NUMERIC, LANG).
inline char16_t regionalDecimalSeparator(const QLocale& locale = QLocale::system())
{
    return locale.decimalPoint().at(0).unicode();
}

} // namespace ratalia
