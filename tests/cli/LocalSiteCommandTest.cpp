// SPDX-License-Identifier: MIT
// corvida-cli local-site on a saved crawl of the fixture site.

#include <string>

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "html/LocalSiteTestSupport.h"
#include "model/ProjectFile.h"
#include "model/Web.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliResult runCli(const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromStdString(test::cliPath()), arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

class LocalSiteCommandTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    std::string m_project;

    std::string work() const { return m_dir.path().toStdString() + "/work/"; }

    void SetUp() override {
        const std::string site = m_dir.path().toStdString() + "/site";
        test::makeFixtureSite(site);
        ProjectOptions options;
        options.startUrl = "file://" + site + "/index.htm";
        std::unique_ptr<Web> web = test::crawlFiles(work(), options.startUrl, nullptr, options);
        m_project = m_dir.filePath("site.zpj").toStdString();
        ASSERT_EQ(ProjectFile::save(m_project, options, web.get()), "");
    }
};

TEST_F(LocalSiteCommandTest, WritesTheSiteAndRecordsItInTheProject) {
    const CliResult result = runCli({"local-site", QString::fromStdString(m_project)});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Web image starts at: " + work() + "docs/index.htm\n");
    EXPECT_NE(test::readFile(work() + "docs/index.htm").find("<a href=\"v0000001.htm\">Page A</a>"), std::string::npos);

    const ProjectFile::Loaded loaded = ProjectFile::load(m_project, nullptr, {});
    ASSERT_NE(loaded.web, nullptr) << loaded.error;
    EXPECT_TRUE(loaded.options.localSiteMade);
    EXPECT_TRUE(loaded.web->startNode()->hasAnyFlag(kFlagWrittenToLocalSite));

    const CliResult missing = runCli({"local-site", m_dir.filePath("none.zpj")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("none.zpj: "), std::string::npos);
}

} // namespace
} // namespace corvida
