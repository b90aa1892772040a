// SPDX-License-Identifier: MIT
#include "viewlogic/WavefrontHitIndex.h"

#include <algorithm>
#include <cmath>

#include "viewlogic/WavefrontLayout.h"

namespace corvida {

namespace {

int cellOf(int coordinate) {
    // Floor division: stored coordinates may be negative.
    return coordinate >= 0 ? coordinate / WavefrontHitIndex::kCellSize
                           : -((-coordinate + WavefrontHitIndex::kCellSize - 1) / WavefrontHitIndex::kCellSize);
}

// How far an icon's rectangle reaches from the point of its circle that it was placed on: half
// the diagonal of a large icon, plus the truncation of its position.
constexpr double kIconReach = WavefrontLayout::kLargeIcon;

} // namespace

std::uint64_t WavefrontHitIndex::cellKey(int column, int row) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(column)) << 32) | static_cast<std::uint32_t>(row);
}

void WavefrontHitIndex::invalidate(int level) {
    if (level < 0) {
        return;
    }
    if (static_cast<std::size_t>(level) >= m_levels.size()) {
        m_levels.resize(static_cast<std::size_t>(level) + 1);
    }
    m_levels[static_cast<std::size_t>(level)].stale = true;
}

void WavefrontHitIndex::refile(const WavefrontLayout& layout, int level, Level& grid) {
    grid.cells.clear();
    grid.stale = false;
    for (const std::uint32_t index : layout.levelNodes(level)) {
        const QRect rect = layout.storedRect(index);
        for (int row = cellOf(rect.top()); row <= cellOf(rect.bottom()); ++row) {
            for (int column = cellOf(rect.left()); column <= cellOf(rect.right()); ++column) {
                grid.cells[cellKey(column, row)].push_back(index);
            }
        }
    }
}

std::vector<std::uint32_t> WavefrontHitIndex::hits(const WavefrontLayout& layout, QPoint point) {
    std::vector<std::uint32_t> found;
    const int step = layout.ringStep();
    if (m_levels.empty() || step <= 0) {
        return found;
    }
    // Only the levels whose circle passes near the point can hold an icon under it.
    const QPoint fromCentre = point - layout.storedCentre();
    const double distance = std::hypot(static_cast<double>(fromCentre.x()), static_cast<double>(fromCentre.y()));
    const double lowest = std::floor((distance - kIconReach) / step);
    const double highest = std::ceil((distance + kIconReach) / step);
    const auto levels = static_cast<double>(m_levels.size());
    if (highest < 0 || lowest >= levels) {
        return found;
    }
    const auto first = static_cast<std::size_t>(std::max(lowest, 0.0));
    const auto last = static_cast<std::size_t>(std::min(highest, levels - 1));
    const std::uint64_t key = cellKey(cellOf(point.x()), cellOf(point.y()));
    for (std::size_t level = first; level <= last; ++level) {
        Level& grid = m_levels[level];
        if (grid.stale) {
            refile(layout, static_cast<int>(level), grid);
        }
        const auto cell = grid.cells.find(key);
        if (cell == grid.cells.end()) {
            continue;
        }
        for (const std::uint32_t index : cell->second) {
            if (layout.storedRect(index).contains(point)) {
                found.push_back(index);
            }
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace corvida
