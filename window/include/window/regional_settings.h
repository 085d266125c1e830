#pragma once

#include <QLocale>

namespace ratalia {

// The decimal separator of the user's regional settings (LC_ALL, LC_NUMERIC, LANG).
inline char16_t regionalDecimalSeparator(const QLocale& locale = QLocale::system())
{
    return locale.decimalPoint().at(0).unicode();
}

// The separator of thousands in amounts, or 0 where the region uses none.
inline char16_t regionalGroupSeparator(const QLocale& locale = QLocale::system())
{
    const QString group = locale.groupSeparator();
    return group.isEmpty() ? char16_t{0} : group.at(0).unicode();
}

} // namespace ratalia
