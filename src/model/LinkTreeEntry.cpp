// SPDX-License-Identifier: MIT
#include "model/LinkTreeEntry.h"

namespace corvida {

LinkTreeEntry::LinkTreeEntry(WebNode* node, WebNode* parentNode, LinkTreeEntry* parentEntry)
    : m_node(node), m_parentNode(parentNode), m_parentEntry(parentEntry) {}

void LinkTreeEntry::attach() {
    if (m_parentEntry == nullptr) {
        m_depth = 0;
        m_label = "1";
        return;
    }
    m_parentEntry->m_children.push_back(this);
    m_depth = m_parentEntry->m_depth + 1;
    m_label = m_parentEntry->m_label;
    m_label += '.';
    m_label += std::to_string(m_parentEntry->m_children.size());
}

bool LinkTreeEntry::isWithin(const LinkTreeEntry* entry, const LinkTreeEntry* ancestor) {
    if (entry == nullptr) {
        return true;
    }
    for (const LinkTreeEntry* walk = entry; walk != nullptr; walk = walk->m_parentEntry) {
        if (walk == ancestor) {
            return true;
        }
    }
    return false;
}

} // namespace corvida
