// SPDX-License-Identifier: MIT
#include "app/SingleInstance.h"

#include <algorithm>
#include <utility>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <unistd.h>

namespace corvida {

namespace {

constexpr quint32 kMagic = 0x43525644; // "CRVD"
constexpr quint16 kVersion = 1;
constexpr qint64 kHeaderBytes = 4 + 2 + 4; // magic, version, payload length
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;
constexpr char kAcknowledge = 0x06;
constexpr int kDisplayHashLength = 8;
constexpr int kProbeTimeoutMs = 1000;
// A serialised QString takes at least its 4-byte length.
constexpr qint64 kMinStringBytes = 4;

// The socket's path, as QLocalServer and QLocalSocket place a bare name.
QString socketPath(const QString& serverName) {
    return serverName.startsWith(u'/') ? serverName : QDir::cleanPath(QDir::tempPath()) + u'/' + serverName;
}

// A directory of this user that no one else may list, enter or write to.
bool isPrivateDirectory(const QString& path) {
    const QFileInfo info(path);
    constexpr QFile::Permissions kOthers =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return info.isDir() && !info.isSymLink() && info.ownerId() == ::getuid() && !(info.permissions() & kOthers);
}

QString socketDirectory(const QString& serverName) {
    return QFileInfo(socketPath(serverName)).absolutePath();
}

int remainingMs(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
}

QByteArray encodeMessage(const std::vector<std::string>& arguments, const std::string& workingDirectory) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(arguments.size()));
    for (const std::string& argument : arguments) {
        list.append(QString::fromStdString(argument));
    }
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << QString::fromStdString(workingDirectory) << list;

    QByteArray message;
    QDataStream header(&message, QIODevice::WriteOnly);
    header << kMagic << kVersion << static_cast<quint32>(payload.size());
    return message + payload;
}

// Reads the payload. The argument count is checked against the bytes there are before
// anything is reserved: QStringList's own stream operator reserves whatever count it reads.
bool decodePayload(const QByteArray& payload, QString& workingDirectory, QStringList& arguments) {
    QDataStream in(payload);
    in.setVersion(kStreamVersion);
    quint32 count = 0;
    in >> workingDirectory >> count;
    if (in.status() != QDataStream::Ok || count > (payload.size() - in.device()->pos()) / kMinStringBytes) {
        return false;
    }
    arguments.reserve(static_cast<qsizetype>(count));
    for (quint32 i = 0; i < count; ++i) {
        QString argument;
        in >> argument;
        if (in.status() != QDataStream::Ok) {
            return false;
        }
        arguments.append(std::move(argument));
    }
    return in.atEnd();
}

// Whether an instance accepts connections on path.
bool answers(const QString& path) {
    QLocalSocket probe;
    probe.connectToServer(path);
    const bool connected = probe.waitForConnected(kProbeTimeoutMs);
    probe.abort();
    return connected;
}

} // namespace

QString SingleInstance::defaultServerName() {
    const QString uid = QString::number(::getuid());
    QByteArray display = qgetenv("WAYLAND_DISPLAY");
    if (display.isEmpty()) {
        display = qgetenv("DISPLAY");
    }
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(display, QCryptographicHash::Sha256).toHex().left(kDisplayHashLength));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString directory = runtime.startsWith(u'/') && isPrivateDirectory(runtime)
                                  ? QDir::cleanPath(runtime)
                                  : QDir::cleanPath(QDir::tempPath()) + "/corvida-" + uid;
    return directory + "/corvida-" + uid + '-' + hash;
}

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_serverName(std::move(serverName)) {}

SingleInstance::~SingleInstance() {
    // Connections still open go with the server; nothing of theirs may reach this object then.
    if (m_server) {
        for (QLocalSocket* socket : m_server->findChildren<QLocalSocket*>()) {
            socket->disconnect();
        }
    }
}

