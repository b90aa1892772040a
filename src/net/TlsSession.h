// SPDX-License-Identifier: MIT
#pragma once

// A TlsSession is the client side of one TLS connection, run over bytes that the caller
// carries: what arrives from the server goes in with receive(), and what has to go to the
// server comes out of takeOutgoing() after every call. It owns no socket and never waits, so
// a connection drives it from its socket's signals.
//
// The session names its server for server name indication (not for an address, which TLS
// does not send) and, when its context checks certificates, requires the server's certificate
// to be valid for that name or address. A failure keeps OpenSSL's reason in a text for users;
// a refused certificate is told apart from any other failure.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct ssl_st;
struct bio_st;

namespace corvida {

class TlsContext;

class TlsSession {
public:
    enum class Progress {
        Pending, // more bytes from the server are needed
        Ready,   // the handshake is done: send() and read() may be used
        Failed,  // the session failed; failureReason() says why
    };

    // A session with host (a name, a dotted IPv4 address or a bracketed IPv6 one) at port.
    TlsSession(std::shared_ptr<TlsContext> context, std::string_view host, std::uint16_t port);
    TlsSession(const TlsSession&) = delete;
    TlsSession& operator=(const TlsSession&) = delete;
    ~TlsSession();

    // Takes bytes that arrived from the server.
    void receive(std::string_view bytes);
    // Moves the bytes to send to the server since the last call into outgoing, which is
    // cleared first.
    void takeOutgoing(std::string& outgoing);

    // Starts or continues the handshake.
    Progress handshake();
    // Encrypts plaintext for the server; false when the session failed.
    bool send(std::string_view plaintext);
    // Decrypts into buffer what has arrived: the count of bytes, 0 when nothing is there yet
    // or the server closed the session (closedByServer()), -1 when the session failed.
    std::ptrdiff_t read(char* buffer, std::size_t capacity);

    // Whether the server ended the session in order (a TLS close alert).
    bool closedByServer() const { return m_closedByServer; }
    // Whether the handshake resumed a session instead of checking the certificate again.
    bool resumed() const;
    // Whether the failure was the server's certificate, refused by the check.
    bool certificateRefused() const { return m_certificateRefused; }
    // Why the session failed, as a text for users; empty before a failure.
    const std::string& failureReason() const { return m_failureReason; }

    // The text for users of an OpenSSL certificate check result (X509_V_ERR_...).
    static std::string verifyResultText(long result);

private:
    // Looks at the result of an OpenSSL call that returned value: true when it went well or
    // only waits for bytes, false (with the reason kept) when the session failed.
    bool settle(int value);

    std::shared_ptr<TlsContext> m_context;
    std::string m_server; // "host:port": the sessions kept are the server's
    ssl_st* m_connection = nullptr;
    bio_st* m_incoming = nullptr; // owned by the connection
    bio_st* m_outgoing = nullptr; // owned by the connection
    bool m_failed = false;
    bool m_closedByServer = false;
    bool m_certificateRefused = false;
    std::string m_failureReason;
};

} // namespace corvida
