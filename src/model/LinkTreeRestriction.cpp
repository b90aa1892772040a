// SPDX-License-Identifier: MIT
#include "model/LinkTreeRestriction.h"

#include "model/WebNode.h"

namespace corvida {

bool LinkTreeRestriction::passes(const WebNode& node) const {
    if (m_entry == nullptr) {
        return false;
    }
    const LinkTreeEntry* own = node.linkTreeEntry();
    if (m_subtree) {
        return LinkTreeEntry::isWithin(own, m_entry);
    }
    return own != nullptr && (own == m_entry || own->parentEntry() == m_entry);
}

} // namespace corvida
