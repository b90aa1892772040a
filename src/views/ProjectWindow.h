// SPDX-License-Identifier: MIT
#pragma once

// A ProjectWindow is one window on a project document: its master view (filter slot,
// restriction, selection) and its panes in fixed splitters, the link tree on the left third
// and, on the right, the Wavefront map above the URL list. A document may have several
// windows; each has its own master.
//
// The document and the filter set must outlive the window.

#include <QWidget>

#include "model/ColumnEntry.h"
#include "views/MasterView.h"
#include "views/UrlListPane.h"
#include "views/WavefrontView.h"

class QSplitter;

namespace corvida {

class CTamsoDoc;
class FilterSet;
class WebNode;

class ProjectWindow : public QWidget {
    Q_OBJECT

public:
    // columns is the program's column table of the URL list; it must outlive the window.
    ProjectWindow(CTamsoDoc& document, const FilterSet& filters, const ColumnTable& columns, QWidget* parent = nullptr);
    ~ProjectWindow() override;

    CTamsoDoc& document() const { return m_document; }
    MasterView& master() { return m_master; }
    const MasterView& master() const { return m_master; }

    // The panes, left to right and top to bottom: link tree, Wavefront, URL list.
    QWidget* navigationPane() const { return m_navigation; }
    QWidget* wavefrontPane() const { return m_wavefront; }
    QWidget* listPane() const { return m_list; }
    UrlListPane* urlList() const { return m_list; }
    WavefrontView* wavefront() const { return m_wavefront; }
    // Gives the focus to the next (step 1) or previous (step -1) pane, round the three.
    void focusPane(int step);

signals:
    // The filter slot, the restriction or the selection changed.
    void masterChanged();
    // A pane asks for the node menu of the selected node at a point of the screen.
    void nodeMenuRequested(const QPoint& globalPosition);
    // A pane's node was double-clicked: it is the selected node.
    void nodeActivated();

protected:
    void showEvent(QShowEvent* event) override;

private:
    CTamsoDoc& m_document;
    MasterView m_master;
    QSplitter* m_outer = nullptr;
    QSplitter* m_inner = nullptr;
    QWidget* m_navigation = nullptr;
    WavefrontView* m_wavefront = nullptr;
    UrlListPane* m_list = nullptr;
    bool m_sized = false;
};

} // namespace corvida
