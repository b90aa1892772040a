// SPDX-License-Identifier: MIT
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "crawl/WebLinkSink.h"
#include "html/CharacterReferences.h"
#include "html/HtmlDocument.h"
#include "html/HtmlReadBuffer.h"
#include "html/HtmlTestSupport.h"
#include "html/LinkExtractor.h"
#include "model/Web.h"

namespace corvida {
namespace {

constexpr std::string_view kPageUrl = "http://h/d/p.htm";

std::string linksOf(std::string_view page, std::string_view url = kPageUrl) {
    HtmlDocument document = HtmlDocument::fromBytes(page, url);
    test::RecordingSink sink;
    LinkExtractor(document).extract(sink);
    return sink.lines;
}

TEST(LinkExtractorTest, HashValuesJoinThePageUrlWithinTheCut) {
    EXPECT_EQ(linksOf("<a href=\"#top\">", "http://h/d/p.htm#here"), "link: 0 http://h/d/p.htm#here#top\n");
    // A '#' value keeps its whole (cut) self; the page URL gives way.
    const std::string fragment = test::cat({"#", std::string(600, 'f')});
    EXPECT_EQ(linksOf(test::cat({"<a href=\"", fragment, "\">"})),
              test::cat({"link: 0 ", fragment.substr(0, 511), "\n"}));
    EXPECT_EQ(linksOf(test::cat({"<a href=\"#", std::string(505, 'f'), "\">"})),
              test::cat({"link: 0 http:#", std::string(505, 'f'), "\n"}));
}

TEST(LinkExtractorTest, EmptyAndQueryOnlyValuesNameTheBaseItself) {
    EXPECT_EQ(linksOf("<a href=\"\"><a href=\"?q=1\"><a href=\"?\"><a href=\"?a#f\">", "http://h/d/p.htm?x=2#here"),
              "link: 0 http://h/d/p.htm?x=2\nlink: 0 http://h/d/p.htm?q=1\nlink: 0 http://h/d/p.htm?\n"
              "link: 0 http://h/d/p.htm?a#f\n");
    // The base a page names stands in for the page; everything else keeps its rules.
    EXPECT_EQ(linksOf("<base href=\"http://b/e/base.htm\"><a href=\"?q\"><a href=\"\"><a href=\"x.htm\">"),
              "link: 0 http://b/e/base.htm?q\nlink: 0 http://b/e/base.htm\nlink: 0 http://b/e/x.htm\n");
}

TEST(LinkExtractorTest, CharacterReferencesAreDecodedBeforeAValueBecomesAUrl) {
    EXPECT_EQ(linksOf("<a href=\"x?a=1&amp;b=2\"><a href=\"i?&#64;a\"><a href=\"i?&#64;b\">"
                      "<a href=\"&#109;ailto:me@h\"><applet code=\"A&#x2E;class\">"),
              "link: 0 http://h/d/x?a=1&b=2\nlink: 0 http://h/d/i?@a\nlink: 0 http://h/d/i?@b\n"
              "link: 0 mailto:me@h\nlink: 1 http://h/d/A.class\n");
}

TEST(CharacterReferencesTest, DecodesTerminatedKnownReferencesAndKeepsEverythingElse) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"a&amp;b&AMP;c", "a&b&c"},
        {"&#64;&#x40;&#X4a;&#0064;", "@@J@"},
        {"&hellip;&eacute;", "\xE2\x80\xA6\xC3\xA9"},
        {"&NotEqualTilde;", "\xE2\x89\x82\xCC\xB8"}, // two characters
        {"&#128512;", "\xF0\x9F\x98\x80"},
        {"&amp &amp", "&amp &amp"}, // no ';'
        {"&nosuch; &; &#; &#x; &#xg;", "&nosuch; &; &#; &#x; &#xg;"},
        {"&#0; &#xD800; &#1114112; &#99999999999;", "&#0; &#xD800; &#1114112; &#99999999999;"},
        {"&&amp;&", "&&&"},
        {"&aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa;", "&aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa;"},
    };
    for (const auto& [value, decoded] : cases) {
        EXPECT_EQ(CharacterReferences::decode(value), decoded) << value;
    }
}

// Rows, order and the usual code URLs are in the links-rows fixture; these are the odd ones.
TEST(LinkExtractorTest, CodeUrlsOfOddAppletsAndObjects) {
    EXPECT_EQ(linksOf("<applet code codebase=x>"), "");
    EXPECT_EQ(linksOf("<object classid=\"file.ocx\">"), "link: 1 http://h/d/file.ocx\n");
    // An empty codebase (what the local site writes) is the page's directory, not the root;
    // an ActiveX control needs one to be a link at all.
    EXPECT_EQ(linksOf("<applet code=A.class codebase=\"\"><object classid=\"java:B.class\" codebase=\"\">"
                      "<object classid=\"clsid:1\" codebase=\"\">"),
              "link: 1 http://h/d/A.class\nlink: 1 http://h/d/B.class\n");
}

