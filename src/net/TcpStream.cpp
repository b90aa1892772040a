// SPDX-License-Identifier: MIT
#include "net/TcpStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

#include <QHostAddress>
#include <QPointer>
#include <QSocketNotifier>

namespace corvida {

namespace {

// Bytes asked of the socket in one read.
constexpr std::size_t kReadChunk = 16 * 1024;

bool wouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}

// The peer is gone: it closed or reset the connection.
bool peerGone(int error) {
    return error == ECONNRESET || error == EPIPE;
}

} // namespace

TcpStream::TcpStream(QObject* parent) : QObject(parent) {}

TcpStream::~TcpStream() {
    closeSocket();
}

void TcpStream::connectTo(const QHostAddress& address, std::uint16_t port) {
    closeSocket();
    sockaddr_storage storage{};
    socklen_t length = 0;
    if (address.protocol() == QAbstractSocket::IPv4Protocol) {
        auto* in4 = reinterpret_cast<sockaddr_in*>(&storage);
        in4->sin_family = AF_INET;
        in4->sin_port = htons(port);
        in4->sin_addr.s_addr = htonl(address.toIPv4Address());
        length = sizeof *in4;
    } else if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        auto* in6 = reinterpret_cast<sockaddr_in6*>(&storage);
        in6->sin6_family = AF_INET6;
        in6->sin6_port = htons(port);
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        std::memcpy(&in6->sin6_addr, bytes.c, sizeof bytes.c);
        bool numeric = false;
        const uint scope = address.scopeId().toUInt(&numeric);
        in6->sin6_scope_id = numeric ? scope : 0;
        length = sizeof *in6;
    } else {
        failLater(EAFNOSUPPORT);
        return;
    }
    m_fd = ::socket(storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        failLater(errno);
        return;
    }
    m_state = State::Connecting;
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&storage), length) != 0 && errno != EINPROGRESS) {
        failLater(errno);
        return;
    }
    // Whether connecting worked, at once or later, shows when the socket becomes writable.
    setWriting(true);
}

void TcpStream::abort() {
    closeSocket();
}

void TcpStream::write(const char* data, std::size_t size) {
    if (m_writeDropped) {
        return; // the peer is gone
    }
    if (m_outgoingStart == m_outgoing.size()) {
        m_outgoing.clear();
        m_outgoingStart = 0;
    }
    m_outgoing.append(data, size);
    // What the socket takes now leaves now; the report follows from the event loop.
    if (m_state == State::Connected && flush()) {
        setWriting(true);
    }
}

std::size_t TcpStream::read(char* buffer, std::size_t capacity) {
    const std::size_t count = std::min(capacity, bytesAvailable());
    std::memcpy(buffer, m_incoming.data() + m_incomingStart, count);
    m_incomingStart += count;
    if (m_incomingStart == m_incoming.size()) {
        m_incoming.clear();
        m_incomingStart = 0;
    }
    if (m_state == State::Connected && !m_peerClosed && bytesAvailable() < kReadAhead) {
        setReading(true);
    }
    return count;
}

void TcpStream::readable() {
    if (m_state != State::Connected || m_peerClosed) {
        return;
    }
    bool arrived = false;
    int error = 0;
    char chunk[kReadChunk];
    // Reading on until the socket has nothing more finds a close that came with the last
    // bytes in the same turn of the event loop.
    while (bytesAvailable() < kReadAhead) {
        const ssize_t count = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (count > 0) {
            m_incoming.insert(m_incoming.end(), chunk, chunk + count);
            arrived = true;
            continue;
        }
        if (count == 0) {
            m_peerClosed = true;
        } else if (errno == EINTR) {
            continue;
        } else if (peerGone(errno)) {
            m_peerClosed = true;
        } else if (!wouldBlock(errno)) {
            error = errno;
        }
        break;
    }
    if (m_peerClosed || error != 0 || bytesAvailable() >= kReadAhead) {
        setReading(false);
    }
    const std::uint64_t generation = m_generation;
    QPointer<TcpStream> alive(this);
    if (m_unreported > 0 && bytesToWrite() == 0) {
        // An answer follows the request: what was written is reported first, even when the
        // answer comes in the same turn of the event loop as the socket's readiness to write.
        setWriting(false);
        emit bytesWritten(std::exchange(m_unreported, 0));
        if (!alive || generation != m_generation) {
            return;
        }
    }
    if (arrived) {
        emit readyRead();
        if (!alive || generation != m_generation) {
            return;
        }
    }
    if (error != 0) {
        closeSocket();
        emit errorOccurred(error);
        return;
    }
    if (m_peerClosed && !m_closeReported) {
        m_closeReported = true;
        emit disconnected();
    }
}

