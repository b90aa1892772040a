// SPDX-License-Identifier: MIT
// The client's TLS session against an OpenSSL server held in memory: handshakes with bytes
// split at every size, resumed sessions, refused certificates with their reasons, and a
// server that does not speak TLS.

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>
#include <openssl/ssl.h>

#include "net/TlsContext.h"
#include "net/TlsSession.h"
#include "net/TlsTrust.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

using Progress = TlsSession::Progress;

// A TLS server on memory streams, with the tests' key and the given certificate, speaking
// protocols up to maxVersion (0: every one).
class MemoryServer {
public:
    explicit MemoryServer(const char* certificate = "tls/server.pem", int maxVersion = 0)
        : m_context(SSL_CTX_new(TLS_server_method())) {
        EXPECT_EQ(SSL_CTX_use_certificate_chain_file(m_context, test::dataPath(certificate).c_str()), 1);
        EXPECT_EQ(SSL_CTX_use_PrivateKey_file(m_context, test::dataPath("tls/server.key").c_str(), SSL_FILETYPE_PEM),
                  1);
        SSL_CTX_set_max_proto_version(m_context, maxVersion);
    }
    ~MemoryServer() {
        SSL_free(m_connection);
        SSL_CTX_free(m_context);
    }

    // Forgets the connection before, and takes a new one.
    void accept() {
        SSL_free(m_connection);
        m_connection = SSL_new(m_context);
        SSL_set_bio(m_connection, BIO_new(BIO_s_mem()), BIO_new(BIO_s_mem()));
        BIO_set_mem_eof_return(SSL_get_rbio(m_connection), -1);
        SSL_set_accept_state(m_connection);
    }
    void receive(std::string_view bytes) {
        BIO_write(SSL_get_rbio(m_connection), bytes.data(), static_cast<int>(bytes.size()));
    }
    std::string takeOutgoing() {
        std::string bytes(BIO_ctrl_pending(SSL_get_wbio(m_connection)), '\0');
        BIO_read(SSL_get_wbio(m_connection), bytes.data(), static_cast<int>(bytes.size()));
        return bytes;
    }
    // Moves the handshake or the reading on; returns the text read.
    std::string step() {
        std::string text;
        if (SSL_is_init_finished(m_connection) == 0) {
            SSL_do_handshake(m_connection);
        }
        char buffer[256];
        std::size_t got = 0;
        while (SSL_is_init_finished(m_connection) != 0 && SSL_read_ex(m_connection, buffer, sizeof buffer, &got) == 1) {
            text.append(buffer, got);
        }
        return text;
    }
    void send(std::string_view text) {
        std::size_t written = 0;
        SSL_write_ex(m_connection, text.data(), text.size(), &written);
    }
    void close() { SSL_shutdown(m_connection); }
    int version() const { return SSL_version(m_connection); }

private:
    SSL_CTX* m_context;
    SSL* m_connection = nullptr;
};

// Carries bytes both ways, at most chunk at a time, until the client's handshake ends; gives
// how it ended.
Progress shakeHands(TlsSession& client, MemoryServer& server, std::size_t chunk = 1 << 20) {
    std::string bytes;
    for (int round = 0; round < 100000; ++round) {
        const Progress progress = client.handshake();
        client.takeOutgoing(bytes);
        for (std::size_t at = 0; at < bytes.size(); at += chunk) {
            server.receive(std::string_view(bytes).substr(at, chunk));
            server.step();
        }
        if (progress != Progress::Pending) {
            return progress;
        }
        const std::string answer = server.takeOutgoing();
        for (std::size_t at = 0; at < answer.size(); at += chunk) {
            client.receive(std::string_view(answer).substr(at, chunk));
            if (client.handshake() != Progress::Pending) {
                break;
            }
        }
    }
    return Progress::Pending;
}

std::shared_ptr<TlsContext> trusting(bool verifying = true) {
    TlsTrust trust;
    EXPECT_FALSE(trust.addCaFile(test::dataPath("tls/ca.pem")));
    trust.setVerifying(verifying);
    return trust.context();
}

TEST(TlsSessionTest, HandshakeAndReplyWithBytesSplitAtAnySizeThenResumed) {
    const std::shared_ptr<TlsContext> context = trusting();
    MemoryServer server;
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{1 << 20}}) {
        server.accept();
        TlsSession client(context, "localhost", 443);
        ASSERT_EQ(shakeHands(client, server, chunk), Progress::Ready) << chunk << ": " << client.failureReason();

        ASSERT_TRUE(client.send("HEAD / HTTP/1.0\r\n\r\n"));
        std::string bytes;
        client.takeOutgoing(bytes);
        server.receive(bytes);
        EXPECT_EQ(server.step(), "HEAD / HTTP/1.0\r\n\r\n");
        server.send("HTTP/1.0 200 OK\r\n\r\n");
        server.close();
        const std::string answer = server.takeOutgoing();
        std::string text;
        char buffer[5];
        for (std::size_t at = 0; at < answer.size(); at += chunk) {
            client.receive(std::string_view(answer).substr(at, chunk));
            std::ptrdiff_t count = 0;
            while ((count = client.read(buffer, sizeof buffer)) > 0) {
                text.append(buffer, static_cast<std::size_t>(count));
            }
            ASSERT_EQ(count, 0) << client.failureReason();
        }
        EXPECT_EQ(text, "HTTP/1.0 200 OK\r\n\r\n");
        EXPECT_TRUE(client.closedByServer());
        // Only the first connection shakes hands in full; the server's session is kept once.
        EXPECT_EQ(client.resumed(), chunk != 1) << chunk;
        EXPECT_EQ(context->sessionCount(), 1U);
    }

    // Another port is another server: nothing to resume there.
    server.accept();
    TlsSession other(context, "127.0.0.1", 8443);
    EXPECT_EQ(shakeHands(other, server), Progress::Ready) << other.failureReason();
    EXPECT_FALSE(other.resumed());
}

