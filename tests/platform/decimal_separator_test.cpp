// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <clocale>
#if defined(_WIN32)
#include <windows.h>
#endif

#include "platform/decimal_separator.h"
#if !defined(_WIN32)
#include "support/locale_environment.h"
#endif

// The separator comes back whole as UTF-8: two bytes for U+066B, the Arabic decimal separator.
static const std::string ArabicSeparator = "\xD9\xAB";

#if defined(_WIN32)

TEST(DecimalSeparator, ReadsTheSeparatorFromTheRegionalSettings)
{
    EXPECT_EQ(ReadDecimalSeparator("fr-FR"), ",");
    EXPECT_EQ(ReadDecimalSeparator("de-DE"), ",");
    EXPECT_EQ(ReadDecimalSeparator(""), ".") << "the invariant locale";
    EXPECT_EQ(ReadDecimalSeparator("no-SUCH-locale"), ".") << "an unknown locale gives the default";
}

// No locale of Windows' own tables has a separator outside ASCII, but a user may set one in the
// regional settings: set it for the test, then put the user's own back.
TEST(DecimalSeparator, KeepsAUsersTwoByteSeparatorWhole)
{
    wchar_t own[8] = L"";
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, own, 8), 0);
    ASSERT_NE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L"\u066B"), 0);
    const std::string separator = ReadDecimalSeparator();
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, own);
    EXPECT_EQ(separator, ArabicSeparator);
}

#else

TEST(DecimalSeparator, ReadsTheSeparatorFromTheEnvironmentWithoutSwitchingLocale)
{
    const std::string processLocale = std::setlocale(LC_NUMERIC, nullptr);
    auto separatorUnder = [](const char* locale) {
        const TScopedLocale scoped(locale);
        return ReadDecimalSeparator();
    };
    EXPECT_EQ(separatorUnder("C"), ".");
    EXPECT_EQ(separatorUnder("C.UTF-8"), ".");
    EXPECT_EQ(separatorUnder("no_SUCH.locale"), ".") << "an unknown locale gives the default";
    EXPECT_EQ(separatorUnder("fr_FR.UTF-8"), ",");
    EXPECT_EQ(separatorUnder("de_DE.UTF-8"), ",");
    EXPECT_EQ(separatorUnder("ps_AF.UTF-8"), ArabicSeparator);
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), processLocale) << "the process's own locale is untouched";
}

#endif
