// SPDX-License-Identifier: MIT
#include "viewlogic/LinkTreeFill.h"

#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/CUrl.h"
#include "model/LinkTree.h"
#include "model/Web.h"
#include "model/WebNode.h"

namespace corvida {
namespace {

constexpr std::uint32_t kShown = kFlagDocument | kFlagFetchStarted | kFlagFetched | kFlagProcessed;

class LinkTreeFillTest : public ::testing::Test {
protected:
    WebNode* node(const std::string& name, std::uint32_t flags = kShown) {
        WebNode* added = web.findOrAddNode(CUrl("http://h/" + name));
        added->setFlags(flags);
        return added;
    }

    // Adds every entry that fill is missing for changed, as a pane would.
    static void addFor(LinkTreeFill& fill, const LinkTree& tree, const std::vector<WebNode*>& changed) {
        for (const LinkTreeEntry* entry : fill.missingFor(tree, changed)) {
            fill.add(*entry);
        }
    }

    // Every item of fill as entry → parent entry (nullptr at the root level).
    static std::map<const LinkTreeEntry*, const LinkTreeEntry*> shape(const LinkTreeFill& fill, const LinkTree& tree) {
        std::map<const LinkTreeEntry*, const LinkTreeEntry*> items;
        tree.forEachDepthFirst([&](const LinkTreeEntry& entry) {
            if (const LinkTreeFill::Item* item = fill.item(&entry)) {
                items[&entry] = item->parent != nullptr ? item->parent->entry : nullptr;
            }
        });
        EXPECT_EQ(items.size(), fill.size());
        return items;
    }

    Web web; // outlives the tree, which resets the nodes' entries when cleared
    LinkTree tree;
};

TEST_F(LinkTreeFillTest, OnlyFetchedProcessedDocumentsThatAreNoRepeatQualify) {
    WebNode* root = node("index.htm", 0); // the root gets an item before it is processed
    tree.setRoot(root);
    const LinkTreeEntry* page = tree.add(node("page.htm"), root);
    const LinkTreeEntry* picture = tree.add(node("a.gif", (kShown & ~kFlagDocument) | kFlagPicture), root);
    const LinkTreeEntry* notProcessed = tree.add(node("later.htm", kShown & ~kFlagProcessed), root);
    const LinkTreeEntry* notFetched = tree.add(node("failed.htm", kShown & ~kFlagFetched), root);
    const LinkTreeEntry* notStarted = tree.add(node("odd.htm", kShown & ~kFlagFetchStarted), root);
    const LinkTreeEntry* repeat = tree.add(page->node(), root);
    ASSERT_TRUE(repeat != nullptr && repeat->isRepeat());

    EXPECT_TRUE(LinkTreeFill::qualifies(*page));
    for (const LinkTreeEntry* entry : {picture, notProcessed, notFetched, notStarted, repeat}) {
        EXPECT_FALSE(LinkTreeFill::qualifies(*entry)) << entry->node()->url().url();
    }

    LinkTreeFill fill;
    for (const LinkTreeEntry* entry : fill.missingFromRoot(tree)) {
        fill.add(*entry);
    }
    EXPECT_EQ(shape(fill, tree),
              (std::map<const LinkTreeEntry*, const LinkTreeEntry*>{{tree.root(), nullptr}, {page, tree.root()}}));
    // A second fill finds nothing missing.
    EXPECT_TRUE(fill.missingFromRoot(tree).empty());
}

TEST_F(LinkTreeFillTest, TextIsTheTitleOrTheUrlAndChangedItemsAreFoundOnce) {
    WebNode* root = node("index.htm");
    tree.setRoot(root);
    WebNode* page = node("page.htm");
    tree.add(page, root);
    WebNode* outside = node("outside.htm");
    EXPECT_EQ(LinkTreeFill::text(*root), "http://h/index.htm");
    root->setTitle("Home <b>page</b>");
    EXPECT_EQ(LinkTreeFill::text(*root), "Home <b>page</b>");

    LinkTreeFill fill;
    addFor(fill, tree, {});
    ASSERT_EQ(fill.size(), 2u);
    const std::vector<const LinkTreeFill::Item*> items = fill.itemsOf(std::vector<WebNode*>{page, outside, root, page});
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->entry->node(), page);
    EXPECT_EQ(items[1]->entry->node(), root);
}

// Random trees whose nodes are reached and processed over time, told in random batches:
// the items added batch by batch are those of one fill of the finished tree.
TEST_F(LinkTreeFillTest, IncrementalAdditionsEqualAFullFill) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        Web graph;
        LinkTree grown;
        LinkTreeFill incremental;
        std::vector<WebNode*> nodes{graph.findOrAddNode(CUrl("http://h/0.htm"))};
        grown.setRoot(nodes[0]);
        std::vector<WebNode*> batch;
        for (int step = 1; step < 400; ++step) {
            const int choice = static_cast<int>(random() % 4);
            if (choice < 2) { // reach a node, new or known, from a known one
                const bool known = choice == 1 && nodes.size() > 2;
                WebNode* reached = known ? nodes[random() % nodes.size()]
                                         : graph.findOrAddNode(CUrl("http://h/" + std::to_string(step) + ".htm"));
                if (!known) {
                    nodes.push_back(reached);
                }
                grown.add(reached, nodes[random() % nodes.size()]);
                batch.push_back(reached);
            } else { // process a node, as a document or as a picture
                WebNode* processed = nodes[random() % nodes.size()];
                processed->setFlags(random() % 5 == 0 ? kFlagPicture : kShown);
                batch.push_back(processed);
            }
            if (random() % 7 == 0) {
                addFor(incremental, grown, batch);
                batch.clear();
            }
        }
        addFor(incremental, grown, batch);

