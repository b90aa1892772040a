// SPDX-License-Identifier: MIT
// `corvida-cli debug fetch` against the scripted server: the exact lines it prints.

#include <sstream>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "report/LocalSiteTestSupport.h"
#include "support/CliRunner.h"
#include "support/ScriptedServer.h"

namespace corvida {
namespace {

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

TEST(DebugFetchCommandTest, PrintsRequestStatusTextsHeadersAndEnd) {
    ScriptedServer server;
    server.setScript(
        Script::reply("HTTP/1.0 200 OK", {"Content-Length: 5", "Content-Type: text/html", "X-Note: a"}, "hello"));
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("body"));
    const test::CliResult run =
        test::runCli({"debug", "fetch", QString::fromStdString(server.url("/p.htm")), "--user-agent", "T/1", "--from",
                      "me@example.org", "--if-modified-since", "784111777", "--out", out});
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
    const test::CliResult run = test::runCli({"debug", "fetch", QString::fromStdString(refused), "--head"});
    ASSERT_FALSE(linesOf(run.out).empty());
    EXPECT_EQ(linesOf(run.out).back(),
              "end: 0 66 111 Connection to this server was refused.  Either there is no server "
              "running on that machine, or the remote server is down.");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(test::runCli({"debug", "fetch"}).exitCode, 2);
    EXPECT_EQ(test::runCli({"debug", "fetch", "http://127.0.0.1/", "--bogus"}).exitCode, 2);
}

} // namespace
} // namespace corvida
