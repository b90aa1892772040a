// SPDX-License-Identifier: MIT
#pragma once

// HistoryList is a most-recent-first list of the texts a person entered in a drop-down (the
// URL bar, the Find box) during the run: the newest first, at most kMaxEntries of them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvida {

class HistoryList {
public:
    static constexpr std::size_t kMaxEntries = 9;

    // Puts text first and drops the oldest entry beyond kMaxEntries. An empty text, or one
    // equal to the first entry, changes nothing and returns false. A text entered earlier but
    // not last is added again (the list may then hold it twice, as the drop-down showed it).
    bool add(std::string_view text);

    // The entries, newest first.
    const std::vector<std::string>& entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
};

} // namespace corvida
