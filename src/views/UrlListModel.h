// SPDX-License-Identifier: MIT
#pragma once

// UrlListModel is the table behind a URL list: one row per node the window shows, newest
// first until the rows are sorted, and one column per shown entry of the column table. It
// holds pointers to nodes the document owns; clear() must run before they are freed.
//
// Rows are kept in reverse display order, so that a new row at the top is an append. New
// rows reach the view in bunches (flushPending(), on a short timer), so that a window that
// is fed a million nodes does not move its row bookkeeping once per node.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include <QAbstractTableModel>
#include <QColor>
#include <QTimer>

#include "model/ColumnEntry.h"

namespace corvida {

class WebNode;

class UrlListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Extra data roles.
    enum Role {
        // The column id (ColumnEntry) of a column, as an int.
        ColumnIdRole = Qt::UserRole + 1,
        // The RowLook of a row, as an int.
        RowLookRole,
    };
    enum class RowLook { Normal = 0, Unprocessed = 1, Broken = 2 };
    // Text of broken rows that are not selected.
    static constexpr QColor kBrokenText{160, 0, 0};
    // Widths from the column table are kept within this range.
    static constexpr int kMinWidth = 1;
    static constexpr int kMaxWidth = 1000;
    // How long new rows wait before they reach the view.
    static constexpr int kFlushIntervalMs = 50;

    explicit UrlListModel(QObject* parent = nullptr);

    // Takes the shown entries of table as the columns, in table order. The rows stay.
    void setColumns(const ColumnTable& table);
    // The shown entries, in display order, and the table index of each.
    const std::vector<ColumnEntry>& columns() const { return m_columns; }
    const std::vector<std::size_t>& columnEntries() const { return m_entries; }
    // The width a column takes from the table, within kMinWidth..kMaxWidth.
    int tableWidth(int column) const;

    // A node for the top of the list; a node that has a row already has it drawn again
    // (with redrawOnly set or not, so a repeated record never makes a second row).
    void insertNode(WebNode* node);
    // Removes every row.
    void clear();
    // Hands rows that wait to the view now.
    void flushPending();
    bool hasPending() const { return m_visible < m_nodes.size(); }

    // The node of row, or nullptr out of range.
    WebNode* node(int row) const;
    // The row of node, or -1 (also for a node whose row has not reached the view yet).
    int rowOf(const WebNode* node) const;
    // Every node in display order (pending rows first).
    std::vector<WebNode*> rows() const;

    // Sorts the rows by the content of column, ascending or descending.
    void sortByColumn(int column, bool ascending);
    // Puts the rows in reverse order.
    void reverse();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The look of node's row: broken before unprocessed.
    static RowLook lookOf(const WebNode& node);

private:
    std::size_t storageIndex(int row) const { return m_visible - 1 - static_cast<std::size_t>(row); }
    void rebuildIndex();

    std::vector<ColumnEntry> m_columns;
    std::vector<std::size_t> m_entries;
    // Display row r is m_nodes[m_visible - 1 - r]; nodes from m_visible on still wait.
    std::vector<WebNode*> m_nodes;
    std::size_t m_visible = 0;
    std::unordered_map<const WebNode*, std::size_t> m_index; // node -> index in m_nodes
    QTimer m_flushTimer;
};

} // namespace corvida
