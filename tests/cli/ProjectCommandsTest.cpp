// SPDX-License-Identifier: MIT
// corvida-cli info, tree and list on project files.

#include <filesystem>
#include <fstream>
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

using test::CliResult;
using test::runCli;

// A start page with a title linking to a.htm (no title), which links to a picture and back.
std::string saveSmallProject(const QTemporaryDir& folder) {
    Web web;
    web.settings().setWorkingDirectory("/tmp/corvida/small/");
    web.settings().startUrl = "http://h/index.htm";
    web.settings().userAgent = "Corvida/0.1";
    WebNode* start = web.findOrAddNode(CUrl("http://h/index.htm"));
    web.setStartNode(start);
    start->setLevel(0);
    start->setTitle("Home page");
    WebNode* a = web.addLink(start, CUrl("http://h/a.htm"), 1, false);
    web.addLink(a, CUrl("http://h/index.htm"), 2, false);
    web.addLink(a, CUrl("http://h/pic.gif"), 2, false);
    ProjectOptions options;
    options.startUrl = "http://h/index.htm";
    options.maximumLevel = 3;
    const std::string path = folder.filePath("small.zpj").toStdString();
    EXPECT_TRUE(ProjectStore::save(path, options, &web).isOk());
    return path;
}

TEST(ProjectCommandsTest, InfoPrintsEveryRecordField) {
    QTemporaryDir folder;
    const std::string path = saveSmallProject(folder);
    const CliResult result = runCli({"info", QString::fromStdString(path)});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "start_url: http://h/index.htm\nauto_report: 0\nauto_local_site: 0\ncheck_external: 0\n"
                          "get_documents: 1\nget_pictures: 1\nget_audio: 1\nget_video: 1\nmaximum_level: 3\n"
                          "local_site_made: 0\nreport_made: 0\nstart_node: 0\nworking_directory: /tmp/corvida/small/\n"
                          "working_file_name: \nweb_start_url: http://h/index.htm\nuser_agent: Corvida/0.1\nproxy: \n"
                          "buffer_size: 4096\nrobots_exclusion: 0\nemail_address: \nnext_node_number: 3\n"
                          "count_documents: 2\ncount_pictures: 1\ncount_audio: 0\ncount_video: 0\ncount_ftp: 0\n"
                          "count_gopher: 0\ncount_mail: 0\ncount_other: 0\nhighest_level: 2\n"
                          "maximum_level_documents: 128\nmaximum_level_pictures: 128\nmaximum_level_audio: 128\n"
                          "maximum_level_video: 128\noption_byte_documents: 210\noption_byte_pictures: 210\n"
                          "option_byte_audio: 210\noption_byte_video: 210\nalways_fetch: 0\nnodes: 3\n");
}

TEST(ProjectCommandsTest, TreePrintsTheRebuiltLinkTree) {
    QTemporaryDir folder;
    const std::string path = saveSmallProject(folder);
    const CliResult result = runCli({"tree", QString::fromStdString(path)});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "1\t0\t-\tHome page\n"
                          "1.1\t1\t-\thttp://h/a.htm\n"
                          "1.1.1\t2\t-\thttp://h/pic.gif\n"
                          "1.1.2\t2\t*\tHome page\n");
}

