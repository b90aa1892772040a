// SPDX-License-Identifier: MIT
#pragma once

// An HttpConnection runs one HTTP/1.0 request over TCP on the event loop, without blocking:
// it looks up the host (a dotted IPv4 address or a bracketed IPv6 address is connected to
// without a lookup), connects, sends the request text, reads the reply's header block and
// passes the body on, all as QHostInfo and TcpStream signals arrive. It tells its
// HttpRequest everything that happens and ends each request with exactly one end report, or
// none when stopped.
//
// A lookup may give several addresses, IPv6 and IPv4 alike. They are tried in the order the
// lookup gives them until one accepts the connection; only when the last one fails does the
// request fail, with that address's error. The timeout below counts for the whole transfer,
// whatever the number of addresses tried.
//
// An https request goes over TLS (a TlsSession on the socket's bytes): once connected, the
// connection shakes hands, naming the URL's host for the server's certificate and for server
// name indication, checks the certificate as its TLS context says, and only then sends the
// request. Connections that share a context resume the sessions that servers gave before. Through a proxy
// it first asks the proxy to CONNECT to the server and reads the proxy's answer. A refused
// certificate, a failed handshake or a refused tunnel fails the request with its own text,
// which names the reason (failureText()).
//
// Three guards keep a misbehaving server from holding a transfer: a header block longer
// than HttpReplyParser::kMaxHeaderBlock fails, a transfer without any progress for
// timeout() fails, and a reply cut short (before its header block ended, or before
// Content-Length body bytes arrived) fails instead of passing as complete.
//
// The connection belongs to an HttpTransfer. Its request may stop it from inside any report
// (the connection then makes no further call and touches nothing of the request), but must not
// destroy it there: the connection is destroyed from the event loop or later, never while one
// of its reports runs. It owns its socket and timer and deletes them with itself.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QHostAddress>
#include <QList>
#include <QObject>

#include "net/HttpReplyParser.h"

class QHostInfo;
class QTimer;

namespace corvida {

class HttpRequest;
struct HttpRequestHeaders;
class TcpStream;
class TlsContext;
class TlsSession;

// The connection's states; the numbers are those shown in diagnostics.
enum class ConnectionState : int {
    Made = 0,          // made, or a request is being set up
    LookingUp = 1,     // looking up the host
    Connecting = 2,    // connecting
    Sending = 3,       // sending the request
    InLine = 4,        // reading a line of the header block
    CrInLine = 5,      // a CR has been read inside a line
    LineStart = 6,     // at the start of a line (after its LF)
    CrAtLineStart = 7, // a CR has been read at the start of a line
    Body = 8,          // reading the body
    Finished = 9,      // finished
    Stopped = 10,      // stopped (cancelled or closed)
    Failed = 11,       // failed (an error has been reported)
    Tunnelling = 12,   // waiting for the proxy to open a tunnel
    Securing = 13,     // shaking hands for TLS
};

class HttpConnection : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{60000};
    static constexpr int kDefaultBufferSize = 8192;

    // Gives the addresses of a host name in the order to try them; an empty list means the
    // host was not found.
    using HostLookup = std::function<QList<QHostAddress>(std::string_view host)>;

    // bufferSize is the most bytes read from the socket at once; a value below 1 keeps
    // kDefaultBufferSize.
    explicit HttpConnection(int bufferSize, QObject* parent = nullptr);
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;
    // Stops silently.
    ~HttpConnection() override;

    // Starts request (not owned; it must live until the end report or stop()) with the
    // request text built from headers (used during the call only). proxy is "host:port" or
    // empty. Returns 1 when the request is under way (or was stopped from inside its first
    // report), 0 when it failed at once: then the end report has already been made. A
    // connection runs one request only.
    int start(HttpRequest& request, const HttpRequestHeaders& headers, std::string_view proxy = {});
    // Cancels a pending lookup, closes the socket and forgets the request: no report follows,
    // also when called from inside one of the request's reports.
    void stop();

    // How long the transfer may go without any progress (lookup done, connected, bytes
    // sent or received) before it fails; zero or less waits for ever. Set it before start().
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    std::chrono::milliseconds timeout() const { return m_timeout; }

    // The TLS context of https requests: which certificates are trusted, whether they are
    // checked at all, and the sessions to resume. Set it before start(); without one, the
    // program's default is used (the system's CA store, certificates checked).
    void setTlsContext(std::shared_ptr<TlsContext> context) { m_tlsContext = std::move(context); }

