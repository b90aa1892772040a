// SPDX-License-Identifier: MIT
// The crawl's socket against real loopback servers: the order of its reports, the bytes it
// holds for a reader that does not read, refusals reported from the event loop, and a reader
// that aborts from inside a report.

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include <QHostAddress>
#include <gtest/gtest.h>

#include "net/TcpStream.h"
#include "support/ScriptedServer.h"

namespace corvida {
namespace {

using test::Script;
using test::ScriptedServer;

// Records what a stream reports, in order, and reads everything that arrives unless told
// to hold off.
struct Reports {
    explicit Reports(TcpStream& watched) : stream(watched) {
        QObject::connect(&watched, &TcpStream::connected, [this] { events.push_back("connected"); });
        QObject::connect(&watched, &TcpStream::bytesWritten,
                         [this](qint64 count) { events.push_back("written " + std::to_string(count)); });
        QObject::connect(&watched, &TcpStream::readyRead, [this] {
            if (events.empty() || events.back() != "read") {
                events.push_back("read");
            }
            while (!holdOff && stream.bytesAvailable() > 0) {
                char buffer[4096];
                received.append(buffer, stream.read(buffer, sizeof buffer));
            }
        });
        QObject::connect(&watched, &TcpStream::disconnected, [this] { events.push_back("closed"); });
        QObject::connect(&watched, &TcpStream::errorOccurred,
                         [this](int error) { events.push_back("error " + std::to_string(error)); });
    }
    bool ended() const { return !events.empty() && (events.back() == "closed" || events.back().starts_with("error")); }

    TcpStream& stream;
    std::vector<std::string> events;
    std::string received;
    bool holdOff = false;
};

TEST(TcpStreamTest, ReportsConnectWriteAnswerAndCloseInOrder) {
    ScriptedServer server;
    server.setScript(Script::reply("HTTP/1.0 200 OK", {}, "body"));
    TcpStream stream;
    Reports reports(stream);
    stream.connectTo(QHostAddress::LocalHost, server.port());
    // Written while still connecting: it leaves once connected.
    const std::string request = "GET / HTTP/1.0\r\n\r\n";
    stream.write(request.data(), request.size());
    EXPECT_TRUE(reports.events.empty()) << "nothing is reported from inside a call";
    ScriptedServer::waitUntil([&] { return reports.ended(); });

    EXPECT_EQ(reports.events, (std::vector<std::string>{"connected", "written 18", "read", "closed"}));
    EXPECT_EQ(reports.received, "HTTP/1.0 200 OK\r\n\r\nbody");
    EXPECT_EQ(server.request(0), request);
}

TEST(TcpStreamTest, HoldsAtMostItsReadAheadForAReaderThatDoesNotRead) {
    ScriptedServer server;
    const std::size_t total = std::size_t{4} << 20;
    server.setScript(Script().sendEndless(std::string(1000, 'x'), total).close());
    TcpStream stream;
    Reports reports(stream);
    reports.holdOff = true;
    stream.connectTo(QHostAddress::LocalHost, server.port());
    ScriptedServer::waitUntil([&] { return stream.bytesAvailable() >= TcpStream::kReadAhead; });
    // Give the server time to send more: the stream does not take it.
    ScriptedServer::waitUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_LT(stream.bytesAvailable(), TcpStream::kReadAhead + 64 * 1024);
    EXPECT_FALSE(reports.ended());

    reports.holdOff = false;
    char buffer[4096];
    while (stream.bytesAvailable() > 0) {
        reports.received.append(buffer, stream.read(buffer, sizeof buffer));
    }
    ScriptedServer::waitUntil([&] { return reports.ended(); });
    // The server sends whole lines until it has sent the total.
    EXPECT_GE(reports.received.size(), total);
    EXPECT_LT(reports.received.size(), total + 1000);
    EXPECT_EQ(reports.events.back(), "closed");
}

TEST(TcpStreamTest, RefusalIsReportedFromTheEventLoopAndAbortSilencesTheRest) {
    TcpStream refused;
    Reports refusal(refused);
    refused.connectTo(QHostAddress::LocalHost, ScriptedServer::refusedPort());
    EXPECT_TRUE(refusal.events.empty());
    ScriptedServer::waitUntil([&] { return refusal.ended(); });
    EXPECT_EQ(refusal.events, (std::vector<std::string>{"error " + std::to_string(ECONNREFUSED)}));
    EXPECT_EQ(refused.state(), TcpStream::State::Unconnected);

    // A reader that aborts on the first bytes hears nothing more, not even the close that
    // came with them.
    ScriptedServer server;
    server.setScript(Script().send("all at once").close());
    TcpStream stream;
    Reports reports(stream);
    QObject::connect(&stream, &TcpStream::readyRead, [&stream] { stream.abort(); });
    stream.connectTo(QHostAddress::LocalHost, server.port());
    ScriptedServer::waitUntil([&] { return stream.state() == TcpStream::State::Unconnected; });
    ScriptedServer::waitUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(reports.events, (std::vector<std::string>{"connected", "read"}));
}

} // namespace
} // namespace corvida
