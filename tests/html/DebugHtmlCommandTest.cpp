// SPDX-License-Identifier: MIT
#include <filesystem>
#include <string>

#include <QStringList>
#include <gtest/gtest.h>

#include "html/HtmlTestSupport.h"
#include "support/CliRunner.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

// The dump and links themselves are checked against the fixtures in the document tests.
TEST(DebugHtmlCommandTest, DefaultUrlIsTheFilesOwnAndBadArgumentsAreUsageErrors) {
    const std::string path = test::dataPath("html/links-base-without-href.html");
    const test::CliResult run = test::runCli({"debug", "html", QString::fromStdString(path)});
    EXPECT_EQ(run.exitCode, 0);
    const std::string fileUrl = test::cat({"file://", std::filesystem::path(path).lexically_normal().string()});
    EXPECT_NE(run.out.find(test::cat({"base: ", fileUrl, "\n"})), std::string::npos) << run.out;

    for (const QStringList& bad : {QStringList{}, QStringList{"--write"}, QStringList{"a", "b", "c"}}) {
        EXPECT_EQ(test::runCli(QStringList{"debug", "html"} + bad).exitCode, 2) << bad.join(' ').toStdString();
    }
}

} // namespace
} // namespace corvida
