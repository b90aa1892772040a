// SPDX-License-Identifier: MIT
#include "views/UrlListPane.h"

#include <algorithm>
#include <optional>

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "doc/CTamsoDoc.h"
#include "viewlogic/UrlListCellSearch.h"
#include "viewlogic/UrlNameShortener.h"
#include "views/MasterView.h"
#include "views/NodeDrag.h"

namespace corvida {

namespace {

// How many rows ahead a find asks for the nodes, where their texts are kept, and the texts.
constexpr int kFindNodesAhead = 24;
constexpr int kFindStorageAhead = 16;
constexpr int kFindTextsAhead = 8;

// Draws the Name column's URLs shortened to fit, and rows in their look's colours.
class UrlListDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(UrlListModel::ColumnIdRole).toInt() != ColumnEntry::kName) {
            return;
        }
        const QFontMetrics& metrics = option->fontMetrics;
        const QByteArray bytes = option->text.toUtf8();
        const std::string shown = UrlNameShortener::shorten(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), option->rect.width(),
            [&metrics](std::string_view text) {
                return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
            });
        option->text = QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
    }
};

} // namespace

UrlListPane::UrlListPane(CTamsoDoc& document, MasterView& master, const ColumnTable& columns, QWidget* parent)
    : QTableView(parent), m_document(document), m_master(master), m_columns(columns) {
    setObjectName(QStringLiteral("UrlListPane"));
    setModel(&m_model);
    setItemDelegate(new UrlListDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    // Cells are cut at their edge, as the Name column's shortening expects.
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

    QHeaderView* header = horizontalHeader();
    header->setFixedHeight(kHeaderHeight);
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, this, &UrlListPane::sortByHeader);
    // A divider's double-click gives the column its width from the column table back, instead
    // of fitting it to its contents (which would read every row).
    disconnect(header, &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
    connect(header, &QHeaderView::sectionHandleDoubleClicked, this,
            [this](int section) { setColumnWidth(section, shownWidth(section)); });

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { rowPicked(current); });
    connect(this, &QAbstractItemView::pressed, this, &UrlListPane::rowPicked);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (WebNode* node = m_model.node(index.row())) {
            emit nodeActivated(node);
        }
    });

    rebuildColumns();
    m_document.addView(this);
}

UrlListPane::~UrlListPane() {
    m_document.removeView(this);
}

void UrlListPane::update(const Update& update) {
    switch (update.hint) {
    case Hint::Insert:
        for (const InsertRecord& record : update.records) {
            if (record.master == &m_master && record.node != nullptr) {
                m_model.insertNode(record.node);
            }
        }
        break;
    case Hint::Reset:
        if (update.master == &m_master) {
            m_model.clear();
            m_find.restart();
        }
        break;
    case Hint::ContentsGone:
        m_model.clear();
        m_find.restart();
        break;
    case Hint::Select:
        if (update.master == &m_master && !update.nodes.empty()) {
            selectRowOf(update.nodes.front());
        }
        break;
    case Hint::Deselect:
        if (update.master == &m_master && !update.nodes.empty() && selectedNode() == update.nodes.front()) {
            selectRowOf(nullptr);
        }
        break;
    case Hint::Columns:
        rebuildColumns();
        break;
    default:
        break;
    }
}

WebNode* UrlListPane::selectedNode() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? nullptr : m_model.node(selected.front().row());
}

void UrlListPane::rebuildColumns() {
    WebNode* const selected = selectedNode();
    m_applyingSelection = true;
    m_model.setColumns(m_columns);
    m_applyingSelection = false;
    for (int column = 0; column < m_model.columnCount(); ++column) {
        setColumnWidth(column, shownWidth(column));
    }
    m_order.reset();
    horizontalHeader()->setSortIndicatorShown(false);
    m_find.restart();
    selectRowOf(selected);
}

int UrlListPane::shownWidth(int column) const {
    // The column table's widths are pixels of the classic 8-point dialog font, whose digits are
    // kTableDigitWidth pixels wide. They are shown in proportion to the list's own font, so that
    // captions, numbers and dates fit as they did in that font.
    const int width = m_model.tableWidth(column);
    const int digits = fontMetrics().horizontalAdvance(QStringLiteral("0123456789"));
    return std::max(width, width * digits / (10 * kTableDigitWidth));
}

