// SPDX-License-Identifier: MIT
#include "platform/DiskFile.h"

#include <filesystem>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace corvida {
namespace {

std::size_t entriesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

TEST(DiskFileTest, ReplaceWritesWholeFilesAndKeepsPermissions) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("a.bin").toStdString();
    const mode_t mask = ::umask(022);
    ASSERT_EQ(DiskFile::replace(path, std::string("first\0bytes", 11)), "");
    ::umask(mask);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0644));
    std::string bytes;
    ASSERT_EQ(DiskFile::readAll(path, bytes), "");
    EXPECT_EQ(bytes, std::string("first\0bytes", 11));

    std::filesystem::permissions(path, std::filesystem::perms(0600));
    const std::string big(1 << 20, 'z');
    ASSERT_EQ(DiskFile::replace(path, big), "");
    ASSERT_EQ(DiskFile::readAll(path, bytes), "");
    EXPECT_EQ(bytes, big);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0600));
    EXPECT_EQ(entriesIn(folder.path().toStdString()), 1u);
}

TEST(DiskFileTest, FailuresLeaveTheOldStateAndNoTemporaryFile) {
    QTemporaryDir folder;
    const std::string target = folder.filePath("target").toStdString();
    std::filesystem::create_directories(target + "/inside");
    const std::string error = DiskFile::replace(target, "bytes");
    EXPECT_EQ(error.rfind("cannot replace " + target + ": ", 0), 0u) << error;
    EXPECT_TRUE(std::filesystem::is_directory(target + "/inside"));
    EXPECT_EQ(entriesIn(folder.path().toStdString()), 1u);

    const std::string missing = folder.filePath("no/such/file").toStdString();
    EXPECT_EQ(DiskFile::replace(missing, "x").rfind("cannot create a temporary file in ", 0), 0u);
    std::string bytes = "unchanged";
    EXPECT_NE(DiskFile::readAll(missing, bytes), "");
    EXPECT_EQ(bytes, "unchanged");
}

} // namespace
} // namespace corvida
