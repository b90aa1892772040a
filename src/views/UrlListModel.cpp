// SPDX-License-Identifier: MIT
#include "views/UrlListModel.h"

#include <algorithm>
#include <optional>

#include <QGuiApplication>
#include <QPalette>

#include "drawing/NodeIcons.h"
#include "model/UrlListColumns.h"
#include "model/WebNode.h"
#include "viewlogic/NodeGlyph.h"
#include "viewlogic/UrlListOrder.h"
#include "views/DisplayText.h"

namespace corvida {

namespace {

Qt::Alignment alignmentOf(std::int32_t format) {
    switch (format) {
    case ColumnEntry::kRight:
        return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnEntry::kCentre:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

UrlListModel::UrlListModel(QObject* parent) : QAbstractTableModel(parent) {
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(kFlushIntervalMs);
    connect(&m_flushTimer, &QTimer::timeout, this, &UrlListModel::flushPending);
}

void UrlListModel::setColumns(const ColumnTable& table) {
    beginResetModel();
    m_columns.clear();
    m_entries.clear();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].shown != 0) {
            m_columns.push_back(table[i]);
            m_entries.push_back(i);
        }
    }
    endResetModel();
}

int UrlListModel::tableWidth(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= m_columns.size()) {
        return kMinWidth;
    }
    // The profile may hold any number here.
    return std::clamp(m_columns[static_cast<std::size_t>(column)].width, kMinWidth, kMaxWidth);
}

void UrlListModel::insertNode(WebNode* node) {
    const auto found = m_index.find(node);
    if (found != m_index.end()) {
        if (found->second < m_visible) {
            const int row = static_cast<int>(m_visible - 1 - found->second);
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        }
        return;
    }
    m_index.emplace(node, m_nodes.size());
    m_nodes.push_back(node);
    if (!m_flushTimer.isActive()) {
        m_flushTimer.start();
    }
}

void UrlListModel::flushPending() {
    m_flushTimer.stop();
    if (!hasPending()) {
        return;
    }
    beginInsertRows({}, 0, static_cast<int>(m_nodes.size() - m_visible) - 1);
    m_visible = m_nodes.size();
    endInsertRows();
}

void UrlListModel::clear() {
    m_flushTimer.stop();
    beginResetModel();
    m_nodes.clear();
    m_index.clear();
    m_visible = 0;
    endResetModel();
}

WebNode* UrlListModel::node(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_visible) {
        return nullptr;
    }
    return m_nodes[storageIndex(row)];
}

int UrlListModel::rowOf(const WebNode* node) const {
    const auto found = m_index.find(node);
    if (found == m_index.end() || found->second >= m_visible) {
        return -1;
    }
    return static_cast<int>(m_visible - 1 - found->second);
}

std::vector<WebNode*> UrlListModel::rows() const {
    return {m_nodes.rbegin(), m_nodes.rend()};
}

void UrlListModel::sortByColumn(int column, bool ascending) {
    if (column < 0 || static_cast<std::size_t>(column) >= m_columns.size()) {
        return;
    }
    flushPending();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<const WebNode*> nodesBefore;
    nodesBefore.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) {
        nodesBefore.push_back(node(index.row()));
    }
    // Stored in reverse display order: ascending rows are a descending vector.
    UrlListOrder::sort(m_nodes, m_columns[static_cast<std::size_t>(column)].columnId, !ascending);
    rebuildIndex();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.push_back(index(rowOf(nodesBefore[static_cast<std::size_t>(i)]), before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void UrlListModel::reverse() {
    flushPending();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    const int last = static_cast<int>(m_visible) - 1;
    for (const QModelIndex& index : before) {
        after.push_back(this->index(last - index.row(), index.column()));
    }
    std::reverse(m_nodes.begin(), m_nodes.end());
    rebuildIndex();
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void UrlListModel::rebuildIndex() {
    m_index.clear();
    m_index.reserve(m_nodes.size());
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        m_index.emplace(m_nodes[i], i);
    }
}

int UrlListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_visible);
}

int UrlListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

UrlListModel::RowLook UrlListModel::lookOf(const WebNode& node) {
    if (node.isBroken()) {
        return RowLook::Broken;
    }
    return node.hasAnyFlag(kFlagProcessed) ? RowLook::Normal : RowLook::Unprocessed;
}

QVariant UrlListModel::data(const QModelIndex& index, int role) const {
    const WebNode* row = node(index.row());
    if (row == nullptr || index.column() < 0 || static_cast<std::size_t>(index.column()) >= m_columns.size()) {
        return {};
    }
    const ColumnEntry& column = m_columns[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText::fromBytes(UrlListColumns::cellText(*row, column.columnId));
    case Qt::ToolTipRole: {
        // Site text: escaped, so that a tooltip never renders it as markup.
        const std::string text = UrlListColumns::cellText(
            *row, column.columnId == ColumnEntry::kType ? ColumnEntry::kContentType : column.columnId);
        return text.empty() ? QVariant() : QVariant(DisplayText::fromBytes(text).toHtmlEscaped());
    }
    case Qt::DecorationRole: {
        if (column.columnId != ColumnEntry::kType) {
            return {};
        }
        const std::optional<NodeGlyph> icon = NodeGlyph::listIcon(*row);
        return icon ? QVariant(NodeIcons::image(*icon)) : QVariant();
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentOf(column.format));
    case Qt::ForegroundRole:
        switch (lookOf(*row)) {
        case RowLook::Broken:
            return QColor(kBrokenText);
        case RowLook::Unprocessed:
            return QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
        default:
            return {};
        }
    case ColumnIdRole:
        return column.columnId;
    case RowLookRole:
        return static_cast<int>(lookOf(*row));
    default:
        return {};
    }
}

QVariant UrlListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || static_cast<std::size_t>(section) >= m_columns.size()) {
        return {};
    }
    const ColumnEntry& column = m_columns[static_cast<std::size_t>(section)];
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromUtf8(column.caption);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentOf(column.format));
    default:
        return {};
    }
}

} // namespace corvida
