// SPDX-License-Identifier: MIT
#include "viewlogic/UrlListFind.h"

#include <algorithm>

#include "base/Ascii.h"

namespace corvida {

namespace {

constexpr std::int64_t kEntries = static_cast<std::int64_t>(kColumnCount);

} // namespace

bool UrlListFind::contains(std::string_view cell, std::string_view text, bool matchCase) {
    if (text.empty()) {
        return false;
    }
    if (matchCase) {
        return cell.find(text) != std::string_view::npos;
    }
    // A million rows of nine cells are searched at once: look for the first letter, then
    // compare the rest.
    const char first = toLowerAscii(text.front());
    for (std::size_t start = 0; start + text.size() <= cell.size(); ++start) {
        if (toLowerAscii(cell[start]) != first) {
            continue;
        }
        std::size_t matched = 1;
        while (matched < text.size() && toLowerAscii(cell[start + matched]) == toLowerAscii(text[matched])) {
            ++matched;
        }
        if (matched == text.size()) {
            return true;
        }
    }
    return false;
}

UrlListFind::Result UrlListFind::next(std::string_view text, bool matchCase, Direction direction, std::size_t rowCount,
                                      const std::array<bool, kColumnCount>& shown,
                                      std::optional<std::size_t> selectedRow, const CellText& cellText) {
    const bool down = direction == Direction::Down;
    const std::int64_t end = static_cast<std::int64_t>(rowCount) * kEntries;
    if (!m_continuing) {
        if (selectedRow && *selectedRow < rowCount) {
            const auto row = static_cast<std::int64_t>(*selectedRow);
            m_cursor = down ? row * kEntries : row * kEntries + kEntries - 1;
        } else {
            m_cursor = down ? 0 : end - 1;
        }
        m_continuing = true;
    }
    const std::int64_t step = down ? 1 : -1;
    for (std::int64_t cell = m_cursor; cell >= 0 && cell < end; cell += step) {
        const auto entry = static_cast<std::size_t>(cell % kEntries);
        if (!shown[entry]) {
            continue;
        }
        const auto row = static_cast<std::size_t>(cell / kEntries);
        if (contains(cellText(row, entry), text, matchCase)) {
            m_cursor = cell + step;
            return Result{.found = true, .wrapped = false, .row = row, .entry = entry};
        }
    }
    m_continuing = false;
    return Result{.found = false, .wrapped = true, .row = 0, .entry = 0};
}

} // namespace corvida
