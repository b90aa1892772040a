// SPDX-License-Identifier: MIT
#pragma once

// A ColumnEntry is one column of the URL list: its width, caption, alignment, the content it
// shows and whether it is shown. The program keeps one table of nine entries in display
// order; the settings store it and every URL list and export reads it.

#include <array>
#include <cstdint>
#include <string>

namespace corvida {

struct ColumnEntry {
    // Alignments of the format field.
    static constexpr std::int32_t kLeft = 0;
    static constexpr std::int32_t kRight = 1;
    static constexpr std::int32_t kCentre = 2;

    // Column contents (the column id field).
    static constexpr std::int32_t kType = 0;
    static constexpr std::int32_t kName = 1;
    static constexpr std::int32_t kContentType = 2;
    static constexpr std::int32_t kSize = 3;
    static constexpr std::int32_t kLastModified = 4;
    static constexpr std::int32_t kDepth = 5;
    static constexpr std::int32_t kInLinks = 6;
    static constexpr std::int32_t kOutLinks = 7;
    static constexpr std::int32_t kTitle = 8;

    std::int32_t width = 0;
    std::string caption; // at most kCaptionLimit bytes
    std::int32_t format = kLeft;
    std::int32_t columnId = kType;
    std::int32_t shown = 1; // 1 when the column is present in the lists

    static constexpr std::size_t kCaptionLimit = 39;

    friend bool operator==(const ColumnEntry&, const ColumnEntry&) = default;
};

inline constexpr std::size_t kColumnCount = 9;
using ColumnTable = std::array<ColumnEntry, kColumnCount>;

// The built-in table, which a new profile starts with and Reset restores.
inline ColumnTable defaultColumnTable() {
    return ColumnTable{{
        {30, "Type", ColumnEntry::kLeft, ColumnEntry::kType, 1},
        {150, "Name", ColumnEntry::kLeft, ColumnEntry::kName, 1},
        {70, "Content Type", ColumnEntry::kLeft, ColumnEntry::kContentType, 1},
        {50, "Size", ColumnEntry::kRight, ColumnEntry::kSize, 1},
        {60, "Depth", ColumnEntry::kRight, ColumnEntry::kDepth, 1},
        {100, "Last Modified", ColumnEntry::kLeft, ColumnEntry::kLastModified, 1},
        {70, "# In Links", ColumnEntry::kRight, ColumnEntry::kInLinks, 1},
        {70, "# Out Links", ColumnEntry::kRight, ColumnEntry::kOutLinks, 1},
        {150, "Title", ColumnEntry::kLeft, ColumnEntry::kTitle, 1},
    }};
}

} // namespace corvida
