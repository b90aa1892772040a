// SPDX-License-Identifier: MIT
#pragma once

// WavefrontLayout is the geometry of the Wavefront map: the start page in the centre and the
// nodes of link level L spread evenly on the circle of radius L ring steps. It knows nodes only
// by their index in insertion order, their level and whether they take a large (32 x 32) icon;
// it owns the hit index over the laid-out icons.
//
// Coordinates are drawing coordinates: a device point of a viewport is the drawing point plus
// half the viewport's size. Icon positions are stored once, when their level is laid out, and
// one view-wide pan offset is added on reading, so panning costs O(1) whatever the node count.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <QPoint>
#include <QRect>
#include <QSize>

#include "viewlogic/WavefrontHitIndex.h"

namespace corvida {

class WavefrontLayout {
public:
    // Index of a node in the node list (insertion order).
    using Index = std::uint32_t;

    static constexpr int kRingBase = 32; // ring step at 100 %, pixels
    static constexpr int kDefaultZoom = 100;
    static constexpr int kMinZoom = 25;
    static constexpr int kMaxZoom = 1000;
    static constexpr int kZoomStep = 25;
    static constexpr int kDefaultMaxLevel = 10;
    static constexpr int kMaxMaxLevel = 32767;
    static constexpr int kSmallIcon = 16;
    static constexpr int kLargeIcon = 32;
    static constexpr int kCentreIcon = 32;
    // The deepest level a node may have. Deeper levels come only from damaged project files;
    // the bound keeps every radius and the canvas within 32 bits at the largest zoom.
    static constexpr int kMaxNodeLevel = 1'000'000;

    WavefrontLayout() = default;
    WavefrontLayout(const WavefrontLayout&) = delete;
    WavefrontLayout& operator=(const WavefrontLayout&) = delete;

    // Appends a node of level (0..kMaxNodeLevel) to the node list and to its level's list and
    // returns its index. The node is not laid out (nor hit) until its level is.
    Index add(int level, bool large);
    // Forgets every node and level. The zoom, max level, canvas, scroll positions and pan
    // offset stay.
    void clear();
    std::size_t size() const { return m_levels.size(); }
    // Requires index < size().
    int level(Index index) const { return m_levels[index]; }
    bool isLarge(Index index) const { return m_large[index] != 0; }
    // Takes effect when the node's level is laid out again.
    void setLarge(Index index, bool large) { m_large[index] = large ? 1 : 0; }
    // Number of entries of the level table: the highest level added + 1, or 0.
    int levelCount() const { return static_cast<int>(m_levelNodes.size()); }
    // The nodes of level in list order; empty for a level outside the table.
    std::span<const Index> levelNodes(int level) const;

    int zoom() const { return m_zoom; }
    // Sets the zoom, clamped to kMinZoom..kMaxZoom. On a change, lays out every level and
    // recomputes the canvas (the centre stays where it is on the screen); returns whether the
    // zoom changed.
    bool setZoom(int zoom);
    bool canZoomIn() const { return m_zoom < kMaxZoom; }
    bool canZoomOut() const { return m_zoom > kMinZoom; }
    // Distance between neighbouring circles: trunc(zoom x 0.01 x 32).
    int ringStep() const;
    int maxLevel() const { return m_maxLevel; }
    // Sets the number of levels shown, clamped to 1..kMaxMaxLevel; returns whether it changed.
    bool setMaxLevel(int maxLevel);
    // Whether nodes of level are drawn: level + 1 <= max level.
    bool isShown(int level) const { return level >= 0 && level + 1 <= m_maxLevel; }
    // Whether the level table holds more levels than are shown.
    bool hasHiddenLevels() const { return levelCount() > m_maxLevel; }
    // Radius of the dash-dot circle where the hidden levels begin: max level x S + 1.
    int hiddenMarkerRadius() const { return m_maxLevel * ringStep() + 1; }

    // Lays out the levels firstLevel..lastLevel (clamped to the table): the first node of a
    // level straight above the centre, the others counter-clockwise at equal angles.
    void layOut(int firstLevel, int lastLevel);
    void layOutAll() { layOut(0, levelCount() - 1); }

