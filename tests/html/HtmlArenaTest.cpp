// SPDX-License-Identifier: MIT
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "html/HtmlArena.h"

namespace corvida {
namespace {

// Copies stay intact while the arena grows through many blocks and takes texts larger than
// a block, and every object comes out aligned for its type.
TEST(HtmlArenaTest, CopiesSurviveGrowthAndObjectsAreAligned) {
    HtmlArena arena;
    std::vector<std::string_view> copies;
    std::vector<std::string> originals;
    for (int i = 0; i < 20000; ++i) {
        originals.push_back(std::string(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26)));
        if (i % 5000 == 0) {
            originals.back() = std::string(3 << 20, 'L');
        }
        copies.push_back(arena.copy(originals.back()));
        auto* number = arena.make<std::uint64_t>(static_cast<std::uint64_t>(i));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(number) % alignof(std::uint64_t), 0u);
        ASSERT_EQ(*number, static_cast<std::uint64_t>(i));
    }
    for (std::size_t i = 0; i < copies.size(); ++i) {
        ASSERT_EQ(copies[i], originals[i]) << i;
    }
    EXPECT_TRUE(arena.copy("").empty());
}

} // namespace
} // namespace corvida
