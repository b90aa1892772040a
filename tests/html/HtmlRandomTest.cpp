// SPDX-License-Identifier: MIT
// Randomised tests with fixed seeds: well-formed pages of many buffer lengths checked against
// the nodes they were built from, and byte soup that must only ever give a sound document.

#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "html/HtmlDocument.h"
#include "html/HtmlReadBuffer.h"
#include "html/HtmlTestSupport.h"
#include "html/LinkExtractor.h"
#include "model/Web.h"

namespace corvida {
namespace {

constexpr std::string_view kPageUrl = "http://h/d/p.htm";

class PageBuilder {
public:
    explicit PageBuilder(std::uint32_t seed) : m_random(seed) {}

    // A page of at least size bytes whose raw form holds CR LF pairs and stray NULs, and the
    // dump the tokenizer must give for it.
    void build(std::size_t size) {
        bool lastWasText = false;
        while (m_raw.size() < size) {
            const std::size_t kind = pick(3);
            if (kind == 0) {
                // Two text runs in a row would read as one.
                if (!lastWasText) {
                    addText();
                }
            } else if (kind == 1) {
                addStartTag();
            } else {
                addEndTag();
            }
            lastWasText = kind == 0;
        }
        // The last node is always text: this run, or the one that the page ends with.
        if (!lastWasText) {
            addText();
        }
    }

    std::string raw() const { return m_raw; }
    std::string dump() const { return m_dump.str(); }

private:
    std::size_t pick(std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(m_random); }

    std::string word(std::size_t maxLength) {
        std::string text;
        const std::size_t length = 1 + pick(maxLength);
        for (std::size_t i = 0; i < length; ++i) {
            text += static_cast<char>('a' + pick(26));
        }
        return text;
    }

    // Appends bytes to the raw page, with a NUL now and then that the reader must drop. A NUL
    // between CR and LF would keep the CR, so none goes before an LF.
    void emit(std::string_view bytes) {
        for (const char c : bytes) {
            if (c != '\n' && pick(40) == 0) {
                m_raw += '\0';
            }
            m_raw += c;
        }
    }

    void addText() {
        std::string text;
        const std::size_t pieces = 1 + pick(12);
        for (std::size_t i = 0; i < pieces; ++i) {
            const std::size_t kind = pick(6);
            if (kind == 0) {
                emit("\r\n");
                text += '\n';
            } else {
                const std::string piece = kind == 1 ? std::string(" < ") : test::cat({word(60), " "});
                emit(piece);
                text += piece;
            }
        }
        m_dump << "<TEXT NODE>        [" << text << "]\n";
    }

    void addStartTag() {
        // Names start with 't' so that no "hr" or "b" tag gets reordered.
        const std::string name = test::cat({"t", word(7)});
        emit(test::cat({"<", name}));
        m_dump << "<START TAG>        [" << name << "]\n";
        const std::size_t attributes = pick(4);
        for (std::size_t i = 0; i < attributes; ++i) {
            // A bare name, a bare value, a double-quoted value after a line break and spaces,
            // or a single-quoted one; quoted values hold the other kind of quote.
            struct Form {
                std::string_view before, open, close;
            };
            static constexpr Form kForms[] = {{" ", "", ""}, {" ", "=", ""}, {"\r\n", " = \"", "\""}, {" ", "='", "'"}};
            const std::string attribute = word(10);
            const std::size_t form = pick(4);
            const std::string value = form == 0   ? ""
                                      : form == 1 ? word(80)
                                      : form == 2 ? test::cat({word(30), " '", word(30)})
                                                  : test::cat({word(30), " \"", word(30), "\""});
            emit(test::cat({kForms[form].before, attribute, kForms[form].open, value, kForms[form].close}));
            m_dump << "<ATTRIBUTE>        [" << attribute << "]" << (form == 0 ? "" : test::cat({"[", value, "]"}))
                   << "\n";
        }
        emit(">");
    }

    void addEndTag() {
        const std::string name = test::cat({"t", word(7)});
        emit(test::cat({"</", name, ">"}));
        m_dump << "<END   TAG>        [" << name << "]\n";
    }

    std::mt19937 m_random;
    std::string m_raw;
    std::ostringstream m_dump;
};

TEST(HtmlRandomTest, WellFormedPagesTokenizeAlikeAcrossBufferRefills) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        PageBuilder builder(seed);
        builder.build(1000 + seed * 5000);
        HtmlDocument document = HtmlDocument::fromBytes(builder.raw(), kPageUrl);
        ASSERT_EQ(test::dumpOf(document), builder.dump());
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
    // A CR LF pair across the first chunk end, and a lone CR at the second.
    raw[HtmlReadBuffer::kChunkSize - 1] = '\r';
    raw[HtmlReadBuffer::kChunkSize] = '\n';
    raw[2 * HtmlReadBuffer::kChunkSize - 1] = '\r';
    raw[2 * HtmlReadBuffer::kChunkSize] = 'a';
    std::string expected;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') {
            continue;
        }
        if (raw[i] != '\0') {
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
        std::size_t count = 0;
        const HtmlNode* previous = nullptr;
        for (HtmlNode* node = document.firstNode(); node != nullptr; node = node->next()) {
            ASSERT_EQ(node->prev(), previous);
            ASSERT_NE(node->kind(), HtmlNodeKind::Attribute);
            previous = node;
            ++count;
        }
        ASSERT_EQ(previous, document.lastNode());
        ASSERT_GE(count, 1u);
        EXPECT_LE(document.title(260).size(), 259u);
        EXPECT_LE(document.excerpt(260).size(), 259u);
        Web web;
        WebNode* source = web.findOrAddNode(document.documentUrl());
        source->setLevel(0);
        LinkExtractor(document).extract(web, source);
        document.removeBaseTag();
        EXPECT_EQ(test::writtenOf(document).find('\0'), std::string::npos);
    }
}

} // namespace
} // namespace corvida
