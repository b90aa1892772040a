// SPDX-License-Identifier: MIT
#include "viewlogic/LinkTreeFill.h"

#include <unordered_set>

#include "model/CUrl.h"
#include "model/LinkTree.h"
#include "model/LinkTreeEntry.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

// A fetched document whose links were read.
constexpr std::uint32_t kShownFlags = kFlagDocument | kFlagFetchStarted | kFlagFetched | kFlagProcessed;

} // namespace

bool LinkTreeFill::qualifies(const LinkTreeEntry& entry) {
    return !entry.isRepeat() && entry.node() != nullptr && entry.node()->hasAllFlags(kShownFlags);
}

std::string LinkTreeFill::text(const WebNode& node) {
    const std::string_view title = node.title();
    return std::string(title.empty() ? std::string_view(node.url().url()) : title);
}

const LinkTreeFill::Item* LinkTreeFill::item(const LinkTreeEntry* entry) const {
    const auto it = m_byEntry.find(entry);
    return it == m_byEntry.end() ? nullptr : it->second;
}

std::vector<const LinkTreeEntry*> LinkTreeFill::missingFromRoot(const LinkTree& tree) const {
    std::vector<const LinkTreeEntry*> missing;
    if (tree.root() != nullptr) {
        walk(*tree.root(), missing, nullptr); // one walk meets each entry once
    }
    return missing;
}

std::vector<const LinkTreeEntry*> LinkTreeFill::missingFor(const LinkTree& tree,
                                                           std::span<WebNode* const> changed) const {
    std::vector<const LinkTreeEntry*> missing;
    if (tree.root() == nullptr) {
        return missing;
    }
    std::unordered_set<const LinkTreeEntry*> planned;
    const auto has = [&](const LinkTreeEntry* entry) { return m_byEntry.contains(entry) || planned.contains(entry); };
    if (!has(tree.root())) {
        walk(*tree.root(), missing, &planned);
    }
    for (const WebNode* node : changed) {
        const LinkTreeEntry* entry = node != nullptr ? node->linkTreeEntry() : nullptr;
        if (entry == nullptr || has(entry) || !qualifies(*entry) || !has(entry->parentEntry())) {
            continue;
        }
        walk(*entry, missing, &planned);
    }
    return missing;
}

std::vector<const LinkTreeFill::Item*> LinkTreeFill::itemsOf(std::span<WebNode* const> changed) const {
    std::vector<const Item*> items;
    std::unordered_set<const Item*> seen;
    for (const WebNode* node : changed) {
        const Item* found = node != nullptr ? item(node->linkTreeEntry()) : nullptr;
        if (found != nullptr && seen.insert(found).second) {
            items.push_back(found);
        }
    }
    return items;
}

LinkTreeFill::Item* LinkTreeFill::parentFor(const LinkTreeEntry& entry) const {
    const auto it = m_byEntry.find(entry.parentEntry());
    return it == m_byEntry.end() ? nullptr : it->second;
}

const LinkTreeFill::Item& LinkTreeFill::add(const LinkTreeEntry& entry) {
    if (const auto it = m_byEntry.find(&entry); it != m_byEntry.end()) {
        return *it->second;
    }
    Item& item = m_items.emplace_back();
    item.entry = &entry;
    item.parent = parentFor(entry);
    std::vector<Item*>& siblings = item.parent != nullptr ? item.parent->children : m_topLevel;
    item.row = static_cast<int>(siblings.size());
    siblings.push_back(&item);
    m_byEntry.emplace(&entry, &item);
    return item;
}

void LinkTreeFill::reserve(std::size_t count) {
    m_byEntry.reserve(count);
}

void LinkTreeFill::clear() {
    m_byEntry.clear();
    m_topLevel.clear();
    m_items.clear();
}

void LinkTreeFill::walk(const LinkTreeEntry& start, std::vector<const LinkTreeEntry*>& missing,
                        std::unordered_set<const LinkTreeEntry*>* planned) const {
    std::vector<const LinkTreeEntry*> pending{&start};
    while (!pending.empty()) {
        const LinkTreeEntry* entry = pending.back();
        pending.pop_back();
        if (!m_byEntry.contains(entry) && (planned == nullptr || planned->insert(entry).second)) {
            missing.push_back(entry);
        }
        const std::vector<LinkTreeEntry*>& children = entry->children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            if (qualifies(**it)) {
                pending.push_back(*it);
            }
        }
    }
}

} // namespace corvida
