// SPDX-License-Identifier: MIT
#include "net/HttpDate.h"

#include <gtest/gtest.h>

namespace corvida {
namespace {

TEST(HttpDateTest, ReadsTheThreeFormsAlike) {
    EXPECT_EQ(HttpDate::parse("Sun, 06 Nov 1994 08:49:37 GMT"), 784111777);
    EXPECT_EQ(HttpDate::parse("Sunday, 06-Nov-94 08:49:37 GMT"), 784111777);
    EXPECT_EQ(HttpDate::parse("Sun Nov  6 08:49:37 1994"), 784111777);
    EXPECT_EQ(HttpDate::parse("  sun, 06 NOVEMBER 1994 08:49:37 GMT"), 784111777);
    EXPECT_EQ(HttpDate::parse("Thu, 01 Jan 1970 00:00:00 GMT"), 0);
}

TEST(HttpDateTest, LeapDayCountsFromMarchOn) {
    const std::int32_t leapDay = HttpDate::parse("Thu, 29 Feb 1996 00:00:00 GMT");
    EXPECT_EQ(HttpDate::parse("Fri, 01 Mar 1996 00:00:00 GMT") - leapDay, 86400);
    EXPECT_EQ(leapDay, 825552000);
    EXPECT_EQ(HttpDate::parse("Wed, 01 Mar 2000 00:00:00 GMT"), 951868800); // 2000 is a leap year
}

TEST(HttpDateTest, IncompleteTextsGiveHarmlessTimes) {
    // Missing clock parts count as -1; seconds must be followed by a space to count.
    EXPECT_EQ(HttpDate::parse("Sun, 06 Nov 1994 08:49:37"), 784111777 - 37 - 1);
    EXPECT_EQ(HttpDate::parse("Sun, 06 Xyz 1994 00:00:00 GMT"), HttpDate::parse("Sun, 06 Jan 1994 00:00:00 GMT"));
    // A date without weekday and comma is read in the third form and comes out wrong, harmlessly.
    EXPECT_NE(HttpDate::parse("29 Feb 1996"), 825552000);
    EXPECT_EQ(HttpDate::parse(""), ((-1 * 24 + 0) * 60 - 1) * 60 - 1);
}

TEST(HttpDateTest, TimesOutside32BitsGiveMinusOne) {
    EXPECT_EQ(HttpDate::parse("Tue, 19 Jan 2038 03:14:07 GMT"), 2147483647);
    EXPECT_EQ(HttpDate::parse("Tue, 19 Jan 2038 03:14:08 GMT"), -1);
    EXPECT_EQ(HttpDate::parse("Sun, 99999999999999999999 Nov 1994 08:49:37 GMT"), -1);
    EXPECT_EQ(HttpDate::parse("Sun, 06 Nov 1994 99999999999999:49:37 GMT"), -1);
}

TEST(HttpDateTest, WritesGmtAndRefusesNegativeTimes) {
    EXPECT_EQ(HttpDate::format(784111777), "Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(HttpDate::format(951868799), "Tue, 29 Feb 2000 23:59:59 GMT");
    EXPECT_EQ(HttpDate::format(-2147483647 - 1), "Invalid Date");
    for (const std::int32_t time : {0, 86399, 68169600, 784111777, 951782400, 1700000000, 2147483647}) {
        EXPECT_EQ(HttpDate::parse(HttpDate::format(time)), time) << time;
    }
}

} // namespace
} // namespace corvida
