// SPDX-License-Identifier: MIT
// corvida-cli crawl end to end: a fixture site over Python's http.server and as local files.

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/CliRunner.h"
#include "support/PythonHttpServer.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

struct NodeLine {
    int level = 0;
    int status = 0;
    unsigned flags = 0;
};

struct CrawlOutput {
    int exitCode = -1;
    std::map<std::string, std::string> counters;
    std::map<std::string, NodeLine> nodes; // by URL
};

CrawlOutput runCrawl(const QStringList& arguments) {
    const test::CliResult result = test::runCli(QStringList{"crawl"} + arguments);
    CrawlOutput output;
    output.exitCode = result.exitCode;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.find(": ");
        if (line.find('\t') == std::string::npos && colon != std::string::npos) {
            output.counters[line.substr(0, colon)] = line.substr(colon + 2);
            continue;
        }
        std::istringstream fields(line);
        std::string number;
        std::string flags;
        std::string url;
        NodeLine node;
        fields >> number >> node.level >> node.status >> flags >> url;
        node.flags = static_cast<unsigned>(std::stoul(flags, nullptr, 16));
        output.nodes[url] = node;
    }
    return output;
}

constexpr unsigned kFetched = 0x100000;
constexpr unsigned kTested = 0x80000;
constexpr unsigned kProcessed = 0x800000;
constexpr unsigned kDocument = 0x20;

TEST(CliCrawlTest, CrawlsASiteOverHttp) {
    const test::PythonHttpServer server(test::dataPath("e2e/site"));
    ASSERT_TRUE(server.started());
    QTemporaryDir work;
    const CrawlOutput out = runCrawl(
        {QString::fromStdString(server.url("/index.html")), "--dir", work.path(), "--connections", "4", "--nodes"});
    ASSERT_EQ(out.exitCode, 0);
    EXPECT_EQ(out.counters.at("nodes"), "11");
    EXPECT_EQ(out.counters.at("processed"), "11");
    EXPECT_EQ(out.counters.at("broken"), "2");
    EXPECT_EQ(out.counters.at("highest_level"), "2");

    const NodeLine& start = out.nodes.at(server.url("/index.html"));
    EXPECT_EQ(start.level, 0);
    EXPECT_EQ(start.status, 200);
    EXPECT_EQ(start.flags & (kFetched | kProcessed | 0x10000), kFetched | kProcessed | 0x10000u);
    // A folder URL has no extension: a HEAD learns it is a page, then it is fetched.
    const NodeLine& folder = out.nodes.at(server.url("/sub/"));
    EXPECT_EQ(folder.flags & (kDocument | kFetched | 0x4000), kDocument | kFetched | 0x4000u);
    EXPECT_EQ(out.nodes.at(server.url("/missing.html")).status, 404);
    EXPECT_TRUE(out.nodes.at(server.url("/img/dot.gif")).flags & kTested); // pictures are only tested by default
    EXPECT_TRUE(out.nodes.at(server.url("/notes.txt")).flags & kFetched);  // other media
}

TEST(CliCrawlTest, PngSvgAndBmpArePicturesWithCopiesAndThumbnails) {
    QTemporaryDir work;
    const CrawlOutput out = runCrawl({QString::fromStdString(test::dataPath("e2e/pictures/index.html")), "--dir",
                                      work.path(), "--pictures", "--nodes"});
    ASSERT_EQ(out.exitCode, 0);
    EXPECT_EQ(out.counters.at("pictures"), "3");
    EXPECT_EQ(out.counters.at("other"), "0");
    const QString images = work.filePath("noname1/images/");
    for (const char* name :
         {"z0000001.bmp", "z0000002.png", "z0000003.svg", "t0000001.gif", "t0000002.gif", "t0000003.gif"}) {
        EXPECT_TRUE(QFile::exists(images + name)) << name;
    }
}

TEST(CliCrawlTest, PicturesNamedOnlyInStyleSheetsAreFoundOneLevelBelowTheSheet) {
    const test::PythonHttpServer server(test::dataPath("e2e/styles"));
    ASSERT_TRUE(server.started());
    QTemporaryDir work;
    const std::string files = "file://" + test::dataPath("e2e/styles/");
    for (const std::string& base : {server.url("/"), files}) {
        SCOPED_TRACE(base);
        const CrawlOutput out = runCrawl({QString::fromStdString(base + "index.html"), "--dir", work.path(),
                                          "--pictures", "--connections", "2", "--nodes"});
        ASSERT_EQ(out.exitCode, 0);
        // Three style sheets stay other files; the inlined picture and the commented one are no nodes.
        EXPECT_EQ(out.counters.at("nodes"), "12");
        EXPECT_EQ(out.counters.at("pictures"), "7");
        EXPECT_EQ(out.counters.at("other"), "3");
        EXPECT_EQ(out.counters.at("broken"), "0");
        const std::map<std::string, int> levels = {
            {"img/logo.png", 1},  {"img/banner.png", 1}, {"img/body.svg", 1},  {"css/site.css", 1},
            {"css/print.css", 1}, {"css/theme.css", 2},  {"img/paper.png", 2}, {"img/icon.svg", 2},
            {"img/print.png", 2}, {"img/bullet.svg", 3},
        };
        for (const auto& [path, level] : levels) {
            const auto node = out.nodes.find(base + path);
            ASSERT_NE(node, out.nodes.end()) << path;
            EXPECT_EQ(node->second.level, level) << path;
            EXPECT_EQ(node->second.flags & (kFetched | kProcessed), kFetched | kProcessed) << path;
        }
    }
}

TEST(CliCrawlTest, WritesReportLocalSiteAndProject) {
    QTemporaryDir work;
    const QString project = work.filePath("site.zpj");
    const test::CliResult result =
        test::runCli({"crawl", QString::fromStdString(test::dataPath("e2e/site/index.html")), "--dir",
                      work.filePath("files"), "--html", "--report", "--local-site", "--project", project});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // The working directory is named after the project, inside the --dir folder.
    const std::string files = work.filePath("files").toStdString() + "/site/";
    EXPECT_NE(result.out.find("Report stored in: " + files + "report/overview.htm\n"), std::string::npos);
    EXPECT_NE(result.out.find("Web image starts at: " + files + "docs/index.htm\n"), std::string::npos);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(files + "report/p_ulink.htm")));
    const std::string info = test::runCli({"info", project}).out;
    EXPECT_NE(info.find("local_site_made: 1\nreport_made: 1\n"), std::string::npos) << info;
}

} // namespace
} // namespace corvida
