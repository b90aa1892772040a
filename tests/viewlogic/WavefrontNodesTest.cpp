// SPDX-License-Identifier: MIT
#include "viewlogic/WavefrontNodes.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "doc/DocumentView.h"
#include "model/CUrl.h"
#include "model/WebNode.h"

namespace corvida {
namespace {

class Master : public DocumentView {
public:
    bool isMaster() const override { return true; }
    void update(const Update&) override {}
};

class WavefrontNodesTest : public ::testing::Test {
protected:
    WebNode* node(int level, const std::string& path = {}) {
        const std::string name = path.empty() ? "p" + std::to_string(m_nodes.size()) + ".html" : path;
        m_nodes.push_back(std::make_unique<WebNode>(CUrl("http://example.test/" + name)));
        m_nodes.back()->setLevel(level);
        return m_nodes.back().get();
    }
    InsertRecord record(WebNode* node, bool redrawOnly = false, DocumentView* master = nullptr) {
        return {node, master != nullptr ? master : &m_master, redrawOnly};
    }

    Master m_master;
    Master m_other;
    std::vector<std::unique_ptr<WebNode>> m_nodes;
};

TEST_F(WavefrontNodesTest, InsertAppliesTheRulesOfABatch) {
    WavefrontNodes nodes;
    WebNode* start = node(0);
    WebNode* page = node(2);
    WebNode* foreign = node(1);
    WebNode* unreached = node(-1);
    const std::vector<InsertRecord> batch = {record(start), record(foreign, false, &m_other), record(page),
                                             record(unreached), record(start)};
    const auto result = nodes.insert(batch, &m_master);
    EXPECT_TRUE(result.added);
    EXPECT_EQ(nodes.size(), 2u);
    EXPECT_EQ(result.firstRing(), 1);
    EXPECT_EQ(result.lastRing(), 3);
    EXPECT_EQ(result.canvasChange, 192);
    EXPECT_EQ(result.redraw, std::vector<WavefrontNodes::Index>{0}); // the duplicate start record
    EXPECT_EQ(nodes.indexOf(page), 1u);
    EXPECT_FALSE(nodes.indexOf(foreign).has_value());
    EXPECT_FALSE(nodes.indexOf(unreached).has_value());
    // Straight above, up to the truncation of the position.
    EXPECT_LE((nodes.layout().iconCentre(1) - nodes.layout().centre() - QPoint(0, -64)).manhattanLength(), 2);

    // Redraw-only records of nodes here are drawn again, of other nodes added; nothing is laid
    // out for a batch of redraws.
    const std::vector<InsertRecord> redraws = {record(page, true)};
    const auto again = nodes.insert(redraws, &m_master);
    EXPECT_FALSE(again.added);
    EXPECT_GT(again.firstLevel, again.lastLevel);
    EXPECT_EQ(again.redraw, std::vector<WavefrontNodes::Index>{1});
    const std::vector<InsertRecord> late = {record(node(1), true)};
    EXPECT_TRUE(nodes.insert(late, &m_master).added);

    // Redraws of nodes on hidden levels are not asked for.
    nodes.setMaxLevel(1);
    EXPECT_TRUE(nodes.insert(redraws, &m_master).redraw.empty());

    nodes.clear();
    EXPECT_FALSE(nodes.indexOf(start).has_value());
    EXPECT_TRUE(nodes.insert(batch, &m_master).added);
}

TEST_F(WavefrontNodesTest, HoldsMoreNodesThanSixteenBitIndexes) {
    WavefrontNodes nodes;
    constexpr int kCount = 70'000;
    std::vector<InsertRecord> batch;
    for (int i = 0; i < kCount; ++i) {
        batch.push_back(record(node(3 - i % 3)));
    }
    nodes.insert(batch, &m_master);
    const auto last = static_cast<WavefrontNodes::Index>(kCount - 1);
    EXPECT_EQ(nodes.indexOf(m_nodes.back().get()), last);
    EXPECT_EQ(nodes.layout().levelNodes(3).back(), last);
    const auto hits = nodes.layout().hits(nodes.layout().iconCentre(last));
    EXPECT_EQ(hits.back(), last);
}

TEST_F(WavefrontNodesTest, ThumbnailsEnlargeOnlyPicturesThatHaveOne) {
    WavefrontNodes nodes;
    WebNode* picture = node(1, "p.gif");
    WebNode* pending = node(1, "q.gif");
    WebNode* page = node(1, "r.html");
    picture->setFlags(kFlagHttp | kFlagPicture | kFlagFetchStarted | kFlagFetched);
    picture->setSize(100);
    const std::vector<InsertRecord> batch = {record(picture), record(pending), record(page)};
    nodes.insert(batch, &m_master);
    EXPECT_TRUE(nodes.setThumbnails(true));
    EXPECT_FALSE(nodes.setThumbnails(true));
    EXPECT_TRUE(nodes.thumbnailFlag(1));
    EXPECT_FALSE(nodes.thumbnailFlag(2));
    EXPECT_EQ(nodes.layout().iconRect(0).size(), QSize(32, 32));
    EXPECT_EQ(nodes.layout().iconRect(1).size(), QSize(16, 16));
    EXPECT_LE((nodes.layout().iconCentre(0) - nodes.layout().centre() - QPoint(0, -32)).manhattanLength(), 2);

    // The pending picture arrives: its redraw lays its level out with the large icon.
    pending->setFlags(kFlagHttp | kFlagPicture | kFlagFetchStarted | kFlagFetched);
    pending->setSize(5);
    const std::vector<InsertRecord> redraw = {record(pending, true)};
    const auto result = nodes.insert(redraw, &m_master);
    EXPECT_EQ(std::pair(result.firstLevel, result.lastLevel), std::pair(1, 1));
    EXPECT_EQ(nodes.layout().iconRect(1).size(), QSize(32, 32));

    nodes.setThumbnails(false);
    EXPECT_EQ(nodes.layout().iconRect(0).size(), QSize(16, 16));
}

} // namespace
} // namespace corvida
