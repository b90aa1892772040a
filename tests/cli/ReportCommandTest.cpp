// SPDX-License-Identifier: MIT
// corvida-cli report on a saved project.

#include <filesystem>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "doc/ProjectStore.h"
#include "model/ProjectFile.h"
#include "model/Web.h"
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

} // namespace
} // namespace corvida
