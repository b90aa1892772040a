// SPDX-License-Identifier: MIT
// The whole report of two projects, timing every page and picture the report writes:
//  - BM_WriteReport: 10,000 nodes: 7,000 fetched documents over six link levels (their
//    working copies on disk, some of them equal), 2,000 fetched pictures with thumbnails,
//    broken links, mail links and other files, ten links per node.
//  - BM_WriteBigReport: a crawled site of 100,000 pages (122,530 URLs): twenty links per
//    page, one in 85 to a page that is not there, 300 pictures shared by the pages, link
//    levels as a crawl from the home page finds them. Besides the time it counts the peak
//    memory the report adds to the loaded project (peak_MiB), the bytes written
//    (report_MiB) and the largest page (largest_MiB).
// Files live under TMPDIR (default /tmp).

#include <algorithm>
#include <cstdlib>
#include <deque>
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

constexpr int kBigPages = 100000;
constexpr int kBigLinksPerPage = 20;
constexpr int kBigPictures = 300;
constexpr int kBigBrokenEvery = 85;

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

std::unique_ptr<Project> emptyProject() {
    auto project = std::make_unique<Project>();
    const char* tmp = std::getenv("TMPDIR");
    project->directory =
        std::string(tmp != nullptr ? tmp : "/tmp") + "/corvida-reportbench-" + std::to_string(getpid()) + "/";
    for (const char* sub : {"temp", "images", "report"}) {
        std::filesystem::create_directories(project->directory + sub);
    }
    project->web = std::make_unique<corvida::Web>();
    project->web->settings().setWorkingDirectory(project->directory);
    return project;
}

std::unique_ptr<Project> makeProject() {
    std::unique_ptr<Project> project = emptyProject();
    corvida::Web& web = *project->web;

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

// A line of /proc/self/status ("VmHWM:") in MiB, or -1 when it cannot be read.
double statusMiB(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::strtod(line.c_str() + key.size(), nullptr) / 1024;
        }
    }
    return -1;
}

// Starts a new peak: the kernel's high-water mark of the resident set drops to its current
// size.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void link(corvida::WebNode* from, corvida::WebNode* to) {
    if (from != to && from->linkOut(to)) {
        to->linkIn(from);
    }
}

std::unique_ptr<Project> makeBigProject() {
    std::unique_ptr<Project> project = emptyProject();
    corvida::Web& web = *project->web;
    const auto pageUrl = [](int i) {
        return "http://www.example.com/s" + std::to_string(i % 40) + "/t" + std::to_string(i % 7) + "/p" +
               std::to_string(i) + ".html";
    };
    std::vector<corvida::WebNode*> pages;
    pages.reserve(kBigPages);
    corvida::WebNode* home = web.findOrAddNode(corvida::CUrl("http://www.example.com/index.html"));
    web.setStartNode(home);
    home->setFlags(corvida::kFlagStart);
    pages.push_back(home);
    for (int i = 1; i < kBigPages; ++i) {
        pages.push_back(web.findOrAddNode(corvida::CUrl(pageUrl(i))));
    }
    std::vector<corvida::WebNode*> pictures;
    for (int i = 0; i < kBigPictures; ++i) {
        pictures.push_back(
            web.findOrAddNode(corvida::CUrl("http://www.example.com/images/i" + std::to_string(i) + ".gif")));
    }

    std::mt19937 random(11);
    std::vector<corvida::WebNode*> missing;
    for (int i = 0; i < kBigPages; ++i) {
        corvida::WebNode* page = pages[static_cast<std::size_t>(i)];
        link(page, pages[static_cast<std::size_t>((i + 1) % kBigPages)]);
        for (int k = 1; k < kBigLinksPerPage; ++k) {
            if (random() % kBigBrokenEvery == 0) {
                corvida::WebNode* gone =
                    web.findOrAddNode(corvida::CUrl(pageUrl(kBigPages + static_cast<int>(missing.size()))));
                missing.push_back(gone);
                link(page, gone);
            } else if (k <= 2) {
                link(page, pictures[random() % pictures.size()]);
            } else {
                link(page, pages[random() % pages.size()]);
            }
        }
    }

    // Levels as a crawl from the home page finds them.
    home->setLevel(0);
    std::deque<corvida::WebNode*> wave = {home};
    while (!wave.empty()) {
        corvida::WebNode* page = wave.front();
        wave.pop_front();
        for (corvida::WebNode* target : page->outNeighbours().sorted()) {
            if (target->level() < 0) {
                target->setLevel(page->level() + 1);
                wave.push_back(target); // pictures and missing pages link nowhere
            }
        }
    }

    constexpr std::uint32_t kFetchedOk =
        corvida::kFlagFetchStarted | corvida::kFlagFetched | corvida::kFlagProcessed | corvida::kFlagLocalServer;
    for (int i = 0; i < kBigPages; ++i) {
        corvida::WebNode* page = pages[static_cast<std::size_t>(i)];
        page->setFlags(kFetchedOk);
        page->setStatus(200, "OK", "");
        page->setTitle("Page " + std::to_string(i) + " of the sample site");
        page->setExcerpt("Some words that open page " + std::to_string(i) + ", as excerpts do.");
        page->setChecked(900000000 + i);
        page->setLastModified(880000000 + i);
        page->setSize(2000 + i % 5000);
        page->setLocalSize(2000 + i % 5000);
    }
    for (corvida::WebNode* picture : pictures) {
        picture->setFlags(kFetchedOk);
        picture->setStatus(200, "OK", "");
        picture->setThumbnail(32, 20, 8);
        picture->setLocalSize(1500);
    }
    for (corvida::WebNode* gone : missing) {
        gone->setFlags(corvida::kFlagFetchStarted | corvida::kFlagProcessed);
        gone->setStatus(404, "Not Found", "");
    }
    return project;
}

void BM_WriteBigReport(benchmark::State& state) {
    const std::unique_ptr<Project> project = makeBigProject();
    state.counters["nodes"] = static_cast<double>(project->web->nodeCount());
    double peak = 0;
    for (auto _ : state) {
        resetPeak();
        const double before = statusMiB("VmRSS:");
        const corvida::Status written = corvida::ReportWriter::write(*project->web);
        if (!written.isOk()) {
            state.SkipWithError(written.message().c_str());
        }
        peak = std::max(peak, statusMiB("VmHWM:") - before);
    }
    std::uintmax_t bytes = 0;
    std::uintmax_t largest = 0;
    for (const auto& entry : std::filesystem::directory_iterator(project->directory + "report")) {
        bytes += entry.file_size();
        largest = std::max(largest, entry.file_size());
    }
    state.counters["peak_MiB"] = peak;
    state.counters["report_MiB"] = static_cast<double>(bytes) / (1 << 20);
    state.counters["largest_MiB"] = static_cast<double>(largest) / (1 << 20);
}
BENCHMARK(BM_WriteBigReport)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
