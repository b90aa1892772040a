// SPDX-License-Identifier: MIT
#include "net/HttpConnection.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <utility>

#include <QHostAddress>
#include <QHostInfo>
#include <QTimer>

#include "net/HttpRequest.h"
#include "net/HttpRequestHeaders.h"
#include "net/StringTable.h"
#include "net/TcpStream.h"
#include "net/TlsContext.h"
#include "net/TlsSession.h"
#include "net/TlsTrust.h"

namespace corvida {

namespace {

// The resolver-style code passed on for a failed lookup.
int lookupErrorCode(QHostInfo::HostInfoError error) {
    return error == QHostInfo::HostNotFound ? HOST_NOT_FOUND : NO_RECOVERY;
}

bool isReading(ConnectionState state) {
    return state >= ConnectionState::InLine && state <= ConnectionState::Body;
}

// The context of https requests whose connection was given none: the system's CAs, checked.
// Made once, at the first such request.
const std::shared_ptr<TlsContext>& defaultTlsContext() {
    static const std::shared_ptr<TlsContext> context = TlsTrust().context();
    return context;
}

} // namespace

HttpConnection::HttpConnection(int bufferSize, QObject* parent)
    : QObject(parent), m_timer(std::make_unique<QTimer>()),
      m_buffer(static_cast<std::size_t>(bufferSize > 0 ? bufferSize : kDefaultBufferSize)) {
    m_timer->setSingleShot(true);
    connect(m_timer.get(), &QTimer::timeout, this, &HttpConnection::timedOut);
}

HttpConnection::~HttpConnection() {
    stop();
    m_timer->disconnect(this);
}

void HttpConnection::makeSocket() {
    m_socket = std::make_unique<TcpStream>();
    connect(m_socket.get(), &TcpStream::connected, this, &HttpConnection::connectEvent);
    connect(m_socket.get(), &TcpStream::errorOccurred, this, &HttpConnection::socketError);
    connect(m_socket.get(), &TcpStream::bytesWritten, this, &HttpConnection::writeEvent);
    connect(m_socket.get(), &TcpStream::readyRead, this, &HttpConnection::readEvent);
    connect(m_socket.get(), &TcpStream::disconnected, this, &HttpConnection::closeEvent);
}

int HttpConnection::start(HttpRequest& request, const HttpRequestHeaders& headers, std::string_view proxy) {
    if (m_request != nullptr || m_state != ConnectionState::Made) {
        // A connection is used once; the transfer makes a new one for each request. The
        // request it runs, if any, goes on.
        request.end(false, kStringCannotInitialise, 0);
        return 0;
    }
    m_request = &request;
    const std::optional<HttpRequestText> built = headers.build(request.method(), request.url(), proxy);
    if (!built) {
        fail(kStringMalformedUrl, 0);
        return 0;
    }
    m_requestText = built->text;
    m_tunnelText = built->tunnelText;
    m_secure = built->secure;
    m_serverName = built->serverName;
    m_serverPort = built->serverPort;
    m_host = built->host;
    m_port = built->port;
    m_sent = 0;
    m_bodyReceived = 0;
    if (m_secure && !m_tlsContext) {
        m_tlsContext = defaultTlsContext();
    }
    if (m_secure && !m_tlsContext) {
        fail(kStringTlsUnavailable, 0);
        return 0;
    }
    makeSocket();

    m_request->statusText(StringTable::withHost(kStringLookingUpHost, m_host));
    if (m_state != ConnectionState::Made) {
        return 1; // stopped
    }
    m_state = ConnectionState::LookingUp;
    progressMade();
    if (const std::optional<QHostAddress> literal = literalAddress(m_host)) {
        m_addresses = {*literal};
        connectToAddresses();
    } else if (m_hostLookup) {
        QTimer::singleShot(0, this, [this] {
            if (m_state != ConnectionState::LookingUp) {
                return;
            }
            QHostInfo info;
            info.setAddresses(m_hostLookup(m_host));
            if (info.addresses().isEmpty()) {
                info.setError(QHostInfo::HostNotFound);
            }
            lookupDone(info);
        });
    } else {
        m_lookupId = QHostInfo::lookupHost(QString::fromLatin1(m_host.data(), static_cast<qsizetype>(m_host.size())),
                                           this, &HttpConnection::lookupDone);
    }
    // A literal address may fail while connecting starts.
    return m_state == ConnectionState::Failed ? 0 : 1;
}

void HttpConnection::stop() {
    if (m_lookupId >= 0) {
        QHostInfo::abortHostLookup(m_lookupId);
        m_lookupId = -1;
    }
    closeSocket();
    // Also a request being set up (stopped from inside its first status text) or one that
    // finished but has yet to make its end report.
    if (m_request != nullptr) {
        m_request = nullptr;
        m_state = ConnectionState::Stopped;
    }
}

std::optional<QHostAddress> HttpConnection::literalAddress(std::string_view host) {
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        const std::string_view inside = host.substr(1, host.size() - 2);
        QHostAddress address;
        if (address.setAddress(QString::fromLatin1(inside.data(), static_cast<qsizetype>(inside.size()))) &&
            address.protocol() == QAbstractSocket::IPv6Protocol) {
            return address;
        }
        return std::nullopt;
    }
    // Only the plain four-number form is read here; anything else ("127.1", "0x7f.1") goes
    // to the lookup like a name.
    std::uint32_t result = 0;
    std::size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (at >= host.size() || host[at] != '.') {
                return std::nullopt;
            }
            ++at;
        }
        const std::size_t begin = at;
        std::uint32_t value = 0;
        while (at < host.size() && host[at] >= '0' && host[at] <= '9' && at - begin < 3) {
            value = value * 10 + static_cast<std::uint32_t>(host[at] - '0');
            ++at;
        }
        if (at == begin || value > 255) {
            return std::nullopt;
        }
        result = (result << 8) | value;
    }
    if (at != host.size()) {
        return std::nullopt;
    }
    return QHostAddress(result);
}

