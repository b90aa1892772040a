// SPDX-License-Identifier: MIT
#include "app/SingleInstance.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

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

struct Message {
    QStringList arguments;
    QString workingDirectory;
};

template <typename Predicate>
bool serveUntil(Predicate done, int timeoutMs = 10000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
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
        ASSERT_TRUE(m_dir.isValid());
        QObject::connect(&m_server, &SingleInstance::messageReceived,
                         [this](const QStringList& arguments, const QString& cwd) {
                             m_messages.push_back({arguments, cwd});
                         });
    }

    // A raw client that writes bytes and reports whether the server dropped it.
    bool serverDrops(const QByteArray& bytes, bool disconnectAfterwards) {
        QLocalSocket raw;
        raw.connectToServer(m_name);
        if (!raw.waitForConnected(1000)) {
            return false;
        }
        raw.write(bytes);
        raw.flush();
        if (disconnectAfterwards) {
            raw.disconnectFromServer();
            serveUntil([&] { return raw.state() == QLocalSocket::UnconnectedState; });
            serveUntil([] { return false; }, 50);
            return true;
        }
        return serveUntil([&] { return raw.state() == QLocalSocket::UnconnectedState; }) && raw.bytesAvailable() == 0;
    }

    QTemporaryDir m_dir;
    QString m_name = m_dir.filePath("instance");
    SingleInstance m_server{m_name};
    std::vector<Message> m_messages;
};

TEST_F(SingleInstanceTest, DeliversEachCommandLineOnceAndExactly) {
    EXPECT_EQ(send(m_name, {"x.zpj"}).code(), Status::Code::NotFound);
    ASSERT_TRUE(m_server.listen());

    const Arguments awkward = {"/home/me/a \"quoted\" name.zpj", "  blanks  ", "line\nbreak", "", "/B", "IE3", "ünï"};
    ASSERT_TRUE(send(m_name, awkward, "/home/me/dir with space").isOk());
    ASSERT_TRUE(send(m_name, {"second.zpj"}).isOk());
    ASSERT_EQ(m_messages.size(), 2u);
    QStringList expected;
    for (const std::string& argument : awkward) {
        expected.append(QString::fromStdString(argument));
    }
    EXPECT_EQ(m_messages[0].arguments, expected);
    EXPECT_EQ(m_messages[0].workingDirectory, "/home/me/dir with space");
    EXPECT_EQ(m_messages[1].arguments, QStringList{"second.zpj"});

    // Two starts at once: each command line arrives once.
    m_messages.clear();
    for (const Status& status : sendConcurrently(m_name, {{"one.zpj"}, {"two.zpj"}})) {
        EXPECT_TRUE(status.isOk()) << status.toString();
    }
    serveUntil([] { return false; }, 50);
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_NE(m_messages[0].arguments, m_messages[1].arguments);
}

TEST_F(SingleInstanceTest, OversizeIsRefusedBeforeSending) {
    ASSERT_TRUE(m_server.listen());
    const Status status = send(m_name, {std::string(SingleInstance::kMaxMessageBytes, 'a')});
    EXPECT_EQ(status.code(), Status::Code::InvalidArgument);
    serveUntil([] { return false; }, 50);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SingleInstanceTest, BadConnectionsAreDroppedAndServingGoesOn) {
    ASSERT_TRUE(m_server.listen());
    m_server.setReceiveTimeout(std::chrono::milliseconds(300));

    EXPECT_TRUE(serverDrops("GET / HTTP/1.0\r\n\r\n", false));
    EXPECT_TRUE(serverDrops(header(0, 0x12345678) + QByteArray(4, '\0'), false));
    EXPECT_TRUE(serverDrops(header(SingleInstance::kMaxMessageBytes), false));
    // A payload that claims four billion arguments in a few bytes.
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << QString("/") << quint32(0xFFFFFFFF) << QString("a");
    EXPECT_TRUE(serverDrops(header(payload.size()) + payload, false));
    // Cut short: the sender goes away in the middle of its message.
    EXPECT_TRUE(serverDrops(header(100) + QByteArray(20, 'x'), true));

    // A client that stops in the middle of its message is dropped after the receive timeout;
    // other starts are served meanwhile.
    QLocalSocket silent;
    silent.connectToServer(m_name);
    ASSERT_TRUE(silent.waitForConnected(1000));
    silent.write(header(100) + QByteArray(20, 'x'));
    silent.flush();
    EXPECT_TRUE(send(m_name, {"after.zpj"}).isOk());
    EXPECT_TRUE(serveUntil([&] { return silent.state() == QLocalSocket::UnconnectedState; }));

    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].arguments, QStringList{"after.zpj"});
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
    ASSERT_TRUE(QFile::exists(m_name));

    EXPECT_EQ(send(m_name, {"x.zpj"}).code(), Status::Code::NotFound);
    ASSERT_TRUE(m_server.listen());
    SingleInstance rival(m_name);
    EXPECT_FALSE(rival.listen());
    EXPECT_TRUE(send(m_name, {"x.zpj"}).isOk());
    EXPECT_EQ(m_messages.size(), 1u);
}

TEST_F(SingleInstanceTest, OnlyAPrivateDirectoryIsUsed) {
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                        QFile::ReadOther | QFile::ExeOther));
    EXPECT_FALSE(m_server.listen());
    EXPECT_EQ(send(m_name, {"x.zpj"}).code(), Status::Code::NotFound);

    // The default name: in the runtime directory while it is private, else in a directory of
    // this user under the temporary directory; one per display.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    QTemporaryDir privateDir;
    qputenv("XDG_RUNTIME_DIR", privateDir.path().toLocal8Bit());
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", ":0");
    const QString first = SingleInstance::defaultServerName();
    qputenv("DISPLAY", ":1");
    const QString second = SingleInstance::defaultServerName();
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    const QString fallback = SingleInstance::defaultServerName();
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("DISPLAY", display);
    qputenv("WAYLAND_DISPLAY", wayland);

    const QString uid = QString::number(::getuid());
    EXPECT_TRUE(first.startsWith(privateDir.path() + "/corvida-" + uid + "-")) << first.toStdString();
    EXPECT_NE(first, second);
    EXPECT_TRUE(fallback.startsWith(QDir::tempPath() + "/corvida-" + uid + "/corvida-" + uid + "-"))
        << fallback.toStdString();
}

} // namespace
} // namespace corvida
