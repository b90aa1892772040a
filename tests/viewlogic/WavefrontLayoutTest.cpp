// SPDX-License-Identifier: MIT
#include "viewlogic/WavefrontLayout.h"

#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace corvida {
namespace {

TEST(WavefrontLayoutTest, OneNodeStandsAboveTheCentreAndFourGoCounterClockwise) {
    WavefrontLayout layout;
    layout.pan(QPoint(100, 100) - layout.centre()); // the centre at drawing (100, 100)
    const auto above = layout.add(1, false);
    layout.layOutAll();
    EXPECT_EQ(layout.iconRect(above), QRect(92, 60, 16, 16));
    EXPECT_EQ(layout.iconCentre(above), QPoint(100, 68));
    // A large icon is placed by its own half size around the same centre.
    layout.setLarge(above, true);
    layout.layOutAll();
    EXPECT_EQ(layout.iconRect(above), QRect(84, 52, 32, 32));
    layout.setLarge(above, false);

    for (int i = 0; i < 3; ++i) {
        layout.add(1, false);
    }
    layout.layOut(1, 1);
    const QPoint expected[] = {{100, 68}, {68, 100}, {100, 132}, {132, 100}}; // above, left, below, right
    for (WavefrontLayout::Index i = 0; i < 4; ++i) {
        EXPECT_NEAR(layout.iconCentre(i).x(), expected[i].x(), 1) << i;
        EXPECT_NEAR(layout.iconCentre(i).y(), expected[i].y(), 1) << i;
    }
    EXPECT_EQ(layout.levelNodes(1).size(), 4u);
}

TEST(WavefrontLayoutTest, PositionsTruncateTowardZeroAroundACentreAtTheOrigin) {
    WavefrontLayout layout; // a fresh map has its centre at drawing (0, 0)
    ASSERT_EQ(layout.centre(), QPoint(0, 0));
    layout.add(1, false);
    layout.layOutAll();
    // cos(1.57075) x 32 - 8 = -7.998..., truncated to -7 (not floored to -8).
    EXPECT_EQ(layout.iconRect(0).topLeft(), QPoint(-7, -39));
}

TEST(WavefrontLayoutTest, ZoomSetsTheRingStepWithinItsLimits) {
    WavefrontLayout layout;
    const std::pair<int, int> steps[] = {{25, 8}, {100, 32}, {150, 48}, {1000, 320}, {10, 8}, {2000, 320}};
    for (const auto& [zoom, step] : steps) {
        layout.setZoom(zoom);
        EXPECT_EQ(layout.ringStep(), step) << zoom;
    }
    EXPECT_EQ(layout.zoom(), WavefrontLayout::kMaxZoom);
    EXPECT_FALSE(layout.canZoomIn());
    EXPECT_FALSE(layout.setZoom(1000));
    layout.setZoom(25);
    EXPECT_FALSE(layout.canZoomOut());
    EXPECT_TRUE(layout.canZoomIn());
}

TEST(WavefrontLayoutTest, CanvasGrowthAndZoomKeepTheCentreAndTheIconsOnScreen) {
    WavefrontLayout layout;
    layout.pan(QPoint(10, -5));
    for (int level = 0; level <= 2; ++level) {
        layout.add(level, false);
    }
    layout.layOutAll();
    const QPoint centre = layout.centre();
    const QPoint icon = layout.iconCentre(2);
    const QPoint scroll = layout.scrollPosition();
    EXPECT_EQ(layout.updateCanvas(), 192);
    EXPECT_EQ(layout.scrollPosition(), scroll + QPoint(96, 96));
    EXPECT_EQ(layout.centre(), centre);
    EXPECT_EQ(layout.iconCentre(2), icon);
    EXPECT_EQ(layout.updateCanvas(), 0);

    // Zooming recomputes the canvas too, so the scroll bars cover the grown map.
    layout.setZoom(200);
    EXPECT_EQ(layout.canvas(), 384);
    EXPECT_EQ(layout.centre(), centre);
    EXPECT_NEAR(layout.iconCentre(2).y(), centre.y() - 128, 1);

    // A reset keeps the canvas and the scroll positions.
    layout.clear();
    EXPECT_EQ(layout.size(), 0u);
    EXPECT_EQ(layout.canvas(), 384);
    EXPECT_EQ(layout.centre(), centre);
}

TEST(WavefrontLayoutTest, BandsHiddenLevelsAndScrollAmounts) {
    WavefrontLayout layout;
    EXPECT_EQ(layout.bandOuterRadius(2, 3), 80);
    EXPECT_EQ(layout.bandInnerRadius(2, 3), 16);
    EXPECT_EQ(layout.bandInnerRadius(1, 1), 0);

    for (int level = 0; level <= 4; ++level) {
        layout.add(level, false);
    }
    EXPECT_FALSE(layout.hasHiddenLevels());
    layout.setMaxLevel(2);
    EXPECT_TRUE(layout.isShown(1) && !layout.isShown(2));
    EXPECT_EQ(layout.hiddenMarkerRadius(), 65);
    layout.setMaxLevel(0);
    EXPECT_EQ(layout.maxLevel(), 1);
    layout.setMaxLevel(40000);
    EXPECT_EQ(layout.maxLevel(), WavefrontLayout::kMaxMaxLevel);

    layout.updateCanvas(); // 5 levels: 320
    EXPECT_EQ(layout.lineStep(), 32);
    EXPECT_EQ(layout.pageStep(), 64);
    layout.layOutAll();
    const QPoint icon = layout.iconCentre(3);
    const QPoint scroll = layout.scrollPosition();
    layout.scrollBy(Qt::Horizontal, -layout.lineStep());
    layout.scrollBy(Qt::Vertical, layout.pageStep());
    EXPECT_EQ(layout.scrollPosition(), scroll + QPoint(32, -64));
    EXPECT_EQ(layout.iconCentre(3), icon + QPoint(-32, 64));
    // Positions are not limited to the scroll range.
    layout.pan(QPoint(-1000, 0));
    EXPECT_EQ(layout.scrollPosition().x(), scroll.x() + 1032);
}

TEST(WavefrontLayoutTest, CentreOnVectorBringsTheIconToTheViewportCentre) {
    WavefrontLayout layout;
    for (int i = 0; i < 7; ++i) {
        layout.add(3, i == 2);
    }
    layout.layOutAll();
    layout.pan(layout.centreOnVector(2, QSize(801, 601)));
    EXPECT_EQ(WavefrontLayout::toDevice(layout.iconCentre(2), QSize(801, 601)), QPoint(400, 300));
}

TEST(WavefrontLayoutTest, ACircleIsDrawnOnlyWhereItCrossesTheRect) {
    const QRect viewport(-100, -100, 200, 200);
    EXPECT_TRUE(WavefrontLayout::annulusMeetsRect({0, 0}, 50, 50, viewport));
    EXPECT_TRUE(WavefrontLayout::annulusMeetsRect({0, 0}, 140, 140, viewport)); // through the corners
    // The bounding box of a large circle holds the viewport, yet the circle misses it.
    EXPECT_FALSE(WavefrontLayout::annulusMeetsRect({0, 0}, 1000, 1000, viewport));
    EXPECT_FALSE(WavefrontLayout::annulusMeetsRect({500, 0}, 100, 100, viewport));
    EXPECT_TRUE(WavefrontLayout::annulusMeetsRect({500, 0}, 450, 450, viewport));
    EXPECT_FALSE(WavefrontLayout::annulusMeetsRect({0, 0}, 10, 10, QRect()));
}

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
