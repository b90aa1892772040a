// SPDX-License-Identifier: MIT
#include "net/HttpReplyParser.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "support/RandomText.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string dump(const HttpReplyParser& parser, std::size_t consumed) {
    if (!parser.isComplete()) {
        return "incomplete\n";
    }
    std::ostringstream out;
    out << "consumed: " << consumed << "\nstatus: " << parser.statusCode() << "\nreason: " << parser.reason() << '\n';
    for (const auto& [name, value] : HttpReplyParser::storedFields(parser.replyHeaders(), parser.entityHeaders())) {
        out << "header: " << name << ": " << value << '\n';
    }
    return out.str();
}

// Feeds input in pieces that end at the given offsets and returns the dump.
std::string feedInPieces(std::string_view input, const std::vector<std::size_t>& cuts) {
    HttpReplyParser parser;
    std::size_t consumed = 0;
    std::size_t start = 0;
    for (const std::size_t cut : cuts) {
        const std::size_t used = parser.feed(input.substr(start, cut - start));
        // Whatever the parser leaves of a piece is body: it must never skip bytes within it.
        if (used < cut - start) {
            EXPECT_TRUE(parser.isComplete() || parser.isTooLong());
        }
        consumed += used;
        start = cut;
    }
    return dump(parser, consumed);
}

// Split at every offset; many small pieces are fed by the arbitrary-bytes test below.
TEST(HttpReplyParserTest, VectorsGiveTheSameRecordsWholeAndSplitAnywhere) {
    const std::filesystem::path dir = test::dataPath("net/headers");
    int vectors = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".http") {
            continue;
        }
        ++vectors;
        SCOPED_TRACE(entry.path().filename().string());
        const std::string input = readFile(entry.path());
        std::filesystem::path expectedPath = entry.path();
        const std::string expected = readFile(expectedPath.replace_extension(".expected"));

        EXPECT_EQ(feedInPieces(input, {input.size()}), expected);
        for (std::size_t split = 0; split <= input.size(); ++split) {
            ASSERT_EQ(feedInPieces(input, {split, input.size()}), expected) << "split at " << split;
        }
    }
    EXPECT_GE(vectors, 10);
}

TEST(HttpReplyParserTest, ArbitraryBytesGiveTheSameRecordsInAnyPieces) {
    // Bytes that matter to the state machines, plus a few that do not.
    static constexpr std::string_view kAlphabet = "\r\n\r\n :: \tHTTP/1.0 200 Date: Content-Length: 12 Location"
                                                  "Sun, 06 Nov 1994 08:49:37 GMT\x01\x80\xFF-";
    std::mt19937 random(4);
    for (int round = 0; round < 2000; ++round) {
        const std::string input = test::randomText(random, kAlphabet, 200);
        const std::vector<std::size_t> cuts = test::randomCuts(random, input.size(), 16);
        ASSERT_EQ(feedInPieces(input, cuts), feedInPieces(input, {input.size()})) << testing::PrintToString(input);
    }
}

TEST(HttpReplyParserTest, HeaderBlockIsCappedAt64KiB) {
    const std::string line = "X-Filler: " + std::string(100, 'a') + "\r\n";
    std::string endless = "HTTP/1.0 200 OK\r\n";
    while (endless.size() < 2 * HttpReplyParser::kMaxHeaderBlock) {
        endless += line;
    }

    // A server that never ends its headers: refused after exactly the cap, in any pieces.
    for (const std::size_t piece : {std::size_t{1}, endless.size()}) {
        HttpReplyParser parser;
        std::size_t consumed = 0;
        for (std::size_t i = 0; i < endless.size() && !parser.isTooLong(); i += piece) {
            consumed += parser.feed(std::string_view(endless).substr(i, piece));
        }
        EXPECT_TRUE(parser.isTooLong());
        EXPECT_FALSE(parser.isComplete());
        EXPECT_EQ(consumed, HttpReplyParser::kMaxHeaderBlock);
        EXPECT_EQ(parser.feed("\r\n\r\n"), 0U);
    }

    // A block of exactly the cap, ending included, is still read.
    std::string exact = "HTTP/1.0 200 OK\r\nX-Filler: ";
    exact += std::string(HttpReplyParser::kMaxHeaderBlock - exact.size() - 4, 'b');
    exact += "\r\n\r\n";
    HttpReplyParser parser;
    EXPECT_EQ(parser.feed(exact + "body"), HttpReplyParser::kMaxHeaderBlock);
    EXPECT_TRUE(parser.isComplete());
    EXPECT_EQ(parser.statusCode(), 200);
}

TEST(HttpReplyParserTest, ChallengeRealm) {
    EXPECT_EQ(HttpReplyHeaders::challengeRealm("Basic realm=\"Staff Only\""), "Staff Only");
    EXPECT_EQ(HttpReplyHeaders::challengeRealm("  BASIC realm=\"x"), "x");
    EXPECT_EQ(HttpReplyHeaders::challengeRealm("basic"), "");
    EXPECT_EQ(HttpReplyHeaders::challengeRealm("Digest realm=\"x\""), std::nullopt);
}

TEST(HttpReplyParserTest, RetryDelayIsSecondsOrTimeToADateElseNothing) {
    constexpr std::int32_t kNow = 784111777; // Sun, 06 Nov 1994 08:49:37 GMT
    EXPECT_EQ(HttpReplyHeaders::retryDelay(" 30\t", kNow), 30);
    EXPECT_EQ(HttpReplyHeaders::retryDelay("Sun, 06 Nov 1994 08:51:37 GMT", kNow), 120);
    EXPECT_EQ(HttpReplyHeaders::retryDelay("Sun Nov  6 08:49:47 1994", kNow), 10);
    EXPECT_EQ(HttpReplyHeaders::retryDelay("Sat, 05 Nov 1994 08:49:37 GMT", kNow), 0);
    for (const char* unusable : {"", "-5", "5.5", "soon", "Sun, 06 1994", "12:30"}) {
        EXPECT_EQ(HttpReplyHeaders::retryDelay(unusable, kNow), std::nullopt) << unusable;
    }
}

} // namespace
} // namespace corvida
