// SPDX-License-Identifier: MIT
#pragma once

// UrlOrderedNodes is a sequence of node references read in URL order (CUrl::compare). Adding
// appends to an unsorted tail; the first read after a change sorts the tail and merges it
// into the sorted part. Bulk additions thus cost O(n log n) in all instead of an O(n) shift
// each. Null references sort last. The nodes are not owned.

#include <cstddef>
#include <vector>

namespace corvida {

class WebNode;

class UrlOrderedNodes {
public:
    void push(WebNode* node) { m_nodes.push_back(node); }
    std::size_t size() const { return m_nodes.size(); }
    bool empty() const { return m_nodes.empty(); }
    // Every entry in URL order; valid until the next push.
    const std::vector<WebNode*>& sorted() const;
    // Every entry in no particular order, without sorting.
    const std::vector<WebNode*>& unordered() const { return m_nodes; }

private:
    mutable std::vector<WebNode*> m_nodes;
    mutable std::size_t m_sortedCount = 0;
};

} // namespace corvida
