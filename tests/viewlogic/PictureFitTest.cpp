// SPDX-License-Identifier: MIT
#include "viewlogic/PictureFit.h"

#include <gtest/gtest.h>

namespace corvida {
namespace {

using Placement = PictureFit::Placement;

TEST(PictureFitTest, KeepsProportionsAndCentres) {
    // Wide: full width, centred vertically.
    EXPECT_EQ(PictureFit::fit(200, 100, 32, 32), (Placement{0, 8, 32, 16}));
    // Tall: full height, centred horizontally.
    EXPECT_EQ(PictureFit::fit(100, 200, 32, 32), (Placement{8, 0, 16, 32}));
    // Same ratio as the box: fills it, also when scaled up.
    EXPECT_EQ(PictureFit::fit(64, 64, 32, 32), (Placement{0, 0, 32, 32}));
    EXPECT_EQ(PictureFit::fit(10, 20, 53, 106), (Placement{0, 0, 53, 106}));
    // Sides are cut, not rounded.
    EXPECT_EQ(PictureFit::fit(300, 200, 53, 70), (Placement{0, 17, 53, 35}));
    EXPECT_EQ(PictureFit::fit(640, 480, 100, 50), (Placement{17, 0, 66, 50}));
}

TEST(PictureFitTest, ExtremeShapesKeepAPixelAndEmptySizesAreRefused) {
    // Odd spare room leaves the extra pixel below or right.
    EXPECT_EQ(PictureFit::fit(1000, 1, 32, 32), (Placement{0, 15, 32, 1}));
    EXPECT_EQ(PictureFit::fit(1, 1000, 32, 32), (Placement{15, 0, 1, 32}));
    EXPECT_EQ(PictureFit::fit(30000, 30000, 1, 1), (Placement{0, 0, 1, 1}));
    EXPECT_EQ(PictureFit::fit(0, 100, 32, 32), std::nullopt);
    EXPECT_EQ(PictureFit::fit(100, 0, 32, 32), std::nullopt);
    EXPECT_EQ(PictureFit::fit(100, 100, 0, 32), std::nullopt);
    EXPECT_EQ(PictureFit::fit(100, 100, 32, -1), std::nullopt);
    EXPECT_EQ(PictureFit::fit(-5, 100, 32, 32), std::nullopt);
}

} // namespace
} // namespace corvida
