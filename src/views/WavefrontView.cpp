// SPDX-License-Identifier: MIT
#include "views/WavefrontView.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>

#include <algorithm>
#include <utility>
#include <vector>

#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolTip>

#include "doc/CTamsoDoc.h"
#include "doc/IdleDriver.h"
#include "model/WebNode.h"
#include "views/DisplayText.h"
#include "views/MasterView.h"
#include "views/NodeDrag.h"
#include "views/SelectNodeDialog.h"

namespace corvida {

namespace {

Qt::CursorShape cursorShape(WavefrontPointer::Cursor cursor) {
    switch (cursor) {
    case WavefrontPointer::Cursor::Panning:
        return Qt::ClosedHandCursor;
    case WavefrontPointer::Cursor::Node:
        return Qt::PointingHandCursor;
    case WavefrontPointer::Cursor::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace

WavefrontView::WavefrontView(CTamsoDoc& document, MasterView& master, QWidget* parent)
    : QAbstractScrollArea(parent), m_document(document), m_master(master) {
    setObjectName(QStringLiteral("WavefrontPane"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(40, 40);
    viewport()->setMouseTracking(true);
    // The painter fills every pixel it is asked for.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    showScrollBars(m_scrollBars);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { scrollBarAction(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { scrollBarAction(Qt::Vertical, action); });
    syncScrollBars();

    m_chooser = [this](std::span<WebNode* const> nodes) -> WebNode* {
        SelectNodeDialog dialog(nodes, this);
        dialog.exec();
        return dialog.chosenNode();
    };
    m_menuRunner = [](QMenu& menu, const QPoint& globalPosition) {
        const IdleDriver::Hold hold;
        return menu.exec(globalPosition);
    };
    m_document.addView(this);
}

WavefrontView::~WavefrontView() {
    m_document.removeView(this);
}

void WavefrontView::update(const Update& update) {
    switch (update.hint) {
    case Hint::Insert:
        insert(update.records);
        break;
    case Hint::Reset:
        if (update.master == &m_master) {
            clearNodes();
        }
        repaintAll();
        break;
    case Hint::ContentsGone:
        clearNodes();
        // The kept pictures are known by the addresses of nodes that are about to be freed.
        m_pictures.clear();
        repaintAll();
        break;
    case Hint::Select:
        if (update.master == &m_master && !update.nodes.empty()) {
            selectedElsewhere(update.nodes.front());
        }
        break;
    case Hint::Deselect:
        if (update.master == &m_master && !update.nodes.empty()) {
            deselectedElsewhere(update.nodes.front());
        }
        break;
    case Hint::Redraw:
        repaintAll();
        break;
    default:
        break;
    }
}

// --- Coordinates and hits

QPoint WavefrontView::toDrawing(const QPoint& viewportPoint) const {
    return WavefrontLayout::toDrawing(viewportPoint, viewport()->size());
}

QRect WavefrontView::toViewport(const QRect& drawingRect) const {
    return drawingRect.translated(WavefrontLayout::toDevice(QPoint(0, 0), viewport()->size()));
}

std::vector<WavefrontView::Index> WavefrontView::shownHits(const QPoint& viewportPoint) const {
    std::vector<Index> hits = layout().hits(toDrawing(viewportPoint));
    std::erase_if(hits, [this](Index index) { return !layout().isShown(layout().level(index)); });
    return hits;
}

// --- Hints

void WavefrontView::insert(std::span<const InsertRecord> records) {
    const WavefrontNodes::InsertResult result = m_nodes.insert(records, &m_master);
    if (result.canvasChange != 0) {
        syncScrollBars();
    }
    for (const Index index : result.redraw) {
        repaintNode(index);
    }
    if (!result.added) {
        return;
    }
    // The window's selected node may come back after a reset: it is selected here too.
    if (const std::optional<Index> selected = m_nodes.indexOf(m_master.selectedNode());
        selected.has_value() && !m_nodes.isSelected(*selected)) {
        markSelected(*selected, true);
        if (m_inLinks || m_outLinks) {
            repaintAll();
            return;
        }
    }
    const WavefrontPainter painter(m_nodes, WavefrontColours::fromPalette(palette()));
    const QPoint origin = WavefrontLayout::toDevice(QPoint(0, 0), viewport()->size());
    const QRect shown(-origin, viewport()->size());
    repaintRegion(painter.bandRegion(result.firstRing(), result.lastRing(), shown).translated(origin));
}

void WavefrontView::clearNodes() {
    m_nodes.clear();
    m_pressed = nullptr;
    ++m_generation;
}

void WavefrontView::selectHere(Index index) {
    WebNode* node = &m_nodes.node(index);
    if (const std::optional<Index> previous = m_nodes.indexOf(m_master.selectedNode());
        previous.has_value() && *previous != index) {
        markSelected(*previous, false);
        repaintNode(*previous);
    }
    markSelected(index, true);
    if (m_inLinks || m_outLinks) {
        repaintAll();
    } else {
        repaintNode(index);
    }
    // The other views of the window hear it from the master.
    m_master.selectNode(node, this);
}

void WavefrontView::selectedElsewhere(const WebNode* node) {
    const std::optional<Index> index = m_nodes.indexOf(node);
    if (!index.has_value()) {
        return;
    }
    markSelected(*index, true);
    if (m_inLinks || m_outLinks) {
        repaintAll();
    } else {
        repaintNode(*index);
    }
}

void WavefrontView::deselectedElsewhere(const WebNode* node) {
    const std::optional<Index> index = m_nodes.indexOf(node);
    if (!index.has_value()) {
        return;
    }
    const bool hadLines = m_nodes.inLinksShown(*index) || m_nodes.outLinksShown(*index);
    markSelected(*index, false);
    if (hadLines) {
        repaintAll();
    } else {
        repaintNode(*index);
    }
}

// --- Options and commands

void WavefrontView::zoomIn() {
    setZoom(zoom() + WavefrontLayout::kZoomStep);
}

void WavefrontView::zoomOut() {
    setZoom(zoom() - WavefrontLayout::kZoomStep);
}

void WavefrontView::setZoom(int zoom) {
    // The layout lays every level out again and widens the canvas to the new map, keeping the
    // centre where it is on the screen.
    if (!m_nodes.setZoom(zoom)) {
        return;
    }
    syncScrollBars();
    repaintAll();
    emit optionsChanged();
}

void WavefrontView::setInLinksShown(bool shown) {
    if (setLinkLines(shown, m_outLinks)) {
        repaintAll();
        emit optionsChanged();
    }
}

void WavefrontView::setOutLinksShown(bool shown) {
    if (setLinkLines(m_inLinks, shown)) {
        repaintAll();
        emit optionsChanged();
    }
}

bool WavefrontView::setLinkLines(bool inLinks, bool outLinks) {
    if (inLinks == m_inLinks && outLinks == m_outLinks) {
        return false;
    }
    m_inLinks = inLinks;
    m_outLinks = outLinks;
    if (const std::optional<Index> selected = m_nodes.indexOf(m_master.selectedNode()); selected.has_value()) {
        markSelected(*selected, true);
    }
    return true;
}

void WavefrontView::markSelected(Index index, bool selected) {
    m_nodes.setSelected(index, selected);
    m_nodes.setInLinksShown(index, selected && m_inLinks);
    m_nodes.setOutLinksShown(index, selected && m_outLinks);
}

void WavefrontView::centerOnSelectedNode() {
    if (const std::optional<Index> selected = m_nodes.indexOf(m_master.selectedNode()); selected.has_value()) {
        panBy(layout().centreOnVector(*selected, viewport()->size()));
    }
}

WavefrontPropertiesDialog::Values WavefrontView::properties() const {
    WavefrontPropertiesDialog::Values values;
    values.scrollBars = m_scrollBars;
    values.thumbnails = m_nodes.thumbnails();
    values.inLinks = m_inLinks;
    values.outLinks = m_outLinks;
    values.zoom = zoom();
    values.maxLevel = layout().maxLevel();
    return values;
}

void WavefrontView::applyProperties(const WavefrontPropertiesDialog::Values& values) {
    const WavefrontPropertiesDialog::Values before = properties();
    setLinkLines(values.inLinks, values.outLinks);
    if (values.scrollBars != m_scrollBars) {
        showScrollBars(values.scrollBars);
    }
    const bool zoomed = m_nodes.setZoom(values.zoom);
    m_nodes.setMaxLevel(values.maxLevel);
    m_nodes.setThumbnails(values.thumbnails);
    if (zoomed) {
        syncScrollBars();
    }
    if (properties() != before) {
        repaintAll();
        emit optionsChanged();
    }
}

void WavefrontView::editProperties() {
    WavefrontPropertiesDialog dialog(properties(), this);
    if (dialog.exec() == QDialog::Accepted) {
        applyProperties(dialog.values());
    }
}

// --- Scrolling

void WavefrontView::panBy(const QPoint& delta) {
    if (delta.isNull()) {
        return;
    }
    m_nodes.pan(delta);
    syncScrollBars();
    // Everything on the map moves alike: the pixels move and only the uncovered strips are
    // painted.
    viewport()->scroll(delta.x(), delta.y());
    if (m_repaintHook) {
        m_repaintHook(QRegion(viewport()->rect()).subtracted(QRegion(viewport()->rect().translated(delta))));
    }
}

void WavefrontView::scrollAlong(Qt::Orientation orientation, int d) {
    if (d != 0) {
        panBy(orientation == Qt::Horizontal ? QPoint(d, 0) : QPoint(0, d));
    }
}

void WavefrontView::scrollBarAction(Qt::Orientation orientation, int action) {
    const QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    const int position = orientation == Qt::Horizontal ? layout().scrollPosition().x() : layout().scrollPosition().y();
    int d = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        d = layout().lineStep();
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        d = -layout().lineStep();
        break;
    case QAbstractSlider::SliderPageStepSub:
        d = layout().pageStep();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        d = -layout().pageStep();
        break;
    case QAbstractSlider::SliderMove:
        d = position - bar->sliderPosition();
        break;
    default:
        break;
    }
    scrollAlong(orientation, d);
    // The bar shows the view's position, whatever it computed for itself.
    syncScrollBars();
}

void WavefrontView::syncScrollBars() {
    const int canvas = layout().canvas();
    const QPoint position = layout().scrollPosition();
    for (const auto& [bar, value] :
         {std::pair{horizontalScrollBar(), position.x()}, std::pair{verticalScrollBar(), position.y()}}) {
        // A pan may carry the map past the canvas: the range widens to keep the position
        // rather than snap the map back.
        const QSignalBlocker blocker(bar);
        bar->setRange(std::min(0, value), std::max(canvas, value));
        bar->setSingleStep(std::max(1, layout().lineStep()));
        bar->setPageStep(std::max(1, layout().pageStep()));
        bar->setValue(value);
    }
}

void WavefrontView::showScrollBars(bool shown) {
    m_scrollBars = shown;
    const Qt::ScrollBarPolicy policy = shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
}

void WavefrontView::scrollContentsBy(int /*dx*/, int /*dy*/) {}

// --- Painting

void WavefrontView::repaintNode(Index index) {
    if (layout().isShown(layout().level(index))) {
        repaintRegion(toViewport(layout().iconRect(index)));
    }
}

void WavefrontView::repaintRegion(const QRegion& viewportRegion) {
    if (m_repaintHook) {
        m_repaintHook(viewportRegion);
    }
    viewport()->update(viewportRegion);
}

void WavefrontView::repaintAll() {
    repaintRegion(viewport()->rect());
}

void WavefrontView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QPoint origin = WavefrontLayout::toDevice(QPoint(0, 0), viewport()->size());
    painter.translate(origin);
    ThumbnailDrawer pictures;
    if (m_nodes.thumbnails()) {
        // A saved project's files move with it, so the directory is read at every paint.
        m_pictures.setWorkingDirectory(m_document.workingDirectory());
        pictures = [this](QPainter& target, const WebNode& node, const QRect& box) {
            return m_pictures.draw(target, node, box);
        };
    }
    const WavefrontPainter map(m_nodes, WavefrontColours::fromPalette(palette()), std::move(pictures));
    map.paint(painter, event->region().translated(-origin));
}

// --- Mouse and keys

void WavefrontView::updateCursor() {
    viewport()->setCursor(cursorShape(m_pointer.cursor()));
}

void WavefrontView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    m_pressed = nullptr;
    const std::vector<Index> hits = shownHits(point);
    if (hits.size() >= 2) {
        // Icons over each other: the person says which one was meant. Only the nodes travel
        // through the dialog; the list may be emptied while it is open.
        std::vector<WebNode*> nodes;
        nodes.reserve(hits.size());
        for (const Index index : hits) {
            nodes.push_back(&m_nodes.node(index));
        }
        const std::uint64_t generation = m_generation;
        WebNode* chosen = nullptr;
        {
            const IdleDriver::Hold hold;
            chosen = m_chooser(nodes);
        }
        m_pointer.release(point);
        updateCursor();
        if (generation == m_generation) {
            if (const std::optional<Index> index = m_nodes.indexOf(chosen); index.has_value()) {
                selectHere(*index);
            }
        }
        return;
    }
    if (hits.size() == 1) {
        selectHere(hits.front());
        m_pressed = &m_nodes.node(hits.front());
    }
    m_pointer.press(point, hits.size() == 1);
    updateCursor();
}

void WavefrontView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const bool leftButton = (event->buttons() & Qt::LeftButton) != 0;
    const bool onNode = !shownHits(point).empty();
    const WavefrontPointer::Move move = m_pointer.move(point, leftButton, onNode);
    if (!move.pan.isNull()) {
        panBy(move.pan);
    }
    if (move.startDrag && m_pressed != nullptr) {
        // The node is looked up again: a hint may have emptied the list since the press.
        const std::optional<Index> index = m_nodes.indexOf(std::exchange(m_pressed, nullptr));
        if (index.has_value()) {
            NodeDrag::start(this, m_nodes.node(*index));
            // The drag's own event loop swallowed the release.
            m_pointer.release(point);
        }
    }
    updateCursor();
}

void WavefrontView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pointer.release(event->position().toPoint());
        m_pressed = nullptr;
        updateCursor();
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void WavefrontView::contextMenuEvent(QContextMenuEvent* event) {
    const std::vector<Index> hits = shownHits(event->pos());
    if (!hits.empty()) {
        selectHere(hits.front());
        emit nodeMenuRequested(event->globalPos());
    } else {
        showMapMenu(event->globalPos());
    }
}

void WavefrontView::showMapMenu(const QPoint& globalPosition) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("MapMenu"));
    QAction* in = menu.addAction(QStringLiteral("Zoom &In\t+"));
    in->setEnabled(layout().canZoomIn());
    QAction* out = menu.addAction(QStringLiteral("Zoom &Out\t-"));
    out->setEnabled(layout().canZoomOut());
    menu.addSeparator();
    QAction* filter = menu.addAction(QStringLiteral("Filter"));
    menu.addSeparator();
    QAction* properties = menu.addAction(QStringLiteral("Properties\tAlt+Enter"));
    // The choice is carried out once the menu is closed.
    const QAction* chosen = m_menuRunner(menu, globalPosition);
    if (chosen == in) {
        zoomIn();
    } else if (chosen == out) {
        zoomOut();
    } else if (chosen == filter) {
        emit filterRequested();
    } else if (chosen == properties) {
        editProperties();
    }
}

