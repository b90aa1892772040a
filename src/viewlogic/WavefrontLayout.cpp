// SPDX-License-Identifier: MIT
#include "viewlogic/WavefrontLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace corvida {

namespace {

// Every level starts straight above the centre and goes once around in equal steps.
constexpr double kStartAngle = 1.57075;
constexpr double kFullTurn = 6.283;

std::int64_t square(std::int64_t value) {
    return value * value;
}

} // namespace

WavefrontLayout::Index WavefrontLayout::add(int level, bool large) {
    level = std::clamp(level, 0, kMaxNodeLevel);
    const auto index = static_cast<Index>(m_levels.size());
    m_levels.push_back(level);
    m_large.push_back(large ? 1 : 0);
    m_positions.emplace_back();
    if (static_cast<std::size_t>(level) >= m_levelNodes.size()) {
        m_levelNodes.resize(static_cast<std::size_t>(level) + 1);
    }
    m_levelNodes[static_cast<std::size_t>(level)].push_back(index);
    return index;
}

void WavefrontLayout::clear() {
    m_levels.clear();
    m_large.clear();
    m_positions.clear();
    m_levelNodes.clear();
    m_hits.clear();
}

std::span<const WavefrontLayout::Index> WavefrontLayout::levelNodes(int level) const {
    if (level < 0 || level >= levelCount()) {
        return {};
    }
    return m_levelNodes[static_cast<std::size_t>(level)];
}

bool WavefrontLayout::setZoom(int zoom) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom == m_zoom) {
        return false;
    }
    m_zoom = zoom;
    // The canvas follows the zoom, so the scroll bars always cover the whole map.
    updateCanvas();
    layOutAll();
    return true;
}

int WavefrontLayout::ringStep() const {
    return static_cast<int>(m_zoom * 0.01 * kRingBase);
}

bool WavefrontLayout::setMaxLevel(int maxLevel) {
    maxLevel = std::clamp(maxLevel, 1, kMaxMaxLevel);
    if (maxLevel == m_maxLevel) {
        return false;
    }
    m_maxLevel = maxLevel;
    return true;
}

void WavefrontLayout::layOut(int firstLevel, int lastLevel) {
    firstLevel = std::max(firstLevel, 0);
    lastLevel = std::min(lastLevel, levelCount() - 1);
    const int step = ringStep();
    const QPoint c = centre();
    for (int level = firstLevel; level <= lastLevel; ++level) {
        const std::vector<Index>& nodes = m_levelNodes[static_cast<std::size_t>(level)];
        if (nodes.empty()) {
            continue;
        }
        const double angleStep = kFullTurn / static_cast<double>(nodes.size());
        double angle = kStartAngle;
        const int radius = level * step;
        for (const Index index : nodes) {
            const int half = iconSize(index) / 2;
            // Truncated as whole drawing coordinates, so a position cannot be kept relative to
            // the centre: it is stored less the pan offset, which pans add to exactly.
            const int x = static_cast<int>(std::cos(angle) * radius + (c.x() - half));
            const int y = static_cast<int>(-std::sin(angle) * radius + (c.y() - half));
            m_positions[index] = QPoint(x, y) - m_offset;
            angle += angleStep;
        }
        m_hits.invalidate(level);
    }
}

int WavefrontLayout::updateCanvas() {
    const int canvas = 2 * static_cast<int>(m_zoom * 0.01 * (levelCount() * kRingBase));
    const int change = canvas - m_canvas;
    m_canvas = canvas;
    m_scroll += QPoint(change / 2, change / 2);
    return change;
}

void WavefrontLayout::pan(QPoint delta) {
    m_scroll -= delta;
    m_offset += delta;
}

void WavefrontLayout::scrollBy(Qt::Orientation orientation, int d) {
    pan(orientation == Qt::Horizontal ? QPoint(d, 0) : QPoint(0, d));
}

QPoint WavefrontLayout::iconCentre(Index index) const {
    const int half = iconSize(index) / 2;
    return m_positions[index] + m_offset + QPoint(half, half);
}

QRect WavefrontLayout::centreIconRect() const {
    const int half = kCentreIcon / 2;
    return QRect(centre() - QPoint(half, half), QSize(kCentreIcon, kCentreIcon));
}

QPoint WavefrontLayout::centreOnVector(Index index, QSize viewport) const {
    const QPoint viewportCentre = toDrawing(QPoint(viewport.width() / 2, viewport.height() / 2), viewport);
    return viewportCentre - iconCentre(index);
}

std::optional<WavefrontLayout::Index> WavefrontLayout::firstHit(QPoint point) const {
    return m_hits.firstHit(*this, point - m_offset);
}

int WavefrontLayout::bandOuterRadius(int /*firstRing*/, int lastRing) const {
    const int step = ringStep();
    return (lastRing - 1) * step + step / 2;
}

int WavefrontLayout::bandInnerRadius(int firstRing, int /*lastRing*/) const {
    const int step = ringStep();
    return firstRing - 1 > 0 ? (firstRing - 1) * step - step / 2 : 0;
}

bool WavefrontLayout::annulusMeetsRect(QPoint centre, int inner, int outer, const QRect& rect) {
    if (rect.isEmpty() || outer < 0) {
        return false;
    }
    const std::int64_t cx = centre.x();
    const std::int64_t cy = centre.y();
    const std::int64_t nearX = std::clamp<std::int64_t>(cx, rect.left(), rect.right()) - cx;
    const std::int64_t nearY = std::clamp<std::int64_t>(cy, rect.top(), rect.bottom()) - cy;
    const std::int64_t farX = std::max(std::abs(cx - rect.left()), std::abs(cx - rect.right()));
    const std::int64_t farY = std::max(std::abs(cy - rect.top()), std::abs(cy - rect.bottom()));
    return square(nearX) + square(nearY) <= square(outer) && square(std::max(inner, 0)) <= square(farX) + square(farY);
}

} // namespace corvida
