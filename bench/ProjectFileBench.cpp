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

#include "BenchSite.h"
#include "doc/ProjectStore.h"
#include "model/LinkTree.h"
#include "model/ProjectFile.h"
#include "model/Web.h"

namespace {

using corvida::bench::kNodes;
using corvida::bench::makeSite;

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