void HttpConnection::lookupDone(const QHostInfo& info) {
    m_lookupId = -1;
    if (m_state != ConnectionState::LookingUp) {
        return;
    }
    if (info.error() != QHostInfo::NoError) {
        fail(kStringHostNotFound, lookupErrorCode(info.error()));
        return;
    }
    m_addresses.clear();
    for (const QHostAddress& address : info.addresses()) {
        const QAbstractSocket::NetworkLayerProtocol protocol = address.protocol();
        if (protocol == QAbstractSocket::IPv4Protocol || protocol == QAbstractSocket::IPv6Protocol) {
            m_addresses.push_back(address);
        }
    }
    if (m_addresses.isEmpty()) {
        fail(kStringHostNotFound, 0);
        return;
    }
    progressMade();
    connectToAddresses();
}

void HttpConnection::connectToAddresses() {
    m_request->statusText(StringTable::withHost(kStringConnecting, m_host));
    if (m_state != ConnectionState::LookingUp) {
        return;
    }
    m_state = ConnectionState::Connecting;
    m_nextAddress = 0;
    connectNext();
}

void HttpConnection::connectNext() {
    m_retryQueued = false;
    if (m_state != ConnectionState::Connecting || m_nextAddress >= m_addresses.size()) {
        return;
    }
    m_address = m_addresses[m_nextAddress++];
    m_closed = false;
    m_socket->connectTo(m_address, m_port);
}

void HttpConnection::addressFailed(int stringNumber, int errorCode) {
    if (m_retryQueued) {
        return; // a second signal of the same failed try
    }
    if (m_nextAddress >= m_addresses.size()) {
        fail(stringNumber, errorCode);
        return;
    }
    // Not progress: the transfer's timeout still counts from before this address.
    m_retryQueued = true;
    QMetaObject::invokeMethod(this, &HttpConnection::connectNext, Qt::QueuedConnection);
}

void HttpConnection::connectEvent() {
    if (m_state != ConnectionState::Connecting) {
        return;
    }
    progressMade();
    if (!m_tunnelText.empty()) {
        m_state = ConnectionState::Tunnelling;
        m_socket->write(m_tunnelText.data(), m_tunnelText.size());
        return;
    }
    if (m_secure) {
        startTls();
        return;
    }
    sendRequest();
}

