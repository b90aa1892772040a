// SPDX-License-Identifier: MIT
// corvida-cli debug date, fetch, robots and url: what each prints, and its usage errors; fetch
// against the scripted server, with the exact lines it prints.

#include <sstream>
#include <string>
#include <vector>

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "report/LocalSiteTestSupport.h"
#include "support/CliRunner.h"
#include "support/ScriptedServer.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

using test::CliResult;
using test::runCli;
using test::Script;
using test::ScriptedServer;

// The lines out holds but the progress lines: how many there are depends on how the bytes arrive.
std::vector<std::string> linesOf(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.find("bytes received") == std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

TEST(DebugDateCommandTest, ReadsWritesAndRefusesBadNumbers) {
    EXPECT_EQ(runCli({"debug", "date", "Sun Nov  6 08:49:37 1994"}).out, "784111777\n");
    EXPECT_EQ(runCli({"debug", "date", "--format", "784111777"}).out, "Sun, 06 Nov 1994 08:49:37 GMT\n");
    // Numbers beyond 32 bits have no date; they are not wrapped around.
    EXPECT_EQ(runCli({"debug", "date", "--format", "4294967296"}).out, "Invalid Date\n");
    EXPECT_EQ(runCli({"debug", "date", "--format", "99999999999999999999999"}).out, "Invalid Date\n");
    EXPECT_EQ(runCli({"debug", "date", "--format", "12x"}).exitCode, 2);
    EXPECT_EQ(runCli({"debug", "date", "a", "b"}).exitCode, 2);
}

TEST(DebugFetchCommandTest, PrintsRequestStatusTextsHeadersAndEnd) {
    ScriptedServer server;
    server.setScript(
        Script::reply("HTTP/1.0 200 OK", {"Content-Length: 5", "Content-Type: text/html", "X-Note: a"}, "hello"));
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("body"));
    const CliResult run = runCli({"debug", "fetch", QString::fromStdString(server.url("/p.htm")), "--user-agent", "T/1",
                                  "--from", "me@example.org", "--if-modified-since", "784111777", "--out", out});
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    const std::vector<std::string> expected = {
        "* Looking up host 127.0.0.1...",
        "* Connecting to 127.0.0.1...",
        "* Connected to 127.0.0.1, sending request...",
        "> GET /p.htm HTTP/1.0",
        "> Host: " + host,
        "> From: me@example.org",
        "> If-Modified-Since: Sun, 06 Nov 1994 08:49:37 GMT",
        "> User-Agent: T/1",
        "> Accept: */*",
        "> ",
        "* Request sent to 127.0.0.1, waiting for reply...",
        "< HTTP/1.0 200 OK",
        "header: Content-Length: 5",
        "header: Content-Type: text/html",
        "header: X-Note: a",
        "* Document transfer complete.",
        "end: 1 0 0 ",
    };
    EXPECT_EQ(linesOf(run.out), expected);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(test::readFile(out.toStdString()), "hello");
}

TEST(DebugFetchCommandTest, FailuresEndWithNumberCodeAndTextAndExitOne) {
    const std::string refused = "http://127.0.0.1:" + std::to_string(ScriptedServer::refusedPort()) + "/";
    const CliResult run = runCli({"debug", "fetch", QString::fromStdString(refused), "--head"});
    ASSERT_FALSE(linesOf(run.out).empty());
    EXPECT_EQ(linesOf(run.out).back(),
              "end: 0 66 111 Connection to this server was refused.  Either there is no server "
              "running on that machine, or the remote server is down.");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(runCli({"debug", "fetch"}).exitCode, 2);
    EXPECT_EQ(runCli({"debug", "fetch", "http://127.0.0.1/", "--bogus"}).exitCode, 2);
}

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
