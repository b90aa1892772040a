// SPDX-License-Identifier: MIT
#include "viewlogic/WavefrontLayout.h"

#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace corvida {
namespace {

std::vector<WavefrontLayout::Index> bruteForce(const WavefrontLayout& layout, QPoint point) {
    std::vector<WavefrontLayout::Index> hits;
    for (WavefrontLayout::Index i = 0; i < layout.size(); ++i) {
        if (layout.iconRect(i).contains(point)) {
            hits.push_back(i);
        }
    }
    return hits;
}

TEST(WavefrontHitIndexTest, GridHitsEqualBruteForceHitsOnRandomLayouts) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 6; ++round) {
        WavefrontLayout layout;
        const int levels = 1 + static_cast<int>(random() % 12);
        const int nodes = 50 + static_cast<int>(random() % 1500);
        for (int i = 0; i < nodes; ++i) {
            layout.add(static_cast<int>(random() % levels), random() % 5 == 0);
        }
        layout.setZoom(25 * (1 + static_cast<int>(random() % 8)));
        layout.layOutAll();
        layout.updateCanvas();
        layout.pan(QPoint(static_cast<int>(random() % 401) - 200, static_cast<int>(random() % 401) - 200));
        const int reach = layout.levelCount() * layout.ringStep() + 40;
        std::uniform_int_distribution<int> offset(-reach, reach);
        int hitPoints = 0;
        for (int probe = 0; probe < 3000; ++probe) {
            // Points near icons as well as anywhere.
            QPoint point = layout.centre() + QPoint(offset(random), offset(random));
            if (probe % 2 == 0) {
                const auto node = static_cast<WavefrontLayout::Index>(random() % layout.size());
                point = layout.iconRect(node).topLeft() +
                        QPoint(static_cast<int>(random() % 34) - 1, static_cast<int>(random() % 34) - 1);
            }
            const auto expected = bruteForce(layout, point);
            ASSERT_EQ(layout.hits(point), expected) << "round " << round << " probe " << probe;
            hitPoints += expected.empty() ? 0 : 1;
            if (!expected.empty()) {
                EXPECT_EQ(layout.firstHit(point), expected.front());
            }
        }
        EXPECT_GT(hitPoints, 1000);
        // Panning and laying out again keep the index right.
        layout.pan(QPoint(37, -11));
        layout.setZoom(layout.zoom() + 25);
        for (WavefrontLayout::Index i = 0; i < layout.size(); i += 7) {
            const QPoint point = layout.iconCentre(i);
            ASSERT_EQ(layout.hits(point), bruteForce(layout, point));
        }
    }
}

TEST(WavefrontHitIndexTest, EmptySpaceAndAClearedLayoutHitNothing) {
    WavefrontLayout layout;
    EXPECT_TRUE(layout.hits({0, 0}).empty());
    layout.add(1, false);
    layout.layOutAll();
    EXPECT_EQ(layout.firstHit(layout.iconCentre(0)), 0u);
    EXPECT_FALSE(layout.firstHit({0, 0}).has_value());
    layout.clear();
    EXPECT_TRUE(layout.hits({0, -32}).empty());
}

} // namespace
} // namespace corvida
