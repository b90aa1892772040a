// SPDX-License-Identifier: MIT
// corvida-cli info and tree on project files.

#include <fstream>
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

// A start page with a title linking to a.htm (no title), which links to a picture and back.
std::string saveSmallProject(const QTemporaryDir& folder) {
    Web web;
    web.setWorkingDirectory("/tmp/corvida/small/");
    web.setStartUrlText("http://h/index.htm");
    web.setUserAgent("Corvida/0.1");
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
    EXPECT_EQ(ProjectFile::save(path, options, &web), "");
    return path;
}

TEST(ProjectCommandsTest, InfoPrintsEveryRecordField) {
    QTemporaryDir folder;
    const std::string path = saveSmallProject(folder);
    const CliResult result = runCli({"info", QString::fromStdString(path)});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "start_url: http://h/index.htm\n"
                          "auto_report: 0\n"
                          "auto_local_site: 0\n"
                          "check_external: 0\n"
                          "get_documents: 1\n"
                          "get_pictures: 1\n"
                          "get_audio: 1\n"
                          "get_video: 1\n"
                          "maximum_level: 3\n"
                          "local_site_made: 0\n"
                          "report_made: 0\n"
                          "start_node: 0\n"
                          "working_directory: /tmp/corvida/small/\n"
                          "working_file_name: \n"
                          "web_start_url: http://h/index.htm\n"
                          "user_agent: Corvida/0.1\n"
                          "proxy: \n"
                          "buffer_size: 4096\n"
                          "robots_exclusion: 0\n"
                          "email_address: \n"
                          "next_node_number: 3\n"
                          "count_documents: 2\n"
                          "count_pictures: 1\n"
                          "count_audio: 0\n"
                          "count_video: 0\n"
                          "count_ftp: 0\n"
                          "count_gopher: 0\n"
                          "count_mail: 0\n"
                          "count_other: 0\n"
                          "highest_level: 2\n"
                          "maximum_level_documents: 128\n"
                          "maximum_level_pictures: 128\n"
                          "maximum_level_audio: 128\n"
                          "maximum_level_video: 128\n"
                          "option_byte_documents: 210\n"
                          "option_byte_pictures: 210\n"
                          "option_byte_audio: 210\n"
                          "option_byte_video: 210\n"
                          "always_fetch: 0\n"
                          "nodes: 3\n");
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

TEST(ProjectCommandsTest, DamagedOrMissingFileIsOneLineAndStatusOne) {
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
}

} // namespace
} // namespace corvida
