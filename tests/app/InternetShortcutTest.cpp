// SPDX-License-Identifier: MIT
#include "app/InternetShortcut.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace corvida {
namespace {

class InternetShortcutTest : public testing::Test {
protected:
    std::string write(const std::string& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(QString::fromStdString(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path.toStdString();
    }

    QTemporaryDir m_dir;
};

TEST_F(InternetShortcutTest, ReadsWindowsAndFreedesktopShortcuts) {
    const std::pair<QByteArray, std::string> cases[] = {
        {"[InternetShortcut]\r\nURL=http://www.example.com/a b?q=1\r\nIconIndex=0\r\n",
         "http://www.example.com/a b?q=1"},
        {"[DEFAULT]\nBASEURL=x\n[internetshortcut]\nurl = www.example.org\n", "www.example.org"},
        {"[Desktop Entry]\nName=Site\nType=Link\nURL=https://example.net/\n", "https://example.net/"},
    };
    for (const auto& [bytes, expected] : cases) {
        std::string url;
        const Status status = InternetShortcut::read(write("s.url", bytes), url);
        EXPECT_TRUE(status.isOk()) << status.toString();
        EXPECT_EQ(url, expected);
    }
}

TEST_F(InternetShortcutTest, RefusesFilesThatNameNoUsableUrl) {
    const QByteArray corrupt[] = {
        "<html><body>not a shortcut</body></html>",
        "[InternetShortcut]\nIconFile=x.ico\n",
        "[Other]\nURL=http://a/\n",
        "[InternetShortcut]\nURL=\n",
        "[InternetShortcut]\nURL=http://a/\tb\n",
        "[InternetShortcut]\nURL=\\http://a/\\nhttp://b/\n",
        "[Desktop Entry]\nType=Application\nURL=http://a/\nExec=sh\n",
    };
    for (const QByteArray& bytes : corrupt) {
        std::string url = "kept";
        EXPECT_EQ(InternetShortcut::read(write("bad.url", bytes), url).code(), Status::Code::Corrupt) << bytes.data();
        EXPECT_EQ(url, "kept");
    }

    std::string url = "kept";
    // A FIFO would block the reader until someone writes to it.
    const std::string fifo = m_dir.filePath("fifo.url").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(InternetShortcut::read(fifo, url).code(), Status::Code::NotFound);

    // A large file is refused by its size (a sparse file: its bytes are never read).
    const std::string large = write("large.url", "[InternetShortcut]\nURL=http://a/\n");
    ASSERT_TRUE(QFile::resize(QString::fromStdString(large), 10 * 1024 * 1024));
    const Status refused = InternetShortcut::read(large, url);
    EXPECT_EQ(refused.code(), Status::Code::InvalidArgument);
    EXPECT_NE(refused.message().find("large.url"), std::string::npos);
    EXPECT_EQ(url, "kept");
}

} // namespace
} // namespace corvida
