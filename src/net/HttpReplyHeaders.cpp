// SPDX-License-Identifier: MIT
#include "net/HttpReplyHeaders.h"

#include "base/Ascii.h"

namespace corvida {

std::optional<std::string> HttpReplyHeaders::challengeRealm(std::string_view challenge) {
    std::size_t pos = 0;
    while (pos < challenge.size() && (challenge[pos] == ' ' || challenge[pos] == '\t')) {
        ++pos;
    }
    const std::size_t schemeStart = pos;
    while (pos < challenge.size() &&
           ((challenge[pos] >= 'a' && challenge[pos] <= 'z') || (challenge[pos] >= 'A' && challenge[pos] <= 'Z'))) {
        ++pos;
    }
    if (!startsWithIgnoreCase(challenge.substr(schemeStart, pos - schemeStart), "basic")) {
        return std::nullopt;
    }
    const std::size_t open = challenge.find('"', pos);
    if (open == std::string_view::npos) {
        return std::string();
    }
    const std::size_t close = challenge.find('"', open + 1);
    return std::string(challenge.substr(open + 1, close == std::string_view::npos ? close : close - open - 1));
}

} // namespace corvida
