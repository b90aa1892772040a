// SPDX-License-Identifier: MIT
#pragma once

// ScriptedServer is an HTTP server for tests that misbehaves on purpose. It listens on
// 127.0.0.1 at a free port and answers every connection by playing a Script: wait for the
// request, send bytes, pause, send a header line for ever, close early, or hold the
// connection open without answering. A Responder can choose the script from the request
// bytes, so one server can stand in for a whole site.
//
// It runs on the test's own event loop (the thread that made it); tests spin that loop with
// waitUntil(). Every request is recorded byte for byte as the server received it.
//
//     ScriptedServer server;
//     server.setScript(Script().waitForRequest().send("HTTP/1.0 200 OK\r\n\r\n").pause(20ms)
//                          .send("body").close());
//     ... start a transfer of server.url("/a.htm") ...
//     ScriptedServer::waitUntil([&] { return done; });
//     EXPECT_EQ(server.request(0), "GET /a.htm HTTP/1.0\r\n...");

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QObject>

class QTcpServer;
class QTcpSocket;

namespace corvida::test {

// The steps one connection plays, in order. Builders return *this for chaining.
class Script {
public:
    enum class Kind { WaitForRequest, Send, Pause, SendEndless, Close, Hold };
    struct Step {
        Kind kind;
        std::string bytes;
        std::chrono::milliseconds delay{0};
        std::size_t limit = 0;
    };

    // Waits until the request's header block (up to an empty line) has arrived.
    Script& waitForRequest();
    // Sends bytes and flushes them to the socket.
    Script& send(std::string bytes);
    // Sends reply in pieces cut before each offset of cuts (ascending, inside the reply),
    // with a pause between pieces so that the client receives them separately.
    Script& sendSplit(const std::string& reply, const std::vector<std::size_t>& cuts,
                      std::chrono::milliseconds gap = std::chrono::milliseconds(15));
    // Does nothing for delay.
    Script& pause(std::chrono::milliseconds delay);
    // Sends line again and again, whenever the socket has room, until the client closes or
    // limit bytes have gone out. line must not be empty.
    Script& sendEndless(std::string line, std::size_t limit = std::size_t{64} << 20);
    // Closes the connection (after the bytes sent so far have gone out).
    Script& close();
    // Keeps the connection open and never answers.
    Script& hold();

    const std::vector<Step>& steps() const { return m_steps; }

    // A whole reply: waits for the request, sends the status line, each header line,
    // the empty line and body, then closes.
    static Script reply(std::string_view statusLine, const std::vector<std::string>& headerLines,
                        std::string_view body);

private:
    std::vector<Step> m_steps;
};

class ScriptedServer : public QObject {
    Q_OBJECT

public:
    // Chooses the script for a connection from the request bytes received so far (the
    // header block when the script starts with waitForRequest(), else nothing).
    using Responder = std::function<Script(std::string_view request)>;

    // The certificate (PEM, the server's first) and private key of a server that speaks TLS.
    struct TlsIdentity {
        std::string certificateFile;
        std::string keyFile;
    };

    // Starts listening on 127.0.0.1 at a free port. The default script answers
    // "HTTP/1.0 200 OK" with an empty body.
    ScriptedServer();
    // The same, speaking TLS with identity: every connection shakes hands first, and the
    // script plays inside the secure session. url() then names https.
    explicit ScriptedServer(const TlsIdentity& identity);
    ~ScriptedServer() override;

    // The port listened on (still the same after stopListening()).
    std::uint16_t port() const { return m_port; }
    // "http://127.0.0.1:PORT" (https for a TLS server) followed by path.
    std::string url(std::string_view path = "/") const;

    // Every later connection plays script.
    void setScript(Script script);
    // Every later connection plays the script responder returns. The responder's decision
    // is taken when the request has arrived, so its script should not wait for it again.
    void setResponder(Responder responder);
    // Stops accepting: later connections are refused by the system. Open ones go on.
    void stopListening();

    // Connections accepted so far.
    int connectionCount() const { return static_cast<int>(m_connections.size()); }
    // The bytes connection index has received so far (index in accept order).
    std::string request(int index) const;
    // Whether the client of connection index has closed its side.
    bool clientClosed(int index) const;
    // Connections whose client closed or that the server closed.
    int finishedCount() const;

    // A port on 127.0.0.1 where nothing listens: connecting to it is refused.
    static std::uint16_t refusedPort();
    // Runs the event loop until done() is true or timeout passes; returns done().
    static bool waitUntil(const std::function<bool()>& done,
                          std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

private:
    struct Connection;
    void accept();
    void advance(Connection& connection);
    void received(Connection& connection);
    void fillEndless(Connection& connection);

    void listen();

    QTcpServer* m_server = nullptr;
    bool m_secure = false;
    std::uint16_t m_port = 0;
    Script m_script;
    Responder m_responder;
    std::vector<std::unique_ptr<Connection>> m_connections;
};

} // namespace corvida::test
