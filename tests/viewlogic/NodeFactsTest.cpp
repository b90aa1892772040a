// SPDX-License-Identifier: MIT
#include "viewlogic/NodeFacts.h"

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Web.h"

namespace corvida {
namespace {

constexpr std::uint32_t kThumbnailFlags = kFlagPicture | kFlagFetchStarted | kFlagFetched;

TEST(NodeFactsTest, TextNodeGivesItsFieldsAndTheExcerptUnescaped) {
    const NodeFacts none = NodeFacts::of(nullptr, "/tmp/");
    EXPECT_EQ(none.mimeType + none.lastModified + none.size + none.inLinks + none.outLinks + none.depth, "");
    EXPECT_FALSE(none.showExcerpt || none.showPreview || none.showThumbnail || none.showSound);

    setenv("TZ", "UTC0", 1);
    tzset();
    Web web;
    WebNode* page = web.findOrAddNode(CUrl("http://h/a.htm"));
    WebNode* other = web.findOrAddNode(CUrl("http://h/b.htm"));
    page->setRequestUrl("http://h/a");
    page->setLevel(2);
    page->setSize(1234);
    page->setLastModified(1735689540);
    page->linkIn(other);
    page->linkOut(other);
    page->linkOut(web.findOrAddNode(CUrl("http://h/c.htm")));
    page->setExcerpt("if a<b &amp; <i>x</i>");

    const NodeFacts facts = NodeFacts::of(page, "/tmp/");
    EXPECT_EQ(facts.urlName, "http://h/a");
    EXPECT_EQ(facts.mimeType, "text/html");
    EXPECT_EQ(facts.lastModified, "Dec 31, 24 23:59");
    EXPECT_EQ((std::vector{facts.size, facts.inLinks, facts.outLinks, facts.depth}),
              (std::vector<std::string>{"1234", "1", "2", "2"}));
    EXPECT_TRUE(facts.showExcerpt && !facts.showPreview);
    // Only the escape the node added is undone; the page's own entities stay as written.
    EXPECT_EQ(facts.excerpt, "if a<b &amp; <i>x</i>");
    EXPECT_EQ(NodeFacts::unescapeExcerpt("&lt;&lt;&l&lt"), "<<&l&lt");

    // Unknown date and a node without a request URL.
    EXPECT_EQ(NodeFacts::of(other, "/tmp/").lastModified, "");
    EXPECT_EQ(NodeFacts::of(other, "/tmp/").urlName, "http://h/b.htm");
}

TEST(NodeFactsTest, PictureBoxOnlyForProcessedPicturesWithAPicture) {
    Web web;
    WebNode* picture = web.findOrAddNode(CUrl("http://h/p.gif"));
    picture->setSize(10);
    picture->setFlags(kThumbnailFlags);
    NodeFacts facts = NodeFacts::of(picture, "/tmp/");
    EXPECT_TRUE(facts.showPreview);
    EXPECT_FALSE(facts.showThumbnail) << "not processed yet";
    picture->setFlags(kFlagProcessed);
    EXPECT_TRUE(NodeFacts::of(picture, "/tmp/").showThumbnail);
    picture->setSize(0);
    EXPECT_FALSE(NodeFacts::of(picture, "/tmp/").showThumbnail) << "empty file";
    picture->setSize(10);
    picture->clearFlags(kFlagFetched);
    EXPECT_FALSE(NodeFacts::of(picture, "/tmp/").showThumbnail) << "fetch failed";
}

} // namespace
} // namespace corvida
