// SPDX-License-Identifier: MIT
// The Wavefront map widget at scale, shown at 1920 x 1080 under the offscreen platform:
// 100,000 nodes over 12 levels fed in 20-record batches as the document feeds them, each
// batch's insert and repaint of its annulus; a full repaint; and the handling of a panning
// drag and of pointer moves over the rings with 1,000 against 100,000 nodes (they must not
// grow with the node count).

#include <algorithm>
#include <chrono>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "OffscreenBenchmarks.h"
#include "app/Settings.h"
#include "doc/CTamsoDoc.h"
#include "model/CUrl.h"
#include "model/FilterSet.h"
#include "model/WebNode.h"
#include "net/NetworkTransferFactory.h"
#include "support/QuietUi.h"
#include "views/MasterView.h"
#include "views/WavefrontView.h"

namespace {

using corvida::InsertRecord;
using corvida::WavefrontLayout;
using corvida::WavefrontView;
using corvida::WebNode;

constexpr int kLevels = 12;
constexpr std::size_t kBatch = 20;

// A document with one master and a map of it in a shown 1920 x 1080 window.
struct Map {
    Map() {
        settings.workingDirectory = folder.path().toStdString() + "/";
        document.addView(&master);
        view = std::make_unique<WavefrontView>(document, master);
        view->resize(1920, 1080);
        view->show();
        QApplication::processEvents();
    }
    ~Map() {
        view.reset();
        document.removeView(&master);
    }

    // count nodes over kLevels levels, deeper levels holding more, in level order as a crawl
    // finds them.
    std::vector<std::unique_ptr<WebNode>> makeNodes(std::size_t count) {
        std::vector<std::unique_ptr<WebNode>> nodes;
        nodes.reserve(count);
        const std::size_t weights = kLevels * (kLevels - 1) / 2; // levels 1..11 by their number
        for (int level = 0; level < kLevels && nodes.size() < count; ++level) {
            const std::size_t share = level == 0 ? 1 : (count - 1) * static_cast<std::size_t>(level) / weights;
            for (std::size_t number = 0; number < share && nodes.size() < count; ++number) {
                nodes.push_back(std::make_unique<WebNode>(
                    corvida::CUrl("http://127.0.0.1/" + std::to_string(level) + "/" + std::to_string(number))));
                nodes.back()->setLevel(level);
                nodes.back()->setFlags(corvida::kFlagHttp | corvida::kFlagProcessed | corvida::kFlagFetchStarted |
                                       corvida::kFlagFetched | corvida::kFlagDocument);
            }
        }
        while (nodes.size() < count) { // rounding: the rest on the last level
            nodes.push_back(
                std::make_unique<WebNode>(corvida::CUrl("http://127.0.0.1/r/" + std::to_string(nodes.size()))));
            nodes.back()->setLevel(kLevels - 1);
        }
        return nodes;
    }

    // Feeds nodes in batches; returns each batch's insert-and-repaint time in milliseconds, and
    // adds up the time of the inserts alone.
    std::vector<double> feed(const std::vector<std::unique_ptr<WebNode>>& nodes, double* insertMs = nullptr) {
        std::vector<double> times;
        QRegion dirty;
        view->setRepaintHook([&dirty](const QRegion& region) { dirty += region; });
        std::vector<InsertRecord> records;
        for (std::size_t first = 0; first < nodes.size(); first += kBatch) {
            records.clear();
            for (std::size_t index = first; index < std::min(nodes.size(), first + kBatch); ++index) {
                records.push_back({nodes[index].get(), &master, false});
            }
            dirty = QRegion();
            QElapsedTimer clock;
            clock.start();
            view->update(
                {.hint = corvida::DocumentView::Hint::Insert, .master = &master, .records = records, .nodes = {}});
            if (insertMs != nullptr) {
                *insertMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
            }
            view->viewport()->repaint(dirty);
            times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
        view->setRepaintHook({});
        return times;
    }

    double fullRepaintMs(int rounds) {
        QElapsedTimer clock;
        clock.start();
        for (int round = 0; round < rounds; ++round) {
            view->viewport()->repaint();
        }
        return static_cast<double>(clock.nsecsElapsed()) / 1e6 / rounds;
    }

    void mouse(QEvent::Type type, QPoint point, Qt::MouseButtons buttons) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, point, view->viewport()->mapToGlobal(point), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    }

    // Average handling time of a drag on empty space, per move, in microseconds (the strips the
    // pan uncovers are painted later, outside the handler).
    double panMoveUs(int moves) {
        const QPoint start(8, 8);
        mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
        QElapsedTimer clock;
        clock.start();
        for (int move = 0; move < moves; ++move) {
            mouse(QEvent::MouseMove, start + QPoint(move % 2, move % 2), Qt::LeftButton);
        }
        const double result = static_cast<double>(clock.nsecsElapsed()) / 1e3 / moves;
        mouse(QEvent::MouseButtonRelease, start, Qt::NoButton);
        QApplication::processEvents();
        return result;
    }

    // Average handling time of a pointer move without a button over the outer rings, in
    // microseconds: each one hit-tests.
    double hoverMoveUs(int moves) {
        const QPoint centre = WavefrontLayout::toDevice(view->layout().centre(), view->viewport()->size());
        const int radius = (kLevels - 1) * view->layout().ringStep();
        QElapsedTimer clock;
        clock.start();
        for (int move = 0; move < moves; ++move) {
            mouse(QEvent::MouseMove, centre + QPoint(radius - move % 64, move % 32), Qt::NoButton);
        }
        return static_cast<double>(clock.nsecsElapsed()) / 1e3 / moves;
    }

    QTemporaryDir folder;
    corvida::Settings settings;
    corvida::QuietUi ui;
    corvida::NetworkTransferFactory transfers;
    corvida::CTamsoDoc document{settings, ui, transfers, nullptr};
    corvida::FilterSet filters;
    corvida::MasterView master{document, filters};
    std::unique_ptr<WavefrontView> view;
};

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

void BM_WavefrontHundredThousandNodes(benchmark::State& state) {
    for (auto _ : state) {
        Map map;
        const auto nodes = map.makeNodes(100'000);
        QElapsedTimer clock;
        clock.start();
        double insertMs = 0;
        const std::vector<double> batches = map.feed(nodes, &insertMs);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        state.counters["insert_mean_ms"] = insertMs / static_cast<double>(batches.size());
        state.counters["nodes"] = static_cast<double>(map.view->nodes().size());
        state.counters["batch_mean_ms"] =
            std::accumulate(batches.begin(), batches.end(), 0.0) / static_cast<double>(batches.size());
        state.counters["batch_p99_ms"] = percentile(batches, 0.99);
        state.counters["batch_max_ms"] = percentile(batches, 1.0);
        state.counters["full_repaint_ms"] = map.fullRepaintMs(10);
        state.counters["pan_move_us"] = map.panMoveUs(2000);
        state.counters["hover_move_us"] = map.hoverMoveUs(2000);
    }
}
BENCHMARK(BM_WavefrontHundredThousandNodes)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WavefrontThousandNodes(benchmark::State& state) {
    for (auto _ : state) {
        Map map;
        const auto nodes = map.makeNodes(1'000);
        map.feed(nodes);
        QElapsedTimer clock;
        clock.start();
        state.counters["full_repaint_ms"] = map.fullRepaintMs(10);
        state.counters["pan_move_us"] = map.panMoveUs(2000);
        state.counters["hover_move_us"] = map.hoverMoveUs(2000);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_WavefrontThousandNodes)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return corvida::bench::runOffscreenBenchmarks<QApplication>(argc, argv);
}
