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

// Run by CTest once per locale, with LC_ALL and the separator expected for it.
TEST(RegionalSettingsTest, system_locale_gives_the_separator)
{
    const QString expected = qEnvironmentVariable("RATALIA_EXPECTED_SEPARATOR");
    if (expected.isEmpty())
        GTEST_SKIP() << "run by CTest with a locale";
    EXPECT_EQ(regionalDecimalSeparator(), expected.at(0).unicode());
}

} // namespace
} // namespace ratalia::test
