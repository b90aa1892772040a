// SPDX-License-Identifier: MIT
#include "support/ScriptedServer.h"

#include <utility>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace corvida::test {

namespace {

// Writes are queued in Qt's buffer; an endless sender keeps at most this much waiting.
constexpr qint64 kEndlessQueue = 64 * 1024;

// Whether bytes hold a whole header block: an empty line after LF or CR LF.
bool hasWholeRequest(const std::string& bytes) {
    return bytes.find("\n\n") != std::string::npos || bytes.find("\n\r\n") != std::string::npos;
}

} // namespace

Script& Script::waitForRequest() {
    m_steps.push_back({Kind::WaitForRequest, {}, {}, 0});
    return *this;
}

Script& Script::send(std::string bytes) {
    m_steps.push_back({Kind::Send, std::move(bytes), {}, 0});
    return *this;
}

Script& Script::sendSplit(const std::string& reply, const std::vector<std::size_t>& cuts,
                          std::chrono::milliseconds gap) {
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        send(reply.substr(from, cut - from));
        pause(gap);
        from = cut;
    }
    return send(reply.substr(from));
}

Script& Script::pause(std::chrono::milliseconds delay) {
    m_steps.push_back({Kind::Pause, {}, delay, 0});
    return *this;
}

Script& Script::sendEndless(std::string line, std::size_t limit) {
    const std::size_t bytes = line.empty() ? 0 : limit;
    m_steps.push_back({Kind::SendEndless, std::move(line), {}, bytes});
    return *this;
}

Script& Script::close() {
    m_steps.push_back({Kind::Close, {}, {}, 0});
    return *this;
}

Script& Script::hold() {
    m_steps.push_back({Kind::Hold, {}, {}, 0});
    return *this;
}

Script Script::reply(std::string_view statusLine, const std::vector<std::string>& headerLines, std::string_view body) {
    std::string bytes(statusLine);
    bytes += "\r\n";
    for (const std::string& line : headerLines) {
        bytes += line + "\r\n";
    }
    bytes += "\r\n";
    bytes += body;
    Script script;
    script.waitForRequest().send(std::move(bytes)).close();
    return script;
}

struct ScriptedServer::Connection {
    QTcpSocket* socket = nullptr;
    std::string received;
    Script script;
    bool scriptChosen = false;
    std::size_t step = 0;
    bool pausing = false;
    bool endless = false;
    std::size_t endlessSent = 0;
    bool serverClosed = false;
    bool clientClosed = false;
    bool finished = false;
};

ScriptedServer::ScriptedServer() : m_server(new QTcpServer(this)) {
    listen();
}

ScriptedServer::ScriptedServer(const TlsIdentity& identity) : m_secure(true) {
    auto* server = new QSslServer(this);
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    QFile certificate(QString::fromStdString(identity.certificateFile));
    QFile key(QString::fromStdString(identity.keyFile));
    if (certificate.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly)) {
        configuration.setLocalCertificateChain(QSslCertificate::fromDevice(&certificate, QSsl::Pem));
        configuration.setPrivateKey(QSslKey(&key, QSsl::Rsa, QSsl::Pem));
    }
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    server->setSslConfiguration(configuration);
    m_server = server;
    listen();
}

void ScriptedServer::listen() {
    m_script = Script::reply("HTTP/1.0 200 OK", {}, {});
    // Room for many clients connecting at once: a full backlog drops connections, and
    // their retries come a second later.
    m_server->setListenBacklogSize(1024);
    m_server->setMaxPendingConnections(1024);
    m_server->listen(QHostAddress::LocalHost, 0);
    m_port = m_server->serverPort();
    // A TLS server queues a connection only once its handshake is done.
    if (m_secure) {
        connect(m_server, &QTcpServer::pendingConnectionAvailable, this, &ScriptedServer::accept);
    } else {
        connect(m_server, &QTcpServer::newConnection, this, &ScriptedServer::accept);
    }
}

ScriptedServer::~ScriptedServer() {
    for (auto& connection : m_connections) {
        connection->socket->disconnect(this);
        connection->socket->abort();
    }
}

