// SPDX-License-Identifier: MIT
// Clearing a project's files: after a crawl, a local site and a report with files the program
// did not write, and without a working directory.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "LocalSiteTestSupport.h"
#include "model/Web.h"
#include "platform/QtImagingLibrary.h"
#include "report/LocalSiteWriter.h"
#include "report/ProjectCleanup.h"
#include "report/ReportWriter.h"

namespace corvida {
namespace {

namespace fs = std::filesystem;
using test::RecordingListener;
using test::writeFile;

std::vector<std::string> entries(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        names.push_back(fs::relative(entry.path(), directory).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ProjectCleanupTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    RecordingListener m_listener;
    QtImagingLibrary m_imaging;
    std::unique_ptr<Web> m_web;

    std::string work() const { return m_dir.path().toStdString() + "/work/"; }

    void SetUp() override {
        const std::string site = m_dir.path().toStdString() + "/site";
        test::makeFixtureSite(site);
        m_web = test::crawlFiles(work(), "file://" + site + "/index.htm", &m_listener, {}, &m_imaging);
        writeFile(work() + "robots.txt", "User-agent: *\n");
    }
};

// Every file and directory the program wrote goes, local site and report pages included; only
// files the program did not write stay behind, and keep their directories.
TEST_F(ProjectCleanupTest, EverythingWrittenGoesButForeignFilesStay) {
    ASSERT_TRUE(LocalSiteWriter::write(*m_web).ok());
    ASSERT_TRUE(ReportWriter::write(*m_web).isOk());
    ASSERT_GE(entries(work()).size(), 12u); // directories, copies, thumbnail, pages, robots.txt
    // A profile page of a group that some node still carries, though no level has it.
    m_web->nodes().back()->setGroupNumber(7);
    writeFile(work() + "report/pics7.htm", "x");
    writeFile(work() + "docs/notes.txt", "mine");
    writeFile(work() + "report/docs40.htm", "x"); // no node was ever at that level
    m_listener.texts.clear();

    EXPECT_EQ(ProjectCleanup::clearFiles(*m_web), ProjectCleanup::kDirectoryNotEmpty);
    EXPECT_EQ(entries(work()), (std::vector<std::string>{"docs", "docs/notes.txt", "report", "report/docs40.htm"}));
    for (const WebNode* node : m_web->nodes()) {
        EXPECT_FALSE(node->hasAnyFlag(kFlagDocumentCopy | kFlagWrittenToLocalSite | kFlagThumbnail))
            << node->url().url();
    }
    EXPECT_EQ(m_listener.texts, (std::vector<std::string>{"Clearing Temp Files...", " FINISHED"}));
    EXPECT_EQ(m_listener.progressValues.back(), 100);
}

TEST(ProjectCleanupWithoutDirectoryTest, AWebWithoutWorkingDirectoryDeletesNothing) {
    QTemporaryDir dir;
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path().toStdString());
    std::ofstream("robots.txt") << "mine";
    Web web;
    EXPECT_EQ(ProjectCleanup::clearFiles(web), ProjectCleanup::kCleared);
    EXPECT_TRUE(fs::exists("robots.txt"));
    fs::current_path(previous);
}

} // namespace
} // namespace corvida
