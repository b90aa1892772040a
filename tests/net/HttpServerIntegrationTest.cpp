// SPDX-License-Identifier: MIT
// Transfers against a real HTTP server: Python's http.server serving tests/data/net/site on
// 127.0.0.1, started and stopped by the test.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TransferRecorder.h"
#include "net/HttpRequestHeaders.h"
#include "net/HttpTransfer.h"
#include "support/ScriptedServer.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

using namespace std::chrono_literals;
using test::ScriptedServer;
using test::TransferRecorder;

constexpr const char* kPython = "/usr/bin/python3";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class HttpServerIntegrationTest : public testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kPython)) {
            GTEST_SKIP() << "no " << kPython;
        }
        m_port = ScriptedServer::refusedPort();
        m_server.setProgram(QString::fromLatin1(kPython));
        m_server.setArguments({"-m", "http.server", "--bind", "127.0.0.1", QString::number(m_port), "--directory",
                               QString::fromStdString(test::dataPath("net/site"))});
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.setStandardOutputFile(QProcess::nullDevice());
        m_server.start();
        ASSERT_TRUE(m_server.waitForStarted(5000));
        // The server is ready once it accepts a connection.
        const bool listening = ScriptedServer::waitUntil(
            [this] {
                QTcpSocket probe;
                probe.connectToHost(QStringLiteral("127.0.0.1"), m_port);
                return probe.waitForConnected(100);
            },
            10s);
        ASSERT_TRUE(listening) << "http.server did not start";
    }

    void TearDown() override {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(3000)) {
                m_server.kill();
                m_server.waitForFinished(3000);
            }
        }
    }

    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }
    std::string outPath() const { return m_dir.filePath(QStringLiteral("out")).toStdString(); }

    // Fetches path into outPath() with a small buffer, so that bodies take many reads.
    void get(TransferRecorder& recorder, const std::string& path, const HttpRequestHeaders& headers = {}) {
        HttpTransfer transfer(256);
        ASSERT_EQ(transfer.getIntoFile(recorder, url(path), outPath(), headers), 1);
        ASSERT_TRUE(ScriptedServer::waitUntil([&] { return recorder.ends > 0; }, 10s));
    }

    QProcess m_server;
    std::uint16_t m_port = 0;
    QTemporaryDir m_dir;
};

TEST_F(HttpServerIntegrationTest, FetchesPagesAndBinaryFilesByteForByte) {
    for (const std::string path : {"/index.html", "/sub/page.htm", "/bytes.bin"}) {
        SCOPED_TRACE(path);
        TransferRecorder recorder;
        get(recorder, path);
        EXPECT_TRUE(recorder.success);
        EXPECT_EQ(recorder.ends, 1);
        EXPECT_EQ(recorder.status, 200);
        const std::string expected = readFile(test::dataPath("net/site" + path));
        EXPECT_EQ(recorder.entity.contentLength, static_cast<std::int32_t>(expected.size()));
        EXPECT_EQ(readFile(outPath()), expected);
        EXPECT_GT(recorder.entity.lastModified, 0);
        EXPECT_TRUE(recorder.reply.server.has_value());
    }
}

// A missing file is a reply like any other; a conditional request for an unchanged page gets
// no body.
TEST_F(HttpServerIntegrationTest, MissingFileAndConditionalGetAreAnsweredAsSuccesses) {
    TransferRecorder missing;
    get(missing, "/no/such/file.htm");
    EXPECT_TRUE(missing.success);
    EXPECT_EQ(missing.status, 404);

    // The page's own date (Last-Modified) asks for it only when changed since.
    TransferRecorder first;
    get(first, "/sub/page.htm");
    HttpRequestHeaders conditional;
    conditional.ifModifiedSince = first.entity.lastModified;
    TransferRecorder second;
    get(second, "/sub/page.htm", conditional);
    EXPECT_TRUE(second.success);
    EXPECT_EQ(second.status, 304);
    EXPECT_EQ(readFile(outPath()), "");
}

} // namespace
} // namespace corvida