std::string ScriptedServer::url(std::string_view path) const {
    return (m_secure ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(m_port) + std::string(path);
}

void ScriptedServer::setScript(Script script) {
    m_script = std::move(script);
    m_responder = nullptr;
}

void ScriptedServer::setResponder(Responder responder) {
    m_responder = std::move(responder);
}

void ScriptedServer::stopListening() {
    m_server->close();
}

std::string ScriptedServer::request(int index) const {
    return index < connectionCount() ? m_connections[static_cast<std::size_t>(index)]->received : std::string();
}

bool ScriptedServer::clientClosed(int index) const {
    return index < connectionCount() && m_connections[static_cast<std::size_t>(index)]->clientClosed;
}

int ScriptedServer::finishedCount() const {
    int count = 0;
    for (const auto& connection : m_connections) {
        count += connection->finished ? 1 : 0;
    }
    return count;
}

std::uint16_t ScriptedServer::refusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const std::uint16_t port = probe.serverPort();
    probe.close();
    return port;
}

bool ScriptedServer::waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    // A ticking timer guarantees that the blocking wait below wakes up to test done().
    QTimer tick;
    tick.start(5);
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < timeout.count()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

void ScriptedServer::accept() {
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_connections.push_back(std::make_unique<Connection>());
        Connection* connection = m_connections.back().get();
        connection->socket = socket;
        if (!m_responder) {
            connection->script = m_script;
            connection->scriptChosen = true;
        }
        connect(socket, &QTcpSocket::readyRead, this, [this, connection] { received(*connection); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this, connection] {
            if (connection->endless) {
                fillEndless(*connection);
            }
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, connection] {
            if (!connection->serverClosed) {
                connection->clientClosed = true;
            }
            connection->finished = true;
            if (connection->endless) {
                connection->endless = false;
                ++connection->step;
                advance(*connection);
            }
        });
        advance(*connection);
    }
}

void ScriptedServer::received(Connection& connection) {
    connection.received += connection.socket->readAll().toStdString();
    if (!connection.scriptChosen && hasWholeRequest(connection.received)) {
        connection.script = m_responder(connection.received);
        connection.scriptChosen = true;
    }
    advance(connection);
}

void ScriptedServer::advance(Connection& connection) {
    if (!connection.scriptChosen || connection.pausing || connection.endless) {
        return;
    }
    const std::vector<Script::Step>& steps = connection.script.steps();
    while (connection.step < steps.size()) {
        if (connection.serverClosed || connection.socket->state() != QAbstractSocket::ConnectedState) {
            return;
        }
        const Script::Step& step = steps[connection.step];
        switch (step.kind) {
        case Script::Kind::WaitForRequest:
            if (!hasWholeRequest(connection.received)) {
                return;
            }
            break;
        case Script::Kind::Send:
            connection.socket->write(step.bytes.data(), static_cast<qint64>(step.bytes.size()));
            connection.socket->flush();
            break;
        case Script::Kind::Pause: {
            connection.pausing = true;
            Connection* target = &connection;
            QTimer::singleShot(step.delay, connection.socket, [this, target] {
                target->pausing = false;
                ++target->step;
                advance(*target);
            });
            return;
        }
        case Script::Kind::SendEndless:
            connection.endless = true;
            connection.endlessSent = 0;
            fillEndless(connection);
            return;
        case Script::Kind::Close:
            connection.serverClosed = true;
            connection.finished = true;
            connection.socket->disconnectFromHost();
            return;
        case Script::Kind::Hold:
            return;
        }
        ++connection.step;
    }
    // A script that runs out of steps ends its connection.
    connection.serverClosed = true;
    connection.finished = true;
    connection.socket->disconnectFromHost();
}

void ScriptedServer::fillEndless(Connection& connection) {
    const Script::Step& step = connection.script.steps()[connection.step];
    const std::size_t limit = step.limit;
    while (connection.socket->bytesToWrite() < kEndlessQueue && connection.endlessSent < limit &&
           connection.socket->state() == QAbstractSocket::ConnectedState) {
        connection.socket->write(step.bytes.data(), static_cast<qint64>(step.bytes.size()));
        connection.endlessSent += step.bytes.size();
    }
    if (connection.endlessSent >= limit) {
        connection.endless = false;
        ++connection.step;
        advance(connection);
    }
}

} // namespace corvida::test
