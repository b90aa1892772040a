// SPDX-License-Identifier: MIT
// corvida-cli's command lines read in-process: the crawl's options as they reach its settings,
// and what the program prints for usage errors.

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "cli/CliCommand.h"
#include "cli/CliProgram.h"
#include "cli/CrawlCommand.h"

namespace corvida {
namespace {

using Strings = std::vector<std::string>;

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs corvida-cli in this process with a profile of its own that does not exist, so the
// person's settings never reach a test.
ProgramRun runProgram(const Strings& args) {
    static const QTemporaryDir home;
    Strings line{"--config", home.filePath(QStringLiteral("none.conf")).toStdString()};
    line.insert(line.end(), args.begin(), args.end());
    std::ostringstream out;
    std::ostringstream err;
    ProgramRun run;
    run.exitCode = runCliProgram(line, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string crawlUsage() {
    return "usage: corvida-cli " + crawlCommand().usage + "\n";
}

// The crawl request args give over the built-in settings, or nothing on a usage error.
std::optional<CrawlRequest> readCrawl(Strings args) {
    args.insert(args.end(), {"--dir", "work"});
    CrawlRequest request;
    if (readCrawlArguments(args, request)) {
        return std::nullopt;
    }
    return request;
}

TEST(CliProgramTest, CrawlSwitchesAndTheirNoFormsLastOneWins) {
    std::optional<CrawlRequest> request = readCrawl({"u", "--html", "--pictures", "--no-html", "--nodes"});
    ASSERT_TRUE(request);
    EXPECT_FALSE(request->settings.downloadHtml);
    EXPECT_TRUE(request->settings.downloadPictures);
    EXPECT_TRUE(request->printNodes);
    EXPECT_EQ(request->url, "u");

    request = readCrawl({"--no-html", "--no-nodes", "u", "--html", "--nodes", "--no-quiet", "--no-fail-on-broken"});
    ASSERT_TRUE(request);
    EXPECT_TRUE(request->settings.downloadHtml);
    EXPECT_TRUE(request->printNodes);
    EXPECT_FALSE(request->quiet);

    // --proxy turns the proxy on and --no-proxy off, whichever comes last.
    request = readCrawl({"u", "--proxy", "h:1", "--no-proxy"});
    ASSERT_TRUE(request);
    EXPECT_FALSE(request->settings.useProxy);
    request = readCrawl({"u", "--no-proxy", "--proxy", "h:2"});
    ASSERT_TRUE(request);
    EXPECT_TRUE(request->settings.useProxy);
    EXPECT_EQ(request->settings.proxyServer, "h:2");

    request = readCrawl({"u", "--depth", "3", "--connections", "4", "--depth", "0"});
    ASSERT_TRUE(request);
    EXPECT_EQ(request->settings.maximumLevel, 0);
    EXPECT_EQ(request->settings.numberOfConnections, 4);
    request = readCrawl({"u", "--per-host", "64", "--delay", "600000"});
    ASSERT_TRUE(request);
    EXPECT_EQ(request->settings.connectionsPerHost, 64);
    EXPECT_EQ(request->settings.hostDelay, 600000);
    // Every value given is checked, not only the last.
    EXPECT_FALSE(readCrawl({"u", "--depth", "x", "--depth", "3"}));
}

// The option syntax itself is CliOptionParserTest's.
TEST(CliProgramTest, CrawlUsageErrorsNameTheFault) {
    const std::vector<std::pair<Strings, std::string>> cases = {
        {{"crawl", "u", "--dir=x"}, "unknown or incomplete option --dir=x"},
        {{"crawl", "u", "--help"}, "unknown or incomplete option --help"},
        {{"crawl", "u", "--user-agent"}, "unknown or incomplete option --user-agent"},
        {{"crawl", "u", "--connections", "65"}, "--connections takes a number from 1 to 64"},
        {{"crawl", "u", "--connections", "0x2"}, "--connections takes a number from 1 to 64"},
        {{"crawl", "u", "--buffer-size", "1048577"}, "--buffer-size takes a number of bytes from 1 to 1048576"},
        {{"crawl", "u", "--depth", "-1"}, "--depth takes a number from 0 (no limit) up"},
        {{"crawl", "u", "--per-host", "0"}, "--per-host takes a number from 1 to 64"},
        {{"crawl", "u", "--delay", "600001"}, "--delay takes a number of milliseconds from 0 to 600000"},
        {{"crawl", "u", "v", "--dir", "d"}, "more than one URL given"},
        {{"crawl", "--dir", "d"}, "a URL is required"},
    };
    for (const auto& [args, message] : cases) {
        const ProgramRun run = runProgram(args);
        EXPECT_EQ(run.exitCode, kExitUsage) << message;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "corvida-cli crawl: " + message + "\n" + crawlUsage());
    }
}

TEST(CliProgramTest, GlobalOptionsHelpAndOtherCommandsUsage) {
    ProgramRun run = runProgram({"crawl", "--help", "--bogus"});
    EXPECT_EQ(run.exitCode, kExitOk);
    EXPECT_EQ(run.out, crawlUsage());
    EXPECT_EQ(run.err, "");

    run = runProgram({"-abc", "crawl"});
    EXPECT_EQ(run.exitCode, kExitUsage);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), "corvida-cli: unknown command '-abc'\n");
    // Given twice, the second --config is where the command would be.
    run = runProgram({"--config", "other.conf", "crawl"});
    EXPECT_EQ(run.exitCode, kExitUsage);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), "corvida-cli: unknown command '--config'\n");
    // Without a file no profile is read at all.
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCliProgram({"--config"}, out, err), kExitUsage);
    EXPECT_EQ(err.str(), "corvida-cli: --config takes a file\n");

    run = runProgram({"resume", "p.zpj", "--connections", "65"});
    EXPECT_EQ(run.exitCode, kExitUsage);
    EXPECT_EQ(run.err, "corvida-cli resume: --connections takes a number from 1 to 64\n");
    // A missing value is a usage error, never read as the command's text.
    for (const Strings& args : {Strings{"debug", "date", "--format"}, Strings{"resume", "p.zpj", "--connections"},
                                Strings{"list", "p.zpj", "-o"}, Strings{"debug", "fetch", "u", "--out"}}) {
        run = runProgram(args);
        EXPECT_EQ(run.exitCode, kExitUsage) << args.back();
        EXPECT_EQ(run.out, "") << args.back();
        EXPECT_EQ(run.err.rfind("usage: corvida-cli ", 0), 0U) << run.err;
    }
}

} // namespace
} // namespace corvida
