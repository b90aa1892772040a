// SPDX-License-Identifier: MIT
#include <string>

#include <gtest/gtest.h>

#include "html/AppletTag.h"
#include "html/HtmlDocument.h"
#include "html/HtmlTestSupport.h"
#include "html/LinkExtractor.h"
#include "html/ObjectTag.h"
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

TEST(LinkExtractorTest, HrefAfterBaseWithoutHrefIsStillALink) {
    EXPECT_EQ(linksOf("<base target=_top><a href=\"a.htm\">"), "link: 0 http://h/d/a.htm\n");
    // Before a base tag with href only src and background count.
    EXPECT_EQ(linksOf("<a href=a.htm><img src=b.gif><base href=http://h/e/><a href=c.htm>"),
              "link: 0 http://h/e/c.htm\nlink: 0 http://h/e/b.gif\n");
    // A relative base is taken relative to the page.
    EXPECT_EQ(linksOf("<base href=\"../e/\"><a href=c.htm>"), "link: 0 http://h/e/c.htm\n");
}

TEST(LinkExtractorTest, AppletAndObjectCodeUrls) {
    EXPECT_EQ(linksOf("<applet code=A.class codebase=\"\">"), "link: 1 http://h/A.class\n");
    EXPECT_EQ(linksOf("<applet code codebase=x>"), "");
    EXPECT_EQ(linksOf("<object classid=\"clsid:1234\" data=movie.avi usemap=\"#m\" name=obj>"),
              "link: 1 http://h/d/movie.avi\nlink: 1 http://h/d/p.htm#m\nlink: 1 http://h/d/obj\n");
    EXPECT_EQ(linksOf("<object classid=\"file.ocx\">"), "link: 1 http://h/d/file.ocx\n");
    // Objects are handled one after the other, code URL first.
    EXPECT_EQ(linksOf("<object data=a classid=b><object name=c classid=d>"),
              "link: 1 http://h/d/b\nlink: 1 http://h/d/a\nlink: 1 http://h/d/d\nlink: 1 http://h/d/c\n");

    HtmlDocument document = HtmlDocument::fromBytes("<applet code=A codebase=c><object>", kPageUrl);
    auto* applet = static_cast<AppletTag*>(document.firstNode());
    EXPECT_EQ(applet->codeUrl(), std::nullopt);
    EXPECT_EQ(applet->computeCodeUrl(), "c/A");
    EXPECT_EQ(applet->codeUrl(), "c/A");
    auto* object = static_cast<ObjectTag*>(applet->next());
    EXPECT_EQ(object->computeCodeUrl(), std::nullopt);
}

TEST(LinkExtractorTest, CodeUrlSettersPointTheTagElsewhere) {
    HtmlDocument document = HtmlDocument::fromBytes(
        "<applet code=A.class codebase=cls><applet codebase=x>"
        "<object classid=\"java:B.class\" codebase=j><object classid=\"CLSID:1\" codebase=x.cab>"
        "<object classid=o.ocx codebase=k><object codebase=z><object classid>",
        kPageUrl);
    HtmlNode* node = document.firstNode();
    static_cast<AppletTag*>(node)->setCodeUrl("../temp/x0000012.class");
    node = node->next();
    static_cast<AppletTag*>(node)->setCodeUrl("new");
    for (node = node->next(); node->kind() == HtmlNodeKind::StartTag; node = node->next()) {
        static_cast<ObjectTag*>(node)->setCodeUrl("L");
    }
    EXPECT_EQ(test::writtenOf(document), "<applet code=\"../temp/x0000012.class\" codebase=\"\"><applet codebase=\"\">"
                                         "<object classid=\"java:L\" codebase=\"\"><object classid=\"CLSID:1\" "
                                         "codebase=\"L\"><object classid=\"L\" codebase=\"k\"><object "
                                         "codebase=\"z\"><object classid>");
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

// The local site writer rewrites through the origin of each link.
TEST(LinkExtractorTest, OriginLetsASinkRewriteEveryLink) {
    class RewritingSink : public LinkSink {
    public:
        void addLink(const CUrl& url, bool /*fetchAnyway*/, const LinkOrigin& origin) override {
            const std::string local = test::cat({"L/", url.url().substr(url.baseDirectory().size())});
            if (origin.attribute != nullptr) {
                origin.attribute->setText(local);
            } else if (auto* applet = dynamic_cast<AppletTag*>(origin.tag)) {
                applet->setCodeUrl(local);
            }
        }
    };
    HtmlDocument document = HtmlDocument::fromBytes(
        "<a href=a.htm><img src=\"p.gif\" alt=x><applet code=A.class codebase=c><a href=a.htm>", kPageUrl);
    RewritingSink sink;
    LinkExtractor(document).extract(sink);
    EXPECT_EQ(test::writtenOf(document), "<a href=\"L/a.htm\"><img src=\"L/p.gif\" alt=\"x\"><applet "
                                         "code=\"L/A.class\" codebase=\"\"><a href=\"L/a.htm\">");
    // A second extraction reads the rewritten values.
    test::RecordingSink again;
    LinkExtractor(document).extract(again);
    EXPECT_EQ(again.lines, "link: 0 http://h/d/L/a.htm\nlink: 0 http://h/d/L/a.htm\nlink: 0 http://h/d/L/p.gif\n"
                           "link: 1 http://h/L/A.class\n");
}

TEST(LinkExtractorTest, WebSinkAddsLinksOneLevelBelowThePage) {
    Web web;
    WebNode* page = web.findOrAddNode(CUrl(kPageUrl));
    page->setLevel(2);
    HtmlDocument document = HtmlDocument::fromBytes(
        "<a href=\"#top\">top</a><img src=a.gif><img src=a.gif><a href=b.htm><applet code=C.class>", kPageUrl);
    LinkExtractor(document).extract(web, page);

    EXPECT_EQ(web.nodeCount(), 4u);
    EXPECT_EQ(page->outCount(), 3u);
    EXPECT_EQ(page->inCount(), 0u); // the '#' link names the page itself: no link
    WebNode* picture = web.findNode(CUrl("http://h/d/a.gif"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->level(), 3);
    EXPECT_EQ(picture->inCount(), 1u);
    EXPECT_FALSE(picture->fetchAnyway());
    WebNode* code = web.findNode(CUrl("http://h/d/C.class"));
    ASSERT_NE(code, nullptr);
    EXPECT_TRUE(code->fetchAnyway());
    EXPECT_EQ(code->level(), 3);
}

} // namespace
} // namespace corvida
