// SPDX-License-Identifier: MIT
#include "viewlogic/UrlListFind.h"
#include "viewlogic/TextNeedle.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace corvida {
namespace {

using Direction = UrlListFind::Direction;

// Three rows of nine cells; the text of a cell is given by the table below.
class UrlListFindTest : public ::testing::Test {
protected:
    UrlListFindTest() { m_shown.fill(true); }

    UrlListFind::Result next(std::string_view text, Direction direction = Direction::Down,
                             std::optional<std::size_t> selected = std::nullopt, bool matchCase = false) {
        const TextNeedle needle(text, matchCase);
        return m_find.next(direction, m_rows.size(), m_shown, selected,
                           [&](std::size_t row, std::size_t entry) { return needle.foundIn(m_rows[row][entry]); });
    }

    static std::pair<std::size_t, std::size_t> at(const UrlListFind::Result& result) {
        EXPECT_TRUE(result.found);
        return {result.row, result.entry};
    }

    std::vector<std::vector<std::string>> m_rows{
        {"", "http://h/a.htm", "text/html", "10", "", "1", "0", "2", "Alpha page"},
        {"", "http://h/b.gif", "image/gif", "200", "", "2", "1", "0", ""},
        {"", "http://h/c.htm", "text/html", "30", "", "2", "1", "1", "Gamma ALPHA"},
    };
    std::array<bool, kColumnCount> m_shown{};
    UrlListFind m_find;
};

TEST_F(UrlListFindTest, DownwardVisitsCellsInTableOrderThenWrapsAndStartsOver) {
    using Cell = std::pair<std::size_t, std::size_t>;
    EXPECT_EQ(at(next("alpha")), (Cell{0, 8}));
    EXPECT_EQ(at(next("alpha")), (Cell{2, 8}));
    const UrlListFind::Result end = next("alpha");
    EXPECT_FALSE(end.found);
    EXPECT_TRUE(end.wrapped);
    EXPECT_FALSE(m_find.continuing());
    // After the end the search starts over from the first row.
    EXPECT_EQ(at(next("alpha")), (Cell{0, 8}));

    // Continuing after a matched cell finds a later cell of the same row.
    m_find.restart();
    EXPECT_EQ(at(next("htm")), (Cell{0, 1}));
    EXPECT_EQ(at(next("htm")), (Cell{0, 2}));

    // A continuing search reads the cells as they are now: a cell that changed after the last
    // match is found, one that lost the text is not.
    m_rows[1][8] = "now htm too";
    m_rows[2][1] = "http://h/c.gif";
    m_rows[2][2] = "image/gif";
    EXPECT_EQ(at(next("htm")), (Cell{1, 8}));
    EXPECT_FALSE(next("htm").found);
}

TEST_F(UrlListFindTest, UpwardStartsAtTheEndOrTheSelectedRowAndVisitsCellsBackwards) {
    using Cell = std::pair<std::size_t, std::size_t>;
    EXPECT_EQ(at(next("htm", Direction::Up)), (Cell{2, 2}));
    EXPECT_EQ(at(next("htm", Direction::Up)), (Cell{2, 1}));
    EXPECT_EQ(at(next("htm", Direction::Up)), (Cell{0, 2}));

    m_find.restart();
    EXPECT_EQ(at(next("2", Direction::Up, 1)), (Cell{1, 5}));
    m_find.restart();
    // Downward from a selected row, its own cells come first.
    EXPECT_EQ(at(next("2", Direction::Down, 1)), (Cell{1, 3}));
}

TEST_F(UrlListFindTest, CaseHiddenColumnsAndEmptyLists) {
    using Cell = std::pair<std::size_t, std::size_t>;
    EXPECT_EQ(at(next("ALPHA", Direction::Down, std::nullopt, true)), (Cell{2, 8}));
    EXPECT_FALSE(next("ALPHA", Direction::Down, std::nullopt, true).found);

    m_shown[8] = false;
    EXPECT_FALSE(next("alpha").found);
    EXPECT_FALSE(next("").found);

    m_rows.clear();
    const UrlListFind::Result empty = next("a");
    EXPECT_FALSE(empty.found);
    EXPECT_TRUE(empty.wrapped);
    EXPECT_FALSE(next("a", Direction::Up).found);
}

} // namespace
} // namespace corvida
