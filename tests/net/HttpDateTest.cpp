// SPDX-License-Identifier: MIT
#include "net/HttpDate.h"

#include <gtest/gtest.h>

namespace corvida {
namespace {

TEST(HttpDateTest, ReadsTheThreeFormsAndGivesHarmlessTimesForTheRest) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"Sun, 06 Nov 1994 08:49:37 GMT", 784111777},
        {"Sunday, 06-Nov-94 08:49:37 GMT", 784111777},
        {"Sun Nov  6 08:49:37 1994", 784111777},
        {"  sun, 06 NOVEMBER 1994 08:49:37 GMT", 784111777},
        {"Thu, 01 Jan 1970 00:00:00 GMT", 0},
        // The leap day counts from March on; 2000 is a leap year.
        {"Thu, 29 Feb 1996 00:00:00 GMT", 825552000},
        {"Fri, 01 Mar 1996 00:00:00 GMT", 825552000 + 86400},
        {"Wed, 01 Mar 2000 00:00:00 GMT", 951868800},
        // Missing clock parts count as -1; seconds must be followed by a space to count; an
        // unknown month is January.
        {"Sun, 06 Nov 1994 08:49:37", 784111777 - 37 - 1},
        {"Sun, 06 Xyz 1994 00:00:00 GMT", 757814400},
        {"", ((-1 * 24 + 0) * 60 - 1) * 60 - 1},
        // Times outside 32 bits give -1.
        {"Tue, 19 Jan 2038 03:14:07 GMT", 2147483647},
        {"Tue, 19 Jan 2038 03:14:08 GMT", -1},
        {"Sun, 99999999999999999999 Nov 1994 08:49:37 GMT", -1},
        {"Sun, 06 Nov 1994 99999999999999:49:37 GMT", -1},
    };
    for (const auto& [text, time] : cases) {
        EXPECT_EQ(HttpDate::parse(text), time) << text;
    }
    // A date without weekday and comma is read in the third form and comes out wrong, harmlessly.
    EXPECT_NE(HttpDate::parse("29 Feb 1996"), 825552000);
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
