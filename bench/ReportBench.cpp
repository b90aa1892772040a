// SPDX-License-Identifier: MIT
// The whole report of a 10,000-node project: 7,000 fetched documents over six link levels
// (their working copies on disk, some of them equal), 2,000 fetched pictures with
// thumbnails, broken links, mail links and other files, ten links per node. Times every
// page and picture the report writes. Files live under TMPDIR (default /tmp).

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "model/LocalNames.h"
#include "model/Web.h"
#include "report/ReportWriter.h"

namespace {

constexpr int kNodes = 10000;
constexpr int kLinksPerNode = 10;

struct Project {
    std::string directory;
    std::unique_ptr<corvida::Web> web;
    ~Project() {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }
};

std::string urlOf(int i) {
    const std::string section = "http://www.example.com/section" + std::to_string(i % 20) + "/";
    switch (i % 10) {
    case 0:
    case 1:
        return section + "picture" + std::to_string(i) + ".gif";
    case 2:
        return i % 20 == 2 ? "mailto:person" + std::to_string(i) + "@example.com"
                           : section + "data" + std::to_string(i) + ".zip";
    default:
        return section + "page" + std::to_string(i) + ".html";
    }
}

std::unique_ptr<Project> makeProject() {
    auto project = std::make_unique<Project>();
    const char* tmp = std::getenv("TMPDIR");
    project->directory =
        std::string(tmp != nullptr ? tmp : "/tmp") + "/corvida-reportbench-" + std::to_string(getpid()) + "/";
    for (const char* sub : {"temp", "images", "report"}) {
        std::filesystem::create_directories(project->directory + sub);
    }
    project->web = std::make_unique<corvida::Web>();
    corvida::Web& web = *project->web;
    web.settings().setWorkingDirectory(project->directory);

    std::vector<corvida::WebNode*> nodes;
    nodes.reserve(kNodes);
    corvida::WebNode* home = web.findOrAddNode(corvida::CUrl("http://www.example.com/index.html"));
    web.setStartNode(home);
    home->setLevel(0);
    home->setFlags(corvida::kFlagStart);
    nodes.push_back(home);
    for (int i = 1; i < kNodes; ++i) {
        nodes.push_back(web.findOrAddNode(corvida::CUrl(urlOf(i))));
    }

    std::mt19937 random(7);
    for (int i = 0; i < kNodes; ++i) {
        corvida::WebNode* node = nodes[static_cast<std::size_t>(i)];
        if (i > 0) {
            node->setLevel(1 + i % 5);
        }
        node->setChecked(900000000 + i);
        node->setLastModified(880000000 + i);
        if (i % 97 == 5) {
            node->setFlags(corvida::kFlagFetchStarted);
            node->setStatus(404, "Not Found", "");
            continue;
        }
        node->setStatus(200, "OK", "");
        node->setFlags(corvida::kFlagFetchStarted | corvida::kFlagFetched | corvida::kFlagProcessed |
                       corvida::kFlagLocalServer);
        if (node->hasAnyFlag(corvida::kFlagDocument)) {
            node->setTitle("Page " + std::to_string(i) + " of the sample site");
            node->setExcerpt("Some words that open page " + std::to_string(i) + ", as excerpts do.");
            // Every 50th page repeats one of a few contents, so the duplicates page has work.
            const std::string body = i % 50 == 7 ? "<HTML>same page " + std::to_string(i % 3) + "</HTML>"
                                                 : "<HTML>page " + std::to_string(i) + "</HTML>";
            std::ofstream(project->directory + corvida::LocalNames::workingCopy(*node), std::ios::binary) << body;
            node->setSize(static_cast<std::int32_t>(body.size()));
            node->setLocalSize(static_cast<std::int32_t>(body.size()));
        } else if (node->hasAnyFlag(corvida::kFlagPicture)) {
            node->setThumbnail(8 + i % 25, 20, 8);
            node->setLocalSize(1000 + i);
        }
    }
    for (int i = 0; i < kNodes; ++i) {
        corvida::WebNode* from = nodes[static_cast<std::size_t>(i)];
        if (!from->hasAnyFlag(corvida::kFlagDocument)) {
            continue;
        }
        for (int k = 0; k < kLinksPerNode; ++k) {
            corvida::WebNode* to = nodes[(static_cast<std::size_t>(i) + 1 + random() % 300) % kNodes];
            if (from != to && from->linkOut(to)) {
                to->linkIn(from);
            }
        }
    }
    return project;
}

void BM_WriteReport(benchmark::State& state) {
    const std::unique_ptr<Project> project = makeProject();
    for (auto _ : state) {
        const corvida::Status written = corvida::ReportWriter::write(*project->web);
        if (!written.isOk()) {
            state.SkipWithError(written.message().c_str());
        }
    }
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(project->directory + "report")) {
        bytes += entry.file_size();
    }
    state.counters["report_MiB"] = static_cast<double>(bytes) / (1 << 20);
}
BENCHMARK(BM_WriteReport)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