        LinkTreeFill full;
        for (const LinkTreeEntry* entry : full.missingFromRoot(grown)) {
            full.add(*entry);
        }
        EXPECT_GT(full.size(), 10u) << seed;
        EXPECT_EQ(shape(incremental, grown), shape(full, grown)) << seed;
        grown.clear();
    }
}

TEST_F(LinkTreeFillTest, ChainTenThousandDeepFillsWithoutRecursion) {
    constexpr int kDepth = 10000;
    std::vector<WebNode*> chain{node("0.htm", 0)};
    tree.setRoot(chain[0]);
    for (int i = 1; i < kDepth; ++i) {
        chain.push_back(node(std::to_string(i) + ".htm", 0));
        tree.add(chain[i], chain[i - 1]);
    }
    LinkTreeFill fill;
    addFor(fill, tree, {});
    EXPECT_EQ(fill.size(), 1u); // the root only: nothing below is processed yet

    // Processing the whole chain and telling it bottom up adds it in one walk from the top.
    for (WebNode* link : chain) {
        link->setFlags(kShown);
    }
    std::vector<WebNode*> bottomUp(chain.rbegin(), chain.rend());
    const std::vector<const LinkTreeEntry*> missing = fill.missingFor(tree, bottomUp);
    ASSERT_EQ(missing.size(), static_cast<std::size_t>(kDepth - 1));
    for (const LinkTreeEntry* entry : missing) {
        fill.add(*entry);
    }
    const LinkTreeFill::Item* deepest = fill.item(chain.back()->linkTreeEntry());
    ASSERT_NE(deepest, nullptr);
    int depth = 0;
    for (const LinkTreeFill::Item* item = deepest; item->parent != nullptr; item = item->parent) {
        ++depth;
    }
    EXPECT_EQ(depth, kDepth - 1);

    LinkTreeFill full;
    EXPECT_EQ(full.missingFromRoot(tree).size(), static_cast<std::size_t>(kDepth));
    tree.clear();
}

} // namespace
} // namespace corvida
