// SPDX-License-Identifier: MIT
#include "model/UrlOrderedNodes.h"

#include <algorithm>

#include "model/WebNode.h"

namespace corvida {

namespace {

bool urlLess(const WebNode* a, const WebNode* b) {
    if (a == nullptr || b == nullptr) {
        return a != nullptr && b == nullptr;
    }
    return a->url().compare(b->url()) < 0;
}

} // namespace

const std::vector<WebNode*>& UrlOrderedNodes::sorted() const {
    if (m_sortedCount != m_nodes.size()) {
        const auto middle = m_nodes.begin() + static_cast<std::ptrdiff_t>(m_sortedCount);
        std::sort(middle, m_nodes.end(), urlLess);
        std::inplace_merge(m_nodes.begin(), middle, m_nodes.end(), urlLess);
        m_sortedCount = m_nodes.size();
    }
    return m_nodes;
}

} // namespace corvida
