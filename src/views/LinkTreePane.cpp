// SPDX-License-Identifier: MIT
#include "views/LinkTreePane.h"

#include <unordered_set>
#include <vector>

#include <QAbstractItemModel>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>

#include "doc/CTamsoDoc.h"
#include "model/LinkTree.h"
#include "model/LinkTreeEntry.h"
#include "model/WebNode.h"
#include "viewlogic/LinkTreeFill.h"
#include "views/DisplayText.h"
#include "views/GlyphFactory.h"
#include "views/MasterView.h"

namespace corvida {

namespace {

using Item = LinkTreeFill::Item;

// More additions than this at once rebuild the view's rows in one go instead of row by row.
constexpr std::size_t kResetThreshold = 2000;

// A delegate that lets the pane lay an item out as it is drawn, for the icon's place.
class ItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::initStyleOption;
    using QStyledItemDelegate::QStyledItemDelegate;
};

} // namespace

// The items of a LinkTreeFill as one column of rows. An index's internal pointer is its Item;
// texts are read from the nodes when asked, so they follow titles that arrive later.
class LinkTreePane::Model : public QAbstractItemModel {
public:
    Model() : m_icons{GlyphFactory::linkTreeIcon(false), GlyphFactory::linkTreeIcon(true)} {}

    const LinkTreeFill& fill() const { return m_fill; }

    QModelIndex indexOf(const Item* item) const {
        return item != nullptr ? createIndex(item->row, 0, const_cast<Item*>(item)) : QModelIndex();
    }
    static const Item* itemOf(const QModelIndex& index) {
        return index.isValid() ? static_cast<const Item*>(index.internalPointer()) : nullptr;
    }

    void add(const std::vector<const LinkTreeEntry*>& entries) {
        if (entries.size() > kResetThreshold) {
            beginResetModel();
            m_fill.reserve(m_fill.size() + entries.size());
            for (const LinkTreeEntry* entry : entries) {
                m_fill.add(*entry);
            }
            endResetModel();
            return;
        }
        for (const LinkTreeEntry* entry : entries) {
            const Item* parent = m_fill.parentFor(*entry);
            const int row = static_cast<int>(parent != nullptr ? parent->children.size() : m_fill.topLevel().size());
            beginInsertRows(indexOf(parent), row, row);
            m_fill.add(*entry);
            endInsertRows();
        }
    }

    void retext(const std::vector<const Item*>& items) {
        for (const Item* item : items) {
            const QModelIndex index = indexOf(item);
            emit dataChanged(index, index, {Qt::DisplayRole, Qt::ToolTipRole});
        }
    }

    void clear() {
        beginResetModel();
        m_fill.clear();
        m_subtreeIcons.clear();
        endResetModel();
    }

    bool showsSubtreeIcon(const LinkTreeEntry* entry) const { return m_subtreeIcons.contains(entry); }
    void setSubtreeIcon(const QModelIndex& index, bool subtree) {
        const Item* item = itemOf(index);
        if (item == nullptr) {
            return;
        }
        if (subtree) {
            m_subtreeIcons.insert(item->entry);
        } else {
            m_subtreeIcons.erase(item->entry);
        }
        emit dataChanged(index, index, {Qt::DecorationRole});
    }

    QModelIndex index(int row, int column, const QModelIndex& parent) const override {
        const std::vector<Item*>& rows = childrenOf(parent);
        if (column != 0 || row < 0 || static_cast<std::size_t>(row) >= rows.size()) {
            return {};
        }
        return createIndex(row, 0, rows[static_cast<std::size_t>(row)]);
    }
    QModelIndex parent(const QModelIndex& child) const override {
        const Item* item = itemOf(child);
        return item != nullptr ? indexOf(item->parent) : QModelIndex();
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.column() > 0 ? 0 : static_cast<int>(childrenOf(parent).size());
    }
    int columnCount(const QModelIndex& /*parent*/) const override { return 1; }
    bool hasChildren(const QModelIndex& parent) const override { return rowCount(parent) > 0; }

    QVariant data(const QModelIndex& index, int role) const override {
        const Item* item = itemOf(index);
        if (item == nullptr) {
            return {};
        }
        switch (role) {
        case Qt::DisplayRole:
            return DisplayText::fromBytes(LinkTreeFill::text(*item->entry->node()));
        case Qt::ToolTipRole: // tooltips would render rich text
            return DisplayText::fromBytes(item->entry->node()->url().url()).toHtmlEscaped();
        case Qt::DecorationRole:
            return m_icons[showsSubtreeIcon(item->entry) ? 1 : 0];
        default:
            return {};
        }
    }

private:
    const std::vector<Item*>& childrenOf(const QModelIndex& parent) const {
        const Item* item = itemOf(parent);
        return item != nullptr ? item->children : m_fill.topLevel();
    }

