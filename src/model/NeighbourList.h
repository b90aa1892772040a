// SPDX-License-Identifier: MIT
#pragma once

// A NeighbourList holds one side of a node's links: references to other nodes of the same
// Web, unique, and read in URL order. Nodes are unique per URL inside a Web, so membership is
// pointer identity. Entries are kept in a UrlOrderedNodes, so a node that thousands of pages
// link to (a home page, a logo) costs no quadratic shifting while the crawl adds links. Empty
// references (null) come only from damaged project files; they sort last and readers skip
// them.

#include <cstddef>
#include <memory>
#include <unordered_set>
#include <vector>

#include "model/UrlOrderedNodes.h"

namespace corvida {

class NeighbourList {
public:
    // Adds node unless it is already present; returns whether it was added.
    bool insert(WebNode* node);
    // Adds an entry as read from a project file, null allowed, without the uniqueness test.
    void appendLoaded(WebNode* node);
    bool contains(const WebNode* node) const;

    std::size_t size() const { return m_nodes.size(); }
    bool empty() const { return m_nodes.empty(); }
    // Entry i in URL order; requires i < size().
    WebNode* at(std::size_t i) const { return m_nodes.sorted()[i]; }
    // All entries in URL order. The reference stays valid until the list changes.
    const std::vector<WebNode*>& sorted() const { return m_nodes.sorted(); }

private:
    // Lists longer than this keep a hash set for the membership test.
    static constexpr std::size_t kLinearSearchLimit = 32;

    UrlOrderedNodes m_nodes;
    std::unique_ptr<std::unordered_set<const WebNode*>> m_index;
};

} // namespace corvida
