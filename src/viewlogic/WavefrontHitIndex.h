// SPDX-License-Identifier: MIT
#pragma once

// WavefrontHitIndex finds the Wavefront nodes under a point without walking the node list: one
// uniform grid of 32-pixel cells per level, over the icon rectangles as the layout stores them
// (without the pan offset, so a pan never touches it). A point can only hit the levels whose
// circle passes within an icon's reach of it, so a query reads a few cells of a few levels
// whatever the node count. The layout that owns the index marks a level stale whenever it lays
// it out; a stale level is filed again when a query first reads it, so a crawl that keeps
// inserting pays for filing only when the pointer moves.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include <QPoint>

namespace corvida {

class WavefrontLayout;

class WavefrontHitIndex {
public:
    static constexpr int kCellSize = 32;

    // Forgets every level.
    void clear() { m_levels.clear(); }
    // The nodes of level were laid out again (level >= 0).
    void invalidate(int level);
    // The nodes of layout whose stored icon rectangle contains point (a stored-frame point:
    // drawing point minus the pan offset), sorted by node-list index. Files the stale levels it
    // reads.
    std::vector<std::uint32_t> hits(const WavefrontLayout& layout, QPoint point);

private:
    struct Level {
        std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> cells;
        bool stale = false; // laid out since it was last filed
    };

    static std::uint64_t cellKey(int column, int row);
    static void refile(const WavefrontLayout& layout, int level, Level& grid);

    std::vector<Level> m_levels;
};

} // namespace corvida
