// SPDX-License-Identifier: MIT
#include "views/ProjectWindow.h"

#include <array>

#include <QHBoxLayout>
#include <QSplitter>

#include "doc/CTamsoDoc.h"
#include "model/WebNode.h"
#include "views/LinkTreePane.h"
#include "views/UrlListPane.h"

namespace corvida {

ProjectWindow::ProjectWindow(CTamsoDoc& document, const FilterSet& filters, const ColumnTable& columns, QWidget* parent)
    : QWidget(parent), m_document(document), m_master(document, filters) {
    m_master.setChangeListener([this] { emit masterChanged(); });
    // The master comes first, so that the document knows what the window shows before any
    // other view of it asks.
    m_document.addView(&m_master);

    auto* tree = new LinkTreePane(document, m_master);
    tree->setObjectName(QStringLiteral("NavigationPane"));
    connect(tree, &LinkTreePane::nodeActivated, this, &ProjectWindow::nodeActivated);
    connect(tree, &LinkTreePane::nodeMenuRequested, this, &ProjectWindow::nodeMenuRequested);
    m_navigation = tree;
    m_wavefront = new WavefrontView(document, m_master);
    connect(m_wavefront, &WavefrontView::nodeMenuRequested, this, &ProjectWindow::nodeMenuRequested);
    m_list = new UrlListPane(document, m_master, columns);
    m_list->setObjectName(QStringLiteral("UrlListPane"));
    connect(m_list, &UrlListPane::nodeActivated, this, [this] { emit nodeActivated(); });
    connect(m_list, &UrlListPane::nodeMenuRequested, this, &ProjectWindow::nodeMenuRequested);

    m_inner = new QSplitter(Qt::Vertical);
    m_inner->addWidget(m_wavefront);
    m_inner->addWidget(m_list);
    m_outer = new QSplitter(Qt::Horizontal);
    m_outer->addWidget(m_navigation);
    m_outer->addWidget(m_inner);
    m_outer->setStretchFactor(0, 1);
    m_outer->setStretchFactor(1, 2);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_outer);

    m_document.startViewPass(&m_master, CTamsoDoc::kNewViewStatus);
}

ProjectWindow::~ProjectWindow() {
    // The panes leave the document before the master they belong to.
    delete m_outer;
    m_document.removeView(&m_master);
}

void ProjectWindow::focusPane(int step) {
    const std::array<QWidget*, 3> panes{m_navigation, m_wavefront, m_list};
    int current = -1;
    for (int index = 0; index < static_cast<int>(panes.size()); ++index) {
        if (panes[index]->isAncestorOf(focusWidget()) || panes[index] == focusWidget()) {
            current = index;
        }
    }
    const int count = static_cast<int>(panes.size());
    const int next = current < 0 ? (step > 0 ? 0 : count - 1) : ((current + step) % count + count) % count;
    panes[static_cast<std::size_t>(next)]->setFocus(Qt::OtherFocusReason);
}

void ProjectWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_sized) {
        return;
    }
    // The tree takes a third of the first width, the Wavefront and the list half the height.
    m_sized = true;
    const int width = m_outer->width();
    m_outer->setSizes({width / 3, width - width / 3});
    const int height = m_inner->height();
    m_inner->setSizes({height / 2, height - height / 2});
}

} // namespace corvida
