// SPDX-License-Identifier: MIT
// How fast links become CUrls: absolute and relative links of a realistic shape, resolved
// against page bases, as link extraction does for every link of every page.

#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "model/CUrl.h"

namespace {

struct Link {
    std::string text;
    std::string base;
};

std::vector<Link> makeCorpus() {
    std::mt19937 random(42);
    const char* sections[] = {"docs", "products", "news/2026", "support/faq", "about", "img", "media/video"};
    const char* names[] = {"index.htm", "page.html", "logo.gif", "photo.jpg", "intro.wav", "clip.avi", "guide.pdf"};
    std::vector<Link> corpus;
    for (int i = 0; i < 20000; ++i) {
        const std::string section = sections[random() % 7];
        const std::string name = names[random() % 7];
        const std::string base = "http://www.example.com/" + section + "/";
        switch (random() % 6) {
        case 0:
            corpus.push_back({"http://www.example.com/" + section + "/p" + std::to_string(i) + "/" + name, base});
            break;
        case 1:
            corpus.push_back({"../" + std::string(sections[random() % 7]) + "/" + name, base});
            break;
        case 2:
            corpus.push_back(
                {"/" + section + "/item" + std::to_string(i) + ".html#part" + std::to_string(i % 9), base});
            break;
        case 3:
            corpus.push_back({"page" + std::to_string(i) + ".htm", base});
            break;
        case 4:
            corpus.push_back({"Some%20Folder/./file%2" + std::to_string(i % 10) + ".htm", base});
            break;
        default:
            corpus.push_back({"mailto:webmaster@example.com", base});
            break;
        }
    }
    return corpus;
}

void BM_CUrlFromLink(benchmark::State& state) {
    const std::vector<Link> corpus = makeCorpus();
    std::size_t i = 0;
    for (auto _ : state) {
        const Link& link = corpus[i++ % corpus.size()];
        corvida::CUrl url(link.text, link.base);
        benchmark::DoNotOptimize(url);
    }
    state.counters["urls_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CUrlFromLink);

void BM_CUrlCompareEqual(benchmark::State& state) {
    const corvida::CUrl a("http://www.example.com/docs/section/page.html");
    const corvida::CUrl b("HTTP://WWW.EXAMPLE.COM/docs/section/page.html");
    for (auto _ : state) {
        benchmark::DoNotOptimize(a.compare(b));
    }
}
BENCHMARK(BM_CUrlCompareEqual);

} // namespace

BENCHMARK_MAIN();
