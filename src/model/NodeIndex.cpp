// SPDX-License-Identifier: MIT
#include "model/NodeIndex.h"

#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr std::size_t kInitialSlots = 64;

} // namespace

WebNode* NodeIndex::find(const CUrl& url) const {
    if (m_slots.empty()) {
        return nullptr;
    }
    const std::size_t mask = m_slots.size() - 1;
    const std::size_t hash = url.identityHash();
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (slot.node == nullptr) {
            return nullptr;
        }
        if (slot.hash == hash && slot.node->url().compare(url) == 0) {
            return slot.node;
        }
    }
}

void NodeIndex::insert(WebNode* node) {
    if ((m_size + 1) * 2 > m_slots.size()) {
        grow();
    }
    const std::size_t mask = m_slots.size() - 1;
    const std::size_t hash = node->url().identityHash();
    std::size_t i = hash & mask;
    while (m_slots[i].node != nullptr) {
        i = (i + 1) & mask;
    }
    m_slots[i] = Slot{hash, node};
    ++m_size;
}

void NodeIndex::grow() {
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(old.empty() ? kInitialSlots : old.size() * 2, Slot{});
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.node == nullptr) {
            continue;
        }
        std::size_t i = slot.hash & mask;
        while (m_slots[i].node != nullptr) {
            i = (i + 1) & mask;
        }
        m_slots[i] = slot;
    }
}

} // namespace corvida