    // Sets the canvas to 2 x trunc(zoom x 0.01 x levelCount x 32) and moves both scroll
    // positions by half the change, so the centre stays put; returns the change.
    int updateCanvas();
    // Side of the square canvas; also the range of both scroll bars.
    int canvas() const { return m_canvas; }
    // Horizontal and vertical scroll positions. They are not limited to 0..canvas.
    QPoint scrollPosition() const { return m_scroll; }
    // The map's centre in drawing coordinates: (canvas/2 - hpos, canvas/2 - vpos).
    QPoint centre() const { return QPoint(m_canvas / 2, m_canvas / 2) - m_scroll; }
    // Moves the map by delta: the scroll positions go down by delta, every icon moves by it.
    void pan(QPoint delta);
    // A scroll-bar step d along one axis: the position goes down by d (a pan by d).
    void scrollBy(Qt::Orientation orientation, int d);
    // Scroll amounts of a line and of a page: canvas/10 and canvas/5.
    int lineStep() const { return m_canvas / 10; }
    int pageStep() const { return m_canvas / 5; }

    // Icon side of a node (kLargeIcon or kSmallIcon).
    int iconSize(Index index) const { return isLarge(index) ? kLargeIcon : kSmallIcon; }
    // The node's icon rectangle and its centre in drawing coordinates.
    QRect iconRect(Index index) const {
        return QRect(m_positions[index] + m_offset, QSize(iconSize(index), iconSize(index)));
    }
    QPoint iconCentre(Index index) const;
    // The rectangle of the centre icon in drawing coordinates.
    QRect centreIconRect() const;
    // The pan that puts the node's icon centre on the centre of a viewport of that size.
    QPoint centreOnVector(Index index, QSize viewport) const;

    // The nodes whose icon rectangle contains a drawing point, in node-list order (nodes of
    // hidden levels included). O(1) in the node count once the levels near the point are filed
    // (the first query after a level is laid out files that level).
    std::vector<Index> hits(QPoint point) const { return m_hits.hits(*this, point - m_offset); }
    std::optional<Index> firstHit(QPoint point) const;

    // Ring numbers are level + 1. The annulus that holds rings firstRing..lastRing: outer
    // radius (lastRing - 1) x S + trunc(S/2); inner radius (firstRing - 1) x S - trunc(S/2)
    // when firstRing > 1, else 0 (no hole).
    int bandOuterRadius(int firstRing, int lastRing) const;
    int bandInnerRadius(int firstRing, int lastRing) const;

    // Whether some point of rect lies between the circles of radius inner and outer round
    // centre: the nearest point of rect is at most outer away from centre and its farthest
    // corner at least inner. With inner = outer, whether that circle passes through rect.
    static bool annulusMeetsRect(QPoint centre, int inner, int outer, const QRect& rect);
    // Drawing and device coordinates of a viewport: device = drawing + (w/2, h/2).
    static QPoint toDrawing(QPoint device, QSize viewport) { return device - halfOf(viewport); }
    static QPoint toDevice(QPoint drawing, QSize viewport) { return drawing + halfOf(viewport); }

    // For the hit index: the icon rectangle as stored, without the pan offset, and the centre in
    // the same frame.
    QRect storedRect(Index index) const { return QRect(m_positions[index], QSize(iconSize(index), iconSize(index))); }
    QPoint storedCentre() const { return centre() - m_offset; }

private:
    static QPoint halfOf(QSize size) { return QPoint(size.width() / 2, size.height() / 2); }

    std::vector<std::int32_t> m_levels;           // per node
    std::vector<std::uint8_t> m_large;            // per node
    std::vector<QPoint> m_positions;              // per node: icon top left minus the pan offset
    std::vector<std::vector<Index>> m_levelNodes; // per level
    mutable WavefrontHitIndex m_hits;             // filed lazily by hits()
    int m_zoom = kDefaultZoom;
    int m_maxLevel = kDefaultMaxLevel;
    int m_canvas = 0;
    QPoint m_scroll;
    QPoint m_offset; // sum of every pan since the view began
};

} // namespace corvida
