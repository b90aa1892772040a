// SPDX-License-Identifier: MIT
// corvida-cli report and local-site on saved projects: the outputs written, and the project
// recording them.

#include <filesystem>
#include <string>

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "doc/ProjectStore.h"
#include "model/ProjectFile.h"
#include "model/Web.h"
#include "report/LocalSiteTestSupport.h"
#include "support/CliRunner.h"

namespace corvida {
namespace {

namespace fs = std::filesystem;

TEST(ReportCommandTest, WritesTheReportOrNamesWhatFailed) {
    QTemporaryDir folder;
    const std::string work = folder.path().toStdString() + "/work/";
    Web web;
    web.settings().setWorkingDirectory(work);
    WebNode* start = web.findOrAddNode(CUrl("http://h/index.htm"));
    web.setStartNode(start);
    start->setLevel(0);
    web.addLink(start, CUrl("http://h/a.htm"), 1, false);
    ProjectOptions options;
    options.startUrl = "http://h/index.htm";
    const std::string path = folder.filePath("p.zpj").toStdString();
    ASSERT_TRUE(ProjectStore::save(path, options, &web).isOk());

    // The working directory does not exist yet: nothing can be written.
    const test::CliResult failed = test::runCli({"report", QString::fromStdString(path)});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("cannot write " + work + "report/overview.htm"), std::string::npos) << failed.err;

    fs::create_directories(work);
    const test::CliResult result = test::runCli({"report", QString::fromStdString(path)});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Report stored in: " + work + "report/overview.htm\n");
    EXPECT_TRUE(fs::is_regular_file(work + "report/docs1.htm"));
    const ProjectFile::Loaded loaded = ProjectStore::load(path, nullptr);
    ASSERT_NE(loaded.web, nullptr) << loaded.status.message();
    EXPECT_TRUE(loaded.options.reportMade);

    const test::CliResult missing = test::runCli({"report", folder.filePath("none.zpj")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("none.zpj: "), std::string::npos);
}

TEST(LocalSiteCommandTest, WritesTheSiteAndRecordsItInTheProject) {
    QTemporaryDir dir;
    const std::string site = dir.path().toStdString() + "/site";
    const std::string work = dir.path().toStdString() + "/work/";
    test::makeFixtureSite(site);
    ProjectOptions options;
    options.startUrl = "file://" + site + "/index.htm";
    const std::string project = dir.filePath("site.zpj").toStdString();
    ASSERT_TRUE(
        ProjectStore::save(project, options, test::crawlFiles(work, options.startUrl, nullptr, options).get()).isOk());

    const test::CliResult result = test::runCli({"local-site", QString::fromStdString(project)});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Web image starts at: " + work + "docs/index.htm\n");
    EXPECT_NE(test::readFile(work + "docs/index.htm").find("<a href=\"v0000001.htm\">Page A</a>"), std::string::npos);
    const ProjectFile::Loaded loaded = ProjectStore::load(project, nullptr);
    ASSERT_NE(loaded.web, nullptr) << loaded.status.message();
    EXPECT_TRUE(loaded.options.localSiteMade);
    EXPECT_TRUE(loaded.web->startNode()->hasAnyFlag(kFlagWrittenToLocalSite));
}

} // namespace
} // namespace corvida
