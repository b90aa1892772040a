// SPDX-License-Identifier: MIT
// The Wavefront map at scale, under the offscreen platform: 100,000 nodes on 12 levels fed in
// the document's 20-record batches (time per batch), a full paint of a 1920x1080 viewport
// into a QImage (the whole map lies in it, so every icon is drawn), hit tests and pans with
// 1,000 against 100,000 nodes (both should cost the same), and the whole 100,000-node map drawn
// to a PNG file as `corvida-cli map` draws it.

#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "OffscreenBenchmarks.h"
#include "cli/ProjectMap.h"
#include "doc/DocumentView.h"
#include "drawing/WavefrontPainter.h"
#include "model/CUrl.h"
#include "model/FilterSet.h"
#include "model/WebNode.h"
#include "viewlogic/WavefrontNodes.h"

namespace {

using namespace corvida;

constexpr int kLevels = 12;
constexpr std::size_t kBatch = 20;

class BenchMaster : public DocumentView {
public:
    bool isMaster() const override { return true; }
    void update(const Update&) override {}
};

// Nodes in the order a crawl finds them: level by level, each level about 1.3 times the one
// before, processed pages of the local server.
const std::vector<std::unique_ptr<WebNode>>& siteNodes(std::size_t count) {
    static std::map<std::size_t, std::vector<std::unique_ptr<WebNode>>> sites;
    auto& nodes = sites[count];
    if (!nodes.empty()) {
        return nodes;
    }
    double weight = 1.0;
    double total = 0.0;
    std::vector<double> weights;
    for (int level = 1; level < kLevels; ++level) {
        weights.push_back(weight);
        total += weight;
        weight *= 1.3;
    }
    nodes.reserve(count);
    for (int level = 0; level < kLevels; ++level) {
        const std::size_t share =
            level == 0 ? 1 : static_cast<std::size_t>(static_cast<double>(count - 1) * weights[level - 1] / total);
        for (std::size_t i = 0; i < share && nodes.size() < count; ++i) {
            auto node = std::make_unique<WebNode>(CUrl("http://bench.test/p" + std::to_string(nodes.size()) + ".html"));
            node->setLevel(level);
            node->setFlags(kFlagHttp | kFlagProcessed | kFlagLocalServer);
            nodes.push_back(std::move(node));
        }
    }
    while (nodes.size() < count) {
        auto node = std::make_unique<WebNode>(CUrl("http://bench.test/p" + std::to_string(nodes.size()) + ".html"));
        node->setLevel(kLevels - 1);
        node->setFlags(kFlagHttp | kFlagProcessed | kFlagLocalServer);
        nodes.push_back(std::move(node));
    }
    return nodes;
}

// Feeds the nodes in 20-record batches; returns the number of batches.
std::size_t feed(WavefrontNodes& map, DocumentView& master, std::size_t count) {
    const auto& nodes = siteNodes(count);
    std::vector<InsertRecord> batch;
    std::size_t batches = 0;
    for (const auto& node : nodes) {
        batch.push_back({node.get(), &master, false});
        if (batch.size() == kBatch) {
            map.insert(batch, &master);
            batch.clear();
            ++batches;
        }
    }
    if (!batch.empty()) {
        map.insert(batch, &master);
        ++batches;
    }
    return batches;
}

void BM_InsertBatches(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    siteNodes(count);
    BenchMaster master;
    std::size_t batches = 0;
    for (auto _ : state) {
        WavefrontNodes map;
        batches = feed(map, master, count);
        benchmark::DoNotOptimize(map.size());
    }
    state.counters["batches"] = static_cast<double>(batches);
    state.counters["per_batch"] =
        benchmark::Counter(static_cast<double>(batches) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_InsertBatches)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PaintViewport(benchmark::State& state) {
    BenchMaster master;
    WavefrontNodes map;
    feed(map, master, static_cast<std::size_t>(state.range(0)));
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    const WavefrontPainter painter(map, WavefrontColours());
    const QRegion viewport(-960, -540, 1920, 1080);
    for (auto _ : state) {
        QPainter device(&image);
        device.translate(960, 540);
        painter.paint(device, viewport);
    }
}
BENCHMARK(BM_PaintViewport)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_HitTest(benchmark::State& state) {
    BenchMaster master;
    WavefrontNodes map;
    feed(map, master, static_cast<std::size_t>(state.range(0)));
    const WavefrontLayout& layout = map.layout();
    std::mt19937 random(7);
    std::vector<QPoint> points;
    for (int i = 0; i < 4096; ++i) {
        points.push_back(layout.iconCentre(static_cast<WavefrontNodes::Index>(random() % map.size())) +
                         QPoint(static_cast<int>(random() % 9) - 4, static_cast<int>(random() % 9) - 4));
    }
    for (const QPoint point : points) { // every level filed once, as after the first moves
        benchmark::DoNotOptimize(layout.hits(point));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(layout.firstHit(points[i++ % points.size()]));
    }
}
BENCHMARK(BM_HitTest)->Arg(1'000)->Arg(100'000);

void BM_PanAndHover(benchmark::State& state) {
    BenchMaster master;
    WavefrontNodes map;
    feed(map, master, static_cast<std::size_t>(state.range(0)));
    const QPoint pointer = map.layout().iconCentre(0);
    map.layout().hits(pointer);
    int step = 1;
    for (auto _ : state) {
        map.pan(QPoint(step, -step));
        step = -step;
        benchmark::DoNotOptimize(map.layout().firstHit(pointer));
    }
}
BENCHMARK(BM_PanAndHover)->Arg(1'000)->Arg(100'000);

void BM_MapCommand(benchmark::State& state) {
    const auto& nodes = siteNodes(static_cast<std::size_t>(state.range(0)));
    std::vector<WebNode*> order;
    for (const auto& node : nodes) {
        order.push_back(node.get());
    }
    const FilterSet filters;
    const std::string path =
        (std::filesystem::temp_directory_path() / ("corvida-wavefront-bench-" + std::to_string(::getpid()) + ".png"))
            .string();
    for (auto _ : state) {
        ProjectMap map;
        map.show(order, filters.at(FilterSet::kAllSlot));
        if (!map.write(path).isOk()) {
            state.SkipWithError("cannot write the map");
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_MapCommand)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return corvida::bench::runOffscreenBenchmarks<QGuiApplication>(argc, argv);
}
