// SPDX-License-Identifier: MIT
#pragma once

// NodeIndex finds a Web's node by URL: an open-addressing hash table of node references keyed
// by CUrl::identityHash(), with equality decided by CUrl::compare(). Each slot keeps the hash
// next to the reference, so a probe touches one cache line and visits a node only when the
// hashes agree. The nodes are not owned and are never removed.

#include <cstddef>
#include <vector>

namespace corvida {

class CUrl;
class WebNode;

class NodeIndex {
public:
    // The node whose URL compares equal to url, or nullptr.
    WebNode* find(const CUrl& url) const;
    // Adds node, whose URL must not be in the index yet.
    void insert(WebNode* node);
    std::size_t size() const { return m_size; }

private:
    struct Slot {
        std::size_t hash = 0;
        WebNode* node = nullptr;
    };

    void grow();

    std::vector<Slot> m_slots; // a power of two in size, at most half full
    std::size_t m_size = 0;
};

} // namespace corvida
