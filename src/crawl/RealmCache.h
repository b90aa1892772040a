// SPDX-License-Identifier: MIT
#pragma once

// A RealmCache remembers, for the life of a crawl, the Basic credentials given for each
// authentication realm, and the realms for which the user gave none, so that no realm is
// asked about twice.

#include <map>
#include <set>
#include <string>
#include <string_view>

namespace corvida {

class RealmCache {
public:
    // The credential text cached for realm, or nullptr.
    const std::string* credentials(std::string_view realm) const;
    void store(std::string_view realm, std::string_view credentials);
    void forget(std::string_view realm);
    // True when the user declined to give credentials for realm.
    bool declined(std::string_view realm) const;
    void decline(std::string_view realm);

private:
    std::map<std::string, std::string, std::less<>> m_credentials;
    std::set<std::string, std::less<>> m_declined;
};

} // namespace corvida
