// SPDX-License-Identifier: MIT
#pragma once

// SingleInstance keeps one desktop program running per user and desktop. The first start
// listens on a local socket; a later start hands its command line to it and ends. The socket
// lies in a directory only this user can enter and is made for this user only, so no one else
// can open files or start crawls through it.
//
// One connection carries one message: a header (magic, version, payload length, big-endian)
// and a payload that holds, as QDataStream data, the sender's working directory (QString) and
// its arguments (QStringList). The receiver answers one acknowledge byte once it has taken a
// whole, valid message. It reads without ever blocking its event loop; it drops a connection
// whose message is malformed, larger than kMaxMessageBytes, or not complete within the receive
// timeout, says so in one warning line, and keeps serving.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

#include "base/Status.h"

class QByteArray;
class QLocalServer;
class QLocalSocket;

namespace corvida {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    static constexpr qint64 kMaxMessageBytes = 64 * 1024;
    static constexpr std::chrono::milliseconds kDefaultReceiveTimeout{5000};

    // The socket of this user on this desktop: "corvida-<uid>-<hash of $WAYLAND_DISPLAY, else
    // $DISPLAY>" in $XDG_RUNTIME_DIR when that is a directory of this user that no one else
    // may enter, else in "corvida-<uid>" under QDir::tempPath() (made private by listen()).
    static QString defaultServerName();

    // serverName is the path of the socket (or a bare name, placed in QDir::tempPath()).
    explicit SingleInstance(QString serverName = defaultServerName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Hands arguments and workingDirectory to the instance listening on the server name and
    // waits, at most timeoutMs in all, until it has acknowledged them. Ok when delivered;
    // NotFound when no instance listens (or the socket's directory is not private to this
    // user); InvalidArgument when the message would exceed kMaxMessageBytes (nothing is sent);
    // IoError for any other failure, a timeout included. Blocks the calling thread; touches
    // nothing of this object but the name, so it may run on any thread.
    Status sendToRunning(const std::vector<std::string>& arguments, const std::string& workingDirectory,
                         int timeoutMs = 5000);

    // Makes this the first instance: listens on the server name. A socket left behind by an
    // instance that crashed (nothing accepts on it) is removed first. false, with a warning,
    // when it cannot listen: another instance listens already (two first starts at once), the
    // socket's directory is not private, or the system refuses; the program then runs alone.
    bool listen();

    // How long a connection may take to deliver its whole message (kDefaultReceiveTimeout).
    void setReceiveTimeout(std::chrono::milliseconds timeout) { m_receiveTimeout = timeout; }

    const QString& serverName() const { return m_serverName; }

signals:
    // One per delivered message, in the order the messages were completed; the arguments are
    // exactly as sent.
    void messageReceived(const QStringList& arguments, const QString& workingDirectory);

private:
    void acceptConnections();
    // Reads what socket has; sets finished once the connection is answered or dropped.
    void readMessage(QLocalSocket& socket, QByteArray& received, bool& finished);
    static void drop(QLocalSocket& socket, const char* reason);

    QString m_serverName;
    std::unique_ptr<QLocalServer> m_server;
    std::chrono::milliseconds m_receiveTimeout = kDefaultReceiveTimeout;
};

} // namespace corvida
