// SPDX-License-Identifier: MIT
#pragma once

// The MasterView is the hidden view of one project window: it holds what that window shows
// (a filter slot of the program's FilterSet and a link-tree restriction) and its selected
// node, and tells the window's views of changes through the document. A new window shows the
// whole site: it follows the link tree's root with the subtree flag on until a restriction is
// chosen.
//
// The document and the filter set must outlive the master. The window registers the master
// with the document before its other views and removes it after them.

#include <cstddef>
#include <functional>

#include "doc/DocumentView.h"
#include "model/LinkTreeRestriction.h"

namespace corvida {

class CTamsoDoc;
class FilterSet;
class WebNode;

class MasterView : public DocumentView {
public:
    MasterView(CTamsoDoc& document, const FilterSet& filters);

    bool isMaster() const override { return true; }
    bool shows(const WebNode& node) const override;
    void update(const Update& update) override;

    // Called after the filter slot, the restriction or the selection changed.
    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }

    std::size_t filterSlot() const { return m_filterSlot; }
    // Shows the nodes of filter slot (0 to 4) and refills the window's views.
    void setFilterSlot(std::size_t slot);

    // Refills the window's views after its filter changed.
    void refilter();

    // The restriction; without a chosen one, the link tree's root with the subtree flag.
    LinkTreeRestriction restriction() const;
    // Restricts the window to entry (nullptr: back to the whole site) and refills its views.
    void setRestriction(const LinkTreeEntry* entry, bool subtree);

    WebNode* selectedNode() const { return m_selected; }
    // Makes node the selected node of the window (nullptr: none): the other views of the
    // document hear Deselect for the old node and Select for the new one. Returns the old one.
    WebNode* selectNode(WebNode* node, const DocumentView* sender = nullptr);

private:
    void changed();

    CTamsoDoc& m_document;
    const FilterSet& m_filters;
    std::size_t m_filterSlot = 0;
    bool m_restricted = false; // a restriction was chosen; else the root's subtree
    LinkTreeRestriction m_restriction;
    WebNode* m_selected = nullptr;
    std::function<void()> m_changed;
};

} // namespace corvida
