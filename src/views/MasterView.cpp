// SPDX-License-Identifier: MIT
#include "views/MasterView.h"

#include "doc/CTamsoDoc.h"
#include "model/FilterSet.h"
#include "model/LinkTree.h"

namespace corvida {

MasterView::MasterView(CTamsoDoc& document, const FilterSet& filters) : m_document(document), m_filters(filters) {}

LinkTreeRestriction MasterView::restriction() const {
    if (m_restricted) {
        return m_restriction;
    }
    return LinkTreeRestriction(m_document.linkTree().root(), true);
}

bool MasterView::shows(const WebNode& node) const {
    if (!m_filters.at(m_filterSlot).passes(node)) {
        return false;
    }
    // Following the root with the subtree flag lets every node through (also those outside
    // the tree, and all of them before the start page gives the tree its root).
    return !m_restricted || m_restriction.passes(node);
}

void MasterView::update(const Update& update) {
    if (update.hint == Hint::ContentsGone) {
        m_restricted = false;
        m_restriction = LinkTreeRestriction();
        m_selected = nullptr;
        changed();
    }
}

void MasterView::setFilterSlot(std::size_t slot) {
    if (slot >= m_filters.size() || slot == m_filterSlot) {
        return;
    }
    m_filterSlot = slot;
    m_document.startViewPass(this, CTamsoDoc::kFilteringStatus);
    changed();
}

void MasterView::refilter() {
    m_document.startViewPass(this, CTamsoDoc::kFilteringStatus);
}

void MasterView::setRestriction(const LinkTreeEntry* entry, bool subtree) {
    m_restricted = entry != nullptr;
    m_restriction = LinkTreeRestriction(entry, subtree);
    m_document.startViewPass(this, CTamsoDoc::kFilteringStatus);
    changed();
}

WebNode* MasterView::selectNode(WebNode* node, const DocumentView* sender) {
    WebNode* old = m_selected;
    if (node == old) {
        return old;
    }
    WebNode* const oldNodes[] = {old};
    if (old != nullptr) {
        m_document.updateAllViews({.hint = Hint::Deselect, .master = this, .records = {}, .nodes = oldNodes}, sender);
    }
    m_selected = node;
    WebNode* const newNodes[] = {node};
    if (node != nullptr) {
        m_document.updateAllViews({.hint = Hint::Select, .master = this, .records = {}, .nodes = newNodes}, sender);
    }
    changed();
    return old;
}

void MasterView::changed() {
    if (m_changed) {
        m_changed();
    }
}

} // namespace corvida