Status SingleInstance::sendToRunning(const std::vector<std::string>& arguments, const std::string& workingDirectory,
                                     int timeoutMs) {
    const QByteArray message = encodeMessage(arguments, workingDirectory);
    if (message.size() > kMaxMessageBytes) {
        return Status::invalidArgument("The command line is too long to hand to the running Corvida (" +
                                       std::to_string(message.size()) + " bytes, at most " +
                                       std::to_string(kMaxMessageBytes) + ")");
    }
    // Only a socket in a private directory can be the user's own instance.
    if (!isPrivateDirectory(socketDirectory(m_serverName))) {
        return Status::notFound("No running Corvida");
    }
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath(m_serverName));
    if (!socket.waitForConnected(remainingMs(deadline))) {
        const auto error = socket.error();
        if (error == QLocalSocket::ServerNotFoundError || error == QLocalSocket::ConnectionRefusedError) {
            return Status::notFound("No running Corvida");
        }
        return Status::ioError("Cannot reach the running Corvida: " + socket.errorString().toStdString());
    }
    socket.write(message);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remainingMs(deadline))) {
            return Status::ioError("Cannot hand the command line to the running Corvida: " +
                                   socket.errorString().toStdString());
        }
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(remainingMs(deadline))) {
            return Status::ioError("The running Corvida did not take the command line");
        }
    }
    char answer = 0;
    if (!socket.getChar(&answer) || answer != kAcknowledge) {
        return Status::ioError("The running Corvida did not take the command line");
    }
    return Status::ok();
}

bool SingleInstance::listen() {
    const QString path = socketPath(m_serverName);
    const QString directory = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(directory)) {
        QDir().mkdir(directory, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    if (!isPrivateDirectory(directory)) {
        qWarning("corvida: %s is not a private directory; running without the single-instance socket",
                 qPrintable(directory));
        return false;
    }
    // A live instance keeps its socket; ask first, because a QLocalServer with access options
    // renames its new socket over whatever holds the path. Anything else on the path was left
    // by an instance that ended without removing it.
    if (answers(path)) {
        qWarning("corvida: another instance listens on %s; running on its own", qPrintable(path));
        return false;
    }
    QLocalServer::removeServer(path);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) {
        qWarning("corvida: cannot listen on %s: %s", qPrintable(path), qPrintable(server->errorString()));
        return false;
    }
    m_server = std::move(server);
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        auto received = std::make_shared<QByteArray>();
        auto finished = std::make_shared<bool>(false);
        auto* timer = new QTimer(socket);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, socket, [socket, finished] {
            *finished = true;
            drop(*socket, "it did not arrive in time");
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, received, finished, timer] {
            if (!*finished) {
                readMessage(*socket, *received, *finished);
            }
            if (*finished) {
                timer->stop();
            }
        });
        connect(socket, &QLocalSocket::disconnected, socket, [socket, received, finished] {
            if (!*finished && !received->isEmpty()) {
                *finished = true;
                drop(*socket, "it was cut short");
            }
            socket->deleteLater();
        });
        timer->start(m_receiveTimeout);
    }
}

void SingleInstance::readMessage(QLocalSocket& socket, QByteArray& received, bool& finished) {
    received.append(socket.readAll());
    if (received.size() < kHeaderBytes) {
        return;
    }
    QDataStream header(received);
    quint32 magic = 0;
    quint16 version = 0;
    quint32 length = 0;
    header >> magic >> version >> length;
    finished = true;
    if (magic != kMagic || version != kVersion) {
        drop(socket, "it is not a Corvida hand-over message");
        return;
    }
    if (length > kMaxMessageBytes - kHeaderBytes) {
        drop(socket, "it is too large");
        return;
    }
    const qint64 total = kHeaderBytes + length;
    if (received.size() > total) {
        drop(socket, "it has bytes after its end");
        return;
    }
    if (received.size() < total) {
        finished = false;
        return;
    }
    QString workingDirectory;
    QStringList arguments;
    if (!decodePayload(received.mid(kHeaderBytes), workingDirectory, arguments)) {
        drop(socket, "it is malformed");
        return;
    }
    // The answer goes first: the sender must not time out, and start on its own, while a
    // receiver of the message is busy (a dialog it opens, say).
    socket.write(&kAcknowledge, 1);
    socket.flush();
    socket.disconnectFromServer();
    emit messageReceived(arguments, workingDirectory);
}

void SingleInstance::drop(QLocalSocket& socket, const char* reason) {
    qWarning("corvida: ignored a command line handed over by another start: %s", reason);
    socket.abort();
    socket.deleteLater();
}

} // namespace corvida
