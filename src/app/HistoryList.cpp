// SPDX-License-Identifier: MIT
#include "app/HistoryList.h"

namespace corvida {

bool HistoryList::add(std::string_view text) {
    if (text.empty() || (!m_entries.empty() && m_entries.front() == text)) {
        return false;
    }
    m_entries.insert(m_entries.begin(), std::string(text));
    if (m_entries.size() > kMaxEntries) {
        m_entries.resize(kMaxEntries);
    }
    return true;
}

} // namespace corvida
