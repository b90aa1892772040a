// SPDX-License-Identifier: MIT
// corvida-cli list on a saved project.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/ProjectFile.h"
#include "model/Web.h"
#include "support/CliRunner.h"

namespace corvida {
namespace {

using test::CliResult;
using test::runCli;

// Four nodes in discovery order: a fetched start page with a title, a picture, a page whose
// fetch failed and a page reached from it. URL order differs from discovery order.
std::string saveProject(const QTemporaryDir& folder) {
    Web web;
    web.setWorkingDirectory("/tmp/corvida/site/");
    WebNode* start = web.findOrAddNode(CUrl("http://h/z.htm"));
    web.setStartNode(start);
    start->setLevel(0);
    start->setTitle("Home, page");
    start->setSize(3000);
    start->setFlags(kFlagFetchStarted | kFlagFetched | kFlagProcessed);
    WebNode* picture = web.addLink(start, CUrl("http://h/p.gif"), 1, false);
    picture->setSize(20000);
    picture->setFlags(kFlagFetchStarted | kFlagFetched | kFlagProcessed);
    WebNode* gone = web.addLink(start, CUrl("http://h/gone.htm"), 1, false);
    gone->setFlags(kFlagFetchStarted | kFlagProcessed);
    web.addLink(gone, CUrl("http://h/a.htm"), 2, false);
    const std::string path = folder.filePath("my site.zpj").toStdString();
    EXPECT_EQ(ProjectFile::save(path, ProjectOptions{}, &web), "");
    return path;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(ListCommandTest, WritesFilteredRowsInDiscoveryOrder) {
    QTemporaryDir folder;
    const QString project = QString::fromStdString(saveProject(folder));
    const std::string heading = "URL list made by Vantorix 2.0.\nURL list of the my site project.\n"
                                "Name,Content Type,Size,Depth,Last Modified,# In Links,# Out Links,Title\n";
    CliResult result = runCli({"list", project});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, heading + "http://h/z.htm,text/html,3000,0,,0,2,\"Home, page\",\n"
                                    "http://h/p.gif,image/gif,20000,1,,1,0,,\n"
                                    "http://h/gone.htm,text/html,0,1,,1,1,,\n"
                                    "http://h/a.htm,text/html,0,2,,1,0,,\n");

    result = runCli({"list", "--filter", "1", project, "--csv", "--all-columns"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, heading + "http://h/z.htm,text/html,3000,0,,0,2,\"Home, page\",\n");

    const std::string html = folder.filePath("out/table.htm").toStdString();
    std::filesystem::create_directories(folder.filePath("out").toStdString());
    result = runCli({"list", project, "--html", "--filter", "2", "-o", QString::fromStdString(html)});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    const std::string page = readFile(html);
    EXPECT_NE(page.find("<CAPTION>URL list of the my site project.</CAPTION>\n"), std::string::npos);
    EXPECT_NE(page.find("<TR><TD><A HREF=\"http://h/p.gif\">"), std::string::npos);
    EXPECT_EQ(page.find("z.htm"), std::string::npos);
}

TEST(ListCommandTest, TheSettingsChooseTheColumns) {
    QTemporaryDir folder;
    const QString project = QString::fromStdString(saveProject(folder));
    // Size hidden, Depth renamed; the hidden column still comes back with --all-columns.
    const QString config = folder.filePath("Corvida.conf");
    std::ofstream(config.toStdString()) << "[URL list header]\nShown3=0\nCaption4=Level\n";
    CliResult result = runCli({"--config", config, "list", project, "--filter", "1"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("\nName,Content Type,Level,Last Modified,# In Links,# Out Links,Title\n"
                              "http://h/z.htm,text/html,0,,0,2,\"Home, page\",\n"),
              std::string::npos)
        << result.out;
    result = runCli({"--config", config, "list", project, "--filter", "1", "--all-columns"});
    EXPECT_NE(result.out.find("\nName,Content Type,Size,Level,"), std::string::npos) << result.out;
}

TEST(ListCommandTest, UsageLoadAndWriteFailures) {
    QTemporaryDir folder;
    const QString project = QString::fromStdString(saveProject(folder));
    for (const QStringList& args :
         {QStringList{"list"}, QStringList{"list", project, "--filter", "5"}, QStringList{"list", project, "--filter"},
          QStringList{"list", project, "--csv", "--html"}, QStringList{"list", project, project},
          QStringList{"list", project, "--tsv"}}) {
        const CliResult result = runCli(args);
        EXPECT_EQ(result.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(result.out, "");
    }

    CliResult result = runCli({"list", folder.filePath("none.zpj")});
    EXPECT_EQ(result.exitCode, 1);
    const QString unwritable = folder.filePath("no/dir/table.csv");
    result = runCli({"list", project, "-o", unwritable});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(unwritable.toStdString()), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(unwritable.toStdString()));
}

} // namespace
} // namespace corvida
