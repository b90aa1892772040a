// SPDX-License-Identifier: MIT
#include "model/LinkTree.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/CUrl.h"
#include "model/Web.h"
#include "model/WebNode.h"

namespace corvida {
namespace {

// start links to a.htm and b.htm; both link to shared.htm; b links back to start; shared
// links to deep.htm; lost.htm links to a but nothing reaches it.
struct Site {
    Web web;
    WebNode* start;
    WebNode* a;
    WebNode* b;
    WebNode* shared;
    WebNode* deep;
    WebNode* lost;

    Site() {
        start = web.findOrAddNode(CUrl("http://h/index.htm"));
        web.setStartNode(start);
        b = web.addLink(start, CUrl("http://h/b.htm"), 1, false);
        a = web.addLink(start, CUrl("http://h/a.htm"), 1, false);
        shared = web.addLink(b, CUrl("http://h/shared.htm"), 2, false);
        web.addLink(a, CUrl("http://h/shared.htm"), 2, false);
        web.addLink(b, CUrl("http://h/index.htm"), 2, false);
        deep = web.addLink(shared, CUrl("http://h/deep.htm"), 3, false);
        lost = web.findOrAddNode(CUrl("http://h/lost.htm"));
        web.addLink(lost, CUrl("http://h/a.htm"), 1, false);
    }
};

// label, depth, repeat mark and file name of every entry, depth first.
std::vector<std::string> outline(const LinkTree& tree) {
    std::vector<std::string> lines;
    tree.forEachDepthFirst([&lines](const LinkTreeEntry& entry) {
        const std::string_view url = entry.node()->url().url();
        lines.push_back(entry.label() + " " + std::to_string(entry.depth()) + (entry.isRepeat() ? " * " : " - ") +
                        std::string(url.substr(url.rfind('/') + 1)));
    });
    return lines;
}

TEST(LinkTreeTest, RebuildIsBreadthFirstInUrlOrderWithRepeatsAsLeaves) {
    Site site;
    LinkTree tree;
    tree.rebuild(site.start);
    // a.htm comes before b.htm in URL order: equal lengths, smaller hash.
    EXPECT_EQ(outline(tree), (std::vector<std::string>{
                                 "1 0 - index.htm",
                                 "1.1 1 - a.htm",
                                 "1.1.1 2 - shared.htm",
                                 "1.1.1.1 3 - deep.htm",
                                 "1.2 1 - b.htm",
                                 "1.2.1 2 * index.htm",
                                 "1.2.2 2 * shared.htm",
                             }));
    const LinkTreeEntry* sharedEntry = tree.primaryEntry(site.shared);
    ASSERT_NE(sharedEntry, nullptr);
    EXPECT_EQ(site.shared->linkTreeEntry(), sharedEntry);
    EXPECT_EQ(sharedEntry->parentNode(), site.a);
    EXPECT_EQ(sharedEntry->children().size(), 1u);
    const LinkTreeEntry* repeat = tree.primaryEntry(site.b)->children()[1];
    EXPECT_EQ(repeat->primary(), sharedEntry);
    EXPECT_TRUE(repeat->children().empty());
    EXPECT_EQ(tree.root()->parentEntry(), nullptr);
    EXPECT_EQ(tree.root()->parentNode(), nullptr);

    // Unreachable nodes get no entry.
    EXPECT_EQ(tree.primaryEntry(site.lost), nullptr);
    EXPECT_EQ(site.lost->linkTreeEntry(), nullptr);
    EXPECT_EQ(tree.entryCount(), 7u);
}

TEST(LinkTreeTest, AddAttachesUnderTheParentsPrimaryEntry) {
    Site site;
    LinkTree tree;
    LinkTreeEntry* root = tree.setRoot(site.start);
    EXPECT_EQ(root->label(), "1");
    EXPECT_EQ(root->depth(), 0);
    EXPECT_EQ(site.start->linkTreeEntry(), root);
    EXPECT_EQ(tree.add(site.a, site.start)->label(), "1.1");
    EXPECT_EQ(tree.add(site.b, site.start)->label(), "1.2");
    LinkTreeEntry* shared = tree.add(site.shared, site.b);
    EXPECT_EQ(shared->label(), "1.2.1");
    EXPECT_EQ(shared->depth(), 2);
    LinkTreeEntry* again = tree.add(site.shared, site.a);
    EXPECT_EQ(again->label(), "1.1.1");
    EXPECT_EQ(again->primary(), shared);
    EXPECT_EQ(tree.primaryEntry(site.shared), shared);

    // Nothing to hang under: no entry, rather than an entry outside the tree.
    EXPECT_EQ(tree.add(site.deep, site.lost), nullptr);
    EXPECT_EQ(tree.add(site.deep, nullptr), nullptr);
    EXPECT_EQ(tree.primaryEntry(site.deep), nullptr);

    // Labels count children from 1 past 9.
    for (int i = 0; i < 11; ++i) {
        WebNode* page = site.web.findOrAddNode(CUrl("http://h/p" + std::to_string(i) + ".htm"));
        tree.add(page, site.a);
    }
    EXPECT_EQ(tree.primaryEntry(site.a)->children().back()->label(), "1.1.12");

    tree.clear();
    EXPECT_EQ(tree.root(), nullptr);
    EXPECT_EQ(site.start->linkTreeEntry(), nullptr);
    EXPECT_EQ(site.shared->linkTreeEntry(), nullptr);
}

TEST(LinkTreeTest, IsWithinWalksUpTheParentEntries) {
    Site site;
    LinkTree tree;
    tree.rebuild(site.start);
    const LinkTreeEntry* root = tree.root();
    const LinkTreeEntry* deep = tree.primaryEntry(site.deep);
    const LinkTreeEntry* a = tree.primaryEntry(site.a);
    const LinkTreeEntry* b = tree.primaryEntry(site.b);
    EXPECT_TRUE(LinkTreeEntry::isWithin(deep, root));
    EXPECT_TRUE(LinkTreeEntry::isWithin(deep, a));
    EXPECT_FALSE(LinkTreeEntry::isWithin(deep, b));
    EXPECT_TRUE(LinkTreeEntry::isWithin(root, root));
    EXPECT_FALSE(LinkTreeEntry::isWithin(root, deep));
    EXPECT_TRUE(LinkTreeEntry::isWithin(nullptr, deep));
    // A repeat lies where it hangs, not where its primary does.
    const LinkTreeEntry* repeat = b->children()[1];
    EXPECT_TRUE(LinkTreeEntry::isWithin(repeat, b));
    EXPECT_FALSE(LinkTreeEntry::isWithin(repeat, a));
}

TEST(LinkTreeTest, RebuildStartsOverAndCopesWithEmptyReferences) {
    Site site;
    LinkTree tree;
    tree.rebuild(nullptr);
    EXPECT_EQ(tree.root(), nullptr);
    EXPECT_EQ(tree.entryCount(), 0u);

    site.deep->appendLoadedOut(nullptr); // as a damaged project file can leave it
    tree.rebuild(site.start);
    tree.rebuild(site.start);
    EXPECT_EQ(tree.entryCount(), 7u);
    EXPECT_EQ(tree.root()->node(), site.start);

    // A long chain is walked without recursion.
    Web chain;
    WebNode* previous = chain.findOrAddNode(CUrl("http://h/0"));
    WebNode* first = previous;
    for (int i = 1; i < 3000; ++i) {
        previous = chain.addLink(previous, CUrl("http://h/" + std::to_string(i)), i, false);
    }
    LinkTree chainTree;
    chainTree.rebuild(first);
    int visited = 0;
    chainTree.forEachDepthFirst([&visited](const LinkTreeEntry&) { ++visited; });
    EXPECT_EQ(visited, 3000);
    EXPECT_EQ(chainTree.primaryEntry(previous)->depth(), 2999);
}

} // namespace
} // namespace corvida
