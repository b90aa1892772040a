// SPDX-License-Identifier: MIT
#include "net/StringTable.h"

#include <gtest/gtest.h>

namespace corvida {
namespace {

// The status and byte-count texts are checked where a transfer shows them.
TEST(StringTableTest, KeepsOddTextsAsTheyStandAndFillsInHostsLiterally) {
    EXPECT_EQ(StringTable::text(kStringHostNotFound),
              "No server could be found with the specified hostname..  Either this host does not exist, or your DNS "
              "server is not responding.  Check the hostname and try again.");
    // A host that looks like a pattern is put in as it stands.
    EXPECT_EQ(StringTable::withHost(kStringConnecting, "50%s%ld"), "Connecting to 50%s%ld...");
}

} // namespace
} // namespace corvida
