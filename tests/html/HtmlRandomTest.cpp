// SPDX-License-Identifier: MIT
// Randomised tests with fixed seeds: well-formed pages of many buffer lengths checked against
// the nodes they were built from, and byte soup that must only ever give a sound document.

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "crawl/WebLinkSink.h"
#include "html/HtmlDocument.h"
#include "html/HtmlReadBuffer.h"
#include "html/HtmlTestSupport.h"
#include "html/LinkExtractor.h"
#include "model/Web.h"

namespace corvida {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kPageUrl = "http://h/d/p.htm";

// Pieces of well-formed pages: raw bytes and the dump lines they give. Text pieces hold CR LF
// pairs and NULs that the reader drops, and get a word of random length in front so that
// buffer refills fall anywhere; tag names start with 't' so that nothing is reordered.
struct Piece {
    std::string_view raw, dump;
    bool text;
};
constexpr Piece kPieces[] = {
    {"\0some words\r\nand\0 more < here\r\n"sv, "some words\nand more < here\n", true},
    {"<tag>", "<START TAG>        [tag]\n", false},
    {"</tag>", "<END   TAG>        [tag]\n", false},
    {"<tb\r\n x = \"a 'b\" y='c \"d\"' z=bare w>",
     "<START TAG>        [tb]\n<ATTRIBUTE>        [x][a 'b]\n<ATTRIBUTE>        [y][c \"d\"]\n"
     "<ATTRIBUTE>        [z][bare]\n<ATTRIBUTE>        [w]\n",
     false},
};

TEST(HtmlRandomTest, WellFormedPagesTokenizeAlikeAcrossBufferRefills) {
    std::mt19937 random(1);
    for (std::size_t round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        std::string raw;
        std::string dump;
        bool lastWasText = false;
        // Two text runs in a row would read as one; the page always ends with text.
        while (raw.size() < 1000 + round * 5000 || !lastWasText) {
            const Piece& piece = kPieces[random() % std::size(kPieces)];
            if (piece.text && lastWasText) {
                continue;
            }
            lastWasText = piece.text;
            const std::string word(piece.text ? random() % 200 : 0, 'w');
            raw += test::cat({word, piece.raw});
            dump += piece.text ? test::cat({"<TEXT NODE>        [", word, piece.dump, "]\n"}) : std::string(piece.dump);
        }
        ASSERT_EQ(test::dumpOf(HtmlDocument::fromBytes(raw, kPageUrl)), dump);
    }
}

// The reader turns CR LF into LF and drops NULs wherever chunk and buffer ends fall.
TEST(HtmlRandomTest, ReaderDeliversTheCleanedBytesInOrder) {
    std::mt19937 random(7);
    const char alphabet[] = {'\r', '\n', '\0', 'a', 'b'};
    std::string raw;
    for (int i = 0; i < 200000; ++i) {
        raw += alphabet[random() % sizeof alphabet];
    }
    // A CR LF pair across the first chunk end.
    raw[HtmlReadBuffer::kChunkSize - 1] = '\r';
    raw[HtmlReadBuffer::kChunkSize] = '\n';
    std::string expected;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\0' && !(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')) {
            expected += raw[i];
        }
    }

    HtmlReadBuffer buffer(HtmlReadBuffer::FromMemory{}, raw);
    std::string read;
    for (;;) {
        ASSERT_EQ(*buffer.end(), '\0');
        ASSERT_TRUE(buffer.size() == HtmlReadBuffer::kMaxData || buffer.atEnd());
        // Consume a varying part, as the tokenizer would.
        const std::size_t keep = std::min(buffer.size(), HtmlDocument::kRefillThreshold + 1 + random() % 3000);
        read.append(buffer.begin(), keep);
        if (buffer.atEnd() && keep == buffer.size()) {
            break;
        }
        buffer.shiftAndFill(buffer.begin() + keep);
    }
    EXPECT_EQ(read, expected);
}

// Byte soup, truncated tags and binary noise: the document stays a sound sequence and every
// query stays within its bounds. Run under the sanitizers, this also proves no read strays.
TEST(HtmlRandomTest, ByteSoupGivesSoundDocuments) {
    std::mt19937 random(12345);
    const std::string pieces[] = {"<",    ">",    "</",     "\"",   "=",      " ",       "\r\n",   "<a ",
                                  "href", "src=", "#",      "<hr>", "<b>",    "</b>",    "<base ", "title",
                                  "x",    "'",    "applet", "code", "object", "classid", "java:"};
    for (int round = 0; round < 300; ++round) {
        std::string page;
        const std::size_t length = random() % (round % 10 == 0 ? 70000 : 3000);
        while (page.size() < length) {
            if (random() % 4 == 0) {
                page += static_cast<char>(random() & 0xff);
            } else {
                page += pieces[random() % std::size(pieces)];
            }
        }
        HtmlDocument document = HtmlDocument::fromBytes(page, kPageUrl);
        const HtmlNode* previous = nullptr;
        for (HtmlNode* node = document.firstNode(); node != nullptr; previous = node, node = node->next()) {
            ASSERT_EQ(node->prev(), previous);
            ASSERT_NE(node->kind(), HtmlNodeKind::Attribute);
        }
        ASSERT_NE(previous, nullptr);
        ASSERT_EQ(previous, document.lastNode());
        EXPECT_LE(document.title(260).size(), 259u);
        EXPECT_LE(document.excerpt(260).size(), 259u);
        Web web;
        WebNode* source = web.findOrAddNode(document.documentUrl());
        source->setLevel(0);
        WebLinkSink sink(web, source);
        LinkExtractor(document).extract(sink);
        document.removeBaseTag();
        EXPECT_EQ(test::writtenOf(document).find('\0'), std::string::npos);
    }
}

} // namespace
} // namespace corvida
