// SPDX-License-Identifier: MIT
#pragma once

// A LinkTreeEntry is one place of a node in the link tree: the node, the node and entry it
// hangs under, the entries under it, its depth and its outline label ("1", "1.2", "1.2.3").
// A node met again after its first entry gets a repeat: a childless entry that points at the
// node's primary entry. The LinkTree owns its entries; nodes and entries are referenced only.

#include <cstdint>
#include <string>
#include <vector>

namespace corvida {

class WebNode;

class LinkTreeEntry {
public:
    // An entry for node under parentEntry (nullptr for a root), reached from parentNode.
    LinkTreeEntry(WebNode* node, WebNode* parentNode, LinkTreeEntry* parentEntry);
    LinkTreeEntry(const LinkTreeEntry&) = delete;
    LinkTreeEntry& operator=(const LinkTreeEntry&) = delete;

    WebNode* node() const { return m_node; }
    // The node through which this one was reached; nullptr for the root.
    WebNode* parentNode() const { return m_parentNode; }
    LinkTreeEntry* parentEntry() const { return m_parentEntry; }
    // Entries under this one in the order they were attached.
    const std::vector<LinkTreeEntry*>& children() const { return m_children; }
    // The node's first entry when this is a repeat; nullptr for a primary entry.
    LinkTreeEntry* primary() const { return m_primary; }
    bool isRepeat() const { return m_primary != nullptr; }
    std::int32_t depth() const { return m_depth; }
    const std::string& label() const { return m_label; }

    // True when entry is nullptr, is ancestor, or has ancestor among its parent entries.
    static bool isWithin(const LinkTreeEntry* entry, const LinkTreeEntry* ancestor);

private:
    friend class LinkTree;

    // Hangs this entry under its parent entry: the next child number, one level deeper. A
    // root gets depth 0 and the label "1".
    void attach();
    void setPrimary(LinkTreeEntry* primary) { m_primary = primary; }

    WebNode* m_node;
    WebNode* m_parentNode;
    LinkTreeEntry* m_parentEntry;
    std::vector<LinkTreeEntry*> m_children;
    LinkTreeEntry* m_primary = nullptr;
    std::int32_t m_depth = 0;
    std::string m_label;
};

} // namespace corvida
