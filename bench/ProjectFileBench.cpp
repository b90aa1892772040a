// SPDX-License-Identifier: MIT
// Saving and opening a 100,000-node project: each node with a title, a status, and ten
// links shaped like a site (home page, section pages, pages nearby). Save covers encoding,
// the compound file and the replacing write; open covers reading, checking and building
// the Web. Also times the link-tree rebuild of the opened project.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "doc/ProjectStore.h"
#include "model/LinkTree.h"
#include "model/ProjectFile.h"
#include "model/Web.h"

namespace {

constexpr int kNodes = 100000;
constexpr int kLinksPerNode = 10;
constexpr int kSections = 20;

std::unique_ptr<corvida::Web> makeSite() {
    auto web = std::make_unique<corvida::Web>();
    web->settings().setWorkingDirectory("/tmp/corvida/bench/");
    std::vector<corvida::WebNode*> nodes;
    nodes.reserve(kNodes);
    corvida::WebNode* home = web->findOrAddNode(corvida::CUrl("http://www.example.com/index.html"));
    web->setStartNode(home);
    home->setLevel(0);
    nodes.push_back(home);
    for (int i = 1; i < kNodes; ++i) {
        corvida::WebNode* node = web->findOrAddNode(corvida::CUrl(
            "http://www.example.com/section" + std::to_string(i % kSections) + "/page" + std::to_string(i) + ".html"));
        node->setLevel(1 + i % 5);
        node->setTitle("Page " + std::to_string(i));
        node->setStatus(200, "OK", "");
        node->setFlags(corvida::kFlagFetched | corvida::kFlagProcessed);
        nodes.push_back(node);
    }
    std::mt19937 random(1);
    for (int i = 0; i < kNodes; ++i) {
        const auto link = [&](int target) {
            corvida::WebNode* from = nodes[static_cast<std::size_t>(i)];
            corvida::WebNode* to = nodes[static_cast<std::size_t>(target)];
            if (from != to && from->linkOut(to)) {
                to->linkIn(from);
            }
        };
        link(0);
        link(1 + static_cast<int>(random() % kSections));
        for (int k = 2; k < kLinksPerNode; ++k) {
            link((i + 1 + static_cast<int>(random() % 200)) % kNodes);
        }
    }
    return web;
}

std::string benchPath() {
    return (std::filesystem::temp_directory_path() / ("corvida-bench-" + std::to_string(::getpid()) + ".zpj")).string();
}

void BM_SaveProject(benchmark::State& state) {
    const std::unique_ptr<corvida::Web> web = makeSite();
    const std::string path = benchPath();
    for (auto _ : state) {
        const corvida::Status saved = corvida::ProjectStore::save(path, {}, web.get());
        if (!saved.isOk()) {
            state.SkipWithError(saved.message().c_str());
        }
    }
    state.counters["MiB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenProject(benchmark::State& state) {
    const std::string path = benchPath();
    {
        const std::unique_ptr<corvida::Web> web = makeSite();
        if (!corvida::ProjectStore::save(path, {}, web.get()).isOk()) {
            state.SkipWithError("cannot save");
            return;
        }
    }
    for (auto _ : state) {
        const corvida::ProjectFile::Loaded loaded = corvida::ProjectStore::load(path, nullptr);
        if (loaded.web == nullptr) {
            state.SkipWithError(loaded.status.message().c_str());
        }
        benchmark::DoNotOptimize(loaded.web.get());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RebuildLinkTree(benchmark::State& state) {
    const std::unique_ptr<corvida::Web> web = makeSite();
    for (auto _ : state) {
        corvida::LinkTree tree;
        tree.rebuild(web->startNode());
        benchmark::DoNotOptimize(tree.entryCount());
    }
}
BENCHMARK(BM_RebuildLinkTree)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
