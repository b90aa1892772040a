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
    WebNode *start, *a, *b, *shared, *deep, *lost;

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
    EXPECT_EQ(outline(tree), (std::vector<std::string>{"1 0 - index.htm", "1.1 1 - a.htm", "1.1.1 2 - shared.htm",
                                                       "1.1.1.1 3 - deep.htm", "1.2 1 - b.htm", "1.2.1 2 * index.htm",
                                                       "1.2.2 2 * shared.htm"}));
    const LinkTreeEntry* sharedEntry = tree.primaryEntry(site.shared);
    EXPECT_EQ(site.shared->linkTreeEntry(), sharedEntry);
    EXPECT_EQ(sharedEntry->parentNode(), site.a);
    const LinkTreeEntry* repeat = tree.primaryEntry(site.b)->children()[1];
    EXPECT_EQ(repeat->primary(), sharedEntry);
    EXPECT_EQ(site.lost->linkTreeEntry(), nullptr); // unreachable

    // Within walks up the parent entries; a repeat lies where it hangs, not where its
    // primary does.
    const LinkTreeEntry* deep = tree.primaryEntry(site.deep);
    EXPECT_TRUE(LinkTreeEntry::isWithin(deep, tree.primaryEntry(site.a)));
    EXPECT_FALSE(LinkTreeEntry::isWithin(deep, tree.primaryEntry(site.b)));
    EXPECT_FALSE(LinkTreeEntry::isWithin(tree.root(), deep));
    EXPECT_TRUE(LinkTreeEntry::isWithin(nullptr, deep));
    EXPECT_TRUE(LinkTreeEntry::isWithin(repeat, tree.primaryEntry(site.b)));
    EXPECT_FALSE(LinkTreeEntry::isWithin(repeat, tree.primaryEntry(site.a)));
}

TEST(LinkTreeTest, AddAttachesUnderTheParentsPrimaryEntry) {
    Site site;
    LinkTree tree;
    tree.setRoot(site.start);
    tree.add(site.a, site.start);
    tree.add(site.b, site.start);
    LinkTreeEntry* shared = tree.add(site.shared, site.b);
    EXPECT_EQ(shared->label(), "1.2.1");
    EXPECT_EQ(shared->depth(), 2);
    LinkTreeEntry* again = tree.add(site.shared, site.a);
    EXPECT_EQ(again->label(), "1.1.1");
    EXPECT_EQ(again->primary(), shared);

    // Nothing to hang under: no entry, rather than an entry outside the tree.
    EXPECT_EQ(tree.add(site.deep, site.lost), nullptr);
    EXPECT_EQ(tree.add(site.deep, nullptr), nullptr);

    // Labels count children from 1 past 9.
    for (int i = 0; i < 11; ++i) {
        WebNode* page = site.web.findOrAddNode(CUrl("http://h/p" + std::to_string(i) + ".htm"));
        tree.add(page, site.a);
    }
    EXPECT_EQ(tree.primaryEntry(site.a)->children().back()->label(), "1.1.12");

    tree.clear();
    EXPECT_EQ(site.shared->linkTreeEntry(), nullptr);
}

TEST(LinkTreeTest, RebuildStartsOverAndCopesWithEmptyReferences) {
    Site site;
    LinkTree tree;
    tree.rebuild(nullptr);
    EXPECT_EQ(tree.root(), nullptr);

    site.deep->appendLoadedOut(nullptr); // as a damaged project file can leave it
    tree.rebuild(site.start);
    tree.rebuild(site.start);
    EXPECT_EQ(tree.entryCount(), 7u);

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