void HttpConnection::sendRequest() {
    m_request->statusText(StringTable::withHost(kStringConnectedSending, m_host));
    if (!running()) {
        return;
    }
    m_state = ConnectionState::Sending;
    m_sent = 0;
    if (!m_tls) {
        m_sendTarget = static_cast<std::int64_t>(m_requestText.size());
        m_socket->write(m_requestText.data(), m_requestText.size());
        return;
    }
    if (!m_tls->send(m_requestText)) {
        fail(kStringTlsFailed, 0, m_tls->failureReason());
        return;
    }
    m_tls->takeOutgoing(m_tlsOutgoing);
    m_sendTarget = static_cast<std::int64_t>(m_socket->bytesToWrite() + m_tlsOutgoing.size());
    m_socket->write(m_tlsOutgoing.data(), m_tlsOutgoing.size());
}

void HttpConnection::readTunnelReply() {
    while (m_state == ConnectionState::Tunnelling && m_socket->bytesAvailable() > 0) {
        const std::size_t count = m_socket->read(m_buffer.data(), m_buffer.size());
        if (count == 0) {
            break;
        }
        progressMade();
        const std::string_view bytes(m_buffer.data(), count);
        const std::size_t used = m_tunnelParser.feed(bytes);
        if (m_tunnelParser.isTooLong()) {
            fail(kStringReplyHeaderTooLong, 0);
            return;
        }
        if (!m_tunnelParser.isComplete()) {
            continue;
        }
        const int status = m_tunnelParser.statusCode();
        if (status < 200 || status > 299) {
            fail(kStringTunnelRefused, 0,
                 status < 0 ? std::string("no answer") : std::to_string(status) + ' ' + m_tunnelParser.reason());
            return;
        }
        if (used < bytes.size()) {
            // The server speaks first in TLS only after our hello: bytes here are no tunnel.
            fail(kStringTunnelRefused, 0, "the proxy sent more than its answer");
            return;
        }
        startTls();
        return;
    }
    if (m_closed && m_state == ConnectionState::Tunnelling) {
        fail(kStringTunnelRefused, 0, "the proxy closed the connection");
    }
}

void HttpConnection::startTls() {
    m_state = ConnectionState::Securing;
    // The session is the URL's server's, also through a tunnel: its name is the one the
    // certificate must carry and the one sent for server name indication.
    m_tls = std::make_unique<TlsSession>(m_tlsContext, m_serverName, m_serverPort);
    continueHandshake();
}

void HttpConnection::continueHandshake() {
    while (m_socket->bytesAvailable() > 0) {
        const std::size_t count = m_socket->read(m_buffer.data(), m_buffer.size());
        if (count == 0) {
            break;
        }
        progressMade();
        m_tls->receive(std::string_view(m_buffer.data(), count));
    }
    const TlsSession::Progress progress = m_tls->handshake();
    if (progress == TlsSession::Progress::Ready) {
        if (m_closed) {
            fail(kStringNetworkFailure, 0); // nobody is left to take the request
            return;
        }
        // The handshake's last bytes leave with the request, in one write: a write of their
        // own would hold the request back until the server acknowledged them.
        sendRequest();
        return;
    }
    flushTls();
    if (progress == TlsSession::Progress::Failed) {
        fail(m_tls->certificateRefused() ? kStringCertificateRejected : kStringTlsFailed, 0, m_tls->failureReason());
        return;
    }
    if (m_closed) {
        fail(kStringTlsFailed, 0, "the server closed the connection");
    }
}

void HttpConnection::flushTls() {
    m_tls->takeOutgoing(m_tlsOutgoing);
    if (!m_tlsOutgoing.empty()) {
        m_socket->write(m_tlsOutgoing.data(), m_tlsOutgoing.size());
    }
}

