// SPDX-License-Identifier: MIT
#include "app/SingleInstance.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace corvida {
namespace {

using Arguments = std::vector<std::string>;

template <typename Predicate>
bool serveUntil(Predicate done, int timeoutMs = 10000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

// Sends from other threads, as second starts do, while this thread's event loop serves.
std::vector<Status> sendConcurrently(const QString& name, const std::vector<Arguments>& commandLines,
                                     const std::string& workingDirectory = "/home/me") {
    std::vector<Status> statuses(commandLines.size());
    std::atomic<std::size_t> finished{0};
    std::vector<std::thread> senders;
    for (std::size_t i = 0; i < commandLines.size(); ++i) {
        senders.emplace_back([&, i] {
            statuses[i] = SingleInstance(name).sendToRunning(commandLines[i], workingDirectory);
            ++finished;
        });
    }
    serveUntil([&] { return finished == commandLines.size(); });
    for (std::thread& sender : senders) {
        sender.join();
    }
    return statuses;
}

Status send(const QString& name, const Arguments& arguments, const std::string& workingDirectory = "/home/me") {
    return sendConcurrently(name, {arguments}, workingDirectory).front();
}

QByteArray header(quint32 length, quint32 magic = 0x43525644) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << magic << quint16(1) << length;
    return bytes;
}

class SingleInstanceTest : public testing::Test {
protected:
    void SetUp() override {
        QObject::connect(&m_server, &SingleInstance::messageReceived,
                         [this](const QStringList& arguments, const QString& cwd) {
                             m_received.push_back(arguments);
                             m_received.back().prepend(cwd);
                         });
    }

    QTemporaryDir m_dir;
    QString m_name = m_dir.filePath("instance");
    SingleInstance m_server{m_name};
    std::vector<QStringList> m_received; // the working directory, then the arguments
};

TEST_F(SingleInstanceTest, DeliversEachCommandLineOnceAndExactly) {
    EXPECT_EQ(send(m_name, {"x.zpj"}).code(), Status::Code::NotFound);
    ASSERT_TRUE(m_server.listen());

    const Arguments awkward = {"/home/me/a \"quoted\" name.zpj", "  blanks  ", "line\nbreak", "", "/B", "IE3", "ünï"};
    ASSERT_TRUE(send(m_name, awkward, "/home/me/dir with space").isOk());
    ASSERT_TRUE(send(m_name, {"second.zpj"}).isOk());
    EXPECT_EQ(send(m_name, {std::string(SingleInstance::kMaxMessageBytes, 'a')}).code(), Status::Code::InvalidArgument);
    QStringList expected = {"/home/me/dir with space"};
    for (const std::string& argument : awkward) {
        expected.append(QString::fromStdString(argument));
    }
    ASSERT_EQ(m_received.size(), 2u);
    EXPECT_EQ(m_received[0], expected);
    EXPECT_EQ(m_received[1], (QStringList{"/home/me", "second.zpj"}));

    // Two starts at once: each command line arrives once.
    m_received.clear();
    for (const Status& status : sendConcurrently(m_name, {{"one.zpj"}, {"two.zpj"}})) {
        EXPECT_TRUE(status.isOk()) << status.toString();
    }
    serveUntil([] { return false; }, 50);
    ASSERT_EQ(m_received.size(), 2u);
    EXPECT_NE(m_received[0], m_received[1]);
}

TEST_F(SingleInstanceTest, BadConnectionsAreDroppedAndServingGoesOn) {
    ASSERT_TRUE(m_server.listen());
    m_server.setReceiveTimeout(std::chrono::milliseconds(300));
    QByteArray lyingCount; // four billion arguments in a few bytes
    QDataStream out(&lyingCount, QIODevice::WriteOnly);
    out << QString("/") << quint32(0xFFFFFFFF) << QString("a");
    const QByteArray bad[] = {
        "GET / HTTP/1.0\r\n\r\n",
        header(0, 0x12345678) + QByteArray(4, '\0'),
        header(SingleInstance::kMaxMessageBytes),
        header(lyingCount.size()) + lyingCount,
        header(100) + QByteArray(20, 'x'), // stops in the middle: dropped after the timeout
    };
    std::vector<std::unique_ptr<QLocalSocket>> clients;
    for (const QByteArray& bytes : bad) {
        clients.push_back(std::make_unique<QLocalSocket>());
        clients.back()->connectToServer(m_name);
        ASSERT_TRUE(clients.back()->waitForConnected(1000));
        clients.back()->write(bytes);
        clients.back()->flush();
    }
    // Served while the last bad client still holds its connection.
    EXPECT_TRUE(send(m_name, {"after.zpj"}).isOk());
    for (const auto& client : clients) {
        EXPECT_TRUE(serveUntil([&] { return client->state() == QLocalSocket::UnconnectedState; }));
        EXPECT_EQ(client->bytesAvailable(), 0);
    }
    ASSERT_EQ(m_received.size(), 1u);
    EXPECT_EQ(m_received[0], (QStringList{"/home/me", "after.zpj"}));
}

TEST_F(SingleInstanceTest, StaleSocketIsRecoveredButALiveOneIsKept) {
    // The socket file of an instance that crashed: bound, never listened to, never removed.
    const QByteArray path = QFile::encodeName(m_name);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);

    EXPECT_EQ(send(m_name, {"x.zpj"}).code(), Status::Code::NotFound);
    ASSERT_TRUE(m_server.listen());
    SingleInstance rival(m_name);
    EXPECT_FALSE(rival.listen());
    EXPECT_TRUE(send(m_name, {"x.zpj"}).isOk());
    EXPECT_EQ(m_received.size(), 1u);
}

TEST_F(SingleInstanceTest, OnlyAPrivateDirectoryIsUsed) {
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                        QFile::ReadOther | QFile::ExeOther));
    EXPECT_FALSE(m_server.listen());
    EXPECT_EQ(send(m_name, {"x.zpj"}).code(), Status::Code::NotFound);

    // The default name lies in the runtime directory while that is private, else in a directory
    // of this user under the temporary directory.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir privateDir;
    qputenv("XDG_RUNTIME_DIR", privateDir.path().toLocal8Bit());
    const QString inRuntime = SingleInstance::defaultServerName();
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    const QString fallback = SingleInstance::defaultServerName();
    qputenv("XDG_RUNTIME_DIR", runtime);
    const QString prefix = "/corvida-" + QString::number(::getuid());
    EXPECT_TRUE(inRuntime.startsWith(privateDir.path() + prefix + '-')) << inRuntime.toStdString();
    EXPECT_TRUE(fallback.startsWith(QDir::tempPath() + prefix + prefix + '-')) << fallback.toStdString();
}

} // namespace
} // namespace corvida
