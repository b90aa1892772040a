// SPDX-License-Identifier: MIT
#include "model/NeighbourList.h"

#include <algorithm>

namespace corvida {

bool NeighbourList::insert(WebNode* node) {
    if (contains(node)) {
        return false;
    }
    appendLoaded(node);
    return true;
}

void NeighbourList::appendLoaded(WebNode* node) {
    m_nodes.push(node);
    if (m_index) {
        m_index->insert(node);
    } else if (m_nodes.size() > kLinearSearchLimit) {
        const std::vector<WebNode*>& all = m_nodes.unordered();
        m_index = std::make_unique<std::unordered_set<const WebNode*>>(all.begin(), all.end());
    }
}

bool NeighbourList::contains(const WebNode* node) const {
    if (m_index) {
        return m_index->count(node) != 0;
    }
    const std::vector<WebNode*>& all = m_nodes.unordered();
    return std::find(all.begin(), all.end(), node) != all.end();
}

} // namespace corvida
