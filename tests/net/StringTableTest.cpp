// SPDX-License-Identifier: MIT
#include "net/StringTable.h"

#include <gtest/gtest.h>

namespace corvida {
namespace {

TEST(StringTableTest, KeepsTextsByteForByte) {
    EXPECT_EQ(StringTable::text(kStringHostNotFound),
              "No server could be found with the specified hostname..  Either this host does not exist, or your DNS "
              "server is not responding.  Check the hostname and try again.");
    EXPECT_EQ(StringTable::text(kStringConnectionRefused),
              "Connection to this server was refused.  Either there is no server running on that machine, or the "
              "remote server is down.");
    EXPECT_EQ(StringTable::text(kStringMalformedUrl), "The given URL is malformed.");
    EXPECT_EQ(StringTable::text(kStringReplyHeaderTooLong), "The server's reply header is too long.");
    EXPECT_EQ(StringTable::text(kStringNone), "");
    EXPECT_FALSE(StringTable::contains(65));
    for (const int number :
         {64, 66, 67, 68, 69, 70, 71, 80, 81, 82, 83, 84, 61211, 61213, 61214, 61216, 61217, 61218}) {
        EXPECT_TRUE(StringTable::contains(number)) << number;
    }
}

TEST(StringTableTest, FillsInHostsAndCounts) {
    EXPECT_EQ(StringTable::withHost(kStringLookingUpHost, "h.example"), "Looking up host h.example...");
    EXPECT_EQ(StringTable::withHost(kStringRequestSent, "h"), "Request sent to h, waiting for reply...");
    EXPECT_EQ(StringTable::withHost(kStringConnecting, "50%s"), "Connecting to 50%s...");
    EXPECT_EQ(StringTable::bytesReceived(1000), "1000 bytes received.");
    EXPECT_EQ(StringTable::bytesReceived(250, 1000, 25), "250 of 1000 bytes received (25%).");
}

} // namespace
} // namespace corvida
