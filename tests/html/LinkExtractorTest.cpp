// SPDX-License-Identifier: MIT
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "crawl/WebLinkSink.h"
#include "html/CharacterReferences.h"
#include "html/HtmlDocument.h"
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

} // namespace
} // namespace corvida
