// SPDX-License-Identifier: MIT
#include "viewlogic/ColumnMoves.h"

#include <algorithm>

namespace corvida {

std::vector<std::size_t> ColumnMoves::available() const {
    std::vector<std::size_t> entries;
    for (std::size_t i = 0; i < m_table.size(); ++i) {
        if (m_table[i].shown == 0) {
            entries.push_back(i);
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [this](std::size_t a, std::size_t b) { return m_table[a].caption < m_table[b].caption; });
    return entries;
}

std::vector<std::size_t> ColumnMoves::shown() const {
    std::vector<std::size_t> entries;
    for (std::size_t i = 0; i < m_table.size(); ++i) {
        if (m_table[i].shown != 0) {
            entries.push_back(i);
        }
    }
    return entries;
}

std::optional<std::size_t> ColumnMoves::add(std::size_t entry) {
    if (entry >= m_table.size()) {
        return std::nullopt;
    }
    m_table[entry].shown = 1;
    return entry;
}

std::optional<std::size_t> ColumnMoves::remove(std::size_t entry) {
    if (entry >= m_table.size()) {
        return std::nullopt;
    }
    m_table[entry].shown = 0;
    return entry;
}

std::optional<std::size_t> ColumnMoves::moveUp(std::size_t entry) {
    if (entry >= m_table.size()) {
        return std::nullopt;
    }
    std::rotate(m_table.begin(), m_table.begin() + static_cast<std::ptrdiff_t>(entry),
                m_table.begin() + static_cast<std::ptrdiff_t>(entry) + 1);
    return 0;
}

std::optional<std::size_t> ColumnMoves::moveDown(std::size_t entry) {
    if (entry >= m_table.size()) {
        return std::nullopt;
    }
    std::rotate(m_table.begin() + static_cast<std::ptrdiff_t>(entry),
                m_table.begin() + static_cast<std::ptrdiff_t>(entry) + 1, m_table.end());
    return m_table.size() - 1;
}

bool ColumnMoves::setWidth(std::size_t entry, std::int32_t width) {
    if (entry >= m_table.size() || width < kMinWidth || width > kMaxWidth) {
        return false;
    }
    m_table[entry].width = width;
    return true;
}

bool ColumnMoves::canMoveUp(std::size_t entry) const {
    const std::vector<std::size_t> entries = shown();
    return isShown(entry) && entries.front() != entry;
}

bool ColumnMoves::canMoveDown(std::size_t entry) const {
    const std::vector<std::size_t> entries = shown();
    return isShown(entry) && entries.back() != entry;
}

} // namespace corvida
