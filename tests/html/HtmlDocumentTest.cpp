// SPDX-License-Identifier: MIT
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "html/HtmlDocument.h"
#include "html/HtmlTestSupport.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

using test::dataPath;
using test::debugText;
using test::dumpOf;
using test::readFile;
using test::writtenOf;

constexpr std::string_view kPageUrl = "http://h/d/p.htm";

// Each fixture NAME.html has NAME.expected (dump, title, excerpt, base, links for the page
// http://h/d/p.htm) and NAME.written (the page written back).
TEST(HtmlDocumentTest, FixturesGiveTheirExpectedDumpLinksAndWrittenForm) {
    int fixtures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dataPath("html"))) {
        const std::string name = entry.path().stem().string();
        if (entry.path().extension() != ".html") {
            continue;
        }
        ++fixtures;
        SCOPED_TRACE(name);
        HtmlDocument document(entry.path().string(), kPageUrl);
        EXPECT_EQ(writtenOf(document), readFile(dataPath("html/" + name + ".written")));
        EXPECT_EQ(debugText(document), readFile(dataPath("html/" + name + ".expected")));
    }
    EXPECT_GE(fixtures, 15);
}

TEST(HtmlDocumentTest, UnreadableFileIsOneEmptyTextNode) {
    for (const std::string& path : {dataPath("html/no-such-file.html"), dataPath("html")}) {
        EXPECT_EQ(dumpOf(HtmlDocument(path, kPageUrl)), "<TEXT NODE>        []\n");
    }
}

// A tag name stops after 1024 bytes; the rest is read as attributes of the tag. (Text is cut
// alike: see the title test.)
TEST(HtmlDocumentTest, LookaheadCutsLongNames) {
    const std::string longName = test::cat({"<", std::string(1030, 'n'), ">"});
    HtmlDocument tag = HtmlDocument::fromBytes(longName, kPageUrl);
    auto* start = static_cast<StartTag*>(tag.firstNode());
    EXPECT_EQ(start->name().size(), 1024u);
    ASSERT_NE(start->firstAttribute(), nullptr);
    EXPECT_EQ(start->firstAttribute()->name(), "nnnnnn");
}

// Single and double quotes bound a value alike: its closing quote must lie within the
// lookahead counted from the end of the name, and the other kind of quote is a plain byte.
// A value too long has no value.
TEST(HtmlDocumentTest, BothQuoteKindsShareTheValueBound) {
    for (const char quote : {'"', '\''}) {
        SCOPED_TRACE(quote);
        const char other = quote == '"' ? '\'' : '"';
        const std::string q(1, quote);
        for (const std::size_t length : {1021u, 1022u}) {
            const std::string value = test::cat({std::string(length - 1, 'v'), std::string(1, other)});
            HtmlDocument document = HtmlDocument::fromBytes(test::cat({"<a href=", q, value, q, ">"}), kPageUrl);
            const HtmlAttribute* href = static_cast<StartTag*>(document.firstNode())->attribute("href");
            ASSERT_NE(href, nullptr);
            EXPECT_EQ(href->hasText(), length == 1021u);
            EXPECT_EQ(href->text(), length == 1021u ? value : "");
        }
    }
    // A value longer than the whole buffer: everything after the tag name comes back as text.
    const std::string huge = test::cat({"<a href=\"", std::string(1 << 20, 'v'), "\">end"});
    EXPECT_EQ(writtenOf(HtmlDocument::fromBytes(huge, kPageUrl)), test::cat({"<a href>", huge.substr(2)}));
}

TEST(HtmlDocumentTest, DeeplyNestedTagsParseAndDestroyWithoutRecursion) {
    std::string page;
    for (int i = 0; i < 100000; ++i) {
        page += "<div>";
    }
    HtmlDocument document = HtmlDocument::fromBytes(page, kPageUrl);
    EXPECT_EQ(document.lastNode()->prev()->name(), "div");
}

