// SPDX-License-Identifier: MIT
// The document's view work: new and changed nodes reach the views in batches, and a view
// pass refills a window a slice at a time. The nodes come from a graph of their own and are
// announced through the document's listener operations.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "doc/DocTestSupport.h"
#include "model/CUrl.h"
#include "model/Web.h"

namespace corvida {
namespace {

using test::MasterView;
using test::RecordingView;

class DocumentViewWorkTest : public test::DocFixture {
protected:
    // Adds count nodes to graph and announces each to document as new.
    std::vector<WebNode*> announce(CTamsoDoc& document, int count) {
        std::vector<WebNode*> nodes;
        for (int i = 0; i < count; ++i) {
            WebNode* node = graph.findOrAddNode(CUrl("http://127.0.0.1/n" + std::to_string(m_next++) + ".htm"));
            document.nodeAdded(node, true, nodes.empty() ? nullptr : nodes.front());
            nodes.push_back(node);
        }
        return nodes;
    }

    static void drain(CTamsoDoc& document) {
        for (int guard = 0; guard < 1000 && document.runIdle(); ++guard) {
        }
    }

    Web graph; // outlives the document, whose link tree refers to its nodes
    int m_next = 0;
};

bool evenNumber(const WebNode& node) {
    return node.number() % 2 == 0;
}

TEST_F(DocumentViewWorkTest, NewNodesThenChangedNodesReachTheShowingMaster) {
    MasterView master(evenNumber);
    RecordingView plain;
    CTamsoDoc document(settings, ui, transfers, nullptr);
    document.addView(&master);
    document.addView(&plain);

    const std::vector<WebNode*> nodes = announce(document, 45);
    drain(document);

    // Every view hears of the new nodes once, in order; then come the nodes the master shows,
    // 20 at a time, and the end of the insertion once.
    const std::vector<int> all = plain.hints();
    const auto at =
        static_cast<std::size_t>(std::find(all.begin(), all.end(), DocumentView::kHintNewNodes) - all.begin());
    ASSERT_LT(at, all.size());
    EXPECT_EQ(plain.received[at].nodes, nodes);
    EXPECT_EQ(plain.hints(at + 1), (std::vector<int>{1, 1, 4}));
    std::vector<std::size_t> batches;
    const std::vector<InsertRecord> records = plain.records(at, &batches);
    EXPECT_EQ(batches, (std::vector<std::size_t>{20, 3}));
    ASSERT_EQ(records.size(), 23u);
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].node, nodes[2 * i]);
        EXPECT_EQ(records[i].master, &master);
        EXPECT_FALSE(records[i].redrawOnly);
    }
    EXPECT_EQ(master.hints(), plain.hints());

    // Changed nodes: every view hears of them; the master's shown ones come back redraw-only.
    const std::size_t changedFrom = plain.received.size();
    document.nodeProcessed(nodes[1], false);
    document.linksChanged(nodes[2]);
    document.nodeReclassified(nodes[4]);
    drain(document);
    ASSERT_EQ(plain.hints(changedFrom), (std::vector<int>{DocumentView::kHintNodesChanged, 1, 4}));
    EXPECT_EQ(plain.received[changedFrom].nodes, (std::vector<WebNode*>{nodes[1], nodes[2], nodes[4]}));
    const std::vector<InsertRecord> redraws = plain.records(changedFrom);
    ASSERT_EQ(redraws.size(), 2u);
    EXPECT_EQ(redraws[0].node, nodes[2]);
    EXPECT_EQ(redraws[1].node, nodes[4]);
    EXPECT_TRUE(redraws[0].redrawOnly && redraws[1].redrawOnly);
}

TEST_F(DocumentViewWorkTest, ViewPassExaminesSixtyNodesPerRun) {
    MasterView master(evenNumber);
    RecordingView plain;
    CTamsoDoc document(settings, ui, transfers, nullptr);
    document.addView(&master);
    document.addView(&plain);
    const std::vector<WebNode*> nodes = announce(document, 130);
    drain(document);

    // Filtering empties the window first.
    std::size_t from = plain.received.size();
    ui.progress.clear();
    document.startViewPass(&master, "Filtering...");
    ASSERT_EQ(plain.hints(from), std::vector<int>{DocumentView::kHintReset});
    EXPECT_EQ(plain.received[from].master, &master);
    EXPECT_EQ(ui.statusTexts.back(), "Filtering...");

    EXPECT_TRUE(document.runIdle());
    EXPECT_EQ(ui.statusTexts.back(), "Filtering: 60 of 130");
    EXPECT_EQ(document.pendingRecordCount(), 30u);
    EXPECT_TRUE(document.runIdle());
    EXPECT_EQ(ui.statusTexts.back(), "Filtering: 120 of 130");
    EXPECT_EQ(plain.hints(from).size(), 1u); // nothing is handed over while the pass runs
    EXPECT_TRUE(document.runIdle());
    EXPECT_EQ(ui.statusTexts.back(), "");
    EXPECT_EQ(ui.progress, (std::vector<int>{46, 92, 0}));
    drain(document);

    std::vector<std::size_t> batches;
    const std::vector<InsertRecord> records = plain.records(from, &batches);
    EXPECT_EQ(batches, (std::vector<std::size_t>{20, 20, 20, 5}));
    ASSERT_EQ(records.size(), 65u);
    EXPECT_EQ(records.front().node, nodes[0]);
    EXPECT_EQ(records.back().node, nodes[128]);
    EXPECT_EQ(plain.hints().back(), DocumentView::kHintInsertDone);

    // A new view starts from an empty window: nothing is reset.
    from = plain.received.size();
    document.startViewPass(&master, "New View...");
    EXPECT_EQ(ui.statusTexts.back(), "New View...");
    drain(document);
    const std::vector<int> hints = plain.hints(from);
    EXPECT_EQ(std::count(hints.begin(), hints.end(), DocumentView::kHintReset), 0);
    EXPECT_EQ(plain.records(from).size(), 65u);
}

} // namespace
} // namespace corvida
