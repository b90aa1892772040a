// SPDX-License-Identifier: MIT
#pragma once

// The synthetic site the project benchmarks share: 100,000 fetched pages over 20 sections,
// each linking to the home page, a section page and eight pages near it.

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/Web.h"
#include "model/WebNode.h"

namespace corvida::bench {

constexpr int kNodes = 100000;
constexpr int kLinksPerNode = 10;
constexpr int kSections = 20;

inline std::unique_ptr<corvida::Web> makeSite() {
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

} // namespace corvida::bench
