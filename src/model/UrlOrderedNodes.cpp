// SPDX-License-Identifier: MIT
#include "model/UrlOrderedNodes.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "model/WebNode.h"

namespace corvida {

namespace {

bool urlLess(const WebNode* a, const WebNode* b) {
    if (a == nullptr || b == nullptr) {
        return a != nullptr && b == nullptr;
    }
    return a->url().compare(b->url()) < 0;
}

// Length and fold hash decide most comparisons; sorting them next to the reference keeps
// the sort in contiguous memory instead of visiting every node again and again.
std::uint64_t orderKey(const WebNode* node) {
    if (node == nullptr) {
        return ~std::uint64_t{0};
    }
    return (std::uint64_t{node->url().length()} << 32) | node->url().foldHash();
}

} // namespace

const std::vector<WebNode*>& UrlOrderedNodes::sorted() const {
    if (m_sortedCount == m_nodes.size()) {
        return m_nodes;
    }
    const auto middle = m_nodes.begin() + static_cast<std::ptrdiff_t>(m_sortedCount);
    std::vector<std::pair<std::uint64_t, WebNode*>> tail;
    tail.reserve(static_cast<std::size_t>(m_nodes.end() - middle));
    for (auto it = middle; it != m_nodes.end(); ++it) {
        tail.emplace_back(orderKey(*it), *it);
    }
    std::sort(tail.begin(), tail.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : urlLess(a.second, b.second);
    });
    std::transform(tail.begin(), tail.end(), middle, [](const auto& entry) { return entry.second; });
    std::inplace_merge(m_nodes.begin(), middle, m_nodes.end(), urlLess);
    m_sortedCount = m_nodes.size();
    return m_nodes;
}

} // namespace corvida
