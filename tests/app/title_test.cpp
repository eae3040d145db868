// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "app/title.h"

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
