// SPDX-License-Identifier: MIT
#include "net/RobotRules.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "support/RandomText.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

// Each vector NAME.txt comes with NAME.expected: an "agent: TEXT" line, then one
// "allowed PATH" or "excluded PATH" line per path to ask about.
TEST(RobotRulesTest, Vectors) {
    int vectors = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::dataPath("net/robots"))) {
        if (entry.path().extension() != ".expected") {
            continue;
        }
        ++vectors;
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream expected(entry.path());
        std::string line;
        ASSERT_TRUE(std::getline(expected, line) && line.starts_with("agent: "));
        const std::unique_ptr<RobotRules> rules =
            RobotRules::parseFile(std::filesystem::path(entry.path()).replace_extension(".txt"), 0, line.substr(7));
        ASSERT_TRUE(rules);
        EXPECT_TRUE(rules->diagnostics().empty());
        while (std::getline(expected, line)) {
            const std::size_t space = line.find(' ');
            const std::string path = line.substr(space + 1);
            EXPECT_EQ(RobotRules::isAllowed(rules.get(), path) ? "allowed" : "excluded", line.substr(0, space)) << path;
        }
    }
    EXPECT_GE(vectors, 13);
}

TEST(RobotRulesTest, NoRulesAllowEverything) {
    EXPECT_FALSE(RobotRules::parseFile(test::dataPath("net/robots/no-such-file.txt"), 0, "x"));
    EXPECT_TRUE(RobotRules::isAllowed(nullptr, "/anything"));
    const std::unique_ptr<RobotRules> rules = RobotRules::parse("User-agent: *\nDisallow: /\n", 0, "x");
    EXPECT_FALSE(RobotRules::isAllowed(rules.get(), "/"));
    EXPECT_TRUE(RobotRules::isAllowed(rules.get(), ""));
}

TEST(RobotRulesTest, DiagnosticsFollowTheVerbosity) {
    const std::string text = "User-agent: *\nUser-agent:\nbroken\nDisallow: a /b /c\nCrawl-delay: 5\n";
    const auto messages = [&text](int verbosity) {
        std::ostringstream out;
        const std::unique_ptr<RobotRules> rules = RobotRules::parse(text, verbosity, "x");
        for (const RobotRules::Diagnostic& d : rules->diagnostics()) {
            out << d.line << ' ' << d.level << ' ' << d.message << " [" << d.detail << "]\n";
        }
        return out.str();
    };
    const std::string levelTwo = "4 2 too many paths on a line [a /b /c]\n";
    const std::string all = "2 1 missing value [User-Agent]\n3 1 invalid line [broken]\n4 1 malformed URL [a]\n" +
                            levelTwo + "5 1 unexpected key [Crawl-delay: 5]\n";
    EXPECT_EQ(messages(0), "");
    EXPECT_EQ(messages(2), all);
    EXPECT_EQ(messages(1), std::string(all).erase(all.find(levelTwo), levelTwo.size()));
}

TEST(RobotRulesTest, UnexpectedKeysCountTowardsTheLimitOnlyWhenReported) {
    std::string text;
    for (int i = 0; i < 35; ++i) {
        text += "Crawl-delay: 1\n";
    }
    text += "User-agent: *\nDisallow: /x\n";
    EXPECT_FALSE(RobotRules::isAllowed(RobotRules::parse(text, 0, "a").get(), "/x"));
    EXPECT_TRUE(RobotRules::isAllowed(RobotRules::parse(text, 1, "a").get(), "/x"));
}

TEST(RobotRulesTest, LongLinesAreReadInPieces) {
    // The first piece holds the Disallow line's start; the rest of the line is a line of
    // its own (invalid, no colon) and the next line counts on from there. Each path keeps
    // the number of its line.
    const std::string longPath = "/" + std::string(5000, 'a');
    const std::string text = "User-agent: *\nDisallow: " + longPath + "\nDisallow: /short\n";
    const std::unique_ptr<RobotRules> rules = RobotRules::parse(text, 0, "x");
    ASSERT_EQ(rules->paths().size(), 2U);
    EXPECT_EQ(rules->paths()[0].path, longPath.substr(0, RobotRules::kMaxLine - 10));
    EXPECT_EQ(rules->paths()[1].line, 4);
    EXPECT_FALSE(RobotRules::isAllowed(rules.get(), "/short"));
}

TEST(RobotRulesTest, ArbitraryTextIsReadWithoutHarm) {
    static constexpr std::string_view kAlphabet = "\n\n\r \t#:*/ab User-agent: Disallow: x \x00\xFF";
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        const std::string text = test::randomText(random, kAlphabet, 300);
        const std::unique_ptr<RobotRules> rules = RobotRules::parse(text, 4, "ab");
        for (const RobotRules::PathEntry& entry : rules->paths()) {
            // Every kept path is a path or a URL, and it excludes itself.
            if (entry.path) {
                ASSERT_TRUE(entry.path->starts_with("/") || entry.path->find(':') != std::string::npos);
                EXPECT_FALSE(RobotRules::isAllowed(rules.get(), *entry.path));
            }
        }
    }
}

} // namespace
} // namespace corvida
