// SPDX-License-Identifier: MIT
// corvida-cli's whole-program behaviour around the project document: Ctrl-C and resume,
// exit statuses, and settings from the profile as the defaults of a crawl.

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include <QProcess>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/CliRunner.h"
#include "support/PythonHttpServer.h"
#include "support/ScriptedServer.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

using namespace std::chrono_literals;
using test::CliResult;
using test::runCli;
using test::Script;
using test::ScriptedServer;
using ::testing::HasSubstr;

std::string page(const std::string& body) {
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
           body;
}

std::string writeFile(const QTemporaryDir& dir, const char* name, const std::string& text) {
    const std::string path = dir.filePath(name).toStdString();
    std::ofstream(path) << text;
    return path;
}

TEST(CliDocumentTest, CtrlCSuspendsLetsTheRunningTransferEndAndResumeFinishes) {
    ScriptedServer server;
    // Every page of level 1 takes most of a second: Ctrl-C arrives while the first one runs.
    server.setResponder([](std::string_view request) {
        if (request.starts_with("GET / ") || request.starts_with("HEAD / ")) {
            return Script().send(page("<A HREF=\"a.htm\">a</A><A HREF=\"b.htm\">b</A><A HREF=\"c.htm\">c</A>")).close();
        }
        return Script().pause(700ms).send(page("<TITLE>page</TITLE>")).close();
    });
    QTemporaryDir dir;
    const QString project = dir.filePath("site.zpj");
    const QString config = dir.filePath("c.conf");
    QProcess crawl;
    crawl.start(QString::fromStdString(test::cliPath()),
                {"--config", config, "crawl", QString::fromStdString(server.url("/")), "--dir", dir.filePath("files"),
                 "--html", "--project", project});
    ASSERT_TRUE(ScriptedServer::waitUntil([&] {
        for (int i = 0; i < server.connectionCount(); ++i) {
            if (server.request(i).find(".htm ") != std::string::npos) {
                return true;
            }
        }
        return false;
    }));
    ::kill(static_cast<pid_t>(crawl.processId()), SIGINT);
    ASSERT_TRUE(ScriptedServer::waitUntil([&] { return crawl.state() == QProcess::NotRunning; }, 10s));
    const std::string out = crawl.readAllStandardOutput().toStdString();
    EXPECT_EQ(crawl.exitCode(), 130) << out << crawl.readAllStandardError().toStdString();
    EXPECT_THAT(out, HasSubstr("Crawl suspended. Resume it with: corvida-cli resume " + project.toStdString()));
    // The page under way finished after Ctrl-C and is kept; the other two were never asked for.
    EXPECT_THAT(out, HasSubstr("processed: 2\n"));
    const int requestsBefore = server.connectionCount();

    const CliResult resumed = runCli({"--config", config, "resume", project});
    ASSERT_EQ(resumed.exitCode, 0) << resumed.err;
    EXPECT_THAT(resumed.out, HasSubstr("Completed site: " + server.url("/") + "\n"));
    EXPECT_THAT(resumed.out, HasSubstr("processed: 4\n"));
    // Only the two pages left were asked for, and a finished crawl asks for nothing more.
    const CliResult again = runCli({"--config", config, "resume", project});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_THAT(again.out, HasSubstr("processed: 4\n"));
    EXPECT_EQ(server.connectionCount(), requestsBefore + 2);
}

