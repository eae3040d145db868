// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <clocale>
#if defined(_WIN32)
#include <windows.h>
#endif

#include "app/title.h"
#if !defined(_WIN32)
#include "support/locale_environment.h"
#endif

static std::string Title(double fps, const char* separator = ".")
{
    std::string title;
    FormatTitle(title, fps, separator);
    return title;
}

TEST(Title, RoundsHalfAwayFromZeroToOneDigit)
{
    EXPECT_EQ(Title(0), "Tarnwick Alpha (0.0 FPS)");
    EXPECT_EQ(Title(0.25), "Tarnwick Alpha (0.3 FPS)");
    EXPECT_EQ(Title(0.75), "Tarnwick Alpha (0.8 FPS)");
    EXPECT_EQ(Title(100.25), "Tarnwick Alpha (100.3 FPS)");
    EXPECT_EQ(Title(59.94), "Tarnwick Alpha (59.9 FPS)");
    EXPECT_EQ(Title(59.96), "Tarnwick Alpha (60.0 FPS)");
    EXPECT_EQ(Title(0.15), "Tarnwick Alpha (0.1 FPS)") << "0.15 is stored just below the half";
    EXPECT_EQ(Title(0.35), "Tarnwick Alpha (0.3 FPS)") << "0.35 is stored just below the half";
    EXPECT_EQ(Title(0.45), "Tarnwick Alpha (0.5 FPS)") << "0.45 is stored just above the half";
}

TEST(Title, WritesTheLocaleSeparatorAndNoGrouping)
{
    EXPECT_EQ(Title(59.94, ","), "Tarnwick Alpha (59,9 FPS)");
    EXPECT_EQ(Title(1234567.25, ","), "Tarnwick Alpha (1234567,3 FPS)");
    EXPECT_EQ(Title(2147483647.0), "Tarnwick Alpha (2147483647.0 FPS)");
}

// The separator comes back whole as UTF-8: two bytes for U+066B, the Arabic decimal separator.
static const std::string ArabicSeparator = "\xD9\xAB";

#if defined(_WIN32)

TEST(Title, ReadsTheSeparatorFromTheRegionalSettings)
{
    EXPECT_EQ(ReadDecimalSeparator("fr-FR"), ",");
    EXPECT_EQ(ReadDecimalSeparator("de-DE"), ",");
    EXPECT_EQ(ReadDecimalSeparator(""), ".") << "the invariant locale";
    EXPECT_EQ(ReadDecimalSeparator("no-SUCH-locale"), ".") << "an unknown locale gives the default";
}

// No locale of Windows' own tables has a separator outside ASCII, but a user may set one in the
// regional settings: set it for the test, then put the user's own back.
TEST(Title, KeepsAUsersTwoByteSeparatorWhole)
{
    wchar_t own[8] = L"";
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, own, 8), 0);
    ASSERT_NE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L"\u066B"), 0);
    const std::string separator = ReadDecimalSeparator();
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, own);
    EXPECT_EQ(separator, ArabicSeparator);
}

#else

TEST(Title, ReadsTheSeparatorFromTheEnvironmentWithoutSwitchingLocale)
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
