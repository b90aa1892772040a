// SPDX-License-Identifier: MIT
#include "platform/CompoundFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace corvida {
namespace {

std::string patterned(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    }
    return bytes;
}

TEST(CompoundFileTest, StreamsOfEverySizeComeBackWholeAndOtherFilesAreRefused) {
    // Around the 4096-byte line between the small and the big stream allocation.
    for (const std::size_t size : {0u, 1u, 4095u, 4096u, 4097u, 70000u, (3u << 20) + 5u}) {
        const std::string contents = patterned(size);
        std::string file;
        ASSERT_TRUE(CompoundFile::build("Contents", contents, file).isOk());
        EXPECT_TRUE(CompoundFile::hasSignature(file));
        std::string back;
        ASSERT_TRUE(CompoundFile::extract(file, "Contents", back).isOk()) << size;
        EXPECT_EQ(back, contents) << size;
    }
    // Other files are named for what they are.
    std::string contents;
    EXPECT_EQ(CompoundFile::extract("plain bytes", "Contents", contents).message(), "not a compound file");
    std::string file;
    ASSERT_TRUE(CompoundFile::build("Other", "x", file).isOk());
    EXPECT_EQ(CompoundFile::extract(file, "Contents", contents).message(),
              "the compound file holds no stream Contents");
    EXPECT_NE(CompoundFile::extract(file.substr(0, 200), "Other", contents).message().find("damaged compound file"),
              std::string::npos);
}

TEST(CompoundFileTest, WritingIntoAFileGivesTheSameBytesAsBuildingInMemory) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("written.zpj").toStdString();
    for (const std::size_t size : {0u, 4097u, (3u << 20) + 5u}) {
        const std::string contents = patterned(size);
        std::string built;
        ASSERT_TRUE(CompoundFile::build("Contents", contents, built).isOk());
        // Handed over in uneven pieces, the stream makes the same file.
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        EXPECT_TRUE(CompoundFile::write(
                        file, "Contents",
                        [&](const CompoundFile::StreamWrite& write) {
                            for (std::size_t offset = 0; offset < contents.size(); offset += 1000 + offset / 3) {
                                if (!write(std::string_view(contents).substr(offset, 1000 + offset / 3))) {
                                    return false;
                                }
                            }
                            return true;
                        })
                        .isOk())
            << size;
        ASSERT_EQ(std::fclose(file), 0); // left open for its owner
        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), built) << size;
    }
    // A producer that fails makes the write fail.
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(CompoundFile::write(file, "Contents", [](const CompoundFile::StreamWrite&) { return false; }).isOk());
    std::fclose(file);
}

// python3-olefile, an independent reader, finds the one stream "Contents" and its bytes, in
// the small-stream area and out of it. Debian installs the module for /usr/bin/python3 only.
TEST(CompoundFileTest, IndependentReaderSeesTheStream) {
    QTemporaryDir folder;
    const QString path = folder.filePath("site.zpj");
    for (const std::size_t size : {100u, 70000u}) {
        const std::string contents = patterned(size);
        std::string file;
        ASSERT_TRUE(CompoundFile::build("Contents", contents, file).isOk());
        std::ofstream(path.toStdString(), std::ios::binary) << file;
        QProcess python;
        python.start("/usr/bin/python3", {"-c",
                                          "import olefile, sys\n"
                                          "ole = olefile.OleFileIO(sys.argv[1])\n"
                                          "assert ole.listdir() == [['Contents']], ole.listdir()\n"
                                          "sys.stdout.buffer.write(ole.openstream('Contents').read())\n",
                                          path});
        ASSERT_TRUE(python.waitForFinished(30000));
        ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        EXPECT_EQ(python.readAllStandardOutput().toStdString(), contents) << size;
    }
}

} // namespace
} // namespace corvida