qint64 HttpConnection::readReply(char* buffer, qint64 capacity) {
    if (!m_tls) {
        return static_cast<qint64>(m_socket->read(buffer, static_cast<std::size_t>(capacity)));
    }
    for (;;) {
        const std::ptrdiff_t count = m_tls->read(buffer, static_cast<std::size_t>(capacity));
        if (count < 0) {
            fail(kStringTlsFailed, 0, m_tls->failureReason());
            return -1;
        }
        // A session may have to answer (a key update), whatever it decrypted.
        flushTls();
        if (m_tls->closedByServer()) {
            m_closed = true;
        }
        // Bytes the socket still holds are read also after the peer's close; nothing is read
        // after the session's own close.
        if (count > 0 || m_tls->closedByServer() || m_socket->bytesAvailable() == 0) {
            return count;
        }
        const std::size_t arrived = m_socket->read(m_buffer.data(), m_buffer.size());
        m_tls->receive(std::string_view(m_buffer.data(), arrived));
    }
}

void HttpConnection::socketError(int error) {
    // The stream reports a peer's close as disconnected(), never as an error, and it is
    // unconnected after an error: whatever the state, the request cannot go on.
    switch (m_state) {
    case ConnectionState::Securing:
        fail(kStringTlsFailed, error, std::strerror(error));
        return;
    case ConnectionState::Connecting:
        addressFailed(error == ECONNREFUSED ? kStringConnectionRefused : kStringNetworkFailure, error);
        return;
    default:
        if (running()) {
            fail(kStringNetworkFailure, error);
        }
        return;
    }
}

void HttpConnection::writeEvent(qint64 written) {
    if (m_state == ConnectionState::Tunnelling || m_state == ConnectionState::Securing) {
        progressMade();
        return;
    }
    if (m_state != ConnectionState::Sending) {
        return;
    }
    m_sent += written;
    progressMade();
    if (m_sent < m_sendTarget) {
        return;
    }
    m_request->statusText(StringTable::withHost(kStringRequestSent, m_host));
    if (m_state != ConnectionState::Sending) {
        return;
    }
    m_state = ConnectionState::InLine;
    // A reply, or the peer's close, may have arrived while the request was going out.
    if (m_socket->bytesAvailable() > 0 || m_closed) {
        readEvent();
    }
}

void HttpConnection::readEvent() {
    if (m_state == ConnectionState::Tunnelling) {
        readTunnelReply();
        return;
    }
    if (m_state == ConnectionState::Securing) {
        continueHandshake();
        return;
    }
    // A TLS session may hold decrypted bytes when the socket holds none.
    while (isReading(m_state) && (m_tls || m_socket->bytesAvailable() > 0)) {
        reportProgress();
        if (!isReading(m_state)) {
            return;
        }
        const qint64 count = readReply(m_buffer.data(), static_cast<qint64>(m_buffer.size()));
        if (count < 0) {
            return;
        }
        if (count == 0) {
            break;
        }
        progressMade();
        if (!receive(m_buffer.data(), static_cast<std::size_t>(count))) {
            return;
        }
    }
    if (m_closed && isReading(m_state)) {
        endAtClose();
    }
}

void HttpConnection::closeEvent() {
    m_closed = true;
    switch (m_state) {
    case ConnectionState::Sending:
        if (m_socket->bytesAvailable() > 0) {
            // The server answered and closed before our last bytes were confirmed: read the
            // answer it gave.
            m_state = ConnectionState::InLine;
            readEvent();
            return;
        }
        fail(kStringNetworkFailure, 0);
        return;
    case ConnectionState::Connecting:
        addressFailed(kStringNetworkFailure, 0);
        return;
    case ConnectionState::Tunnelling:
        readTunnelReply();
        return;
    case ConnectionState::Securing:
        continueHandshake();
        return;
    default:
        if (isReading(m_state)) {
            readEvent();
        }
        return;
    }
}

void HttpConnection::timedOut() {
    if (!running()) {
        return;
    }
    const auto quiet =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_lastProgress);
    if (quiet < m_timeout) {
        m_timer->start(m_timeout - quiet);
        return;
    }
    fail(kStringNoAnswerInTime, ETIMEDOUT);
}

