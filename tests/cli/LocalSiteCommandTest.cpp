// SPDX-License-Identifier: MIT
// corvida-cli local-site on a saved crawl of the fixture site.

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