TEST(CliDocumentTest, ExitStatusesTellTheStartFailureAndBrokenLinks) {
    QTemporaryDir dir;
    const CliResult missing =
        runCli({"crawl", "file://" + dir.filePath("nothing.htm"), "--dir", dir.filePath("files")});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_THAT(missing.err, HasSubstr("URL file://" + dir.filePath("nothing.htm").toStdString() + "\nError: "));
    // The failed project leaves nothing behind.
    EXPECT_TRUE(std::filesystem::is_empty(dir.filePath("files").toStdString()));

    const QString site = QString::fromStdString(test::dataPath("e2e/site/index.html"));
    const CliResult plain = runCli({"crawl", site, "--dir", dir.filePath("files"), "--html", "--quiet"});
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_THAT(plain.out, HasSubstr("Project saved in: " + dir.filePath("files").toStdString() + "/noname1.zpj\n"));
    const CliResult strict =
        runCli({"crawl", site, "--dir", dir.filePath("files"), "--html", "--quiet", "--fail-on-broken"});
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_THAT(strict.out, HasSubstr("noname2.zpj"));

    EXPECT_EQ(runCli({"resume", dir.filePath("none.zpj")}).exitCode, 1);
    EXPECT_EQ(runCli({"crawl", site, "--depth", "x"}).exitCode, 2);
    for (const char* command : {"crawl", "resume", "report", "local-site", "info", "tree", "list"}) {
        const CliResult help = runCli({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_THAT(help.out, HasSubstr(std::string("usage: corvida-cli ") + command));
    }
}

TEST(CliDocumentTest, WithoutATerminalCredentialsAreDeclined) {
    ScriptedServer server;
    server.setScript(Script::reply("HTTP/1.0 401 Unauthorized", {"WWW-Authenticate: Basic realm=\"club\""}, ""));
    QTemporaryDir dir;
    EXPECT_EQ(runCli({"--config", dir.filePath("c.conf"), "crawl", QString::fromStdString(server.url("/index.html")),
                      "--dir", dir.path(), "--ask-password"})
                  .exitCode,
              3);
    // One request: nothing was asked, so nothing was sent again with credentials.
    EXPECT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(server.request(0).find("Authorization"), std::string::npos);
}

TEST(CliDocumentTest, TheProfileGivesTheCrawlItsDefaults) {
    const test::PythonHttpServer server(test::dataPath("e2e/site"));
    ASSERT_TRUE(server.started());
    QTemporaryDir dir;
    const std::string proxy = "127.0.0.1:" + std::to_string(ScriptedServer::refusedPort());
    // Lower-case "yes" is not "Yes": the proxy stays off, and an empty maximum level is no limit.
    const std::string lenient = writeFile(dir, "lenient.conf",
                                          "[Application]\nUseProxy=yes\nProxyServer=" + proxy +
                                              "\n[Project]\nDownloadHtml=Yes\nMaximumLevel=\n[Programs]\n"
                                              "WorkingDirectory=" +
                                              dir.filePath("files").toStdString() + "\n");
    const CliResult direct = runCli({"--config", QString::fromStdString(lenient), "crawl",
                                     QString::fromStdString(server.url("/index.html")), "--quiet"});
    EXPECT_EQ(direct.exitCode, 0) << direct.err;
    EXPECT_THAT(direct.out, HasSubstr("highest_level: 2\n"));
    EXPECT_TRUE(std::filesystem::exists(dir.filePath("files/noname1.zpj").toStdString()));

    const std::string strict = writeFile(
        dir, "strict.conf",
        "[Application]\nUseProxy=Yes\nProxyServer=" + proxy +
            "\n[Project]\nMaximumLevel=1\n[Programs]\nWorkingDirectory=" + dir.filePath("files").toStdString() + "\n");
    const CliResult proxied = runCli({"--config", QString::fromStdString(strict), "crawl",
                                      QString::fromStdString(server.url("/index.html")), "--quiet"});
    EXPECT_EQ(proxied.exitCode, 3) << proxied.out;
    // A flag wins over the profile.
    const CliResult overridden = runCli({"--config", QString::fromStdString(strict), "crawl",
                                         QString::fromStdString(server.url("/index.html")), "--no-proxy", "--quiet"});
    EXPECT_EQ(overridden.exitCode, 0) << overridden.err;
    EXPECT_THAT(overridden.out, HasSubstr("highest_level: 1\n"));
}

} // namespace
} // namespace corvida
