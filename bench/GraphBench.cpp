// SPDX-License-Identifier: MIT
// The site graph at scale: find-or-add of 1,000,000 distinct URLs, then 10,000,000 add-link
// calls among them, shaped like a large site (every page links to the home page and to a
// few section pages, the rest to pages nearby), then one read of every neighbour list in
// URL order. Reports the time of each phase and the peak resident memory.

#include <sys/resource.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "model/Web.h"

namespace {

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_GraphMillionNodesTenMillionLinks(benchmark::State& state) {
    constexpr int kNodes = 1000000;
    constexpr int kLinksPerNode = 10;
    constexpr int kSections = 20;
    std::vector<corvida::CUrl> urls;
    urls.reserve(kNodes);
    for (int i = 0; i < kNodes; ++i) {
        urls.emplace_back("http://www.example.com/section" + std::to_string(i % kSections) + "/page" +
                          std::to_string(i) + ".html");
    }
    for (auto _ : state) {
        corvida::Web web;
        auto start = std::chrono::steady_clock::now();
        std::vector<corvida::WebNode*> nodes;
        nodes.reserve(kNodes);
        for (const corvida::CUrl& url : urls) {
            nodes.push_back(web.findOrAddNode(url));
        }
        const double addSeconds = secondsSince(start);

        std::mt19937 random(1);
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < kNodes; ++i) {
            corvida::WebNode* from = nodes[static_cast<std::size_t>(i)];
            web.addLink(from, urls[0], 1, false);                                           // home
            web.addLink(from, urls[static_cast<std::size_t>(1 + i % kSections)], 1, false); // section
            for (int j = 2; j < kLinksPerNode; ++j) {
                const int offset = static_cast<int>(random() % 2000) - 1000;
                const int target = std::clamp(i + offset, 0, kNodes - 1);
                web.addLink(from, urls[static_cast<std::size_t>(target)], 2, false);
            }
        }
        const double linkSeconds = secondsSince(start);

        start = std::chrono::steady_clock::now();
        std::size_t entries = web.nodes().size();
        for (const corvida::WebNode* node : web.nodes()) {
            entries += node->inNeighbours().sorted().size() + node->outNeighbours().sorted().size();
        }
        const double readSeconds = secondsSince(start);
        benchmark::DoNotOptimize(entries);

        state.counters["add_nodes_s"] = addSeconds;
        state.counters["add_links_s"] = linkSeconds;
        state.counters["read_sorted_s"] = readSeconds;
        state.counters["total_s"] = addSeconds + linkSeconds + readSeconds;
        state.counters["peak_rss_MiB"] = peakResidentMiB();
    }
}
BENCHMARK(BM_GraphMillionNodesTenMillionLinks)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
