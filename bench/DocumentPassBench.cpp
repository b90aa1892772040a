// SPDX-License-Identifier: MIT
// The project document's view work at scale: a filter pass over 1,000,000 nodes in one window
// whose master shows filter 1 ("Resolved text and audio > 2K"), with a view that keeps the
// inserted rows, run by idle calls until the last record is handed over.

#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchDocument.h"
#include "app/Settings.h"
#include "doc/CTamsoDoc.h"
#include "doc/DocumentUi.h"
#include "doc/DocumentView.h"
#include "model/FilterSet.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "net/TransferFactory.h"
#include "support/QuietUi.h"

namespace {

using corvida::DocumentView;
using corvida::bench::NoTransfers;

constexpr std::size_t kNodes = 1000000;

// The master of a window that shows what filter 1 lets through.
class FilterMaster : public DocumentView {
public:
    bool isMaster() const override { return true; }
    bool shows(const corvida::WebNode& node) const override { return m_filters.at(1).passes(node); }
    void update(const Update& /*update*/) override {}

private:
    corvida::FilterSet m_filters;
};

// A view of that window: its rows, emptied when the window is reset.
class RowView : public DocumentView {
public:
    explicit RowView(const DocumentView& master) : m_master(master) {}

    void update(const Update& update) override {
        if (update.hint == Hint::Reset && update.master == &m_master) {
            rows.clear();
        } else if (update.hint == Hint::Insert) {
            for (const corvida::InsertRecord& record : update.records) {
                if (record.master == &m_master && !record.redrawOnly) {
                    rows.push_back(record.node);
                }
            }
        }
    }

    std::vector<const corvida::WebNode*> rows;

private:
    const DocumentView& m_master;
};

void BM_FilterPassMillionNodesOneWindow(benchmark::State& state) {
    corvida::Settings settings;
    corvida::QuietUi ui;
    NoTransfers transfers;
    corvida::Web web;
    FilterMaster master;
    RowView view(master);
    corvida::CTamsoDoc document(settings, ui, transfers, nullptr);
    document.addView(&master);
    document.addView(&view);
    static const char* const kExtensions[] = {".html", ".gif", ".wav", ".txt"};
    corvida::WebNode* root = nullptr;
    for (std::size_t i = 0; i < kNodes; ++i) {
        corvida::WebNode* node =
            web.findOrAddNode(corvida::CUrl("http://www.example.com/section" + std::to_string(i % 20) + "/item" +
                                            std::to_string(i) + kExtensions[i % 4]));
        node->setSize(static_cast<std::int32_t>((i * 7919) % 20000));
        node->setFlags(i % 50 == 0 ? corvida::kFlagFetchStarted : corvida::kFlagFetchStarted | corvida::kFlagFetched);
        document.nodeAdded(node, true, root);
        root = root == nullptr ? node : root;
    }
    while (document.runIdle()) {
    }

    std::size_t idleCalls = 0;
    for (auto _ : state) {
        document.startViewPass(&master, corvida::CTamsoDoc::kFilteringStatus);
        do {
            ++idleCalls;
        } while (document.runIdle());
        benchmark::DoNotOptimize(view.rows.data());
    }
    state.counters["rows"] = static_cast<double>(view.rows.size());
    state.counters["idle_calls"] = static_cast<double>(idleCalls) / static_cast<double>(state.iterations());
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kNodes));
    document.closeDocument();
}
BENCHMARK(BM_FilterPassMillionNodesOneWindow)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
