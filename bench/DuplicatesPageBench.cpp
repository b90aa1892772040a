// SPDX-License-Identifier: MIT
// The report's duplicates page over 5,000 fetched documents of one download size (4 KiB),
// whose files hold 1, 10 or 5,000 different contents. Files are written once under TMPDIR
// (default /tmp). Reports the files opened per run, which must grow linearly with the
// documents, not with their pairs.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "model/LocalNames.h"
#include "model/Web.h"
#include "report/DuplicateFinder.h"
#include "report/DuplicatesPage.h"
#include "report/ReportContext.h"

namespace {

constexpr int kDocuments = 5000;
constexpr std::size_t kFileSize = 4096;

struct Site {
    std::string directory;
    std::unique_ptr<corvida::Web> web;
    std::vector<const corvida::WebNode*> documents;
};

std::unique_ptr<Site> makeSite(int contents) {
    auto site = std::make_unique<Site>();
    const char* tmp = std::getenv("TMPDIR");
    site->directory = std::string(tmp != nullptr ? tmp : "/tmp") + "/corvida-dupbench-" + std::to_string(getpid()) +
                      "-" + std::to_string(contents) + "/";
    for (const char* sub : {"temp", "report"}) {
        std::filesystem::create_directories(site->directory + sub);
    }
    site->web = std::make_unique<corvida::Web>();
    site->web->settings().setWorkingDirectory(site->directory);
    for (int i = 0; i < kDocuments; ++i) {
        corvida::WebNode* node =
            site->web->findOrAddNode(corvida::CUrl("http://127.0.0.1/page" + std::to_string(i) + ".htm"));
        node->setFlags(corvida::kFlagFetchStarted | corvida::kFlagFetched | corvida::kFlagProcessed);
        std::string bytes(kFileSize, 'x');
        // Contents differ only near the end, so a byte comparison has to read nearly all.
        const std::string tag = std::to_string(i % contents);
        bytes.replace(kFileSize - 16, tag.size(), tag);
        std::ofstream(site->directory + corvida::LocalNames::workingCopy(*node), std::ios::binary) << bytes;
        node->setLocalSize(static_cast<std::int32_t>(kFileSize));
        site->documents.push_back(node);
    }
    return site;
}

void BM_DuplicatesPage(benchmark::State& state) {
    const std::unique_ptr<Site> site = makeSite(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        corvida::ReportContext context(*site->web, site->directory + "report/");
        corvida::DuplicatesPage::write(context);
    }
    // The page's file reads, counted once outside the timed runs.
    corvida::DuplicateFinder finder(site->directory);
    benchmark::DoNotOptimize(finder.classify(site->documents));
    state.counters["files_opened"] = static_cast<double>(finder.filesOpened());
    std::filesystem::remove_all(site->directory);
}
BENCHMARK(BM_DuplicatesPage)->Arg(1)->Arg(10)->Arg(kDocuments)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
