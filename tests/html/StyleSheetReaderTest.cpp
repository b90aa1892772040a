// SPDX-License-Identifier: MIT
#include "html/StyleSheetReader.h"

#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "html/HtmlTestSupport.h"
#include "support/RandomText.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

// Feeds input in pieces that end at the given offsets and lists the URLs, one "url: " line each.
std::string urlsInPieces(std::string_view input, const std::vector<std::size_t>& cuts) {
    StyleSheetReader reader;
    std::string lines;
    std::size_t start = 0;
    for (const std::size_t cut : cuts) {
        reader.read(input.substr(start, cut - start));
        start = cut;
        // Taking URLs between pieces must not lose or repeat any.
        for (const std::string& url : reader.takeUrls()) {
            lines += "url: " + url + "\n";
        }
    }
    reader.finish();
    for (const std::string& url : reader.takeUrls()) {
        lines += "url: " + url + "\n";
    }
    return lines;
}

TEST(StyleSheetReaderTest, VectorsGiveTheSameUrlsWholeSplitAnywhereAndByteByByte) {
    const std::filesystem::path dir = test::dataPath("html/css");
    int vectors = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".css") {
            continue;
        }
        ++vectors;
        SCOPED_TRACE(entry.path().filename().string());
        const std::string input = test::readFile(entry.path().string());
        std::filesystem::path expectedPath = entry.path();
        const std::string expected = test::readFile(expectedPath.replace_extension(".expected").string());

        EXPECT_EQ(urlsInPieces(input, {input.size()}), expected);
        for (std::size_t split = 0; split <= input.size(); ++split) {
            ASSERT_EQ(urlsInPieces(input, {split, input.size()}), expected) << "split at " << split;
        }
        std::vector<std::size_t> everyByte;
        for (std::size_t at = 1; at <= input.size(); ++at) {
            everyByte.push_back(at);
        }
        EXPECT_EQ(urlsInPieces(input, everyByte), expected);
    }
    EXPECT_GE(vectors, 9);
}

TEST(StyleSheetReaderTest, ArbitraryBytesGiveTheSameUrlsInAnyPieces) {
    // Bytes that matter to the state machine, plus a few that do not.
    static constexpr std::string_view kAlphabet =
        "url(URL()\"'\\/**/@import@namespace;{}#26 \t\r\n\fa.png\x01\x80\xFF-";
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        const std::string input = test::randomText(random, kAlphabet, 160);
        const std::vector<std::size_t> cuts = test::randomCuts(random, input.size(), 8);
        ASSERT_EQ(urlsInPieces(input, cuts), urlsInPieces(input, {input.size()})) << testing::PrintToString(input);
    }
}

TEST(StyleSheetReaderTest, HugeArgumentsAreCutAndTheReaderGoesOn) {
    // A multi-megabyte argument (an inlined font, a hostile sheet) keeps a bounded prefix.
    const std::string huge(4 << 20, 'x');
    const std::vector<std::string> urls =
        StyleSheetReader::urlsOf(test::cat({"a{src:url(", huge, ")} b{src:url('", huge, "')} c{src:url(next.png)}"}));
    ASSERT_EQ(urls.size(), 3U);
    EXPECT_EQ(urls[0], std::string(StyleSheetReader::kMaxUrlBytes, 'x'));
    EXPECT_EQ(urls[1], urls[0]);
    EXPECT_EQ(urls[2], "next.png");

    // An inlined picture is no link, however long; what follows it still is.
    EXPECT_EQ(StyleSheetReader::urlsOf(test::cat({"a{src:url(data:font/woff2;base64,", huge, ")} b{src:url(n.png)}"})),
              std::vector<std::string>{"n.png"});
}

TEST(StyleSheetReaderTest, FinishEndsOneTextAndTheNextStartsClean) {
    StyleSheetReader reader;
    reader.read("@import \"first.css\"; a { background: url(unfinished");
    reader.finish();
    // Nothing of the unfinished url( leaks into the next text.
    reader.read(") b { background: url(second.png) } @import");
    reader.finish();
    reader.read("\"not-an-import.css\"");
    reader.finish();
    EXPECT_EQ(reader.takeUrls(), (std::vector<std::string>{"first.css", "second.png"}));
}

} // namespace
} // namespace corvida
