// SPDX-License-Identifier: MIT
#pragma once

// The LinkTreePane is the left pane of a project window: the project's fetched HTML documents
// as a tree, each under the document through which the crawl first reached it. Clicking a
// document restricts what the window's graph views show to it: to the page and
// its direct link targets, or with the pane's subtree flag on, to everything below it.
// Clicking the icon of the selected item toggles that flag and swaps the item's icon.
//
// A new pane starts with the tree's root selected and the subtree flag on, as its master
// shows the whole site until a restriction is chosen. Items are added as documents are
// processed and keep their place; they go only when the document's contents are gone.
//
// The pane registers itself with the document and removes itself when destroyed: the
// document and the master must outlive it.

#include <memory>

#include <QTreeView>

#include "doc/DocumentView.h"

namespace corvida {

class CTamsoDoc;
class LinkTreeEntry;
class MasterView;

class LinkTreePane : public QTreeView, public DocumentView {
    Q_OBJECT

public:
    LinkTreePane(CTamsoDoc& document, MasterView& master, QWidget* parent = nullptr);
    ~LinkTreePane() override;
    LinkTreePane(const LinkTreePane&) = delete;
    LinkTreePane& operator=(const LinkTreePane&) = delete;

    using QTreeView::update;
    // NewNodes and NodesChanged add the items that became due and re-text the changed ones;
    // ContentsGone empties the tree. Other hints do not concern the pane.
    void update(const Update& update) override;

    // The flag that a click on an item restricts with: the item's subtree, or the item and
    // its direct targets.
    bool subtreeFlag() const { return m_subtree; }
    // The index of entry's item, or an invalid index when it has none.
    QModelIndex indexOf(const LinkTreeEntry* entry) const;
    // The entry that index stands for, or nullptr.
    static const LinkTreeEntry* entryOf(const QModelIndex& index);
    // Whether index's item shows the picture of a page with everything below it.
    bool showsSubtreeIcon(const QModelIndex& index) const;
    // Where index's icon is drawn, in viewport coordinates (empty when it is not shown).
    QRect iconRect(const QModelIndex& index) const;

signals:
    // An item was double-clicked: its node, the selected one, is to be viewed.
    void nodeActivated();
    // The node menu is asked for at a point of the screen; the item's node is the selected one.
    void nodeMenuRequested(const QPoint& globalPosition);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    class Model;

    // Adds the items of entries in order (each after its parent), then selects the root's
    // item when it is new and nothing is selected.
    void addItems(const std::vector<const LinkTreeEntry*>& entries);

    CTamsoDoc& m_document;
    MasterView& m_master;
    std::unique_ptr<Model> m_model;
    bool m_subtree = true; // the master follows the root's subtree until a click
};

} // namespace corvida
