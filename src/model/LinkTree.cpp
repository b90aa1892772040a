// SPDX-License-Identifier: MIT
#include "model/LinkTree.h"

#include <deque>

#include "model/WebNode.h"

namespace corvida {

void LinkTree::clear() {
    for (const auto& [node, entry] : m_primaries) {
        entry->node()->setLinkTreeEntry(nullptr);
    }
    m_primaries.clear();
    m_entries.clear();
    m_root = nullptr;
}

LinkTreeEntry* LinkTree::makeEntry(WebNode* node, WebNode* parentNode, LinkTreeEntry* parentEntry) {
    return &m_entries.emplace_back(node, parentNode, parentEntry);
}

void LinkTree::attach(LinkTreeEntry* entry) {
    const auto [it, first] = m_primaries.try_emplace(entry->node(), entry);
    if (first) {
        entry->node()->setLinkTreeEntry(entry);
    } else {
        entry->setPrimary(it->second);
    }
    entry->attach();
}

LinkTreeEntry* LinkTree::setRoot(WebNode* node) {
    clear();
    m_root = makeEntry(node, nullptr, nullptr);
    attach(m_root);
    return m_root;
}

LinkTreeEntry* LinkTree::add(WebNode* node, WebNode* parent) {
    LinkTreeEntry* parentEntry = parent != nullptr ? primaryEntry(parent) : nullptr;
    if (parentEntry == nullptr) {
        return nullptr;
    }
    LinkTreeEntry* entry = makeEntry(node, parent, parentEntry);
    attach(entry);
    return entry;
}

void LinkTree::rebuild(WebNode* start) {
    clear();
    if (start == nullptr) {
        return;
    }
    setRoot(start);
    // Entries wait in the queue before they are attached, so siblings are numbered in the
    // order they leave it: breadth-first, each parent's links in URL order.
    std::deque<LinkTreeEntry*> queue;
    const auto enqueueLinksOf = [&](WebNode* node) {
        LinkTreeEntry* parentEntry = primaryEntry(node);
        for (WebNode* neighbour : node->outNeighbours().sorted()) {
            if (neighbour != nullptr) {
                queue.push_back(makeEntry(neighbour, node, parentEntry));
            }
        }
    };
    enqueueLinksOf(start);
    while (!queue.empty()) {
        LinkTreeEntry* entry = queue.front();
        queue.pop_front();
        const bool first = primaryEntry(entry->node()) == nullptr;
        attach(entry);
        if (first) {
            enqueueLinksOf(entry->node());
        }
    }
}

LinkTreeEntry* LinkTree::primaryEntry(const WebNode* node) const {
    const auto it = m_primaries.find(node);
    return it == m_primaries.end() ? nullptr : it->second;
}

} // namespace corvida