// Each distinct value is resolved once per page; the same value must still give every
// occurrence its link, and a value cut at 511 bytes is the same link as its cut form.
TEST(LinkExtractorTest, RepeatedValuesGiveALinkForEveryOccurrence) {
    const std::string longValue = test::cat({std::string(511, 'v'), "x"});
    EXPECT_EQ(linksOf(test::cat({"<a href=x.htm><img src=x.htm><a href=#t><a href=x.htm><object data=#t>",
                                 "<a href=", longValue, "><a href=", longValue.substr(0, 511), "y>"})),
              test::cat({"link: 0 http://h/d/x.htm\nlink: 0 http://h/d/p.htm#t\nlink: 0 http://h/d/x.htm\n",
                         "link: 0 http://h/d/", longValue.substr(0, 511), "\nlink: 0 http://h/d/",
                         longValue.substr(0, 511), "\nlink: 0 http://h/d/x.htm\nlink: 1 http://h/d/p.htm#t\n"}));
    // A code URL resolves without the '#' rule, even when an attribute has the same text.
    EXPECT_EQ(linksOf("<a href=#c><applet code=#c>"), "link: 0 http://h/d/p.htm#c\nlink: 1 http://h/d/#c\n");
}

TEST(LinkExtractorTest, WebSinkAddsLinksOneLevelBelowThePage) {
    Web web;
    WebNode* page = web.findOrAddNode(CUrl(kPageUrl));
    page->setLevel(2);
    HtmlDocument document = HtmlDocument::fromBytes(
        "<a href=\"#top\">top</a><img src=a.gif><img src=a.gif><a href=b.htm><applet code=C.class>", kPageUrl);
    WebLinkSink sink(web, page);
    LinkExtractor(document).extract(sink);

    EXPECT_EQ(web.nodeCount(), 4u);
    EXPECT_EQ(page->outCount(), 3u);
    EXPECT_EQ(page->inCount(), 0u); // the '#' link names the page itself: no link
    EXPECT_EQ(web.findNode(CUrl("http://h/d/a.gif"))->level(), 3);
    EXPECT_TRUE(web.findNode(CUrl("http://h/d/C.class"))->fetchAnyway());
}

TEST(LinkExtractorTest, StyleSheetsStyleBlocksAndStyleAttributesGiveLinksAfterTheOtherRows) {
    // A link tag's href is a link whatever its rel; style-sheet text follows every other row,
    // in document order, and a style attribute's references are decoded before it is read.
    EXPECT_EQ(linksOf("<head><link rel=\"Alternate StyleSheet\" href=\"css/site.css\"><link rel=icon href=i.ico>"
                      "<style>@import \"print.css\";\nbody { background: url(img/bg.png) } /* url(no.png) */</style>"
                      "</head><body style=\"background-image: url(&quot;img/a-b.png&quot;)\">"
                      "<div style='background: url(/abs.svg)' STYLE='url(second.png)'><img src=x.gif>"
                      "<style>p { background: url(#frag) url(data:image/png;base64,AA==) url('img/p.png') }</style>"
                      "<p style=\"color: red\"><p style>"),
              "link: 0 http://h/d/css/site.css\nlink: 0 http://h/d/i.ico\nlink: 0 http://h/d/x.gif\n"
              "link: 0 http://h/d/print.css\nlink: 0 http://h/d/img/bg.png\nlink: 0 http://h/d/img/a-b.png\n"
              "link: 0 http://h/abs.svg\nlink: 0 http://h/d/p.htm#frag\nlink: 0 http://h/d/img/p.png\n");

    // They resolve against the base, like values; a block's text is not decoded.
    EXPECT_EQ(linksOf("<base href=\"http://b/e/\"><style>a{background:url(x.png?a=1&amp;b=2)}</style>"
                      "<i style=\"background:url(y.png?a=1&amp;b=2)\">"),
              "link: 0 http://b/e/x.png?a=1&amp;b=2\nlink: 0 http://b/e/y.png?a=1&b=2\n");
}

TEST(LinkExtractorTest, StyleBlocksAreReadWholeAcrossTextRunsTagsAndBufferRefills) {
    // Far larger than the read buffer, so its text comes in many runs and refills.
    std::string block = "<style>/* <b>not a tag</b> */";
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        const std::string name = "p" + std::to_string(i) + ".png";
        block += ".c" + std::to_string(i) + " { background: url(" + name + ") }\n";
        expected += "link: 0 http://h/d/" + name + "\n";
    }
    ASSERT_GT(block.size(), 3 * HtmlReadBuffer::kCapacity);
    // A block left open ends at the next style tag; each block is read once.
    EXPECT_EQ(linksOf(block + "</style><style>a{background:url(open.png)}<style>b{background:url(last.png)}"),
              expected + "link: 0 http://h/d/open.png\nlink: 0 http://h/d/last.png\n");
}

} // namespace
} // namespace corvida
