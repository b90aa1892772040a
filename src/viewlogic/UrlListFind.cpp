// SPDX-License-Identifier: MIT
#include "viewlogic/UrlListFind.h"

namespace corvida {

namespace {

constexpr std::int64_t kEntries = static_cast<std::int64_t>(kColumnCount);

} // namespace

UrlListFind::Result UrlListFind::next(Direction direction, std::size_t rowCount,
                                      const std::array<bool, kColumnCount>& searched,
                                      std::optional<std::size_t> selectedRow, const CellMatch& cellMatch) {
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
        if (!searched[entry]) {
            continue;
        }
        const auto row = static_cast<std::size_t>(cell / kEntries);
        if (cellMatch(row, entry)) {
            m_cursor = cell + step;
            return Result{.found = true, .wrapped = false, .row = row, .entry = entry};
        }
    }
    m_continuing = false;
    return Result{.found = false, .wrapped = true, .row = 0, .entry = 0};
}

} // namespace corvida
