// SPDX-License-Identifier: MIT
// corvida-cli resume: a saved project whose crawl stopped half way goes on where it stopped.

#include <string>

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/ProjectFile.h"
#include "model/Web.h"
#include "support/CliRunner.h"
#include "support/PythonHttpServer.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

using test::CliResult;
using test::runCli;

TEST(CliResumeTest, ResumeFetchesWhatWasLeftAndSavesAgain) {
    const test::PythonHttpServer server(test::dataPath("e2e/site"));
    ASSERT_TRUE(server.started());
    QTemporaryDir dir;
    const std::string project = dir.filePath("half.zpj").toStdString();
    {
        // A crawl that stopped after its start page: two links wait unprocessed.
        Web web(dir.path().toStdString() + "/work/", server.url("/index.html"), nullptr, 1);
        WebNode* start = web.findOrAddNode(CUrl(server.url("/index.html")));
        web.setStartNode(start);
        start->setLevel(0);
        start->setFlags(kFlagStart | kFlagLocalServer | kFlagInStartDirectory | kFlagProcessed | kFlagFetched |
                        kFlagFetchStarted);
        web.addLink(start, CUrl(server.url("/about.html")), 1, false);
        web.addLink(start, CUrl(server.url("/missing.html")), 1, false);
        ProjectOptions options;
        options.startUrl = server.url("/index.html");
        ASSERT_EQ(ProjectFile::save(project, options, &web), "");
    }

    const CliResult resumed = runCli({"resume", QString::fromStdString(project), "--nodes"});
    ASSERT_EQ(resumed.exitCode, 0) << resumed.err;
    EXPECT_NE(resumed.out.find("processed: 5\n"), std::string::npos) << resumed.out; // about.html adds two
    EXPECT_NE(resumed.out.find("\t1\t200\t0x23d00022\t" + server.url("/about.html") + "\n"), std::string::npos)
        << resumed.out;
    EXPECT_NE(resumed.out.find("\t1\t404\t"), std::string::npos);

    // The saved project holds the finished crawl; nothing is left to do.
    const CliResult again = runCli({"resume", QString::fromStdString(project)});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_NE(again.out.find("processed: 5\n"), std::string::npos) << again.out;
    EXPECT_NE(runCli({"info", QString::fromStdString(project)}).out.find("nodes: 5\n"), std::string::npos);
}

TEST(CliResumeTest, DamagedProjectIsRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.zpj");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x05short");
    file.close();
    const CliResult result = runCli({"resume", path});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(path.toStdString()), std::string::npos) << result.err;
}

} // namespace
} // namespace corvida
