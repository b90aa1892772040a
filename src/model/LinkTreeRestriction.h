// SPDX-License-Identifier: MIT
#pragma once

// A LinkTreeRestriction is the part of the site a project window shows: one link-tree entry
// and a subtree flag. Without an entry the window shows nothing. With the flag off it shows
// the entry's node and the nodes first reached from it; with the flag on, everything below
// the entry, and also the nodes that have no place in the link tree.
//
// The restriction refers to a LinkTree entry: the tree must outlive it or the entry must be
// cleared before the tree drops its entries.

#include "model/LinkTreeEntry.h"

namespace corvida {

class WebNode;

class LinkTreeRestriction {
public:
    // An empty restriction: no node passes.
    LinkTreeRestriction() = default;
    // A restriction to entry (may be nullptr) with the subtree flag.
    LinkTreeRestriction(const LinkTreeEntry* entry, bool subtree) : m_entry(entry), m_subtree(subtree) {}

    const LinkTreeEntry* entry() const { return m_entry; }
    bool subtree() const { return m_subtree; }
    void set(const LinkTreeEntry* entry, bool subtree) {
        m_entry = entry;
        m_subtree = subtree;
    }

    // Whether node, through its primary link-tree entry, lies within the restriction.
    bool passes(const WebNode& node) const;

private:
    const LinkTreeEntry* m_entry = nullptr;
    bool m_subtree = false;
};

} // namespace corvida