void TcpStream::writable() {
    if (m_state == State::Connecting) {
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) {
            error = errno;
        }
        if (error != 0) {
            closeSocket();
            emit errorOccurred(error);
            return;
        }
        m_state = State::Connected;
        setReading(true);
        if (bytesToWrite() == 0) {
            setWriting(false);
        } else if (!flush()) {
            return;
        }
        emit connected();
        return;
    }
    if (m_state != State::Connected) {
        return;
    }
    if (!flush()) {
        return;
    }
    if (bytesToWrite() > 0) {
        return; // the socket takes the rest later
    }
    setWriting(false);
    if (m_unreported > 0) {
        emit bytesWritten(std::exchange(m_unreported, 0));
    }
}

bool TcpStream::flush() {
    while (bytesToWrite() > 0) {
        const ssize_t count =
            ::send(m_fd, m_outgoing.data() + m_outgoingStart, bytesToWrite(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count >= 0) {
            m_outgoingStart += static_cast<std::size_t>(count);
            m_unreported += count;
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        if (wouldBlock(errno)) {
            return true;
        }
        if (peerGone(errno)) {
            // The peer may have answered before it left; the reading side finds out.
            m_writeDropped = true;
            m_outgoing.clear();
            m_outgoingStart = 0;
            setReading(true);
            return true;
        }
        failLater(errno);
        return false;
    }
    return true;
}

void TcpStream::failLater(int error) {
    closeSocket();
    const std::uint64_t generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation, error] {
            if (generation == m_generation) {
                emit errorOccurred(error);
            }
        },
        Qt::QueuedConnection);
}

void TcpStream::closeSocket() {
    // Also a socket that failed at once is a generation: its queued report names it.
    ++m_generation;
    setReading(false);
    setWriting(false);
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_state = State::Unconnected;
    m_outgoing.clear();
    m_outgoingStart = 0;
    m_unreported = 0;
    m_incoming.clear();
    m_incomingStart = 0;
    m_peerClosed = false;
    m_closeReported = false;
    m_writeDropped = false;
}

void TcpStream::setReading(bool on) {
    setNotifier(m_readNotifier, QSocketNotifier::Read, &TcpStream::readable, on);
}

void TcpStream::setWriting(bool on) {
    setNotifier(m_writeNotifier, QSocketNotifier::Write, &TcpStream::writable, on);
}

void TcpStream::setNotifier(QSocketNotifier*& notifier, QSocketNotifier::Type type, void (TcpStream::*handler)(),
                            bool on) {
    if (!on) {
        if (notifier != nullptr) {
            notifier->setEnabled(false);
        }
        return;
    }
    // The notifiers outlive the sockets: one may be turned off from inside its own report.
    if (notifier == nullptr) {
        notifier = new QSocketNotifier(type, this);
        connect(notifier, &QSocketNotifier::activated, this, handler);
    }
    if (notifier->socket() != m_fd) {
        notifier->setEnabled(false);
        notifier->setSocket(m_fd);
    }
    notifier->setEnabled(true);
}

} // namespace corvida
