// SPDX-License-Identifier: MIT
#include "app/BrowserClient.h"

#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/DesktopBrowserClient.h"
#include "app/DevToolsBrowserClient.h"
#include "app/HelpLocation.h"
#include "app/Settings.h"
#include "support/ScriptedServer.h"

namespace corvida {
namespace {

using namespace std::chrono_literals;
using test::Script;
using test::ScriptedServer;
using Lines = std::vector<std::string>;

// A stand-in browser: a shell script, in a directory whose name holds a blank, that appends
// each of its arguments as a line to a log, and logs "TERM" when asked to exit.
class FakeBrowser {
public:
    FakeBrowser() {
        const QString dir = m_dir.path() + "/with blank";
        QDir().mkpath(dir);
        m_script = (dir + "/browser.sh").toStdString();
        m_log = (dir + "/args.log").toStdString();
        std::ofstream(m_script) << "#!/bin/sh\n"
                                << "log=\"" << m_log << "\"\n"
                                << "trap 'kill $pid 2>/dev/null; echo TERM >> \"$log\"; exit 0' TERM\n"
                                << "printf '%s\\n' \"$@\" >> \"$log\"\n"
                                << "[ -n \"$FAKE_BROWSER_STAYS\" ] || exit 0\n"
                                << "sleep 30 & pid=$!\nwait $pid\n";
        QFile::setPermissions(QString::fromStdString(m_script), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The script's path quoted for a command line.
    std::string command() const { return "\"" + m_script + "\""; }
    std::string directory() const { return m_dir.path().toStdString(); }

    Lines lines() const {
        std::ifstream in(m_log);
        Lines result;
        for (std::string line; std::getline(in, line);) {
            result.push_back(line);
        }
        return result;
    }
    // Runs the event loop until the log has count lines; returns them.
    Lines waitForLines(std::size_t count) const {
        ScriptedServer::waitUntil([&] { return lines().size() >= count; });
        return lines();
    }

private:
    QTemporaryDir m_dir;
    std::string m_script;
    std::string m_log;
};

std::string jsonReply(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

// Asks client for the current page and waits for the answer, checking it never comes at once.
std::optional<BrowserPage> readPage(BrowserClient& client) {
    bool called = false;
    std::optional<BrowserPage> page;
    client.currentPage([&](std::optional<BrowserPage> p) {
        EXPECT_FALSE(called);
        called = true;
        page = std::move(p);
    });
    EXPECT_FALSE(called);
    EXPECT_TRUE(ScriptedServer::waitUntil([&] { return called; }));
    return page;
}

TEST(BrowserClientTest, KindsWithAClientAndAcceptedUrls) {
    Settings settings;
    EXPECT_FALSE(BrowserClient::create(BrowserKind::NetscapeNavigator, settings)->canReadCurrentPage());
    EXPECT_TRUE(BrowserClient::create(BrowserKind::InternetExplorer, settings)->canReadCurrentPage());
    for (const BrowserKind kind : {BrowserKind::None, BrowserKind::NcsaMosaic, BrowserKind::QuarterdeckMosaic}) {
        EXPECT_EQ(BrowserClient::create(kind, settings), nullptr);
    }
    EXPECT_EQ(BrowserClient::acceptedUrl("HTTPS://a/"), "HTTPS://a/");
    EXPECT_EQ(BrowserClient::acceptedUrl("/w/site/a b.htm"), "file:///w/site/a%20b.htm");
    for (const char* refused : {"javascript:alert(1)", "data:text/html,x", "--headless", "site/a.htm", ""}) {
        EXPECT_EQ(BrowserClient::acceptedUrl(refused), std::nullopt) << refused;
    }
}

TEST(BrowserClientTest, DesktopClientHandsTheUrlAsOneArgument) {
    FakeBrowser browser;
    const std::string url = "http://h/a b\"c\";rm -rf ~ 'd'";
    DesktopBrowserClient plain(browser.command());
    ASSERT_TRUE(plain.openUrl(url));
    EXPECT_EQ(browser.waitForLines(1), Lines{url});

    DesktopBrowserClient placed(browser.command() + " --new-tab=%u --x");
    ASSERT_TRUE(placed.openUrl(url));
    EXPECT_EQ(browser.waitForLines(3), (Lines{url, "--new-tab=" + url, "--x"}));

    EXPECT_FALSE(plain.openUrl("--headless"));
    EXPECT_EQ(readPage(plain), std::nullopt);
    EXPECT_EQ(browser.lines().size(), 3u);
}

TEST(BrowserClientTest, DevToolsPageListAcceptsOnlyTheFirstPageWithAWebOrFileUrl) {
    const std::string list = R"j([{"type":"service_worker","url":"http://sw/"},)j"
                             R"j({"type":"page","url":"https://a.example/x","title":"A [x]"},)j"
                             R"j({"type":"page","url":"http://b/"}])j";
    EXPECT_EQ(DevToolsBrowserClient::pageFromList(list), (BrowserPage{"https://a.example/x", "A [x]"}));
    EXPECT_EQ(DevToolsBrowserClient::pageFromList(R"j([{"type":"page","url":"FILE:///w/a.htm"}])j"),
              (BrowserPage{"FILE:///w/a.htm", ""}));
    for (const char* refused :
         {R"j([{"type":"page","url":"javascript:alert(1)"},{"type":"page","url":"http://b/"}])j",
          R"j([{"type":"page","url":"data:text/html,<b>"}])j", R"j([{"type":"page","url":"http://a/\nb"}])j",
          R"j([{"type":"page"}])j", R"j([{"type":"iframe","url":"http://a/"}])j",
          R"j({"type":"page","url":"http://a/"})j", "[{", ""}) {
        EXPECT_EQ(DevToolsBrowserClient::pageFromList(refused), std::nullopt) << refused;
    }
}

TEST(BrowserClientTest, DevToolsReadsTheCurrentPageFromTheEndpoint) {
    ScriptedServer server;
    server.setScript(Script().waitForRequest().send(
        jsonReply(R"j([{"type":"other"},{"type":"page","url":"http://a/b.htm","title":"B"}])j")));
    DevToolsBrowserClient client("", server.port(), "/nonexistent");
    EXPECT_EQ(readPage(client), (BrowserPage{"http://a/b.htm", "B"}));
    EXPECT_EQ(server.request(0).rfind("GET /json/list HTTP/1.1\r\n", 0), 0u) << server.request(0);

    server.setScript(Script().waitForRequest().send(jsonReply(R"j([{"type":"page","url":"javascript:x()"}])j")));
    EXPECT_EQ(readPage(client), std::nullopt);
    server.setScript(Script().waitForRequest().send("HTTP/1.1 302 Found\r\nLocation: http://192.0.2.1/\r\n"
                                                    "Content-Length: 0\r\nConnection: close\r\n\r\n"));
    EXPECT_EQ(readPage(client), std::nullopt);
    EXPECT_EQ(server.connectionCount(), 3);
}

TEST(BrowserClientTest, DevToolsSilentEndpointGivesNothingAfterTheTimeoutWithoutBlocking) {
    ScriptedServer server;
    server.setScript(Script().hold());
    DevToolsBrowserClient client("", server.port(), "/nonexistent", 300ms);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(readPage(client), std::nullopt);
    EXPECT_GE(elapsed.elapsed(), 250);
    EXPECT_GE(ticks, 5);
}

TEST(BrowserClientTest, DevToolsOpensANewTargetAndActivatesIt) {
    FakeBrowser browser;
    ScriptedServer server;
    server.setResponder([](std::string_view request) {
        if (request.starts_with("PUT /json/new?")) {
            return Script().send(jsonReply(R"j({"id":"A/B?1","type":"page"})j"));
        }
        return Script().send(jsonReply("Target activated"));
    });
    DevToolsBrowserClient client(browser.command(), server.port(), "/nonexistent");
    EXPECT_FALSE(client.openUrl("data:text/html,x"));
    ASSERT_TRUE(client.openUrl("http://h/a b#f?q=1&r=%41"));
    ASSERT_TRUE(ScriptedServer::waitUntil([&] { return server.finishedCount() == 2; }));
    EXPECT_EQ(server.request(0).rfind("PUT /json/new?http://h/a%20b%23f%3Fq%3D1%26r%3D%2541 HTTP/1.1\r\n", 0), 0u)
        << server.request(0);
    EXPECT_EQ(server.request(1).rfind("GET /json/activate/A%2FB%3F1 HTTP/1.1\r\n", 0), 0u) << server.request(1);
    // A browser that answers is never launched.
    EXPECT_TRUE(browser.lines().empty());
}

TEST(BrowserClientTest, DevToolsLaunchesTheBrowserInItsProfileWhenTheEndpointIsDown) {
    FakeBrowser browser;
    qputenv("FAKE_BROWSER_STAYS", "1");
    const std::uint16_t port = ScriptedServer::refusedPort();
    const std::string profile = browser.directory() + "/profile";
    DevToolsBrowserClient client(browser.command() + " --new-window", port, profile);
    ASSERT_TRUE(client.openUrl("http://h/a b"));
    const Lines expected = {"--new-window", "--remote-debugging-port=" + std::to_string(port),
                            "--user-data-dir=" + profile, "http://h/a b"};
    EXPECT_EQ(browser.waitForLines(4), expected);

    // While it starts, a second page waits instead of starting a second browser; it is opened
    // through the endpoint once the endpoint answers.
    ASSERT_TRUE(client.openUrl("http://h/c"));
    ScriptedServer::waitUntil([] { return false; }, 300ms);
    EXPECT_EQ(browser.lines(), expected);
    QTcpServer endpoint;
    ASSERT_TRUE(endpoint.listen(QHostAddress::LocalHost, port));
    std::vector<std::string> requests;
    QObject::connect(&endpoint, &QTcpServer::newConnection, [&] {
        QTcpSocket* socket = endpoint.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, [&requests, socket] {
            const QByteArray request = socket->readAll();
            requests.push_back(request.left(request.indexOf('\r')).toStdString());
            socket->write(jsonReply(R"j({"id":"T1"})j").c_str());
            socket->disconnectFromHost();
        });
    });
    ASSERT_TRUE(ScriptedServer::waitUntil([&] { return requests.size() >= 3; }));
    EXPECT_EQ(requests.front(), "GET /json/version HTTP/1.1");
    EXPECT_EQ(requests[1], "PUT /json/new?http://h/c HTTP/1.1");
    EXPECT_EQ(requests[2], "GET /json/activate/T1 HTTP/1.1");

    client.exitIfLaunched();
    EXPECT_EQ(browser.waitForLines(5).back(), "TERM");
    qunsetenv("FAKE_BROWSER_STAYS");
}

TEST(BrowserClientTest, HelpIsFoundInstalledBesideTheProgramElseInTheSourceTree) {
    QTemporaryDir prefix;
    const std::string bin = prefix.path().toStdString() + "/bin";
    const std::string source = HelpLocation::indexPath(bin);
    EXPECT_TRUE(source.ends_with("/share/corvida/help/index.html")) << source;
    EXPECT_TRUE(QFile::exists(QString::fromStdString(source)));

    QDir().mkpath(prefix.path() + "/share/corvida/help");
    std::ofstream((prefix.path() + "/share/corvida/help/index.html").toStdString()) << "<html></html>";
    EXPECT_EQ(HelpLocation::indexPath(bin), prefix.path().toStdString() + "/share/corvida/help/index.html");
}

} // namespace
} // namespace corvida