TEST(ProjectCommandsTest, ListWritesFilteredRowsInDiscoveryOrder) {
    QTemporaryDir folder;
    const QString project = QString::fromStdString(saveSmallProject(folder));
    CliResult result = runCli({"list", project});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "URL list made by Vantorix 2.0.\nURL list of the small project.\n"
                          "Name,Content Type,Size,Depth,Last Modified,# In Links,# Out Links,Title\n"
                          "http://h/index.htm,text/html,0,0,,1,1,Home page,\n"
                          "http://h/a.htm,text/html,0,1,,1,2,,\n"
                          "http://h/pic.gif,image/gif,0,2,,1,0,,\n");

    const std::string html = folder.filePath("table.htm").toStdString();
    result = runCli({"list", project, "--html", "--filter", "2", "-o", QString::fromStdString(html)});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    const std::string page = test::readFile(html);
    EXPECT_NE(page.find("<CAPTION>URL list of the small project.</CAPTION>\n"), std::string::npos);
    EXPECT_NE(page.find("<TR><TD><A HREF=\"http://h/pic.gif\">"), std::string::npos);
    EXPECT_EQ(page.find("http://h/a.htm"), std::string::npos);

    // The settings hide Size and rename Depth; --all-columns brings the hidden column back.
    const QString config = folder.filePath("Corvida.conf");
    std::ofstream(config.toStdString()) << "[URL list header]\nShown3=0\nCaption4=Level\n";
    result = runCli({"--config", config, "list", project, "--filter", "2"});
    EXPECT_NE(result.out.find("\nName,Content Type,Level,Last Modified,# In Links,# Out Links,Title\n"
                              "http://h/pic.gif,image/gif,2,,1,0,,\n"),
              std::string::npos)
        << result.out;
    result = runCli({"--config", config, "list", project, "--filter", "2", "--all-columns"});
    EXPECT_NE(result.out.find("\nName,Content Type,Size,Level,"), std::string::npos) << result.out;
}

TEST(ProjectCommandsTest, InfoNodePrintsItsFactsAndRedirects) {
    QTemporaryDir folder;
    Web web;
    WebNode* start = web.findOrAddNode(CUrl("http://h/index.htm"));
    web.setStartNode(start);
    start->setLevel(0);
    WebNode* old = web.addLink(start, CUrl("http://h/old.htm"), 1, false);
    old->addRedirect({301, "/a/mid.htm", "http://h/a/mid.htm"});
    old->addRedirect({308, "final\x1b[2J.htm", "http://h/a/final%1B[2J.htm"});
    old->setRequestUrl("http://h/a/final%1B[2J.htm");
    old->setStatus(200, "OK", "");
    const QString path = folder.filePath("moved.zpj");
    ASSERT_TRUE(ProjectStore::save(path.toStdString(), {}, &web).isOk());

    // The URL is looked up as the project normalises it; a control byte never reaches the terminal.
    CliResult result = runCli({"info", path, "--node", "HTTP://H/old.htm#part"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "url: http://h/old.htm\nnumber: 1\nlevel: 1\nstatus: 200\nstatus_text: OK\n"
                          "status_detail: \ntype: document\nmime_type: text/html\nsize: 0\n"
                          "request_url: http://h/a/final%1B[2J.htm\nredirects: 2\n"
                          "redirect_1: 301 /a/mid.htm -> http://h/a/mid.htm\n"
                          "redirect_2: 308 final\\x1B[2J.htm -> http://h/a/final%1B[2J.htm\n");

    result = runCli({"info", path, "--node", "http://h/nowhere.htm"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "corvida-cli: " + path.toStdString() + ": no node has the URL http://h/nowhere.htm\n");
    EXPECT_EQ(runCli({"info", path, "--node"}).exitCode, 2);
}

TEST(ProjectCommandsTest, DamagedMissingOrUnwritableFilesAndUsage) {
    QTemporaryDir folder;
    const std::string path = saveSmallProject(folder);
    const std::string raw = folder.filePath("raw.zpj").toStdString();
    std::ofstream(raw, std::ios::binary) << "\x05short";
    for (const std::string& file : {raw, folder.filePath("none.zpj").toStdString()}) {
        for (const char* command : {"info", "tree"}) {
            const CliResult result = runCli({command, QString::fromStdString(file)});
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.err.rfind("corvida-cli: " + file + ": ", 0), 0u) << result.err;
            EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
        }
    }
    EXPECT_EQ(runCli({"info"}).exitCode, 2);
    EXPECT_EQ(runCli({"tree", "a", "b"}).exitCode, 2);
    const QString project = QString::fromStdString(path);
    for (const QStringList& args :
         {QStringList{"list"}, QStringList{"list", project, "--filter"}, QStringList{"list", project, "--filter", "5"},
          QStringList{"list", project, "--csv", "--html"}}) {
        EXPECT_EQ(runCli(args).exitCode, 2) << args.join(' ').toStdString();
    }
    const QString unwritable = folder.filePath("no/dir/table.csv");
    const CliResult result = runCli({"list", project, "-o", unwritable});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(unwritable.toStdString()), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(unwritable.toStdString()));
}

} // namespace
} // namespace corvida