    // Replaces the system's name lookup with lookup, which the connection then calls from the
    // event loop, as soon as it runs after start(). A null lookup restores the system's. Set it
    // before start().
    void setHostLookup(HostLookup lookup) { m_hostLookup = std::move(lookup); }

    ConnectionState state() const { return m_state; }
    // The bytes sent (or to send) and the host and port connected to (the proxy's with one).
    const std::string& requestText() const { return m_requestText; }
    const std::string& host() const { return m_host; }
    std::uint16_t port() const { return m_port; }
    // The address being connected to, connected to, or tried last; null before the first try.
    const QHostAddress& address() const { return m_address; }
    // The reply, as far as it has arrived.
    const HttpReplyParser& reply() const { return m_parser; }
    std::int64_t bodyReceived() const { return m_bodyReceived; }
    // The text of the failure reported last: the string table's text of its number, with the
    // reason filled in where the text has one; empty before a failure.
    const std::string& failureText() const { return m_failureText; }

    // Returns the address a host text names literally: a dotted IPv4 address ("127.0.0.1":
    // four decimal numbers of 0 to 255) or an IPv6 address in brackets ("[::1]"). Returns
    // nullopt for anything else, which is looked up by name.
    static std::optional<QHostAddress> literalAddress(std::string_view host);

private:
    void lookupDone(const QHostInfo& info);
    // Starts connecting to m_addresses, the first one first.
    void connectToAddresses();
    // Tries the next of m_addresses.
    void connectNext();
    // The current address failed with the given report: tries the next one, or fails when
    // it was the last.
    void addressFailed(int stringNumber, int errorCode);
    void connectEvent();
    // Sends the request text: on the connection itself, or inside its TLS session.
    void sendRequest();
    // Reads the proxy's answer to the tunnel request.
    void readTunnelReply();
    void startTls();
    // Moves the handshake on with what has arrived; sends the request once it is done.
    void continueHandshake();
    // Writes what the TLS session has to send to the server.
    void flushTls();
    // Reads at most capacity bytes of the reply (decrypted when secure): the count, 0 when
    // nothing is there yet, -1 when reading failed (the failure is then reported).
    qint64 readReply(char* buffer, qint64 capacity);
    // A failure of the connection, with its errno.
    void socketError(int error);
    void writeEvent(qint64 written);
    void readEvent();
    void closeEvent();
    void timedOut();

    // Feeds received bytes through the header block and the body. Returns false when the
    // transfer ended or was stopped meanwhile.
    bool receive(const char* bytes, std::size_t size);
    // The peer closed and everything was read: the reply is complete or cut short.
    void endAtClose();
    void succeed();
    // Fails with the text of stringNumber; a reason fills the text's "%s".
    void fail(int stringNumber, int errorCode, std::string_view reason = {});
    void makeSocket();
    // Forgets the request and makes its end report, the last call to it.
    void end(bool success, int stringNumber, int errorCode);
    void closeSocket();
    void progressMade();
    void reportProgress();
    bool expectsBody() const;
    bool running() const;

    std::chrono::milliseconds m_timeout = kDefaultTimeout;
    std::chrono::steady_clock::time_point m_lastProgress;
    ConnectionState m_state = ConnectionState::Made;
    // The request being run; null before start() and once the end report was made or the
    // connection was stopped, so that nothing reaches the request afterwards.
    HttpRequest* m_request = nullptr;
    std::string m_requestText;
    std::string m_tunnelText;
    bool m_secure = false;
    std::string m_serverName;
    std::uint16_t m_serverPort = 0;
    std::shared_ptr<TlsContext> m_tlsContext;
    std::unique_ptr<TlsSession> m_tls;
    std::string m_tlsOutgoing;
    std::string m_failureText;
    std::string m_host;
    std::uint16_t m_port = 80;
    std::int64_t m_sent = 0;
    // The bytes written once the request is out: those of the request, and, when secure, the
    // handshake's last bytes that were still waiting to leave.
    std::int64_t m_sendTarget = 0;
    int m_lookupId = -1;
    HostLookup m_hostLookup;
    QList<QHostAddress> m_addresses;
    qsizetype m_nextAddress = 0;
    QHostAddress m_address;
    // A try of the next address is queued: the stream reconnects from the event loop, not from
    // inside its own error report.
    bool m_retryQueued = false;
    std::unique_ptr<TcpStream> m_socket;
    std::unique_ptr<QTimer> m_timer;
    HttpReplyParser m_parser;
    HttpReplyParser m_tunnelParser;
    std::int64_t m_bodyReceived = 0;
    bool m_closed = false;
    std::vector<char> m_buffer; // the most bytes read from the stream at once
};

} // namespace corvida