TEST(TlsSessionTest, AnOlderSessionIsResumedInItsOwnProtocolAndDroppedWhenRefused) {
    const std::shared_ptr<TlsContext> context = trusting();
    // Returns whether the connection resumed, and the protocol the server spoke.
    const auto connect = [&context](MemoryServer& server) {
        server.accept();
        TlsSession client(context, "localhost", 443);
        EXPECT_EQ(shakeHands(client, server), Progress::Ready) << client.failureReason();
        return std::pair(client.resumed(), server.version());
    };
    MemoryServer older("tls/server.pem", TLS1_2_VERSION);
    EXPECT_EQ(connect(older), std::pair(false, TLS1_2_VERSION));
    EXPECT_EQ(connect(older), std::pair(true, TLS1_2_VERSION));
    // The server now speaks TLS 1.3 and no longer knows the session: the connection that
    // offered TLS 1.2 for it shakes hands in full and drops it, and the next offers TLS 1.3.
    MemoryServer upgraded;
    EXPECT_EQ(connect(upgraded), std::pair(false, TLS1_2_VERSION));
    EXPECT_EQ(context->sessionCount(), 0U);
    EXPECT_EQ(connect(upgraded), std::pair(false, TLS1_3_VERSION));
}

TEST(TlsSessionTest, RefusedCertificatesSayWhy) {
    struct Case {
        const char* certificate;
        const char* host;
        bool addTestCa;
        const char* reason;
    };
    const Case cases[] = {
        {"tls/server.pem", "localhost", false,
         "The issuer certificate of a locally looked up certificate could not be found"},
        {"tls/expired.pem", "localhost", true, "The certificate has expired"},
        {"tls/server.pem", "example.org", true,
         "The host name did not match any of the valid hosts for this certificate"},
        {"tls/server.pem", "127.0.0.2", true,
         "The host name did not match any of the valid hosts for this certificate"},
    };
    for (const Case& c : cases) {
        TlsTrust trust;
        if (c.addTestCa) {
            EXPECT_FALSE(trust.addCaFile(test::dataPath("tls/ca.pem")));
        }
        const std::shared_ptr<TlsContext> context = trust.context();
        MemoryServer server(c.certificate);
        server.accept();
        TlsSession client(context, c.host, 443);
        EXPECT_EQ(shakeHands(client, server), Progress::Failed) << c.certificate << ' ' << c.host;
        EXPECT_TRUE(client.certificateRefused()) << c.host;
        EXPECT_EQ(client.failureReason(), c.reason) << c.host;
        EXPECT_FALSE(client.send("GET / HTTP/1.0\r\n\r\n"));
        EXPECT_EQ(context->sessionCount(), 0U) << "a refused server's session is not kept";

        // Without the check the same server is taken as it comes.
        server.accept();
        TlsSession unchecked(trusting(false), c.host, 443);
        EXPECT_EQ(shakeHands(unchecked, server), Progress::Ready) << c.host << ": " << unchecked.failureReason();
    }
    // An unknown code still gets a text, begun in capitals.
    EXPECT_EQ(TlsSession::verifyResultText(X509_V_ERR_OUT_OF_MEM), "Out of memory");
}

TEST(TlsSessionTest, AServerThatDoesNotSpeakTlsFailsWithAReason) {
    for (const std::string& answer : {std::string("HTTP/1.0 400 Bad Request\r\n\r\n"), std::string(3000, '\x17'),
                                      std::string("\x15\x03\x03\x00\x02\x02\x28", 7)}) {
        TlsSession client(trusting(), "localhost", 443);
        EXPECT_EQ(client.handshake(), Progress::Pending);
        client.receive(answer);
        EXPECT_EQ(client.handshake(), Progress::Failed);
        EXPECT_FALSE(client.certificateRefused());
        EXPECT_FALSE(client.failureReason().empty());
        char buffer[16];
        EXPECT_EQ(client.read(buffer, sizeof buffer), -1);
    }
    // A bracketed IPv6 address is checked as an address, and not sent as a name.
    MemoryServer server;
    server.accept();
    TlsSession client(trusting(), "[::1]", 443);
    shakeHands(client, server);
    EXPECT_EQ(client.failureReason(), "The host name did not match any of the valid hosts for this certificate");
}

} // namespace
} // namespace corvida
