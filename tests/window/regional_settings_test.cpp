#include "window/regional_settings.h"

#include <QString>

#include <gtest/gtest.h>

namespace ratalia::test {
namespace {

TEST(RegionalSettingsTest, locales_give_their_decimal_separator)
{
    EXPECT_EQ(regionalDecimalSeparator(QLocale(QStringLiteral("it_IT"))), u',');
    EXPECT_EQ(regionalDecimalSeparator(QLocale(QStringLiteral("en_US"))), u'.');
    EXPECT_EQ(regionalDecimalSeparator(QLocale(QStringLiteral("de_CH"))), u'.');
    EXPECT_EQ(regionalDecimalSeparator(QLocale(QStringLiteral("ar_EG"))), u'\u066B');
}

// CTest runs this once per locale with LC_ALL and the separator expected for
// it; otherwise LC_ALL alone says what to expect.
TEST(RegionalSettingsTest, system_locale_gives_the_separator)
{
    QString expected = qEnvironmentVariable("RATALIA_EXPECTED_SEPARATOR");
    if (expected.isEmpty())
        expected = QLocale(qEnvironmentVariable("LC_ALL", QStringLiteral("C"))).decimalPoint();
    EXPECT_EQ(regionalDecimalSeparator(), expected.at(0).unicode());
}

} // namespace
} // namespace ratalia::test
