// SPDX-License-Identifier: MIT
// Files replaced whole, and the room left on a disk.
#include "platform/DiskFile.h"
#include "platform/DiskSpace.h"

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace corvida {
namespace {

namespace fs = std::filesystem;

TEST(DiskFileTest, ReplaceWritesWholeFilesKeepsPermissionsAndFailsCleanly) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("a.bin").toStdString();
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(DiskFile::replace(path, std::string("first\0bytes", 11)).isOk());
    ::umask(mask);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0644));

    fs::permissions(path, fs::perms(0600));
    const std::string big = std::string(1 << 20, '\0') + "end";
    ASSERT_TRUE(DiskFile::replace(path, big).isOk());
    std::string bytes;
    ASSERT_TRUE(DiskFile::readAll(path, bytes).isOk());
    EXPECT_EQ(bytes, big);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0600));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path().toStdString()), fs::directory_iterator()), 1);

    // Failures leave the old state and no temporary file.
    const std::string target = folder.filePath("target").toStdString();
    fs::create_directories(target + "/inside");
    const Status error = DiskFile::replace(target, "bytes");
    EXPECT_EQ(error.message().rfind("cannot replace " + target + ": ", 0), 0u) << error.message();
    EXPECT_TRUE(fs::is_directory(target + "/inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path().toStdString()), fs::directory_iterator()), 2);

    // A writer that fails keeps the old file and leaves no temporary file either.
    const Status refused = DiskFile::replaceWith(path, [](std::FILE* file) {
        std::fputs("partial", file);
        return Status::ioError("cannot write the compound file");
    });
    EXPECT_EQ(refused.message(), "cannot write the compound file");
    ASSERT_TRUE(DiskFile::readAll(path, bytes).isOk());
    EXPECT_EQ(bytes, big);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path().toStdString()), fs::directory_iterator()), 2);

    const std::string missing = folder.filePath("no/such/file").toStdString();
    const Status noFolder = DiskFile::replace(missing, "x");
    EXPECT_EQ(noFolder.code(), Status::Code::NotFound);
    EXPECT_EQ(noFolder.message().rfind("cannot create a temporary file in ", 0), 0u);
    bytes = "unchanged";
    EXPECT_EQ(DiskFile::readAll(missing, bytes).code(), Status::Code::NotFound);
    EXPECT_EQ(bytes, "unchanged");
}

TEST(DiskSpaceTest, TellsTheRoomOfAnExistingDirectoryOnly) {
    QTemporaryDir folder;
    const std::optional<std::uint64_t> room = DiskSpace::available(folder.path().toStdString());
    ASSERT_TRUE(room.has_value());
    EXPECT_GT(*room, 0u);
    EXPECT_FALSE(DiskSpace::available(folder.path().toStdString() + "/no/such/directory").has_value());
}

} // namespace
} // namespace corvida
