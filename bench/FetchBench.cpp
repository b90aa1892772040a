// SPDX-License-Identifier: MIT
// Fetching many small files from a loopback server with a fixed number of transfers at once,
// as a crawl's fetch slots do: each file is a GET into its own output file, and a slot starts
// its next file when the previous one has ended. Reports files per second.
//
// The server and the file list come from the environment (bench/fetch-bench.sh sets them up):
//   CORVIDA_FETCH_BASE   URL prefix, e.g. http://127.0.0.1:8080/
//   CORVIDA_FETCH_COUNT  files f00000.html ... under it (default 10000)
//   CORVIDA_FETCH_OUT    directory for the fetched files, one new subdirectory per round
//                        (default: a temporary directory)

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include "net/HttpRequestHeaders.h"
#include "net/HttpTransfer.h"
#include "net/TransferListener.h"

namespace {

using corvida::HttpRequestHeaders;

// CPU seconds (user and system) used by this process so far.
double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}
using corvida::HttpTransfer;

std::string fileName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "f%05d.html", index);
    return name;
}

// Runs count fetches with concurrency transfers at once until all have ended.
class FetchPool {
public:
    FetchPool(std::string base, std::string outDir, int count, int concurrency)
        : m_base(std::move(base)), m_outDir(std::move(outDir)), m_count(count), m_slots(concurrency) {
        m_headers.userAgent = "Corvida-Bench/1.0";
        m_headers.accept = "*/*";
    }

    // Returns the number of files that failed.
    int run() {
        for (int slot = 0; slot < m_slots; ++slot) {
            m_slotList.push_back(std::make_unique<Slot>(*this));
        }
        for (auto& slot : m_slotList) {
            startNext(*slot);
        }
        if (m_ended < m_count) {
            m_loop.exec();
        }
        return m_failed;
    }

private:
    struct Slot : corvida::TransferListener {
        explicit Slot(FetchPool& owner) : pool(owner) {}
        void statusText(std::string_view) override {}
        void percent(int) override {}
        void headers(int status, std::string_view, const corvida::HttpReplyHeaders&,
                     const corvida::HttpEntityHeaders&) override {
            okStatus = status == 200;
        }
        void end(bool success, int, int) override { pool.ended(*this, success && okStatus); }

        FetchPool& pool;
        std::unique_ptr<HttpTransfer> transfer;
        bool okStatus = false;
    };

    void startNext(Slot& slot) {
        if (m_next >= m_count) {
            return;
        }
        const std::string name = fileName(m_next++);
        // The slot's finished transfer is destroyed here, outside its own report.
        slot.transfer = std::make_unique<HttpTransfer>(16384);
        slot.okStatus = false;
        if (slot.transfer->getIntoFile(slot, m_base + name, m_outDir + "/" + name, m_headers) ==
            corvida::TransferStart::FileNotCreated) {
            ended(slot, false);
        }
    }

    void ended(Slot& slot, bool success) {
        ++m_ended;
        m_failed += success ? 0 : 1;
        if (m_ended == m_count) {
            m_loop.quit();
            return;
        }
        QTimer::singleShot(0, &m_loop, [this, &slot] { startNext(slot); });
    }

    std::string m_base;
    std::string m_outDir;
    int m_count;
    int m_slots;
    HttpRequestHeaders m_headers;
    std::vector<std::unique_ptr<Slot>> m_slotList;
    QEventLoop m_loop;
    int m_next = 0;
    int m_ended = 0;
    int m_failed = 0;
};

void BM_FetchSmallFiles(benchmark::State& state) {
    const char* base = std::getenv("CORVIDA_FETCH_BASE");
    if (base == nullptr) {
        state.SkipWithError("CORVIDA_FETCH_BASE is not set; run bench/fetch-bench.sh");
        return;
    }
    const char* countText = std::getenv("CORVIDA_FETCH_COUNT");
    const int count = countText != nullptr ? std::atoi(countText) : 10000;
    const char* outText = std::getenv("CORVIDA_FETCH_OUT");
    QTemporaryDir temporary;
    const std::string outDir = outText != nullptr ? std::string(outText) : temporary.path().toStdString();
    const int concurrency = static_cast<int>(state.range(0));

    int failed = 0;
    double seconds = 0;
    const double cpuBefore = processCpuSeconds();
    int round = 0;
    for (auto _ : state) {
        // Each round writes new files into an empty directory, as a crawl does: rewriting
        // existing files would measure the file system's truncation instead.
        const std::string roundDir = outDir + "/" + std::to_string(concurrency) + "-" + std::to_string(round++);
        std::filesystem::remove_all(roundDir);
        std::filesystem::create_directories(roundDir);
        const auto start = std::chrono::steady_clock::now();
        failed += FetchPool(base, roundDir, count, concurrency).run();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (failed > 0) {
        state.SkipWithError((std::to_string(failed) + " fetches failed").c_str());
        return;
    }
    const double files = static_cast<double>(count) * static_cast<double>(state.iterations());
    state.counters["files_per_second"] = files / seconds;
    // Independent of how busy the machine is: the client's own CPU time per 1000 files.
    state.counters["cpu_ms_per_1000"] = (processCpuSeconds() - cpuBefore) * 1e6 / files;
}

BENCHMARK(BM_FetchSmallFiles)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
