// SPDX-License-Identifier: MIT
#include "views/SelectNodeDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/WebNode.h"
#include "views/DisplayText.h"

namespace corvida {

SelectNodeDialog::SelectNodeDialog(std::span<WebNode* const> nodes, QWidget* parent)
    : QDialog(parent), m_nodes(nodes.begin(), nodes.end()), m_list(new QTreeWidget) {
    setWindowTitle(QStringLiteral("Select Node"));
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({QStringLiteral("URL")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(false);
    m_list->setColumnWidth(0, kColumnWidth);
    // The column shows whole, beside the vertical scroll bar that a long list takes.
    m_list->setMinimumWidth(kColumnWidth + 2 * m_list->frameWidth() +
                            m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    for (const WebNode* node : m_nodes) {
        // Item views show their text as it is, never as markup.
        auto* item = new QTreeWidgetItem(m_list, {DisplayText::fromBytes(node->address())});
        item->setToolTip(0, item->text(0).toHtmlEscaped());
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

SelectNodeDialog::~SelectNodeDialog() = default;

WebNode* SelectNodeDialog::chosenNode() const {
    if (result() != QDialog::Accepted) {
        return nullptr;
    }
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        return nullptr;
    }
    const int row = m_list->indexOfTopLevelItem(selected.front());
    return row >= 0 && static_cast<std::size_t>(row) < m_nodes.size() ? m_nodes[static_cast<std::size_t>(row)]
                                                                      : nullptr;
}

} // namespace corvida
