// SPDX-License-Identifier: MIT
// Transfers against the scripted server: request bytes, status texts, bodies in files and in
// memory, end reports, and servers that refuse, stall, cut replies short or never end their
// headers; and the table the status texts come from.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "TransferRecorder.h"
#include "net/HttpConnection.h"
#include "net/HttpRequest.h"
#include "net/HttpRequestHeaders.h"
#include "net/HttpTransfer.h"
#include "net/StringTable.h"
#include "support/ScriptedServer.h"

namespace corvida {
namespace {

using namespace std::chrono_literals;
using test::Script;
using test::ScriptedServer;

using Recorder = test::TransferRecorder;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

HttpRequestHeaders crawlHeaders() {
    HttpRequestHeaders headers;
    headers.userAgent = "Corvida-Test/1.0";
    headers.accept = "*/*";
    return headers;
}

// Answers every connection on one address with an empty 200 reply once the request has
// arrived, then closes. (The scripted server listens on 127.0.0.1 only.)
class OneAddressServer {
public:
    bool listen(const QHostAddress& address) {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                ++m_connections;
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    if (socket->peek(1 << 16).contains("\r\n\r\n")) {
                        socket->write("HTTP/1.0 200 OK\r\n\r\n");
                        socket->disconnectFromHost();
                    }
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        return m_server.listen(address, 0);
    }
    std::uint16_t port() const { return m_server.serverPort(); }
    int connections() const { return m_connections; }

private:
    QTcpServer m_server;
    int m_connections = 0;
};

// Runs a HEAD of url on connection, whose lookup gives addresses, until its end report.
Recorder headWithLookup(HttpConnection& connection, const std::string& url, const QList<QHostAddress>& addresses) {
    Recorder recorder;
    HttpRequest request(recorder, url, "HEAD", nullptr);
    connection.setHostLookup([addresses](std::string_view) { return addresses; });
    EXPECT_EQ(connection.start(request, crawlHeaders()), 1);
    EXPECT_TRUE(ScriptedServer::waitUntil([&] { return recorder.ends > 0; }));
    return recorder;
}

class HttpConnectionTest : public testing::Test {
protected:
    std::string outPath() const { return m_dir.filePath(QStringLiteral("body.bin")).toStdString(); }

    // Fetches url into outPath() and waits for the end report.
    void get(HttpTransfer& transfer, Recorder& recorder, const std::string& url) {
        ASSERT_EQ(transfer.getIntoFile(recorder, url, outPath(), crawlHeaders()), TransferStart::Started);
        ASSERT_TRUE(ScriptedServer::waitUntil([&] { return recorder.ends > 0; }));
    }
    // Fetches url into outPath() (with the given timeout, if any) and returns the reports.
    Recorder fetchUrl(const std::string& url, std::chrono::milliseconds timeout = 0ms) {
        HttpTransfer transfer;
        if (timeout > 0ms) {
            transfer.setTimeout(timeout);
        }
        Recorder recorder;
        get(transfer, recorder, url);
        return recorder;
    }
    // Serves script on the next connection and fetches "/" from it.
    Recorder fetch(const Script& script, std::chrono::milliseconds timeout = 0ms) {
        m_server.setScript(script);
        return fetchUrl(m_server.url("/"), timeout);
    }
    // Lets the event loop run for a while, for reports that must not come.
    static void idle(std::chrono::milliseconds time) {
        ScriptedServer::waitUntil([] { return false; }, time);
    }

