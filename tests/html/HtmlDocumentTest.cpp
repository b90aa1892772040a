// SPDX-License-Identifier: MIT
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

std::vector<std::string> vectorNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dataPath("html"))) {
        if (entry.path().extension() == ".html") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Each fixture NAME.html has NAME.expected (dump, title, excerpt, base, links for the page
// http://h/d/p.htm) and NAME.written (the page written back).
TEST(HtmlDocumentTest, FixturesGiveTheirExpectedDumpLinksAndWrittenForm) {
    const std::vector<std::string> names = vectorNames();
    ASSERT_GE(names.size(), 15u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        HtmlDocument document(dataPath("html/" + name + ".html"), kPageUrl);
        EXPECT_EQ(writtenOf(document), readFile(dataPath("html/" + name + ".written")));
        EXPECT_EQ(debugText(document), readFile(dataPath("html/" + name + ".expected")));
    }
}

TEST(HtmlDocumentTest, UnreadableFileIsOneEmptyTextNode) {
    for (const std::string& path : {dataPath("html/no-such-file.html"), dataPath("html")}) {
        HtmlDocument document(path, kPageUrl);
        ASSERT_NE(document.firstNode(), nullptr);
        EXPECT_EQ(document.firstNode(), document.lastNode());
        EXPECT_EQ(document.firstNode()->kind(), HtmlNodeKind::Text);
        EXPECT_EQ(document.firstNode()->text(), "");
        EXPECT_EQ(document.title(260), kPageUrl);
        EXPECT_EQ(document.excerpt(260), "...");
    }
}

TEST(HtmlDocumentTest, LookaheadCutsLongTextAndLongNames) {
    HtmlDocument text = HtmlDocument::fromBytes(std::string(3000, 'x'), kPageUrl);
    std::vector<std::size_t> sizes;
    for (HtmlNode* node = text.firstNode(); node != nullptr; node = node->next()) {
        EXPECT_EQ(node->kind(), HtmlNodeKind::Text);
        sizes.push_back(node->text().size());
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{1024, 1024, 952}));

    // A tag name stops after 1024 bytes; the rest is read as attributes of the tag.
    const std::string longName = test::cat({"<", std::string(1030, 'n'), ">"});
    HtmlDocument tag = HtmlDocument::fromBytes(longName, kPageUrl);
    auto* start = static_cast<StartTag*>(tag.firstNode());
    EXPECT_EQ(start->name().size(), 1024u);
    ASSERT_NE(start->firstAttribute(), nullptr);
    EXPECT_EQ(start->firstAttribute()->name(), "nnnnnn");
}

TEST(HtmlDocumentTest, OverlongAttributeValueHasNoValueAndBecomesText) {
    const std::string value(1 << 20, 'v');
    HtmlDocument document = HtmlDocument::fromBytes(test::cat({"<a href=\"", value, "\">end"}), kPageUrl);
    auto* tag = static_cast<StartTag*>(document.firstNode());
    ASSERT_NE(tag->attribute("href"), nullptr);
    EXPECT_FALSE(tag->attribute("href")->hasText());
    // Everything after the tag name comes back as text, in lookahead-sized pieces.
    std::string text;
    for (HtmlNode* node = tag->next(); node != nullptr; node = node->next()) {
        ASSERT_EQ(node->kind(), HtmlNodeKind::Text);
        text += node->text();
    }
    EXPECT_EQ(text, test::cat({" href=\"", value, "\">end"}));
}

// Single and double quotes bound a value alike: its closing quote must lie within the
// lookahead counted from the end of the name, and the other kind of quote is a plain byte.
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
}

