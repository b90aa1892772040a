// SPDX-License-Identifier: MIT
// https transfers against a TLS server of the test's own: trust by an added CA, refused
// certificates with their reasons, servers that do not speak TLS or stall in the handshake,
// and the tunnel through a proxy.

#include <chrono>
#include <memory>
#include <string>

#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include "TransferRecorder.h"
#include "net/HttpRequestHeaders.h"
#include "net/HttpTransfer.h"
#include "net/StringTable.h"
#include "net/TlsTrust.h"
#include "support/ScriptedServer.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

using namespace std::chrono_literals;
using test::Script;
using test::ScriptedServer;
using Recorder = test::TransferRecorder;

const std::string kReply = "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello";

ScriptedServer::TlsIdentity identity() {
    return {test::dataPath("tls/server.pem"), test::dataPath("tls/server.key")};
}

std::shared_ptr<TlsContext> trustingTestCa() {
    TlsTrust trust;
    EXPECT_FALSE(trust.addCaFile(test::dataPath("tls/ca.pem")));
    return trust.context();
}

// HEADs url over a transfer with the given TLS configuration and proxy, until its end report.
Recorder head(const std::string& url, const std::shared_ptr<TlsContext>& tls, std::string_view proxy = {},
              std::chrono::milliseconds timeout = 10s) {
    HttpTransfer transfer;
    transfer.setTimeout(timeout);
    transfer.setTlsContext(tls);
    Recorder recorder;
    HttpRequestHeaders headers;
    headers.userAgent = "Corvida-Test/1.0";
    EXPECT_EQ(transfer.head(recorder, url, headers, proxy), TransferStart::Started);
    EXPECT_TRUE(ScriptedServer::waitUntil([&] { return recorder.ends > 0; }, timeout + 5s));
    recorder.texts.push_back(transfer.failureText());
    return recorder;
}

TEST(HttpsTransferTest, ServerTrustedThroughAnAddedCaAnswersOverTls) {
    ScriptedServer server(identity());
    server.setScript(Script().waitForRequest().send(kReply).close());
    const Recorder recorder = head(server.url("/a.htm"), trustingTestCa());
    EXPECT_TRUE(recorder.success) << recorder.texts.back();
    // The request is the plain one, on the default-port rule of https.
    EXPECT_EQ(server.request(0), "HEAD /a.htm HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
                                     "\r\nUser-Agent: Corvida-Test/1.0\r\n\r\n");

    TlsTrust unreadable;
    EXPECT_TRUE(unreadable.addCaFile(test::dataPath("tls/missing.pem")));
    EXPECT_TRUE(unreadable.addCaFile(test::dataPath("tls/server.key")));
}

// The session's tests hold the other reasons, and a session that does not check.
TEST(HttpsTransferTest, CertificateThatCannotBeTrustedFailsWithItsReasonBeforeTheRequest) {
    ScriptedServer server(identity());
    server.setScript(Script().waitForRequest().send(kReply).close());
    const Recorder unknownCa = head(server.url("/"), nullptr);
    EXPECT_FALSE(unknownCa.success);
    EXPECT_EQ(unknownCa.stringNumber, kStringCertificateRejected);
    EXPECT_EQ(unknownCa.texts.back(), "The server's certificate was not accepted: The issuer certificate of a locally "
                                      "looked up certificate could not be found.");
    EXPECT_EQ(server.request(0), ""); // nothing of the request left the client
}

// Garbage in place of the handshake is the session's to tell; here the reply of a plain HTTP
// server, a close during the handshake and a server that never answers it.
TEST(HttpsTransferTest, ServersThatDoNotSpeakTlsFailEachWithAClearText) {
    ScriptedServer plain;
    plain.setScript(Script().send("HTTP/1.0 400 Bad Request\r\n\r\n").close());
    const std::string httpsUrl = "https://127.0.0.1:" + std::to_string(plain.port()) + "/";
    Recorder recorder = head(httpsUrl, trustingTestCa());
    EXPECT_EQ(recorder.stringNumber, kStringTlsFailed);
    EXPECT_TRUE(recorder.texts.back().starts_with("The secure connection to the server failed: "))
        << recorder.texts.back();

    plain.setScript(Script().close());
    recorder = head(httpsUrl, trustingTestCa());
    EXPECT_FALSE(recorder.success);
    EXPECT_EQ(recorder.stringNumber, kStringTlsFailed) << recorder.texts.back();

    plain.setScript(Script().hold());
    recorder = head(httpsUrl, trustingTestCa(), {}, 300ms);
    EXPECT_EQ(recorder.stringNumber, kStringNoAnswerInTime);
}

// A proxy of the test's own: it reads one CONNECT request, answers it with answer and, for a
// 200, relays bytes both ways to target's port.
class TunnelProxy {
public:
    TunnelProxy(std::uint16_t target, std::string answer) : m_target(target), m_answer(std::move(answer)) {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            QTcpSocket* client = m_server.nextPendingConnection();
            QObject::connect(client, &QTcpSocket::readyRead, client, [this, client] {
                if (m_relay != nullptr) {
                    m_relay->write(client->readAll());
                    return;
                }
                m_request += client->readAll().toStdString();
                if (m_request.find("\r\n\r\n") == std::string::npos) {
                    return;
                }
                client->write(m_answer.data(), static_cast<qint64>(m_answer.size()));
                if (!m_answer.starts_with("HTTP/1.0 200")) {
                    client->disconnectFromHost();
                    return;
                }
                m_relay = new QTcpSocket(client);
                QObject::connect(m_relay, &QTcpSocket::readyRead, client,
                                 [this, client] { client->write(m_relay->readAll()); });
                QObject::connect(m_relay, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
                m_relay->connectToHost(QHostAddress::LocalHost, m_target);
                m_relay->waitForConnected(2000);
            });
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(m_server.serverPort()); }
    const std::string& request() const { return m_request; }

private:
    QTcpServer m_server;
    std::uint16_t m_target;
    std::string m_answer;
    std::string m_request;
    QTcpSocket* m_relay = nullptr;
};

TEST(HttpsTransferTest, ThroughAProxyHttpsGoesInATunnelThatTheProxyMayRefuse) {
    ScriptedServer server(identity());
    server.setScript(Script().waitForRequest().send(kReply).close());
    const std::string url = "https://localhost:" + std::to_string(server.port()) + "/t.htm";
    TunnelProxy proxy(server.port(), "HTTP/1.0 200 Connection established\r\n\r\n");
    const Recorder recorder = head(url, trustingTestCa(), proxy.address());
    EXPECT_TRUE(recorder.success) << recorder.texts.back();
    const std::string authority = "localhost:" + std::to_string(server.port());
    EXPECT_EQ(proxy.request(),
              "CONNECT " + authority + " HTTP/1.0\r\nHost: " + authority + "\r\nUser-Agent: Corvida-Test/1.0\r\n\r\n");
    // Inside the tunnel the server sees the request of a direct connection.
    EXPECT_EQ(server.request(0),
              "HEAD /t.htm HTTP/1.0\r\nHost: " + authority + "\r\nUser-Agent: Corvida-Test/1.0\r\n\r\n");

    TunnelProxy refusing(server.port(), "HTTP/1.0 403 Forbidden\r\n\r\n");
    const Recorder refused = head(url, trustingTestCa(), refusing.address());
    EXPECT_EQ(refused.stringNumber, kStringTunnelRefused);
    EXPECT_EQ(refused.texts.back(), "The proxy did not open a tunnel to the server: 403 Forbidden.");
}

} // namespace
} // namespace corvida
