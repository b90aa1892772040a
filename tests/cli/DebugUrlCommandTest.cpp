// SPDX-License-Identifier: MIT
#include <QStringList>
#include <gtest/gtest.h>

#include "support/CliRunner.h"

namespace corvida {
namespace {

using test::CliResult;
using test::runCli;

TEST(DebugUrlCommandTest, PrintsEveryFieldInOrder) {
    const CliResult result = runCli({"debug", "url", "../b/Page.HTM#sec", "http://Host:81/a/x/"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "url: http://Host:81/a/b/Page.HTM#sec\n"
                          "base: http://Host:81/a/b/\n"
                          "scheme: http\n"
                          "extension: HTM\n"
                          "host: Host:81\n"
                          "fragment: sec\n"
                          "scheme_index: 1\n"
                          "mime_by_extension: 2\n"
                          "length: 31\n"
                          "hash: 2815\n"
                          "local_path: \n");
    EXPECT_NE(runCli({"debug", "url", "file:///tmp/x.gif"}).out.find("local_path: /tmp/x.gif\n"), std::string::npos);
}

TEST(DebugUrlCommandTest, CompareAndUsageErrors) {
    EXPECT_EQ(runCli({"debug", "url", "--compare", "HTTP://H/A", "http://h/a"}).out, "0\n");
    EXPECT_EQ(runCli({"debug", "url", "--compare", "http://h/a", "http://h/ab"}).out, "-1\n");
    EXPECT_EQ(runCli({"debug", "url", "--compare", "http://h/ab", "http://h/a"}).out, "1\n");
    EXPECT_EQ(runCli({"debug", "url", "--compare", "x"}).exitCode, 2);
    EXPECT_EQ(runCli({"debug", "nothing"}).exitCode, 2);
    EXPECT_EQ(runCli({}).exitCode, 2);
}

} // namespace
} // namespace corvida
