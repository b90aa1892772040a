// SPDX-License-Identifier: MIT
#pragma once

// The LinkTree is a project's spanning tree of its site graph: the start node at the root and
// every other node under the node through which it was reached. During a crawl the document
// attaches each node once, when it is first reached; an opened project rebuilds the tree
// breadth-first from the start node, where a node reached again gets a childless repeat.
//
// The tree owns its entries. It sets the link-tree entry of each node that gets a primary
// entry; clear() resets those again, so the nodes must be alive when it runs. Destroying the
// tree does not touch the nodes: drop the tree no later than the Web, or clear() it first.

#include <cstddef>
#include <deque>
#include <unordered_map>
#include <vector>

#include "model/LinkTreeEntry.h"

namespace corvida {

class WebNode;

class LinkTree {
public:
    LinkTree() = default;
    LinkTree(const LinkTree&) = delete;
    LinkTree& operator=(const LinkTree&) = delete;

    // Drops every entry and resets the link-tree entry of every node that had a primary one.
    void clear();
    // Clears the tree and makes node its root: depth 0, label "1", node's primary entry.
    LinkTreeEntry* setRoot(WebNode* node);
    // A new entry for node under the primary entry of parent: node's primary entry when it has
    // none yet, else a repeat of it. Returns nullptr and adds nothing when parent is nullptr
    // or has no entry, since there is nothing to hang the node under.
    LinkTreeEntry* add(WebNode* node, WebNode* parent);
    // Clears the tree and builds it again from start through the out-neighbours, breadth-first
    // in URL order. Nodes that start cannot reach get no entry. start may be nullptr: the
    // tree stays empty.
    void rebuild(WebNode* start);

    LinkTreeEntry* root() const { return m_root; }
    // The node's first entry, or nullptr.
    LinkTreeEntry* primaryEntry(const WebNode* node) const;
    std::size_t entryCount() const { return m_entries.size(); }

    // Calls visit(entry) for every entry, each before the entries under it, children in order.
    template <typename Visit>
    void forEachDepthFirst(Visit visit) const;

private:
    LinkTreeEntry* makeEntry(WebNode* node, WebNode* parentNode, LinkTreeEntry* parentEntry);
    // Attaches entry; it becomes its node's primary entry unless the node has one.
    void attach(LinkTreeEntry* entry);

    LinkTreeEntry* m_root = nullptr;
    std::deque<LinkTreeEntry> m_entries; // a deque keeps entries in place as it grows
    std::unordered_map<const WebNode*, LinkTreeEntry*> m_primaries;
};

template <typename Visit>
void LinkTree::forEachDepthFirst(Visit visit) const {
    if (m_root == nullptr) {
        return;
    }
    // An explicit stack: a site can be deeper than the call stack.
    std::vector<const LinkTreeEntry*> pending{m_root};
    while (!pending.empty()) {
        const LinkTreeEntry* entry = pending.back();
        pending.pop_back();
        visit(*entry);
        const std::vector<LinkTreeEntry*>& children = entry->children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            pending.push_back(*it);
        }
    }
}

} // namespace corvida
