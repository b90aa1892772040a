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

    for (const QStringList& bad : {QStringList{}, QStringList{"--write"}, QStringList{"a", "b", "c"}}) {
        EXPECT_EQ(runCli(QStringList{"debug", "html"} + bad).status, 2) << bad.join(' ').toStdString();
    }
    // A missing file reads as an empty page, as it does in a crawl.
    EXPECT_EQ(runCli({"debug", "html", "/nonexistent/page.html", "http://h/"}).status, 0);
}

} // namespace
} // namespace corvida
