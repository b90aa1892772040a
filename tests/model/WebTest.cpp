// SPDX-License-Identifier: MIT
#include "model/Web.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/MimeTable.h"

namespace corvida {
namespace {

// Records the graph's listener calls as text lines.
class RecordingListener : public WebListener {
public:
    std::vector<std::string> calls;

    void destroy() override { calls.push_back("destroy"); }
    void nodeAdded(WebNode* node, bool isNew, WebNode* source) override {
        calls.push_back("added " + std::string(node->url().url()) + (isNew ? " new" : "") +
                        (source ? " from " + std::string(source->url().url()) : ""));
    }
    void linksChanged(WebNode* node) override { calls.push_back("links " + std::string(node->url().url())); }
    void aliasFound(WebNode* node) override { calls.push_back("alias " + std::string(node->url().url())); }
};

// A Web with a start node at level 0 as a crawl makes it.
WebNode* addStart(Web& web, const char* url) {
    WebNode* start = web.findOrAddNode(CUrl(url));
    web.setStartNode(start);
    start->setLevel(0);
    start->setFlags(kFlagStart | kFlagLocalServer | kFlagInStartDirectory);
    return start;
}

TEST(WebTest, OneNodePerUrlLevelsSelfLinksAndListenerCalls) {
    RecordingListener listener;
    {
        Web web(&listener);
        WebNode* start = addStart(web, "http://h/");
        WebNode* deep = web.addLink(start, CUrl("http://h/deep.htm"), 3, false);
        // The same URL in another case and with a fragment, from the same source: no change
        // but the fetch-anyway mark.
        EXPECT_EQ(web.addLink(start, CUrl("HTTP://H/DEEP.HTM#part"), 1, true), deep);
        EXPECT_TRUE(deep->fetchAnyway());
        WebNode* page = web.addLink(start, CUrl("http://h/p.htm"), 1, false);
        web.addLink(page, CUrl("http://h/deep.htm"), 1, false);
        web.addLink(page, CUrl("http://h/p.htm"), 2, false); // a page linking to itself
        EXPECT_EQ(deep->level(), 3);
        EXPECT_EQ(deep->inCount(), 2u);
        EXPECT_EQ(page->outCount(), 1u);
        EXPECT_EQ(web.nextNodeNumber(), 3);
    }
    EXPECT_EQ(listener.calls,
              (std::vector<std::string>{"added http://h/deep.htm new from http://h/", "links http://h/deep.htm",
                                        "added http://h/p.htm new from http://h/", "links http://h/p.htm",
                                        "links http://h/deep.htm", "destroy"}));
}

TEST(WebTest, ClassifiesKindsSchemesAndPlace) {
    Web web;
    web.addExtraStartUrl(CUrl("http://mirror/docs/"));
    WebNode* start = addStart(web, "http://h/site/index.htm");
    EXPECT_EQ(start->flags(), kFlagHttp | kFlagDocument | kFlagStart | kFlagLocalServer | kFlagInStartDirectory);

    struct Case {
        const char* url;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {"http://H/site/sub/a.htm", kFlagHttp | kFlagDocument | kFlagLocalServer | kFlagInStartDirectory},
        {"http://h/other/a.gif", kFlagHttp | kFlagPicture | kFlagLocalServer},
        {"http://mirror/docs/x.jpg", kFlagHttp | kFlagPicture | kFlagLocalServer | kFlagInStartDirectory},
        {"http://elsewhere/site/a.wav", kFlagHttp | kFlagAudio},
        // http and https are one site: a start page that moved to https keeps its pages.
        {"HTTPS://h/site/b.htm", kFlagHttp | kFlagDocument | kFlagLocalServer | kFlagInStartDirectory},
        {"https://h:8443/site/b.htm", kFlagHttp | kFlagDocument},
        {"file:///h/site/a.htm", kFlagFile | kFlagDocument}, // another scheme than the start
        {"mailto:x@h", kFlagMail | kFlagProcessed},
        {"news:x", kFlagOther},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(web.addLink(start, CUrl(c.url), 1, false)->flags(), c.flags) << c.url;
    }
    EXPECT_EQ(web.count(NodeKind::Document), 5u); // the start page too
    EXPECT_EQ(web.count(NodeKind::Picture), 2u);

    // A type learned from the server moves the node and the counters.
    WebNode* page = web.addLink(start, CUrl("http://h/site/page"), 1, false);
    page->setFlags(kFlagTypePending | kFlagProcessed);
    page->url().setMimeIndexByServer("text/html");
    web.reclassifyByServerType(page);
    EXPECT_EQ(page->flags() & (kKindMask | kFlagProcessed | kFlagTypePending), kFlagDocument);
    EXPECT_EQ(web.count(NodeKind::Document), 6u);
    EXPECT_EQ(web.count(NodeKind::Other), 1u);
}

TEST(WebTest, LinksToAnAliasCountAsLinksToTheStartNode) {
    RecordingListener listener;
    Web web(&listener);
    WebNode* start = addStart(web, "http://h/");
    WebNode* page = web.addLink(start, CUrl("http://h/p.htm"), 1, false);
    WebNode* alias = web.addLink(page, CUrl("http://h/index.htm"), 2, false);
    listener.calls.clear();
    web.makeAliasOfStartNode(alias);
    EXPECT_TRUE(start->inNeighbours().contains(page));
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"alias http://h/index.htm", "links http://h/"}));

    WebNode* other = web.addLink(start, CUrl("http://h/o.htm"), 1, false);
    web.addLink(other, CUrl("http://h/index.htm"), 2, false);
    EXPECT_TRUE(start->inNeighbours().contains(other));
    EXPECT_TRUE(other->outNeighbours().contains(start));
    EXPECT_FALSE(other->outNeighbours().contains(alias));
}

