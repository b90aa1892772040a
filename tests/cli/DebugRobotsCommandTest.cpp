// SPDX-License-Identifier: MIT
#include <QStringList>
#include <gtest/gtest.h>

#include "support/CliRunner.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

using test::CliResult;
using test::runCli;

TEST(DebugRobotsCommandTest, PrintsVerdictsAndDiagnosticsAndChecksUsage) {
    const CliResult verbose =
        runCli({"debug", "robots", "--verbosity", "1",
                QString::fromStdString(test::dataPath("net/robots/invalid-lines-29.txt")), "x", "/x"});
    EXPECT_EQ(verbose.out, "excluded /x\n");
    EXPECT_NE(verbose.err.find("line 29: level 1: invalid line: invalid line 29\n"), std::string::npos);

    // Without a file everything is allowed.
    const CliResult missing = runCli({"debug", "robots", "/nonexistent/robots.txt", "x", "/a", "/b"});
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_EQ(missing.out, "allowed /a\nallowed /b\n");
    EXPECT_EQ(runCli({"debug", "robots", "file", "agent"}).exitCode, 2);
    EXPECT_EQ(runCli({"debug", "robots", "--verbosity", "x", "file", "agent", "/a"}).exitCode, 2);
}

} // namespace
} // namespace corvida
