// SPDX-License-Identifier: MIT
#pragma once

// UrlListFind walks the cells of a URL list for a text, one Find Next at a time: downward
// through the shown columns in column-table order and then the next row, or upward in the
// reverse order. It remembers where the last match was, so the next search continues after
// that cell, and it goes back to its start rule once a search reached the end without a
// match. The list gives the rows, the columns to visit and whether a cell holds the text.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "model/ColumnEntry.h"

namespace corvida {

class UrlListFind {
public:
    enum class Direction { Down, Up };

    // Whether the cell of row and column-table entry holds the text looked for.
    using CellMatch = std::function<bool(std::size_t row, std::size_t entry)>;

    struct Result {
        bool found = false;
        // The search reached the end (or the start, upward) without a match; the next one
        // starts over by the start rule.
        bool wrapped = false;
        std::size_t row = 0;
        std::size_t entry = 0; // column-table entry of the matched cell
    };

    // Looks for the next cell that cellMatch accepts from the current position. A search that
    // is not continuing starts at selectedRow (its first cell downward, its last cell upward)
    // or, with no selected row, before the first row (down) or after the last row (up).
    // Visits the cells of the entries with searched set, within rows of rowCount.
    Result next(Direction direction, std::size_t rowCount, const std::array<bool, kColumnCount>& searched,
                std::optional<std::size_t> selectedRow, const CellMatch& cellMatch);

    // The next search starts by the start rule (the rows changed, or a new search began).
    void restart() { m_continuing = false; }
    bool continuing() const { return m_continuing; }

private:
    bool m_continuing = false;
    // The next cell to visit, as row * kColumnCount + entry; -1 or past the end: none left.
    std::int64_t m_cursor = 0;
};

} // namespace corvida