TEST(HtmlDocumentTest, DeeplyNestedTagsParseAndDestroyWithoutRecursion) {
    std::string page;
    for (int i = 0; i < 100000; ++i) {
        page += "<div>";
    }
    HtmlDocument document = HtmlDocument::fromBytes(page, kPageUrl);
    std::size_t count = 0;
    for (HtmlNode* node = document.firstNode(); node != nullptr; node = node->next()) {
        ++count;
    }
    EXPECT_EQ(count, 100001u);
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
    EXPECT_EQ(document.titleTag(), document.firstNode());
    EXPECT_EQ(document.title(6), "One");

    // Text pieces cut by the lookahead are joined with a space.
    HtmlDocument chunked = HtmlDocument::fromBytes(test::cat({"<title>", std::string(1030, 'x')}), kPageUrl);
    EXPECT_EQ(chunked.title(2000), test::cat({std::string(1024, 'x'), " ", std::string(6, 'x')}));

    HtmlDocument untitled = HtmlDocument::fromBytes("<title> \n </title>text", kPageUrl);
    EXPECT_EQ(untitled.title(260), kPageUrl);
    EXPECT_EQ(untitled.title(5), "http");
    EXPECT_EQ(untitled.title(0), "");
}

TEST(HtmlDocumentTest, ExcerptDropsTheLastWordAndKeepsWithinItsBuffer) {
    HtmlDocument hello = HtmlDocument::fromBytes("Hello wonderful world", kPageUrl);
    EXPECT_EQ(hello.excerpt(18), "Hello...");
    EXPECT_EQ(hello.excerpt(20), "Hello wonderful...");
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
    HtmlNode* base = HtmlDocument::find(document.firstNode(), HtmlNodeKind::StartTag, "base");
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(base->name(), "BASE");
    HtmlNode* withHref = HtmlDocument::find(document.firstNode(), HtmlNodeKind::Attribute, "href");
    ASSERT_NE(withHref, nullptr);
    EXPECT_EQ(HtmlDocument::attributeOf(static_cast<StartTag*>(withHref), "HREF")->text(), "y");
    EXPECT_EQ(HtmlDocument::find(document.firstNode(), HtmlNodeKind::EndTag, "base")->name(), "BASE");
    EXPECT_EQ(HtmlDocument::find(document.firstNode(), HtmlNodeKind::Text, "x"), nullptr);
    EXPECT_EQ(HtmlDocument::find(nullptr, HtmlNodeKind::StartTag, "p"), nullptr);
}

TEST(HtmlDocumentTest, BaseTagSetsBaseUrlAndCanBeRemoved) {
    HtmlDocument document = HtmlDocument::fromBytes("<base href=http://h/e/><a href=x>", kPageUrl);
    EXPECT_EQ(document.baseUrl().url(), "http://h/e/");
    EXPECT_EQ(document.linkScanStart()->name(), "a");
    document.removeBaseTag();
    EXPECT_EQ(test::writtenOf(document), "<a href=\"x\">");
    EXPECT_EQ(document.firstNode()->name(), "a");
    EXPECT_EQ(document.firstNode()->prev(), nullptr);

    // A base href counts only with a value; a relative one is taken relative to the page.
    EXPECT_EQ(HtmlDocument::fromBytes("<base href><a href=x>", kPageUrl).baseUrl().url(), kPageUrl);
    EXPECT_EQ(HtmlDocument::fromBytes("<base href=\"../e/\">", kPageUrl).baseUrl().url(), "http://h/e/");
    const std::string longBase = test::cat({"http://h/", std::string(600, 'b')});
    EXPECT_EQ(HtmlDocument::fromBytes(test::cat({"<base href=", longBase, ">"}), kPageUrl).baseUrl().url().size(),
              511u);
}

TEST(HtmlDocumentTest, RuleFixUpKeepsTheSequenceEndsRight) {
    HtmlDocument document = HtmlDocument::fromBytes("<b><hr></b>", kPageUrl);
    EXPECT_EQ(document.firstNode()->name(), "hr");
    EXPECT_EQ(document.firstNode()->prev(), nullptr);
    EXPECT_EQ(writtenOf(document), "<hr><b></b>");
    std::size_t backwards = 0;
    for (HtmlNode* node = document.lastNode(); node != nullptr; node = node->prev()) {
        ++backwards;
    }
    EXPECT_EQ(backwards, 4u);
}

} // namespace
} // namespace corvida
