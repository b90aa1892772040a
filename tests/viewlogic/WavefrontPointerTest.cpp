// SPDX-License-Identifier: MIT
#include "viewlogic/WavefrontPointer.h"

#include <gtest/gtest.h>

namespace corvida {
namespace {

using State = WavefrontPointer::State;
using Cursor = WavefrontPointer::Cursor;

TEST(WavefrontPointerTest, HoverPointsAtShownNodesOnly) {
    WavefrontPointer pointer;
    EXPECT_EQ(pointer.state(), State::Idle);
    EXPECT_EQ(pointer.cursor(), Cursor::Arrow);
    pointer.move({5, 5}, false, true);
    EXPECT_EQ(pointer.state(), State::OnNode);
    EXPECT_EQ(pointer.cursor(), Cursor::Node);
    pointer.leave();
    EXPECT_EQ(pointer.state(), State::Idle);
    pointer.move({5, 5}, false, true);
    pointer.move({50, 5}, false, false);
    EXPECT_EQ(pointer.state(), State::Idle);
}

TEST(WavefrontPointerTest, DraggingEmptySpacePansByEachStep) {
    WavefrontPointer pointer;
    pointer.press({10, 10}, false);
    EXPECT_EQ(pointer.state(), State::Panning);
    EXPECT_EQ(pointer.cursor(), Cursor::Panning);
    EXPECT_EQ(pointer.move({13, 8}, true, false).pan, QPoint(3, -2));
    // Over a node the map keeps panning.
    const auto move = pointer.move({20, 8}, true, true);
    EXPECT_EQ(move.pan, QPoint(7, 0));
    EXPECT_FALSE(move.startDrag);
    pointer.release({20, 8});
    EXPECT_EQ(pointer.state(), State::Idle);
    EXPECT_EQ(pointer.lastPoint(), QPoint(20, 8));
    EXPECT_EQ(pointer.move({30, 8}, false, false).pan, QPoint());
}

TEST(WavefrontPointerTest, APressOnANodeDragsOnlyBeyondTheThreshold) {
    WavefrontPointer pointer;
    pointer.press({100, 100}, true);
    EXPECT_EQ(pointer.state(), State::OnNode);
    EXPECT_EQ(pointer.cursor(), Cursor::Node);
    for (const QPoint near : {QPoint(104, 100), QPoint(96, 104), QPoint(100, 96)}) {
        const auto move = pointer.move(near, true, true);
        EXPECT_FALSE(move.startDrag) << near.x() << "," << near.y();
        EXPECT_EQ(move.pan, QPoint());
    }
    EXPECT_TRUE(pointer.move({100, 105}, true, false).startDrag);
    // One drag per press; leaving the map during it keeps the state.
    pointer.leave();
    EXPECT_FALSE(pointer.move({120, 120}, true, false).startDrag);
    pointer.release({120, 120});
    EXPECT_EQ(pointer.state(), State::Idle);

    pointer.press({0, 0}, true);
    EXPECT_TRUE(pointer.move({-5, 0}, true, true).startDrag);
}

TEST(WavefrontPointerTest, HeldButtonAfterANodePressFollowsThePointer) {
    WavefrontPointer pointer;
    pointer.press({0, 0}, true);
    pointer.move({0, 0}, false, true); // the drag was declined and the button let go elsewhere
    pointer.press({0, 0}, true);
    pointer.move({10, 0}, true, true); // starts the drag
    // The drag gave nothing back and the button is still down: on a node idle, else panning.
    pointer.move({10, 0}, true, true);
    EXPECT_EQ(pointer.state(), State::Idle);
    WavefrontPointer other;
    other.press({0, 0}, true);
    other.move({10, 0}, true, false);
    other.move({20, 0}, true, false);
    EXPECT_EQ(other.state(), State::Panning);
    EXPECT_EQ(other.move({25, 0}, true, false).pan, QPoint(5, 0));
}

} // namespace
} // namespace corvida