TEST(WebTest, NodesAndNeighboursReadInUrlOrder) {
    Web web;
    WebNode* start = addStart(web, "http://h/");
    std::mt19937 random(3);
    std::vector<WebNode*> pages;
    for (int i = 0; i < 300; ++i) {
        pages.push_back(web.addLink(start, CUrl("http://h/" + std::to_string(random() % 100000) + ".htm"), 1, false));
        web.addLink(pages.back(), CUrl("http://h/"), 2, false); // a hub: every page links home
        if (i % 50 == 0) {
            (void)start->inNeighbours().sorted(); // reads between additions merge the tail
        }
    }
    auto isSorted = [](const std::vector<WebNode*>& nodes) {
        return std::adjacent_find(nodes.begin(), nodes.end(), [](const WebNode* a, const WebNode* b) {
                   return a->url().compare(b->url()) >= 0;
               }) == nodes.end();
    };
    EXPECT_TRUE(isSorted(web.nodes()));
    EXPECT_TRUE(isSorted(start->outNeighbours().sorted()));
    EXPECT_TRUE(isSorted(start->inNeighbours().sorted()));
    EXPECT_EQ(start->in(0), start->inNeighbours().sorted().front());
    for (WebNode* page : pages) {
        EXPECT_EQ(web.findNode(page->url()), page);
    }
    EXPECT_EQ(web.findNode(CUrl("http://h/absent.htm")), nullptr);
}

TEST(WebNodeTest, TextsAreEscapedAndStatusReplacesBoth) {
    WebNode node{CUrl("http://h/a.htm")};
    node.setExcerpt("a<b>c<");
    EXPECT_EQ(node.excerpt(), "a&lt;b>c&lt;");
    node.setStatus(404, "Not <Found>", "/tmp/x");
    EXPECT_EQ(node.statusText(), "Not &lt;Found>");
    node.setStatus(500, "", "");
    EXPECT_EQ(node.text(WebNode::Text::StatusText), std::nullopt);
    EXPECT_EQ(node.text(WebNode::Text::StatusDetail), std::nullopt);
}

TEST(WebNodeTest, TextsKeepTheirOwnValuesAsOthersAreSetReplacedAndCleared) {
    using Text = WebNode::Text;
    WebNode node{CUrl("http://h/a.htm")};
    EXPECT_EQ(node.textSlot(Text::Title), nullptr); // no text, no block
    const std::string longTitle(70000, 't');
    node.setText(Text::StatusDetail, "detail");
    node.setTitle(longTitle);
    node.setText(Text::Credentials, "");
    node.setRequestUrl("http://h/b.htm");
    EXPECT_EQ(node.title(), longTitle);
    EXPECT_EQ(node.text(Text::Credentials), std::optional<std::string_view>("")); // empty, yet present
    EXPECT_EQ(node.text(Text::Excerpt), std::nullopt);
    EXPECT_EQ(node.requestUrl(), "http://h/b.htm");
    EXPECT_EQ(node.statusDetail(), "detail");

    // A text set from the node's own texts, and texts replaced by shorter and longer ones.
    node.setText(Text::Excerpt, node.requestUrl());
    node.setTitle("short");
    node.setRequestUrl(std::string(node.requestUrl().substr(7)) + "/and/longer");
    EXPECT_EQ(node.excerpt(), "http://h/b.htm");
    EXPECT_EQ(node.title(), "short");
    EXPECT_EQ(node.requestUrl(), "h/b.htm/and/longer");
    EXPECT_EQ(node.statusDetail(), "detail");

    node.setText(Text::Title, std::nullopt);
    EXPECT_EQ(node.text(Text::Title), std::nullopt);
    EXPECT_EQ(node.excerpt(), "http://h/b.htm");
    for (const Text which :
         {Text::Credentials, Text::Excerpt, Text::RequestUrl, Text::StatusText, Text::StatusDetail}) {
        node.setText(which, std::nullopt);
    }
    EXPECT_EQ(node.textSlot(Text::Title), nullptr); // the last text took the block with it
    EXPECT_EQ(node.textOrEmpty(Text::StatusDetail), "");
}

TEST(WebNodeTest, BrokenMeansStartedWithoutSuccess) {
    WebNode node{CUrl("http://h/")};
    node.assignFlags(kFlagTestStarted | kFlagTested | kFlagFetchStarted);
    EXPECT_TRUE(node.isBroken()); // tested, then its fetch failed
    node.assignFlags(kFlagTestStarted | kFlagTested);
    EXPECT_FALSE(node.isBroken());
}

} // namespace
} // namespace corvida
