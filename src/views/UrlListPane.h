// SPDX-License-Identifier: MIT
#pragma once

// UrlListPane is the URL list of a project window: a table of the nodes that the window's
// master shows, one row each, newest first until a column header is clicked (a click sorts
// by that column, another click on it reverses the rows). It hears its master's Insert,
// Reset and Select hints, the document's Columns and ContentsGone hints, and makes the row a
// person picks the window's selected node.
//
// The document, the master and the column table must outlive the pane. The pane attaches
// itself to the document when it is made and detaches when it is destroyed.

#include <QTableView>

#include "doc/DocumentView.h"
#include "model/ColumnEntry.h"
#include "viewlogic/UrlListFind.h"
#include "viewlogic/UrlListOrder.h"
#include "views/UrlListModel.h"

namespace corvida {

class CTamsoDoc;
class MasterView;
class WebNode;

class UrlListPane : public QTableView, public DocumentView {
    Q_OBJECT

public:
    // Height of the header row in pixels.
    static constexpr int kHeaderHeight = 20;
    // Width of a digit, in pixels, in the font the column table's widths are made for.
    static constexpr int kTableDigitWidth = 6;

    UrlListPane(CTamsoDoc& document, MasterView& master, const ColumnTable& columns, QWidget* parent = nullptr);
    ~UrlListPane() override;

    using QTableView::update;
    void update(const Update& update) override;

    // Looks for text in the shown cells from after the last match (or from the selected row,
    // see UrlListFind::next) and selects the row of the match, which the master follows.
    // found is false when the search reached the end; the next one then starts over.
    UrlListFind::Result findNext(const QString& text, bool matchCase = false,
                                 UrlListFind::Direction direction = UrlListFind::Direction::Down);

    // The nodes of the rows in display order, for an export. Valid until the next hint.
    std::vector<WebNode*> rows() const { return m_model.rows(); }
    const UrlListModel& listModel() const { return m_model; }
    const UrlListOrder& order() const { return m_order; }
    // The node of the selected row, or nullptr.
    WebNode* selectedNode() const;

    // A click on the header of the column at position: sorts or reverses the rows.
    void sortByHeader(int position);

signals:
    // A row was double-clicked: the node is to be viewed.
    void nodeActivated(WebNode* node);
    // The node menu is asked for at a point of the screen; its row is the selected one.
    void nodeMenuRequested(const QPoint& globalPosition);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Dragging the selected row out offers its node as a link.
    void mouseMoveEvent(QMouseEvent* event) override;
    // Home and End go to the first and last row, as in a list, rather than along the row.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void rebuildColumns();
    // The width on the screen of the column at position, from its width in the column table.
    int shownWidth(int column) const;
    void selectRowOf(const WebNode* node);
    void rowPicked(const QModelIndex& index);

    CTamsoDoc& m_document;
    MasterView& m_master;
    const ColumnTable& m_columns;
    UrlListModel m_model;
    UrlListOrder m_order;
    UrlListFind m_find;
    int m_findRow = -1;               // the row of the last match
    QPoint m_pressPosition;           // where the left button went down on a row
    bool m_applyingSelection = false; // a hint moves the selection: the master knows already
};

} // namespace corvida