void WavefrontView::keyPressEvent(QKeyEvent* event) {
    if (event->text() == QLatin1String("+")) {
        zoomIn();
        return;
    }
    if (event->text() == QLatin1String("-")) {
        zoomOut();
        return;
    }
    switch (event->key()) {
    case Qt::Key_PageUp:
        scrollAlong(Qt::Vertical, layout().pageStep());
        break;
    case Qt::Key_PageDown:
        scrollAlong(Qt::Vertical, -layout().pageStep());
        break;
    case Qt::Key_Left:
        scrollAlong(Qt::Horizontal, layout().lineStep());
        break;
    case Qt::Key_Right:
        scrollAlong(Qt::Horizontal, -layout().lineStep());
        break;
    case Qt::Key_Up:
        scrollAlong(Qt::Vertical, layout().lineStep());
        break;
    case Qt::Key_Down:
        scrollAlong(Qt::Vertical, -layout().lineStep());
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
}

bool WavefrontView::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::ToolTip: {
        const auto* help = static_cast<QHelpEvent*>(event);
        showToolTip(help->pos(), help->globalPos());
        return true;
    }
    case QEvent::Leave:
        m_pointer.leave();
        updateCursor();
        break;
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void WavefrontView::showToolTip(const QPoint& viewportPoint, const QPoint& globalPoint) {
    const std::vector<Index> hits = shownHits(viewportPoint);
    if (hits.empty()) {
        QToolTip::hideText();
        return;
    }
    QString text = DisplayText::fromBytes(m_nodes.node(hits.front()).address());
    if (text.size() > kMaxToolTipLength) {
        // Never half a character made of two UTF-16 units.
        text.truncate(text.at(kMaxToolTipLength - 1).isHighSurrogate() ? kMaxToolTipLength - 1 : kMaxToolTipLength);
    }
    QToolTip::showText(globalPoint, text.toHtmlEscaped(), viewport(), toViewport(layout().iconRect(hits.front())));
}

} // namespace corvida
