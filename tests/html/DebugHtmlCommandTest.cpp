// SPDX-License-Identifier: MIT
#include <filesystem>
#include <string>

#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

#include "html/HtmlTestSupport.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

struct CliRun {
    int status = -1;
    std::string out;
};

CliRun runCli(const QStringList& args) {
    QProcess process;
    process.start(QString::fromStdString(test::cliPath()), args);
    process.waitForFinished(30000);
    return CliRun{process.exitCode(), process.readAllStandardOutput().toStdString()};
}

TEST(DebugHtmlCommandTest, PrintsDumpAndLinksOrTheWrittenPage) {
    const QString page = QString::fromStdString(test::dataPath("html/links-rows.html"));
    const CliRun debug = runCli({"debug", "html", page, "http://h/d/p.htm"});
    EXPECT_EQ(debug.status, 0);
    EXPECT_EQ(debug.out, test::readFile(test::dataPath("html/links-rows.expected")));

    const CliRun written = runCli({"debug", "html", "--write", page, "http://h/d/p.htm"});
    EXPECT_EQ(written.status, 0);
    EXPECT_EQ(written.out, test::readFile(test::dataPath("html/links-rows.written")));
}

TEST(DebugHtmlCommandTest, DefaultUrlIsTheFilesOwnAndBadArgumentsAreUsageErrors) {
    const std::string path = test::dataPath("html/links-base-without-href.html");
    const CliRun run = runCli({"debug", "html", QString::fromStdString(path)});
    EXPECT_EQ(run.status, 0);
    const std::string fileUrl = test::cat({"file://", std::filesystem::path(path).lexically_normal().string()});
    EXPECT_NE(run.out.find(test::cat({"base: ", fileUrl, "\n"})), std::string::npos) << run.out;

    EXPECT_EQ(runCli({"debug", "html"}).status, 2);
    EXPECT_EQ(runCli({"debug", "html", "--write"}).status, 2);
    EXPECT_EQ(runCli({"debug", "html", "a", "b", "c"}).status, 2);
    // A missing file reads as an empty page, as it does in a crawl.
    const CliRun missing = runCli({"debug", "html", "/nonexistent/page.html", "http://h/"});
    EXPECT_EQ(missing.status, 0);
    EXPECT_EQ(missing.out, "<TEXT NODE>        []\ntitle: http://h/\nexcerpt: ...\nbase: http://h/\n");
}

} // namespace
} // namespace corvida
