// SPDX-License-Identifier: MIT
#pragma once

// HttpReplyHeaders holds the fields of a reply that concern the reply itself: where a
// redirect points, the server, the authentication challenge, when to ask again and the
// server's clock. It is filled by HttpReplyParser and read by the crawl.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvida {

struct HttpReplyHeaders {
    std::optional<std::string> location;
    std::optional<std::string> server;
    std::optional<std::string> wwwAuthenticate;
    std::optional<std::string> retryAfter;
    // -1 when the reply has no Date header.
    std::int32_t date = -1;

    // Returns the realm of a WWW-Authenticate value when it offers Basic authentication
    // (the scheme word begins with "basic", any case): the text between the first two
    // double quotes after the scheme (to the end when the second is missing, empty when
    // there is none). Returns nullopt for any other scheme.
    static std::optional<std::string> challengeRealm(std::string_view challenge);

    // Returns the seconds a Retry-After value asks to wait: its number of seconds (digits
    // only, blanks around them allowed), or the time from now until its HTTP date, 0 for a
    // date that has passed. Returns nullopt for anything else: a negative number, a date
    // without a month name and a clock, text. now is in seconds since 1970, as HttpDate's.
    static std::optional<std::int64_t> retryDelay(std::string_view value, std::int32_t now);
};

} // namespace corvida
