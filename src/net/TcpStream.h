// SPDX-License-Identifier: MIT
#pragma once

// A TcpStream is one client TCP connection on the event loop, without blocking and without
// the bookkeeping of a general socket class: it connects to one address, writes what it is
// given and reads what has arrived, with a handful of system calls per request.
//
// It reports like QAbstractSocket, always from the event loop and never from inside one of
// its own calls: connected() once the connection stands; bytesWritten() once everything
// written so far has left; readyRead() when bytes arrived; disconnected() when the peer has
// closed and every byte before the close has been announced; errorOccurred() with the errno
// of a failure, after which the stream is unconnected. A peer that resets the connection
// counts as one that closed it, and a write that finds the peer gone is dropped: the peer may
// have answered before it left, and the reading side finds out.
//
// Arrived bytes are kept until read, up to kReadAhead; beyond that the stream stops taking
// bytes from the socket until some are read, so a fast server cannot fill the memory. A
// receiver may abort() the stream from inside any report; the stream then reports nothing
// more. It must not destroy the stream there.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <QObject>
#include <QSocketNotifier>

class QHostAddress;

namespace corvida {

class TcpStream : public QObject {
    Q_OBJECT

public:
    enum class State { Unconnected, Connecting, Connected };

    static constexpr std::size_t kReadAhead = 256 * 1024;

    explicit TcpStream(QObject* parent = nullptr);
    TcpStream(const TcpStream&) = delete;
    TcpStream& operator=(const TcpStream&) = delete;
    ~TcpStream() override;

    // Closes what the stream had, then starts connecting to address and port.
    void connectTo(const QHostAddress& address, std::uint16_t port);
    // Closes at once: unsent and unread bytes are dropped and nothing more is reported.
    void abort();

    // Sends size bytes of data after those written before; what the socket does not take at
    // once waits (also while still connecting) and leaves as it can.
    void write(const char* data, std::size_t size);
    // Takes at most capacity of the bytes that arrived; 0 when none are there.
    std::size_t read(char* buffer, std::size_t capacity);
    std::size_t bytesAvailable() const { return m_incoming.size() - m_incomingStart; }
    std::size_t bytesToWrite() const { return m_outgoing.size() - m_outgoingStart; }

    State state() const { return m_state; }

signals:
    void connected();
    void bytesWritten(qint64 count);
    void readyRead();
    void disconnected();
    void errorOccurred(int error);

private:
    void readable();
    void writable();
    // Sends what waits, or drops it when the peer is gone; returns false when the stream
    // failed (its report is queued).
    bool flush();
    // Closes the socket and reports error from the event loop.
    void failLater(int error);
    void closeSocket();
    void setReading(bool on);
    void setWriting(bool on);
    // Turns the notifier of type on or off, making it (calling handler) on first use.
    void setNotifier(QSocketNotifier*& notifier, QSocketNotifier::Type type, void (TcpStream::*handler)(), bool on);

    int m_fd = -1;
    State m_state = State::Unconnected;
    // Counts the sockets this stream has had, so that a report queued for one is dropped
    // once it has gone.
    std::uint64_t m_generation = 0;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
    std::string m_outgoing;
    std::size_t m_outgoingStart = 0;
    qint64 m_unreported = 0;
    std::vector<char> m_incoming;
    std::size_t m_incomingStart = 0;
    bool m_peerClosed = false;
    bool m_closeReported = false;
    bool m_writeDropped = false;
};

} // namespace corvida
