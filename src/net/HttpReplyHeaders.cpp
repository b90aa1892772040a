// SPDX-License-Identifier: MIT
#include "net/HttpReplyHeaders.h"

#include <algorithm>
#include <array>

#include "base/Ascii.h"
#include "base/AsciiChars.h"
#include "net/HttpDate.h"

namespace corvida {

namespace {

// Delays beyond this many seconds are read as this many; no caller waits that long.
constexpr std::int64_t kDelayCap = 1'000'000'000;

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// HttpDate reads any text as some date. A Retry-After value counts as a date only when it
// has the parts every form of HTTP date has: a word that begins with a month's name, and a
// clock "h:m".
bool looksLikeDate(std::string_view text) {
    constexpr std::array<std::string_view, 12> kMonths{"jan", "feb", "mar", "apr", "may", "jun",
                                                       "jul", "aug", "sep", "oct", "nov", "dec"};
    bool month = false;
    bool clock = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isAsciiLetter(text[i]) && (i == 0 || !isAsciiLetter(text[i - 1])) && i + 3 <= text.size()) {
            for (const std::string_view name : kMonths) {
                month = month || equalsIgnoreCase(text.substr(i, 3), name);
            }
        }
        clock = clock || (text[i] == ':' && i > 0 && isAsciiDigit(text[i - 1]) && i + 1 < text.size() &&
                          isAsciiDigit(text[i + 1]));
    }
    return month && clock;
}

} // namespace

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

std::optional<std::int64_t> HttpReplyHeaders::retryDelay(std::string_view value, std::int32_t now) {
    const std::string_view text = trimmed(value);
    if (text.empty()) {
        return std::nullopt;
    }
    if (std::all_of(text.begin(), text.end(), isAsciiDigit)) {
        std::int64_t seconds = 0;
        for (const char c : text) {
            seconds = std::min(seconds * 10 + (c - '0'), kDelayCap);
        }
        return seconds;
    }
    if (!looksLikeDate(text)) {
        return std::nullopt;
    }
    const std::int32_t date = HttpDate::parse(text);
    if (date < 0) {
        return std::nullopt;
    }
    return std::max<std::int64_t>(std::int64_t{date} - now, 0);
}

} // namespace corvida