    LinkTreeFill m_fill;
    std::unordered_set<const LinkTreeEntry*> m_subtreeIcons; // items showing icon 1
    QIcon m_icons[2];
};

LinkTreePane::LinkTreePane(CTamsoDoc& document, MasterView& master, QWidget* parent)
    : QTreeView(parent), m_document(document), m_master(master), m_model(std::make_unique<Model>()) {
    setModel(m_model.get());
    setItemDelegate(new ItemDelegate(this));
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setIconSize(QSize(GlyphFactory::kGlyphSize, GlyphFactory::kGlyphSize));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    addItems(m_model->fill().missingFromRoot(document.linkTree()));
    m_document.addView(this);
}

LinkTreePane::~LinkTreePane() {
    m_document.removeView(this);
    setModel(nullptr);
}

void LinkTreePane::update(const Update& update) {
    switch (update.hint) {
    case Hint::NewNodes:
    case Hint::NodesChanged: {
        // Titles arrive after the items: the items there were get their texts again.
        const std::vector<const LinkTreeFill::Item*> existing = m_model->fill().itemsOf(update.nodes);
        addItems(m_model->fill().missingFor(m_document.linkTree(), update.nodes));
        m_model->retext(existing);
        break;
    }
    case Hint::ContentsGone:
        m_model->clear();
        m_subtree = true;
        break;
    default:
        break;
    }
}

QModelIndex LinkTreePane::indexOf(const LinkTreeEntry* entry) const {
    return m_model->indexOf(m_model->fill().item(entry));
}

const LinkTreeEntry* LinkTreePane::entryOf(const QModelIndex& index) {
    const Item* item = Model::itemOf(index);
    return item != nullptr ? item->entry : nullptr;
}

bool LinkTreePane::showsSubtreeIcon(const QModelIndex& index) const {
    return m_model->showsSubtreeIcon(entryOf(index));
}

QRect LinkTreePane::iconRect(const QModelIndex& index) const {
    const QRect cell = visualRect(index);
    if (cell.isEmpty()) {
        return {};
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    static_cast<ItemDelegate*>(itemDelegate())->initStyleOption(&option, index);
    option.rect = cell;
    return style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
}

void LinkTreePane::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const QModelIndex index = indexAt(point);
    // Only a press on the item itself counts, not one on its branch lines.
    const LinkTreeEntry* entry =
        event->button() == Qt::LeftButton && visualRect(index).contains(point) ? entryOf(index) : nullptr;
    if (entry != nullptr) {
        if (index == currentIndex() && iconRect(index).contains(point)) {
            m_subtree = !m_subtree;
            m_model->setSubtreeIcon(index, m_subtree);
        }
        m_master.setRestriction(entry, m_subtree);
    }
    QTreeView::mousePressEvent(event);
    if (entry != nullptr) {
        m_master.selectNode(entry->node(), this);
    }
}

void LinkTreePane::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    if (entryOf(indexAt(event->position().toPoint())) != nullptr) {
        emit nodeActivated();
    }
}

void LinkTreePane::contextMenuEvent(QContextMenuEvent* event) {
    const LinkTreeEntry* entry = entryOf(indexAt(viewport()->mapFromGlobal(event->globalPos())));
    if (entry == nullptr) {
        return;
    }
    m_master.selectNode(entry->node(), this);
    emit nodeMenuRequested(event->globalPos());
}

void LinkTreePane::addItems(const std::vector<const LinkTreeEntry*>& entries) {
    if (entries.empty()) {
        return;
    }
    const LinkTreeEntry* current = entryOf(currentIndex());
    const LinkTreeEntry* root = m_document.linkTree().root();
    const bool hadRoot = m_model->fill().item(root) != nullptr;
    m_model->add(entries);
    if (entries.size() > kResetThreshold && current != nullptr) {
        // The rows were rebuilt: the selection and the open first level come back.
        setCurrentIndex(indexOf(current));
    }
    const QModelIndex rootIndex = indexOf(root);
    if (!rootIndex.isValid()) {
        return;
    }
    if (!hadRoot || entries.size() > kResetThreshold) {
        expand(rootIndex);
    }
    if (!currentIndex().isValid()) {
        // The master follows the root's subtree until a click: so does the pane.
        m_model->setSubtreeIcon(rootIndex, m_subtree);
        setCurrentIndex(rootIndex);
    }
}

} // namespace corvida
