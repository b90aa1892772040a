// SPDX-License-Identifier: MIT
#include "platform/CompoundFile.h"

#include <fstream>
#include <iterator>
#include <string>

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/ProjectFile.h"
#include "model/ProjectOptions.h"
#include "model/Web.h"

namespace corvida {
namespace {

std::string readFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Opens a compound file with python3-olefile, an independent reader, and copies the stream
// "Contents" into out. Debian installs the module for /usr/bin/python3 only.
bool readWithOlefile(const QString& file, const QString& out, QString* problem) {
    static const char* const kScript = "import olefile, sys\n"
                                       "ole = olefile.OleFileIO(sys.argv[1])\n"
                                       "assert ole.listdir() == [['Contents']], ole.listdir()\n"
                                       "open(sys.argv[2], 'wb').write(ole.openstream('Contents').read())\n";
    QProcess python;
    python.start("/usr/bin/python3", {"-c", kScript, file, out});
    python.waitForFinished(30000);
    *problem = QString::fromLocal8Bit(python.readAllStandardError());
    return python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0;
}

std::string patterned(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    }
    return bytes;
}

TEST(CompoundFileTest, StreamsOfEverySizeComeBackWhole) {
    // Around the 4096-byte line between the small and the big stream allocation.
    for (const std::size_t size : {0u, 1u, 4095u, 4096u, 4097u, 70000u, (3u << 20) + 5u}) {
        const std::string contents = patterned(size);
        std::string file;
        ASSERT_EQ(CompoundFile::build("Contents", contents, file), "");
        EXPECT_TRUE(CompoundFile::hasSignature(file));
        std::string back;
        ASSERT_EQ(CompoundFile::extract(file, "Contents", back), "") << size;
        EXPECT_EQ(back, contents) << size;
    }
}

TEST(CompoundFileTest, OtherFilesAreNamedForWhatTheyAre) {
    std::string contents;
    EXPECT_EQ(CompoundFile::extract("plain bytes", "Contents", contents), "not a compound file");
    EXPECT_FALSE(CompoundFile::hasSignature(""));
    std::string file;
    ASSERT_EQ(CompoundFile::build("Other", "x", file), "");
    EXPECT_EQ(CompoundFile::extract(file, "Contents", contents), "the compound file holds no stream Contents");
    EXPECT_NE(CompoundFile::extract(file.substr(0, 200), "Other", contents).find("damaged compound file"),
              std::string::npos);
}

TEST(CompoundFileTest, IndependentReaderSeesTheProjectSequence) {
    QTemporaryDir folder;
    const QString project = folder.filePath("site.zpj");
    const QString extracted = folder.filePath("contents.bin");

    Web web;
    WebNode* start = web.findOrAddNode(CUrl("http://example.test/index.htm"));
    web.setStartNode(start);
    // Enough nodes that the stream leaves the small-stream area.
    for (int i = 0; i < 300; ++i) {
        web.addLink(start, CUrl("http://example.test/page" + std::to_string(i) + ".htm"), 1, false);
    }
    ProjectOptions options;
    options.startUrl = "http://example.test/index.htm";
    ASSERT_EQ(ProjectFile::save(project.toStdString(), options, &web), "");

    QString problem;
    ASSERT_TRUE(readWithOlefile(project, extracted, &problem)) << problem.toStdString();
    EXPECT_EQ(readFile(extracted), ProjectFile::encode(options, &web));
}

} // namespace
} // namespace corvida
