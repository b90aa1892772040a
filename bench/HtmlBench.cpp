// SPDX-License-Identifier: MIT
// How fast fetched pages are processed: tokenizing, title, excerpt and link extraction, the
// work the crawl does for every HTML document it fetches. The corpus is the Python 3.11
// documentation (Debian package python3.11-doc), real pages with dense markup and many links;
// without it the benchmarks skip with a message.
//
// CORVIDA_HTML_PAGES=N limits the corpus to its first N pages (in path order). With the
// argument --once the program does the full page work once over the corpus and exits, for
// instruction counts that machine load does not disturb:
//   CORVIDA_HTML_PAGES=50 valgrind --tool=callgrind --toggle-collect='*processCorpusOnce*' HtmlBench --once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "crawl/WebLinkSink.h"
#include "html/HtmlDocument.h"
#include "html/LinkExtractor.h"
#include "html/LinkSink.h"
#include "model/Web.h"

namespace {

using corvida::CUrl;
using corvida::HtmlDocument;
using corvida::LinkExtractor;

constexpr const char* kCorpusDirectory = "/usr/share/doc/python3.11/html";
constexpr std::size_t kTextCapacity = 260;

struct Page {
    std::string path;
    std::string url;
    std::string bytes;
};

const std::vector<Page>& corpus() {
    static const std::vector<Page> pages = [] {
        std::vector<Page> loaded;
        std::error_code error;
        if (!std::filesystem::is_directory(kCorpusDirectory, error)) {
            return loaded;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(kCorpusDirectory, error)) {
            if (entry.is_regular_file() && entry.path().extension() == ".html") {
                std::ifstream in(entry.path(), std::ios::binary);
                std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
                const std::string path = entry.path().string();
                loaded.push_back({path, "http://docs.example.org" + path, std::move(bytes)});
            }
        }
        std::sort(loaded.begin(), loaded.end(), [](const Page& a, const Page& b) { return a.path < b.path; });
        if (const char* limit = std::getenv("CORVIDA_HTML_PAGES")) {
            loaded.resize(std::min(loaded.size(), static_cast<std::size_t>(std::strtoul(limit, nullptr, 10))));
        }
        return loaded;
    }();
    return pages;
}

bool haveCorpus(benchmark::State& state) {
    if (corpus().empty()) {
        state.SkipWithError("no corpus: install the Debian package python3.11-doc");
        return false;
    }
    return true;
}

std::int64_t corpusBytes() {
    std::int64_t total = 0;
    for (const Page& page : corpus()) {
        total += static_cast<std::int64_t>(page.bytes.size());
    }
    return total;
}

// Builds each link's CUrl, as the crawl does, but keeps no graph.
class CountingSink : public corvida::LinkSink {
public:
    void addLink(const CUrl& url, bool fetchAnyway, const corvida::LinkOrigin& /*origin*/) override {
        m_count += url.length() + (fetchAnyway ? 1 : 0);
    }
    std::size_t count() const { return m_count; }

private:
    std::size_t m_count = 0;
};

void processPage(HtmlDocument& document, CountingSink& sink) {
    benchmark::DoNotOptimize(document.title(kTextCapacity));
    benchmark::DoNotOptimize(document.excerpt(kTextCapacity));
    LinkExtractor(document).extract(sink);
}

// Everything the crawl does per page, reading the pages from their files.
void BM_PagesFromFiles(benchmark::State& state) {
    if (!haveCorpus(state)) {
        return;
    }
    for (auto _ : state) {
        CountingSink sink;
        for (const Page& page : corpus()) {
            HtmlDocument document(page.path, page.url);
            processPage(document, sink);
        }
        benchmark::DoNotOptimize(sink.count());
    }
    state.SetBytesProcessed(state.iterations() * corpusBytes());
    state.counters["pages"] = static_cast<double>(corpus().size());
}
BENCHMARK(BM_PagesFromFiles)->Unit(benchmark::kMillisecond);

// The same from memory, without the file reads.
void BM_PagesFromMemory(benchmark::State& state) {
    if (!haveCorpus(state)) {
        return;
    }
    for (auto _ : state) {
        CountingSink sink;
        for (const Page& page : corpus()) {
            HtmlDocument document = HtmlDocument::fromBytes(page.bytes, page.url);
            processPage(document, sink);
        }
        benchmark::DoNotOptimize(sink.count());
    }
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}
BENCHMARK(BM_PagesFromMemory)->Unit(benchmark::kMillisecond);

// Tokenizing alone.
void BM_TokenizeOnly(benchmark::State& state) {
    if (!haveCorpus(state)) {
        return;
    }
    for (auto _ : state) {
        for (const Page& page : corpus()) {
            HtmlDocument document = HtmlDocument::fromBytes(page.bytes, page.url);
            benchmark::DoNotOptimize(document.lastNode());
        }
    }
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}
BENCHMARK(BM_TokenizeOnly)->Unit(benchmark::kMillisecond);

// The crawl's whole page step: links go into a real site graph, which grows to every URL
// of the documentation.
void BM_PagesIntoWeb(benchmark::State& state) {
    if (!haveCorpus(state)) {
        return;
    }
    for (auto _ : state) {
        corvida::Web web;
        for (const Page& page : corpus()) {
            HtmlDocument document(page.path, page.url);
            corvida::WebNode* node = web.findOrAddNode(document.documentUrl());
            node->setLevel(1);
            node->setTitle(document.title(kTextCapacity));
            node->setExcerpt(document.excerpt(kTextCapacity));
            corvida::WebLinkSink sink(web, node);
            LinkExtractor(document).extract(sink);
        }
        state.counters["nodes"] = static_cast<double>(web.nodeCount());
    }
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}
BENCHMARK(BM_PagesIntoWeb)->Unit(benchmark::kMillisecond);

// One pass of the full page work over the corpus; kept out of line so that callgrind can
// count it alone.
[[gnu::noinline]] std::size_t processCorpusOnce() {
    CountingSink sink;
    for (const Page& page : corpus()) {
        HtmlDocument document(page.path, page.url);
        processPage(document, sink);
    }
    return sink.count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--once") == 0) {
        if (corpus().empty()) {
            std::fprintf(stderr, "no corpus: install the Debian package python3.11-doc\n");
            return 1;
        }
        const std::size_t count = processCorpusOnce();
        std::printf("%zu pages, %lld bytes, link checksum %zu\n", corpus().size(),
                    static_cast<long long>(corpusBytes()), count);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
