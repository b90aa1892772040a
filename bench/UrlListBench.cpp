// SPDX-License-Identifier: MIT
// The URL list of a large project: one filter pass of filter 1 ("Resolved text and audio >
// 2K") and of filter 0 over 1,000,000 nodes, and the comma-separated and HTML exports of
// 100,000 rows with every column written.

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "model/FilterSet.h"
#include "model/Web.h"
#include "report/UrlListExport.h"

namespace {

// A Web of pages, pictures and sounds with sizes, titles, dates and a few broken nodes.
const std::vector<const corvida::WebNode*>& sampleNodes(std::size_t count) {
    static corvida::Web web;
    static std::vector<const corvida::WebNode*> nodes;
    static const char* const kExtensions[] = {".html", ".gif", ".wav", ".txt"};
    while (nodes.size() < count) {
        const std::size_t i = nodes.size();
        corvida::WebNode* node =
            web.findOrAddNode(corvida::CUrl("http://www.example.com/section" + std::to_string(i % 20) + "/item" +
                                            std::to_string(i) + kExtensions[i % 4]));
        node->setSize(static_cast<std::int32_t>((i * 7919) % 20000));
        node->setLevel(static_cast<std::int32_t>(i % 6));
        node->setLastModified(820837200 + static_cast<std::int32_t>(i));
        node->setTitle("Item " + std::to_string(i) + ", part of the catalogue");
        node->setFlags(i % 50 == 0 ? corvida::kFlagFetchStarted : corvida::kFlagFetchStarted | corvida::kFlagFetched);
        nodes.push_back(node);
    }
    return nodes;
}

void filterPass(benchmark::State& state, std::size_t slot) {
    const std::vector<const corvida::WebNode*>& nodes = sampleNodes(1000000);
    const corvida::FilterSet filters;
    const corvida::Filter& filter = filters.at(slot);
    for (auto _ : state) {
        std::size_t shown = 0;
        for (const corvida::WebNode* node : nodes) {
            shown += filter.passes(*node) ? 1 : 0;
        }
        benchmark::DoNotOptimize(shown);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1000000);
}

void BM_FilterPassResolvedTextMillionNodes(benchmark::State& state) {
    filterPass(state, 1);
}
BENCHMARK(BM_FilterPassResolvedTextMillionNodes)->Unit(benchmark::kMillisecond);

void BM_FilterPassAllMillionNodes(benchmark::State& state) {
    filterPass(state, 0);
}
BENCHMARK(BM_FilterPassAllMillionNodes)->Unit(benchmark::kMillisecond);

void exportRows(benchmark::State& state, bool html) {
    const std::vector<const corvida::WebNode*>& all = sampleNodes(1000000);
    const std::vector<const corvida::WebNode*> rows(all.begin(), all.begin() + 100000);
    const corvida::UrlListExport exporter(corvida::defaultColumnTable(), corvida::UrlListExport::Columns::All,
                                          "catalogue");
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string out = html ? exporter.html(rows) : exporter.commaSeparated(rows);
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_ExportCommaSeparated100kRows(benchmark::State& state) {
    exportRows(state, false);
}
BENCHMARK(BM_ExportCommaSeparated100kRows)->Unit(benchmark::kMillisecond);

void BM_ExportHtml100kRows(benchmark::State& state) {
    exportRows(state, true);
}
BENCHMARK(BM_ExportHtml100kRows)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