bool HttpConnection::receive(const char* bytes, std::size_t size) {
    std::size_t offset = 0;
    if (m_state != ConnectionState::Body) {
        offset = m_parser.feed(std::string_view(bytes, size));
        if (m_parser.isTooLong()) {
            fail(kStringReplyHeaderTooLong, 0);
            return false;
        }
        if (!m_parser.isComplete()) {
            m_state = static_cast<ConnectionState>(m_parser.state());
            return true;
        }
        m_state = ConnectionState::Body;
        m_request->headers(m_parser.statusCode(), m_parser.reason(), m_parser.replyHeaders(), m_parser.entityHeaders());
        if (m_state != ConnectionState::Body) {
            return false;
        }
    }
    const std::int64_t length = m_parser.entityHeaders().contentLength;
    auto take = static_cast<std::int64_t>(size - offset);
    if (length >= 1) {
        // Bytes past the announced length are not part of this reply's body.
        take = std::min(take, length - m_bodyReceived);
    }
    if (take > 0) {
        if (const int error = m_request->data(bytes + offset, static_cast<std::size_t>(take)); error != 0) {
            fail(kStringWriteFailed, error);
            return false;
        }
        m_bodyReceived += take;
    }
    if (length >= 1 && m_bodyReceived >= length) {
        succeed();
        return false;
    }
    return true;
}

void HttpConnection::endAtClose() {
    if (m_state != ConnectionState::Body) {
        fail(kStringClosedBeforeComplete, 0);
        return;
    }
    const std::int64_t length = m_parser.entityHeaders().contentLength;
    if (expectsBody() && length >= 1 && m_bodyReceived < length) {
        fail(kStringClosedBeforeComplete, 0);
        return;
    }
    succeed();
}

void HttpConnection::succeed() {
    closeSocket();
    m_state = ConnectionState::Finished;
    if (const int error = m_request->closeOutput(); error != 0) {
        fail(kStringWriteFailed, error);
        return;
    }
    m_request->statusText(StringTable::text(kStringTransferComplete));
    if (m_state != ConnectionState::Finished) {
        return; // stopped
    }
    end(true, kStringNone, 0);
}

void HttpConnection::fail(int stringNumber, int errorCode, std::string_view reason) {
    closeSocket();
    m_state = ConnectionState::Failed;
    m_failureText = StringTable::withReason(stringNumber, reason);
    end(false, stringNumber, errorCode);
}

void HttpConnection::end(bool success, int stringNumber, int errorCode) {
    std::exchange(m_request, nullptr)->end(success, stringNumber, errorCode);
}

void HttpConnection::closeSocket() {
    m_timer->stop();
    if (m_socket) {
        // Nothing of this socket reaches the request any more.
        m_socket->abort();
    }
}

void HttpConnection::progressMade() {
    // Progress only moves the deadline; the timer is armed once and re-armed when it fires
    // early, which is far cheaper than restarting it for every read.
    m_lastProgress = std::chrono::steady_clock::now();
    if (m_timeout.count() > 0 && !m_timer->isActive()) {
        m_timer->start(m_timeout);
    }
}

void HttpConnection::reportProgress() {
    const std::int64_t length = m_parser.entityHeaders().contentLength;
    if (length < 1) {
        m_request->statusText(StringTable::bytesReceived(m_bodyReceived));
        return;
    }
    const std::int64_t percent = m_bodyReceived * 100 / length;
    m_request->statusText(StringTable::bytesReceived(m_bodyReceived, length, percent));
    if (isReading(m_state)) {
        m_request->percent(static_cast<int>(percent));
    }
}

bool HttpConnection::expectsBody() const {
    const int status = m_parser.statusCode();
    const bool bodiless = (status >= 100 && status < 200) || status == 204 || status == 304;
    return m_request->method() != "HEAD" && !bodiless;
}

bool HttpConnection::running() const {
    return (m_state >= ConnectionState::LookingUp && m_state <= ConnectionState::Body) ||
           m_state == ConnectionState::Tunnelling || m_state == ConnectionState::Securing;
}

} // namespace corvida