    QTemporaryDir m_dir;
    ScriptedServer m_server;
};

TEST_F(HttpConnectionTest, GetSendsExactRequestAndEndsAfterContentLengthWhileServerStaysOpen) {
    const std::string body(1000, 'x');
    // Extra bytes after the announced length are not part of the body.
    m_server.setScript(
        Script()
            .waitForRequest()
            .send("HTTP/1.0 200 OK\r\nContent-Length: 1000\r\nContent-Type: text/html\r\n\r\n" + body + "TRAILING")
            .hold());
    const Recorder recorder = fetchUrl(m_server.url("/dir/a.htm?x=1"));

    const std::string host = "127.0.0.1:" + std::to_string(m_server.port());
    EXPECT_EQ(m_server.request(0), "GET /dir/a.htm?x=1 HTTP/1.0\r\nHost: " + host +
                                       "\r\nUser-Agent: Corvida-Test/1.0\r\nAccept: */*\r\n\r\n");
    EXPECT_EQ(recorder.ends, 1);
    EXPECT_TRUE(recorder.success);
    EXPECT_EQ(readFile(outPath()), body);
    EXPECT_EQ(recorder.texts.back(), "Document transfer complete.");
    // The client closed although the server held the connection open.
    EXPECT_TRUE(ScriptedServer::waitUntil([&] { return m_server.clientClosed(0); }));
}

// (A body of unknown length, ending at the close, is in the stall test.)
TEST_F(HttpConnectionTest, ProgressCountsBytesAndPercentOfAKnownLength) {
    const std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n";
    const Recorder known = fetch(
        Script().waitForRequest().send(head + std::string(250, 'a')).pause(60ms).send(std::string(750, 'b')).close());
    EXPECT_TRUE(known.saw("250 of 1000 bytes received (25%)."));
    EXPECT_EQ(readFile(outPath()), std::string(250, 'a') + std::string(750, 'b'));
}

// Cut inside the status line and between the blank line's CR and LF, so that the LF and the
// body come together. (The parser's own tests split the block everywhere.)
TEST_F(HttpConnectionTest, HeaderBlockSplitAnywhereStillEndsAtItsLastLineFeed) {
    const std::string reply = "HTTP/1.0 200 OK\r\nContent-Length: 6\r\nX-A: b\r\n\r\nbody!!";
    const Recorder recorder = fetch(Script().waitForRequest().sendSplit(reply, {5, reply.find("\r\n\r\n") + 3}).hold());
    EXPECT_TRUE(recorder.success);
    EXPECT_EQ(recorder.headerCalls, 1);
    EXPECT_EQ(recorder.entity.extraHeaders.value_or(""), "X-A:b\r\n");
    EXPECT_EQ(readFile(outPath()), "body!!");
}

TEST_F(HttpConnectionTest, FailuresBeforeAnyReplyEndWithTheirStringNumbers) {
    const Recorder refusedRecorder =
        fetchUrl("http://127.0.0.1:" + std::to_string(ScriptedServer::refusedPort()) + "/");
    EXPECT_FALSE(refusedRecorder.success);
    EXPECT_EQ(refusedRecorder.stringNumber, kStringConnectionRefused);
    EXPECT_EQ(refusedRecorder.code, ECONNREFUSED);

    // A malformed URL fails at once: the report is made before start returns 0.
    HttpTransfer malformed;
    Recorder malformedRecorder;
    EXPECT_EQ(malformed.head(malformedRecorder, "http://user@127.0.0.1/", crawlHeaders()), TransferStart::FailedAtOnce);
    EXPECT_EQ(malformedRecorder.ends, 1);
    EXPECT_EQ(malformedRecorder.stringNumber, kStringMalformedUrl);

    // An output file that cannot be created: 0 and no report at all.
    HttpTransfer unwritable;
    Recorder unwritableRecorder;
    const std::string noDir = m_dir.filePath("no/such/dir").toStdString();
    EXPECT_EQ(unwritable.getIntoFile(unwritableRecorder, m_server.url("/"), noDir, crawlHeaders()),
              TransferStart::FileNotCreated);
    idle(50ms);
    EXPECT_EQ(unwritableRecorder.ends, 0);
    EXPECT_EQ(m_server.connectionCount(), 0);
}

TEST_F(HttpConnectionTest, NamedHostIsLookedUpAndStoppingDuringTheLookupReportsNothing) {
    const std::string named = "http://localhost:" + std::to_string(m_server.port()) + "/";
    const Recorder foundRecorder = fetchUrl(named);
    EXPECT_TRUE(foundRecorder.success) << foundRecorder.stringNumber;

    HttpTransfer stopped;
    Recorder stoppedRecorder;
    ASSERT_EQ(stopped.head(stoppedRecorder, named, crawlHeaders()), TransferStart::Started);
    stopped.stop();
    idle(100ms);
    EXPECT_EQ(stoppedRecorder.ends, 0);
    EXPECT_EQ(stoppedRecorder.texts, std::vector<std::string>{"Looking up host localhost..."});
    EXPECT_EQ(m_server.connectionCount(), 1);
}

TEST_F(HttpConnectionTest, LookupAddressesAreTriedInOrderUntilOneAnswers) {
    const QHostAddress v4(QHostAddress::LocalHost);
    const QHostAddress v6(QHostAddress::LocalHostIPv6);
    // Nothing listens on ::1 at the server's port (or there is no IPv6 at all): the next one.
    HttpConnection second(0);
    const Recorder answered =
        headWithLookup(second, "http://dual.test:" + std::to_string(m_server.port()) + "/", {v6, v4});
    EXPECT_TRUE(answered.success) << answered.stringNumber;
    EXPECT_EQ(second.address(), v4);
    EXPECT_EQ(m_server.connectionCount(), 1);
    EXPECT_EQ(std::count(answered.texts.begin(), answered.texts.end(), "Connecting to dual.test..."), 1);

    // Every address fails: the last one's failure is reported, once.
    HttpConnection none(0);
    const Recorder refused =
        headWithLookup(none, "http://dual.test:" + std::to_string(ScriptedServer::refusedPort()) + "/", {v6, v4});
    idle(50ms);
    EXPECT_EQ(refused.ends, 1);
    EXPECT_EQ(refused.stringNumber, kStringConnectionRefused);
    EXPECT_EQ(refused.code, ECONNREFUSED);
    EXPECT_EQ(none.address(), v4);

    HttpConnection unknown(0);
    const Recorder notFound = headWithLookup(unknown, "http://nowhere.test/", {});
    EXPECT_EQ(notFound.stringNumber, kStringHostNotFound);
    EXPECT_TRUE(unknown.address().isNull());
}

TEST_F(HttpConnectionTest, HostsWithIpv6AddressesAreReached) {
    OneAddressServer server;
    if (!server.listen(QHostAddress::LocalHostIPv6)) {
        GTEST_SKIP() << "::1 cannot be bound";
    }
    const std::string port = std::to_string(server.port());
    const QHostAddress v4(QHostAddress::LocalHost);
    const QHostAddress v6(QHostAddress::LocalHostIPv6);

    HttpConnection only(0);
    EXPECT_TRUE(headWithLookup(only, "http://six.test:" + port + "/", {v6}).success);
    // 127.0.0.1 refuses at this port; ::1 answers.
    HttpConnection after(0);
    EXPECT_TRUE(headWithLookup(after, "http://dual.test:" + port + "/", {v4, v6}).success);
    EXPECT_EQ(after.address(), v6);
    EXPECT_EQ(server.connections(), 2);
}

TEST(HttpConnectionLiteralTest, DottedIpv4AndBracketedIpv6AreConnectedToWithoutLookup) {
    EXPECT_EQ(HttpConnection::literalAddress("127.0.0.1"), QHostAddress(QHostAddress::LocalHost));
    EXPECT_EQ(HttpConnection::literalAddress("001.002.003.255"), QHostAddress(QStringLiteral("1.2.3.255")));
    EXPECT_EQ(HttpConnection::literalAddress("[::1]"), QHostAddress(QHostAddress::LocalHostIPv6));
    EXPECT_EQ(HttpConnection::literalAddress("[2001:db8::a:1]"), QHostAddress(QStringLiteral("2001:db8::a:1")));
    for (const char* name : {"localhost", "127.1", "1.2.3.4.5", "256.0.0.1", "1.2.3.0004", "::1", "[::1", "[]",
                             "[127.0.0.1]", "[::1]x", "[localhost]", ""}) {
        EXPECT_EQ(HttpConnection::literalAddress(name), std::nullopt) << name;
    }
}

// The other status and byte-count texts are checked where a transfer shows them.
TEST(StringTableTest, KeepsOddTextsAsTheyStandAndFillsInHostsLiterally) {
    EXPECT_EQ(StringTable::text(kStringHostNotFound),
              "No server could be found with the specified hostname..  Either this host does not exist, or your DNS "
              "server is not responding.  Check the hostname and try again.");
    // A host that looks like a pattern is put in as it stands.
    EXPECT_EQ(StringTable::withHost(kStringConnecting, "50%s%ld"), "Connecting to 50%s%ld...");
}

TEST_F(HttpConnectionTest, StoppingWhileTheBodyArrivesClosesFileAndReportsNothing) {
    m_server.setScript(Script()
                           .waitForRequest()
                           .send("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n" + std::string(40, 'a'))
                           .pause(50ms)
                           .send(std::string(60, 'b'))
                           .close());
    HttpTransfer transfer;
    Recorder recorder;
    ASSERT_EQ(transfer.getIntoFile(recorder, m_server.url("/"), outPath(), crawlHeaders()), TransferStart::Started);
    ASSERT_TRUE(ScriptedServer::waitUntil([&] { return transfer.connection().bodyReceived() == 40; }));
    transfer.stop();
    idle(120ms);
    EXPECT_EQ(recorder.ends, 0);
    EXPECT_EQ(readFile(outPath()), std::string(40, 'a'));
}

// A listener may stop its transfer inside any report, the end report too; the transfer is then
// destroyed from the event loop. After the stop no report arrives and no body byte is written.
TEST_F(HttpConnectionTest, ListenerMayStopTheTransferInsideAnyReport) {
    // Body bytes come with the header block, and more of them later with a percentage.
    const Recorder whole = fetch(Script()
                                     .waitForRequest()
                                     .send("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhe")
                                     .pause(30ms)
                                     .send("llo")
                                     .close());
    ASSERT_EQ(readFile(outPath()), "hello");
    ASSERT_TRUE(whole.success);
    ASSERT_GT(whole.percents, 0);
    std::vector<std::string> stopTexts;
    for (const std::string& text : whole.texts) {
        if (std::find(stopTexts.begin(), stopTexts.end(), text) == stopTexts.end()) {
            stopTexts.push_back(text);
        }
    }
    // From "Looking up host" (inside start) to "Document transfer complete." (after the body).
    ASSERT_GE(stopTexts.size(), 7u) << testing::PrintToString(stopTexts);
    const auto counts = [](const Recorder& r) { return std::tuple(r.texts.size(), r.percents, r.headerCalls, r.ends); };

    enum class Inside { Text, Headers, End };
    std::vector<std::pair<Inside, std::string>> points;
    for (const std::string& text : stopTexts) {
        points.emplace_back(Inside::Text, text);
    }
    points.emplace_back(Inside::Headers, "");
    points.emplace_back(Inside::End, "");
    for (const auto& [inside, text] : points) {
        SCOPED_TRACE(inside == Inside::Text ? text : inside == Inside::Headers ? "headers" : "end");
        std::filesystem::remove(outPath());
        auto transfer = std::make_unique<HttpTransfer>();
        Recorder recorder;
        std::optional<decltype(counts(recorder))> atStop;
        const auto stopHere = [&] {
            if (!atStop) {
                transfer->stop();
                atStop = counts(recorder);
                QTimer::singleShot(0, [&] { transfer.reset(); });
            }
        };
        switch (inside) {
        case Inside::Text:
            recorder.onText = [&, &text = text] {
                if (recorder.texts.back() == text) {
                    stopHere();
                }
            };
            break;
        case Inside::Headers:
            recorder.onHeaders = stopHere;
            break;
        case Inside::End:
            recorder.onEnd = stopHere;
            break;
        }
        ASSERT_EQ(transfer->getIntoFile(recorder, m_server.url("/"), outPath(), crawlHeaders()),
                  TransferStart::Started);
        ASSERT_TRUE(ScriptedServer::waitUntil([&] { return transfer == nullptr; }));
        idle(50ms);
        ASSERT_TRUE(atStop.has_value());
        EXPECT_EQ(counts(recorder), *atStop);
        EXPECT_EQ(recorder.ends, inside == Inside::End ? 1 : 0);
        if (inside == Inside::Headers) {
            EXPECT_EQ(readFile(outPath()), "");
        }
    }

    // Also inside the end report of a failure reported from inside start.
    auto transfer = std::make_unique<HttpTransfer>();
    Recorder recorder;
    recorder.onEnd = [&] {
        transfer->stop();
        QTimer::singleShot(0, [&] { transfer.reset(); });
    };
    EXPECT_EQ(transfer->head(recorder, "http://my_host/", crawlHeaders()), TransferStart::FailedAtOnce);
    ASSERT_TRUE(ScriptedServer::waitUntil([&] { return transfer == nullptr; }));
    EXPECT_EQ(recorder.ends, 1);
    EXPECT_EQ(recorder.stringNumber, kStringMalformedUrl);
}

TEST_F(HttpConnectionTest, RepliesCutShortFail) {
    const std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n";
    for (const Script& script :
         {Script().waitForRequest().send("HTTP/1.0 200 OK\r\nServer: x\r\n").close(), Script().waitForRequest().close(),
          Script().waitForRequest().send(head + std::string(500, 'a')).close()}) {
        SCOPED_TRACE(script.steps().size());
        const Recorder recorder = fetch(script);
        EXPECT_EQ(recorder.ends, 1);
        EXPECT_FALSE(recorder.success);
        EXPECT_EQ(recorder.stringNumber, kStringClosedBeforeComplete);
    }
}

TEST_F(HttpConnectionTest, RepliesWithoutBodyEndAtCloseDespiteContentLength) {
    // HEAD and 304 replies announce a length but carry no body.
    m_server.setScript(Script::reply("HTTP/1.0 200 OK", {"Content-Length: 1000"}, ""));
    HttpTransfer head;
    Recorder headRecorder;
    ASSERT_EQ(head.head(headRecorder, m_server.url("/h"), crawlHeaders()), TransferStart::Started);
    ASSERT_TRUE(ScriptedServer::waitUntil([&] { return headRecorder.ends > 0; }));
    EXPECT_TRUE(headRecorder.success);
    EXPECT_TRUE(fetch(Script::reply("HTTP/1.0 304 Not Modified", {"Content-Length: 1000"}, "")).success);
}

TEST_F(HttpConnectionTest, ServersThatStallOrNeverEndTheirHeadersFail) {
    struct Case {
        Script script;
        int expected;
        int headerCalls;
    };
    const Case cases[] = {
        {Script().waitForRequest().hold(), kStringNoAnswerInTime, 0},
        {Script().waitForRequest().send("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc").hold(),
         kStringNoAnswerInTime, 1},
        {Script().waitForRequest().send("HTTP/1.0 200 OK\r\n").sendEndless("X-Filler: aaaa\r\n"),
         kStringReplyHeaderTooLong, 0},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const Recorder recorder = fetch(cases[i].script, 200ms);
        EXPECT_EQ(recorder.ends, 1);
        EXPECT_FALSE(recorder.success);
        EXPECT_EQ(recorder.stringNumber, cases[i].expected);
        EXPECT_EQ(recorder.headerCalls, cases[i].headerCalls);
        EXPECT_TRUE(ScriptedServer::waitUntil([&] { return m_server.clientClosed(i); }));
    }

    // A slow but steady transfer outlives the timeout.
    Script steady;
    steady.waitForRequest().send("HTTP/1.0 200 OK\r\n\r\n");
    for (int i = 0; i < 6; ++i) {
        steady.pause(60ms).send("chunk");
    }
    EXPECT_TRUE(fetch(steady.close(), 200ms).success);
    EXPECT_EQ(readFile(outPath()).size(), 30u);
}

TEST_F(HttpConnectionTest, BodyThatCannotBeWrittenFailsInsteadOfSucceeding) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    m_server.setScript(Script::reply("HTTP/1.0 200 OK", {}, std::string(20000, 'z')));
    HttpTransfer transfer;
    Recorder recorder;
    ASSERT_EQ(transfer.getIntoFile(recorder, m_server.url("/"), "/dev/full", crawlHeaders()), TransferStart::Started);
    ASSERT_TRUE(ScriptedServer::waitUntil([&] { return recorder.ends > 0; }));
    EXPECT_FALSE(recorder.success);
    EXPECT_EQ(recorder.stringNumber, kStringWriteFailed);
    EXPECT_EQ(recorder.code, ENOSPC);
}

TEST_F(HttpConnectionTest, BodyInMemoryStaysThereUpToItsLimitThenSpillsOrIsDropped) {
    const std::string body(10000, 'm');
    const auto fetchIntoMemory = [&](std::size_t limit, const std::string& spillPath, HttpTransfer& transfer) {
        m_server.setScript(Script::reply("HTTP/1.0 200 OK", {}, body));
        Recorder recorder;
        EXPECT_EQ(transfer.getIntoMemory(recorder, m_server.url("/"), limit, spillPath, crawlHeaders()),
                  TransferStart::Started);
        EXPECT_TRUE(ScriptedServer::waitUntil([&] { return recorder.ends > 0; }));
        return recorder;
    };

    // Exactly at the limit: all of it in memory, nothing on disk, handed over once.
    HttpTransfer whole;
    EXPECT_TRUE(fetchIntoMemory(body.size(), outPath(), whole).success);
    EXPECT_EQ(whole.takeBody(), body);
    EXPECT_EQ(whole.takeBody(), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(outPath()));

    // One byte over: the spill file holds the whole body, from its first byte.
    HttpTransfer spilled;
    EXPECT_TRUE(fetchIntoMemory(body.size() - 1, outPath(), spilled).success);
    EXPECT_EQ(spilled.takeBody(), std::nullopt);
    EXPECT_EQ(readFile(outPath()), body);

    // Without a spill file the body is dropped, and the transfer still succeeds.
    HttpTransfer dropped;
    EXPECT_TRUE(fetchIntoMemory(0, {}, dropped).success);
    EXPECT_EQ(dropped.takeBody(), std::nullopt);

    // A spill file that cannot be created fails the transfer as a failed write.
    HttpTransfer unwritable;
    const Recorder failed = fetchIntoMemory(100, m_dir.filePath("no/such/dir").toStdString(), unwritable);
    EXPECT_FALSE(failed.success);
    EXPECT_EQ(failed.stringNumber, kStringWriteFailed);
    EXPECT_EQ(unwritable.takeBody(), std::nullopt);
}

TEST_F(HttpConnectionTest, SixtyFourTransfersAtOnceAllComplete) {
    m_server.setResponder([](std::string_view request) {
        const std::string path(request.substr(4, request.find(' ', 4) - 4));
        Script script;
        script.send("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(path.size()) + "\r\n\r\n" + path).close();
        return script;
    });
    constexpr std::size_t kCount = 64;
    std::vector<std::unique_ptr<HttpTransfer>> transfers;
    std::vector<Recorder> recorders(kCount);
    const auto file = [&](std::size_t i) { return m_dir.filePath(QString::number(i)).toStdString(); };
    for (std::size_t i = 0; i < kCount; ++i) {
        transfers.push_back(std::make_unique<HttpTransfer>());
        const std::string url = m_server.url("/f" + std::to_string(i));
        ASSERT_EQ(transfers.back()->getIntoFile(recorders[i], url, file(i), crawlHeaders()), TransferStart::Started);
    }
    ASSERT_TRUE(ScriptedServer::waitUntil(
        [&] { return std::all_of(recorders.begin(), recorders.end(), [](const Recorder& r) { return r.success; }); }));
    for (std::size_t i = 0; i < kCount; ++i) {
        EXPECT_EQ(readFile(file(i)), "/f" + std::to_string(i));
    }
}

} // namespace
} // namespace corvida
