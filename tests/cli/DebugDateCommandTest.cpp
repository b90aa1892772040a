// SPDX-License-Identifier: MIT
#include <QStringList>
#include <gtest/gtest.h>

#include "support/CliRunner.h"

namespace corvida {
namespace {

using test::runCli;

TEST(DebugDateCommandTest, ReadsWritesAndRefusesBadNumbers) {
    EXPECT_EQ(runCli({"debug", "date", "Sun Nov  6 08:49:37 1994"}).out, "784111777\n");
    EXPECT_EQ(runCli({"debug", "date", "--format", "784111777"}).out, "Sun, 06 Nov 1994 08:49:37 GMT\n");
    // Numbers beyond 32 bits have no date; they are not wrapped around.
    EXPECT_EQ(runCli({"debug", "date", "--format", "4294967296"}).out, "Invalid Date\n");
    EXPECT_EQ(runCli({"debug", "date", "--format", "99999999999999999999999"}).out, "Invalid Date\n");
    EXPECT_EQ(runCli({"debug", "date", "--format", "12x"}).exitCode, 2);
    EXPECT_EQ(runCli({"debug", "date", "a", "b"}).exitCode, 2);
}

} // namespace
} // namespace corvida