// Text stored with two bytes per character loses half its bytes to NUL removal; the buffer
// keeps reading until it is full, so the whole file arrives.
TEST(HtmlDocumentTest, FileThatLosesMostBytesToNulRemovalIsReadWhole) {
    std::string plain;
    for (int i = 0; plain.size() < 100000; ++i) {
        plain += test::cat({"<p>line ", std::to_string(i), "</p>\n"});
    }
    std::string wide;
    for (const char c : plain) {
        wide += c;
        wide += '\0';
    }
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "corvida-wide-page.html";
    std::ofstream(path, std::ios::binary) << wide;
    HtmlDocument fromFile(path.string(), kPageUrl);
    std::filesystem::remove(path);
    HtmlDocument reference = HtmlDocument::fromBytes(plain, kPageUrl);
    EXPECT_EQ(writtenOf(fromFile), plain);
    EXPECT_EQ(dumpOf(fromFile), dumpOf(reference));
}

TEST(HtmlDocumentTest, TitleJoinsTextRunsAndFallsBackToTheCutUrl) {
    HtmlDocument document = HtmlDocument::fromBytes("<TITLE>\tOne\n two  </TITLE>", kPageUrl);
    EXPECT_EQ(document.title(260), "One two");
    EXPECT_EQ(document.title(6), "One");

    // Text pieces cut by the lookahead are joined with a space.
    HtmlDocument chunked = HtmlDocument::fromBytes(test::cat({"<title>", std::string(1030, 'x')}), kPageUrl);
    EXPECT_EQ(chunked.title(2000), test::cat({std::string(1024, 'x'), " ", std::string(6, 'x')}));

    HtmlDocument untitled = HtmlDocument::fromBytes("<title> \n </title>text", kPageUrl);
    EXPECT_EQ(untitled.title(260), kPageUrl);
    EXPECT_EQ(untitled.title(0), "");
}

TEST(HtmlDocumentTest, ExcerptDropsTheLastWordAndKeepsWithinItsBuffer) {
    HtmlDocument hello = HtmlDocument::fromBytes("Hello wonderful world", kPageUrl);
    EXPECT_EQ(hello.excerpt(18), "Hello...");
    EXPECT_EQ(hello.excerpt(4), "");
    EXPECT_EQ(HtmlDocument::fromBytes("Hello", kPageUrl).excerpt(260), "H..."); // a lone word keeps one byte
    // Texts of all nodes count, script and comments included, joined by one space.
    HtmlDocument mixed =
        HtmlDocument::fromBytes("<script>var a;</script>\n\n<!-- c --><p>Body\ttext</p><p>end", kPageUrl);
    EXPECT_EQ(mixed.excerpt(260), "var a; <!-- c --> Body text...");
}

TEST(HtmlDocumentTest, FindMatchesWholeNamesIgnoringCase) {
    HtmlDocument document =
        HtmlDocument::fromBytes("<basefont><base/><BASE Target=x><p HREFLANG=en><p Href=y></BASE>", kPageUrl);
    EXPECT_EQ(HtmlDocument::find(document.firstNode(), HtmlNodeKind::StartTag, "base")->name(), "BASE");
    auto* withHref = static_cast<StartTag*>(HtmlDocument::find(document.firstNode(), HtmlNodeKind::Attribute, "href"));
    EXPECT_EQ(HtmlDocument::attributeOf(withHref, "HREF")->text(), "y");
    EXPECT_EQ(HtmlDocument::find(nullptr, HtmlNodeKind::StartTag, "p"), nullptr);
}

TEST(HtmlDocumentTest, BaseTagSetsBaseUrlAndCanBeRemoved) {
    HtmlDocument document = HtmlDocument::fromBytes("<base href=http://h/e/><a href=x>", kPageUrl);
    EXPECT_EQ(document.baseUrl().url(), "http://h/e/");
    document.removeBaseTag();
    EXPECT_EQ(test::writtenOf(document), "<a href=\"x\">");
    EXPECT_EQ(document.firstNode()->prev(), nullptr);

    // A base href counts only with a value; a relative one is taken relative to the page.
    EXPECT_EQ(HtmlDocument::fromBytes("<base href><a href=x>", kPageUrl).baseUrl().url(), kPageUrl);
    EXPECT_EQ(HtmlDocument::fromBytes("<base href=\"../e/\">", kPageUrl).baseUrl().url(), "http://h/e/");
}

} // namespace
} // namespace corvida