void UrlListPane::selectRowOf(const WebNode* node) {
    if (node != nullptr && m_model.rowOf(node) < 0 && m_model.hasPending()) {
        m_model.flushPending();
    }
    const int row = node != nullptr ? m_model.rowOf(node) : -1;
    m_applyingSelection = true;
    if (row < 0) {
        selectionModel()->clearSelection();
    } else {
        const QModelIndex index = m_model.index(row, 0);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    }
    m_applyingSelection = false;
}

void UrlListPane::rowPicked(const QModelIndex& index) {
    if (m_applyingSelection || !index.isValid()) {
        return;
    }
    if (WebNode* node = m_model.node(index.row())) {
        m_master.selectNode(node, this);
    }
}

QModelIndex UrlListPane::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action != MoveHome && action != MoveEnd) {
        return QTableView::moveCursor(action, modifiers);
    }
    // The row changes and the column stays, so the view does not scroll sideways.
    const int row = action == MoveHome ? 0 : m_model.rowCount() - 1;
    return row < 0 ? QModelIndex() : m_model.index(row, std::max(currentIndex().column(), 0));
}

void UrlListPane::sortByHeader(int position) {
    if (position < 0 || position >= m_model.columnCount()) {
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const int scroll = horizontalScrollBar()->value();
    m_applyingSelection = true;
    if (m_order.click(position) == UrlListOrder::Change::Reverse) {
        m_model.reverse();
    } else {
        m_model.sortByColumn(position, true);
    }
    m_applyingSelection = false;
    QHeaderView* header = horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(position, m_order.ascending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    horizontalScrollBar()->setValue(scroll);
    m_find.restart();
    QGuiApplication::restoreOverrideCursor();
}

UrlListFind::Result UrlListPane::findNext(const QString& text, bool matchCase, UrlListFind::Direction direction) {
    m_model.flushPending();
    const QModelIndex current = selectionModel()->currentIndex();
    const bool selected = current.isValid() && selectionModel()->isRowSelected(current.row(), {});
    // A row picked since the last match starts the search there.
    if (m_find.continuing() && (!selected || current.row() != m_findRow)) {
        m_find.restart();
    }
    const QByteArray bytes = text.toUtf8();
    UrlListCellSearch search(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), matchCase,
                             m_columns);
    // The walk is bound by reading the nodes and their texts: it asks for the rows ahead
    // while it compares the current one.
    const int forward = direction == UrlListFind::Direction::Down ? 1 : -1;
    int lastRow = -1;
    const UrlListFind::Result result =
        m_find.next(direction, static_cast<std::size_t>(m_model.rowCount()), search.searched(),
                    selected ? std::optional<std::size_t>(static_cast<std::size_t>(current.row())) : std::nullopt,
                    [&](std::size_t row, std::size_t entry) {
                        const int at = static_cast<int>(row);
                        if (at != lastRow) {
                            lastRow = at;
                            const auto fetch = [&](int ahead, UrlListCellSearch::Fetch what) {
                                if (const WebNode* node = m_model.node(at + forward * ahead)) {
                                    search.fetch(*node, what);
                                }
                            };
                            fetch(kFindNodesAhead, UrlListCellSearch::Fetch::Node);
                            fetch(kFindStorageAhead, UrlListCellSearch::Fetch::Storage);
                            fetch(kFindTextsAhead, UrlListCellSearch::Fetch::Texts);
                        }
                        return search.matches(*m_model.node(at), entry);
                    });
    if (result.found) {
        m_findRow = static_cast<int>(result.row);
        const QModelIndex index = m_model.index(m_findRow, 0);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    } else {
        m_findRow = -1;
    }
    return result;
}

void UrlListPane::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (!index.isValid()) {
        return;
    }
    selectRow(index.row());
    rowPicked(index);
    emit nodeMenuRequested(event->globalPos());
}

void UrlListPane::mousePressEvent(QMouseEvent* event) {
    m_pressPosition = event->button() == Qt::LeftButton ? event->position().toPoint() : QPoint(-1, -1);
    QTableView::mousePressEvent(event);
}

void UrlListPane::mouseMoveEvent(QMouseEvent* event) {
    const WebNode* node = selectedNode();
    if ((event->buttons() & Qt::LeftButton) != 0 && m_pressPosition.x() >= 0 && node != nullptr &&
        NodeDrag::beyondStart(m_pressPosition, event->position().toPoint())) {
        m_pressPosition = QPoint(-1, -1);
        NodeDrag::start(this, *node);
        return;
    }
    QTableView::mouseMoveEvent(event);
}

} // namespace corvida
