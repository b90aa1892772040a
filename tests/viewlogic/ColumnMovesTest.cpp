// SPDX-License-Identifier: MIT
#include "viewlogic/ColumnMoves.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace corvida {
namespace {

// The captions of entries, joined by '|'.
std::string captions(const ColumnMoves& moves, const std::vector<std::size_t>& entries) {
    std::string text;
    for (std::size_t entry : entries) {
        text += (text.empty() ? "" : "|") + moves.table()[entry].caption;
    }
    return text;
}

std::string tableOrder(const ColumnMoves& moves) {
    std::vector<std::size_t> all;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        all.push_back(i);
    }
    return captions(moves, all);
}

TEST(ColumnMovesTest, AddAndRemoveKeepTableOrderAndSortTheAvailableByCaption) {
    ColumnMoves moves(defaultColumnTable());
    EXPECT_FALSE(moves.canAdd());
    ASSERT_EQ(moves.remove(8), 8u); // Title
    ASSERT_EQ(moves.remove(3), 3u); // Size
    ASSERT_EQ(moves.remove(0), 0u); // Type
    EXPECT_EQ(captions(moves, moves.available()), "Size|Title|Type");
    EXPECT_EQ(captions(moves, moves.shown()), "Name|Content Type|Depth|Last Modified|# In Links|# Out Links");
    EXPECT_TRUE(moves.canAdd());
    ASSERT_EQ(moves.add(3), 3u);
    EXPECT_EQ(captions(moves, moves.available()), "Title|Type");
    EXPECT_EQ(moves.shown().front(), 1u);
    EXPECT_EQ(moves.add(kColumnCount), std::nullopt);

    // Removing every shown column leaves none; Remove is offered while one remains.
    for (std::size_t entry : moves.shown()) {
        EXPECT_TRUE(moves.canRemove());
        moves.remove(entry);
    }
    EXPECT_FALSE(moves.canRemove());
    EXPECT_TRUE(moves.shown().empty());
}

TEST(ColumnMovesTest, MoveUpMakesTheFirstEntryAndMoveDownTheLast) {
    ColumnMoves moves(defaultColumnTable());
    moves.remove(2);
    // The seventh shown column (# Out Links, entry 7) becomes the first column.
    ASSERT_EQ(moves.shown()[6], 7u);
    EXPECT_EQ(moves.moveUp(7), 0u);
    EXPECT_EQ(tableOrder(moves), "# Out Links|Type|Name|Content Type|Size|Depth|Last Modified|# In Links|Title");
    EXPECT_EQ(moves.moveDown(1), kColumnCount - 1); // Type
    EXPECT_EQ(tableOrder(moves), "# Out Links|Name|Content Type|Size|Depth|Last Modified|# In Links|Title|Type");
    // The hidden entry moved with the others and stays hidden.
    EXPECT_EQ(moves.table()[2].caption, "Content Type");
    EXPECT_EQ(moves.table()[2].shown, 0);

    // Move Up is not offered on the first shown entry, Move Down not on the last, neither on a
    // hidden one.
    moves.remove(0);
    EXPECT_FALSE(moves.canMoveUp(1));
    EXPECT_TRUE(moves.canMoveDown(1));
    EXPECT_FALSE(moves.canMoveDown(8));
    EXPECT_TRUE(moves.canMoveUp(8));
    EXPECT_FALSE(moves.canMoveUp(0));
    EXPECT_FALSE(moves.canMoveDown(2));
    EXPECT_FALSE(moves.canMoveUp(kColumnCount));
}

TEST(ColumnMovesTest, WidthsStayInRangeAndResetRestoresTheDefaults) {
    ColumnMoves moves(defaultColumnTable());
    EXPECT_TRUE(moves.setWidth(1, 1000));
    EXPECT_TRUE(moves.setWidth(2, 1));
    EXPECT_FALSE(moves.setWidth(3, 0));
    EXPECT_FALSE(moves.setWidth(3, 1001));
    EXPECT_EQ(moves.table()[1].width, 1000);
    EXPECT_EQ(moves.table()[3].width, 50);
    moves.moveUp(5);
    moves.remove(4);
    moves.reset();
    EXPECT_EQ(moves.table(), defaultColumnTable());
}

} // namespace
} // namespace corvida
