// SPDX-License-Identifier: MIT
#include "crawl/RealmCache.h"

namespace corvida {

const std::string* RealmCache::credentials(std::string_view realm) const {
    const auto it = m_credentials.find(realm);
    return it == m_credentials.end() ? nullptr : &it->second;
}

void RealmCache::store(std::string_view realm, std::string_view credentials) {
    m_credentials.insert_or_assign(std::string(realm), std::string(credentials));
}

void RealmCache::forget(std::string_view realm) {
    const auto it = m_credentials.find(realm);
    if (it != m_credentials.end()) {
        m_credentials.erase(it);
    }
}

bool RealmCache::declined(std::string_view realm) const {
    return m_declined.find(realm) != m_declined.end();
}

void RealmCache::decline(std::string_view realm) {
    m_declined.emplace(realm);
}

} // namespace corvida
