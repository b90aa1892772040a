// SPDX-License-Identifier: MIT
#pragma once

// ColumnMoves edits a copy of the URL list's column table the way the Columns dialog offers:
// showing and hiding entries, moving an entry to the front or the end of the table, setting
// widths and restoring the built-in table. Entries are named by their index in the table, not
// by caption: captions come from the profile and may repeat. The caller takes table() back
// when the person accepts.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/ColumnEntry.h"

namespace corvida {

class ColumnMoves {
public:
    // The range a column width may take.
    static constexpr std::int32_t kMinWidth = 1;
    static constexpr std::int32_t kMaxWidth = 1000;

    // Edits a copy of table.
    explicit ColumnMoves(const ColumnTable& table) : m_table(table) {}

    const ColumnTable& table() const { return m_table; }

    // The hidden entries, sorted by caption (byte order; equal captions in table order).
    std::vector<std::size_t> available() const;
    // The shown entries in table order, which is their order in the lists.
    std::vector<std::size_t> shown() const;

    // Shows entry; returns its index (unchanged). An index out of range changes nothing and
    // gives nullopt; so does every other operation below.
    std::optional<std::size_t> add(std::size_t entry);
    // Hides entry; returns its index.
    std::optional<std::size_t> remove(std::size_t entry);
    // Makes entry the first of the table, the others keeping their order; returns 0.
    std::optional<std::size_t> moveUp(std::size_t entry);
    // Makes entry the last of the table, the others keeping their order; returns the last
    // index.
    std::optional<std::size_t> moveDown(std::size_t entry);
    // Sets the width of entry when width lies in kMinWidth..kMaxWidth; returns whether it did.
    bool setWidth(std::size_t entry, std::int32_t width);
    // Puts the built-in table in place of the copy.
    void reset() { m_table = defaultColumnTable(); }

    // Add is offered while an entry is hidden.
    bool canAdd() const { return !available().empty(); }
    // Remove and Width are offered while an entry is shown.
    bool canRemove() const { return !shown().empty(); }
    // Move Up is offered for a shown entry that is not the first shown one.
    bool canMoveUp(std::size_t entry) const;
    // Move Down is offered for a shown entry that is not the last shown one.
    bool canMoveDown(std::size_t entry) const;

private:
    bool isShown(std::size_t entry) const { return entry < m_table.size() && m_table[entry].shown != 0; }

    ColumnTable m_table;
};

} // namespace corvida
