// SPDX-License-Identifier: MIT
#pragma once

// UrlListOrder is the sort state of one URL list and the order of its rows by a column: which
// column the rows are sorted by and in which direction, what a click on a column header does
// (a new column sorts ascending, the sort column again reverses the rows), and the sort key of
// each column content. The list owns the rows; this class only orders the pointers it is given.

#include <cstdint>
#include <vector>

namespace corvida {

class WebNode;

class UrlListOrder {
public:
    // What a header click asks of the rows.
    enum class Change { Sort, Reverse };
    static constexpr int kNoColumn = -1;

    // The column position the rows are sorted by, or kNoColumn (a new list: newest first).
    int sortColumn() const { return m_column; }
    bool ascending() const { return m_ascending; }

    // A click on the header of the column at position. Returns Reverse when position is the
    // sort column already (the direction flips and the rows only need reversing), else Sort:
    // position becomes the sort column, ascending.
    Change click(int position);
    // Back to no sort column (the columns were rebuilt).
    void reset();

    // The order of column content columnId (a ColumnEntry column id): whether a comes before
    // b. A strict weak order for every column id; an unknown id orders nothing.
    //   Type: MAIL 10, FTP 11, HTTP or FILE the major type index + 1, other schemes 0;
    //   Name: byte-wise on the request URL, or the URL when there is none;
    //   Content Type: ASCII case-insensitive on the MIME type name (HTTP, FILE) or the
    //     scheme name (others);
    //   Size, Last Modified, Depth, # In Links, # Out Links: numeric;
    //   Title: byte-wise on the title, or the URL when there is none.
    static bool less(const WebNode& a, const WebNode& b, std::int32_t columnId);
    // The numeric key of the Type, Size, Last Modified, Depth and link-count columns; 0 for
    // the others.
    static std::int64_t numericKey(const WebNode& node, std::int32_t columnId);

    // Sorts nodes by columnId, ascending or descending. Not stable: rows with equal keys come
    // in any order. Keys are read once per node, so a million rows sort in well under a
    // second. nodes must not hold null.
    static void sort(std::vector<WebNode*>& nodes, std::int32_t columnId, bool ascending);

private:
    int m_column = kNoColumn;
    bool m_ascending = true;
};

} // namespace corvida
