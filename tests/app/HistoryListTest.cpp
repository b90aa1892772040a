// SPDX-License-Identifier: MIT
#include "app/HistoryList.h"

#include <gtest/gtest.h>

namespace corvida {
namespace {

TEST(HistoryListTest, SkipsEmptyAndRepeatedTextAndKeepsTheNineMostRecent) {
    HistoryList list;
    EXPECT_FALSE(list.add(""));
    EXPECT_TRUE(list.add("u1"));
    EXPECT_FALSE(list.add("u1"));
    for (int i = 2; i <= 11; ++i) {
        list.add("u" + std::to_string(i));
    }
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"u11", "u10", "u9", "u8", "u7", "u6", "u5", "u4", "u3"}));
}

} // namespace
} // namespace corvida
