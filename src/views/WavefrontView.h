// SPDX-License-Identifier: MIT
#pragma once

// WavefrontView is the Wavefront map of a project window: the start page in the centre and one
// ring per link level, each node an icon of its kind and health, with red and green lines to
// the in- and out-neighbours of the selected node when asked. It is fed by its master's Insert
// batches (each batch repaints only the annulus of the levels it touched), emptied by Reset and
// ContentsGone, and shares the window's selection through the master. A person pans by
// dragging empty space, scrolls, zooms, drags a node out as a link, picks among icons lying
// over each other, and sets the map's options in its properties dialog. The options live in
// the view only: every new window starts with the same ones.
//
// The document and the master must outlive the view. The view attaches itself to the
// document when it is made and detaches when it is destroyed. It holds WebNode pointers only
// between hints that may free them: a node looked up before a nested event loop (a drag, the
// chooser, a menu) is looked up again after it.

#include <cstdint>
#include <functional>
#include <span>

#include <QAbstractScrollArea>

#include "doc/DocumentView.h"
#include "drawing/ThumbnailCache.h"
#include "drawing/WavefrontPainter.h"
#include "viewlogic/WavefrontNodes.h"
#include "viewlogic/WavefrontPointer.h"
#include "views/WavefrontPropertiesDialog.h"

class QMenu;
class QScrollBar;

namespace corvida {

class CTamsoDoc;
class MasterView;
class WebNode;

class WavefrontView : public QAbstractScrollArea, public DocumentView {
    Q_OBJECT

public:
    // Longest tooltip text, in characters.
    static constexpr int kMaxToolTipLength = 127;

    // Picks one of nodes (two or more, lying over each other under a click) or none (nullptr).
    using NodeChooser = std::function<WebNode*(std::span<WebNode* const> nodes)>;
    // Shows menu at a point of the screen and returns the action chosen, or nullptr.
    using MenuRunner = std::function<QAction*(QMenu& menu, const QPoint& globalPosition)>;

    WavefrontView(CTamsoDoc& document, MasterView& master, QWidget* parent = nullptr);
    ~WavefrontView() override;

    using QAbstractScrollArea::update;
    void update(const Update& update) override;

    const WavefrontNodes& nodes() const { return m_nodes; }
    const WavefrontLayout& layout() const { return m_nodes.layout(); }

    int zoom() const { return layout().zoom(); }
    // Zoom In and Zoom Out: a step up or down within the zoom limits.
    void zoomIn();
    void zoomOut();
    bool inLinksShown() const { return m_inLinks; }
    bool outLinksShown() const { return m_outLinks; }
    // Shows or hides the lines to the selected node's in-neighbours (out-neighbours).
    void setInLinksShown(bool shown);
    void setOutLinksShown(bool shown);
    // Pans the map so that the window's selected node is in the middle, when it is on the map.
    void centerOnSelectedNode();

    // The options as the properties dialog shows them, and setting them as its OK does.
    WavefrontPropertiesDialog::Values properties() const;
    void applyProperties(const WavefrontPropertiesDialog::Values& values);
    // Opens the properties dialog and applies it on OK.
    void editProperties();

    // Test seams: the chooser of overlapping nodes (the "Select Node" dialog by default), the
    // way menus are shown (exec by default), and a hook that hears every region of the viewport
    // the view asks to repaint.
    void setNodeChooser(NodeChooser chooser) { m_chooser = std::move(chooser); }
    void setMenuRunner(MenuRunner runner) { m_menuRunner = std::move(runner); }
    void setRepaintHook(std::function<void(const QRegion& viewportRegion)> hook) { m_repaintHook = std::move(hook); }

signals:
    // The node menu of the selected node is asked for at a point of the screen.
    void nodeMenuRequested(const QPoint& globalPosition);
    // The map's menu asked for the filter chooser.
    void filterRequested();
    // The zoom or a link option changed (the commands' states follow).
    void optionsChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    // The view moves its pictures itself; the scroll bars only report what was asked.
    void scrollContentsBy(int dx, int dy) override;

private:
    using Index = WavefrontNodes::Index;

    QPoint toDrawing(const QPoint& viewportPoint) const;
    QRect toViewport(const QRect& drawingRect) const;
    // The nodes of shown levels under a viewport point, in node-list order.
    std::vector<Index> shownHits(const QPoint& viewportPoint) const;

    void insert(std::span<const InsertRecord> records);
    void clearNodes();
    // Makes the node the window's selected node, from a click here.
    void selectHere(Index index);
    // Hints from the window's other views.
    void selectedElsewhere(const WebNode* node);
    void deselectedElsewhere(const WebNode* node);
    // Marks a node selected with the map's link lines, or not selected without lines.
    void markSelected(Index index, bool selected);
    // Sets the map's link-line options, which the selected node takes; returns whether they
    // changed.
    bool setLinkLines(bool inLinks, bool outLinks);
    void setZoom(int zoom);
    void panBy(const QPoint& delta);
    void scrollAlong(Qt::Orientation orientation, int d);
    void scrollBarAction(Qt::Orientation orientation, int action);
    void syncScrollBars();
    void showScrollBars(bool shown);
    void showMapMenu(const QPoint& globalPosition);
    void showToolTip(const QPoint& viewportPoint, const QPoint& globalPoint);
    void updateCursor();

    void repaintNode(Index index);
    void repaintRegion(const QRegion& viewportRegion);
    void repaintAll();

    CTamsoDoc& m_document;
    MasterView& m_master;
    WavefrontNodes m_nodes;
    WavefrontPointer m_pointer;
    // The fetched pictures drawn in their boxes when thumbnails are on.
    ThumbnailCache m_pictures;
    bool m_inLinks = false;
    bool m_outLinks = false;
    bool m_scrollBars = true;
    // The node a left press landed on, for a drag; looked up again before use.
    const WebNode* m_pressed = nullptr;
    // Counts the resets, so that a node chosen during a nested event loop is not taken from a
    // list that was emptied meanwhile.
    std::uint64_t m_generation = 0;
    NodeChooser m_chooser;
    MenuRunner m_menuRunner;
    std::function<void(const QRegion&)> m_repaintHook;
};

} // namespace corvida
