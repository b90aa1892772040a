// SPDX-License-Identifier: MIT
// `corvida-cli debug fetch` against the scripted server: the exact lines it prints.

#include <sstream>
#include <string>
#include <vector>

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "report/LocalSiteTestSupport.h"
#include "support/ScriptedServer.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

using test::Script;
using test::ScriptedServer;

struct CliRun {
    int status = -1;
    std::vector<std::string> lines;
};

// Runs corvida-cli while the event loop keeps the scripted server going. Progress lines are
// left out: how many there are depends on how the bytes arrive.
CliRun runCli(const QStringList& args) {
    QProcess process;
    process.start(QString::fromStdString(test::cliPath()), args);
    process.waitForStarted();
    ScriptedServer::waitUntil([&] { return process.state() == QProcess::NotRunning; });
    CliRun run;
    run.status = process.exitCode();
    std::istringstream out(process.readAllStandardOutput().toStdString());
    for (std::string line; std::getline(out, line);) {
        if (line.find("bytes received") == std::string::npos) {
            run.lines.push_back(line);
        }
    }
    return run;
}

TEST(DebugFetchCommandTest, PrintsRequestStatusTextsHeadersAndEnd) {
    ScriptedServer server;
    server.setScript(
        Script::reply("HTTP/1.0 200 OK", {"Content-Length: 5", "Content-Type: text/html", "X-Note: a"}, "hello"));
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("body"));
    const CliRun run = runCli({"debug", "fetch", QString::fromStdString(server.url("/p.htm")), "--user-agent", "T/1",
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
    EXPECT_EQ(run.lines, expected);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(test::readFile(out.toStdString()), "hello");
}

TEST(DebugFetchCommandTest, FailuresEndWithNumberCodeAndTextAndExitOne) {
    const std::string refused = "http://127.0.0.1:" + std::to_string(ScriptedServer::refusedPort()) + "/";
    const CliRun run = runCli({"debug", "fetch", QString::fromStdString(refused), "--head"});
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines.back(), "end: 0 66 111 Connection to this server was refused.  Either there is no server "
                                "running on that machine, or the remote server is down.");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(runCli({"debug", "fetch"}).status, 2);
    EXPECT_EQ(runCli({"debug", "fetch", "http://127.0.0.1/", "--bogus"}).status, 2);
}

} // namespace
} // namespace corvida
