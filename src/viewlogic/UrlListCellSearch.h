// SPDX-License-Identifier: MIT
#pragma once

// UrlListCellSearch answers, for one Find Next over a URL list, whether a cell holds the text
// looked for. The cells are the texts UrlListColumns gives, compared as TextNeedle compares,
// but a cell is written out only where it has to be: a column whose texts cannot hold a byte
// of the text is not searched at all, and each Last Modified time is looked at once. It reads
// the nodes as they are at each call and keeps nothing from one search to the next, so a
// search always sees the rows' current texts.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/ColumnEntry.h"
#include "viewlogic/TextNeedle.h"

namespace corvida {

class WebNode;

class UrlListCellSearch {
public:
    // A search for text under the case rule of matchCase over the shown entries of columns.
    // columns need not outlive the search.
    UrlListCellSearch(std::string_view text, bool matchCase, const ColumnTable& columns);

    // The column-table entries to visit: shown, and able to hold the text.
    const std::array<bool, kColumnCount>& searched() const { return m_searched; }

    // Whether the cell of node in column-table entry holds the text.
    bool matches(const WebNode& node, std::size_t entry);

    // Memory hints for a walk over many rows, so that the rows ahead are read while the
    // current one is compared. A row is fetched in three steps, each some rows nearer than the
    // one before: Node, then Storage (the node has been read by then), then Texts. None
    // changes what matches() answers.
    enum class Fetch { Node, Storage, Texts };
    void fetch(const WebNode& node, Fetch step) const;

private:
    bool lastModifiedMatches(std::int32_t time);

    // Last Modified answers by time, so that a list of equal dates is formatted once.
    struct DateAnswer {
        std::int32_t time;
        bool found;
    };
    static constexpr std::size_t kDateAnswers = 4096;

    TextNeedle m_needle;
    std::array<std::int32_t, kColumnCount> m_columnIds{};
    std::array<bool, kColumnCount> m_searched{};
    bool m_titleSearched = false;
    std::string m_buffer;
    std::array<DateAnswer, kDateAnswers> m_dates;
};

} // namespace corvida
