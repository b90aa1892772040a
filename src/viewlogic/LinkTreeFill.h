// SPDX-License-Identifier: MIT
#pragma once

// LinkTreeFill holds the items of a link-tree pane: which link-tree entries have an item, the
// parent item of each and the order of the items under one parent. Only fetched, processed
// HTML documents get an item, each once, at the place where the crawl first reached it; the
// tree's root always gets one. Items are added, never removed, until clear().
//
// The fill refers to LinkTree entries and their nodes: clear it before the tree drops its
// entries. Walks use an explicit stack, as a site can be deeper than the call stack.

#include <cstddef>
#include <deque>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace corvida {

class LinkTree;
class LinkTreeEntry;
class WebNode;

class LinkTreeFill {
public:
    // One item: its entry, its parent item (nullptr at the root level), its row under that
    // parent and its own items in the order they were added.
    struct Item {
        const LinkTreeEntry* entry = nullptr;
        Item* parent = nullptr;
        int row = 0;
        std::vector<Item*> children;
    };

    LinkTreeFill() = default;
    LinkTreeFill(const LinkTreeFill&) = delete;
    LinkTreeFill& operator=(const LinkTreeFill&) = delete;

    // Whether entry may get an item below the root: its node is a fetched, processed HTML
    // document and the entry is no repeat.
    static bool qualifies(const LinkTreeEntry& entry);
    // The text of node's item: its title, or its URL when it has none (bytes from the site).
    static std::string text(const WebNode& node);

    // The item of entry, or nullptr.
    const Item* item(const LinkTreeEntry* entry) const;
    // The items at the root level, in order.
    const std::vector<Item*>& topLevel() const { return m_topLevel; }
    std::size_t size() const { return m_items.size(); }

    // The entries that a fill of the whole tree adds: the root unless it has an item, then
    // every qualifying entry without an item under an entry that has or gets one, each after
    // its parent, depth first.
    std::vector<const LinkTreeEntry*> missingFromRoot(const LinkTree& tree) const;
    // The entries to add for changed nodes, in the order to add them, each after its parent:
    // the root when it has no item yet; each changed node's primary entry that qualifies and
    // whose parent has or gets an item, with the qualifying entries below it that have none.
    // Gives the same items as missingFromRoot(), only without visiting unchanged parts.
    std::vector<const LinkTreeEntry*> missingFor(const LinkTree& tree, std::span<WebNode* const> changed) const;
    // The items of changed nodes that exist already, for a new text; each once.
    std::vector<const Item*> itemsOf(std::span<WebNode* const> changed) const;

    // The item that entry gets as its parent: its parent entry's item, or nullptr (the root
    // level) when that has none.
    Item* parentFor(const LinkTreeEntry& entry) const;
    // Adds entry's item last under parentFor(entry). Returns the item; an entry that has one
    // already keeps it.
    const Item& add(const LinkTreeEntry& entry);

    // Makes room for count items in all, before many are added at once.
    void reserve(std::size_t count);
    // Drops every item.
    void clear();

private:
    // Walks from start through its qualifying children, depth first, children in order, and
    // appends to missing each entry that has no item and is not in planned (which may be
    // nullptr), and adds it to planned.
    void walk(const LinkTreeEntry& start, std::vector<const LinkTreeEntry*>& missing,
              std::unordered_set<const LinkTreeEntry*>* planned) const;

    std::deque<Item> m_items; // a deque keeps items in place as it grows
    std::unordered_map<const LinkTreeEntry*, Item*> m_byEntry;
    std::vector<Item*> m_topLevel;
};

} // namespace corvida
