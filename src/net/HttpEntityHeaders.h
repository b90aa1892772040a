// SPDX-License-Identifier: MIT
#pragma once

// HttpEntityHeaders holds the fields of a reply that describe its body: type, encoding,
// length and dates, plus every header the program does not read itself, kept as text.
// It is filled by HttpReplyParser and read by the crawl.

#include <cstdint>
#include <optional>
#include <string>

namespace corvida {

struct HttpEntityHeaders {
    // Never filled from a reply: an Allow header goes to the extra headers.
    std::optional<std::string> allow;
    std::optional<std::string> contentEncoding;
    // -1 when unknown (absent, or too large for 32 bits); 0 when the value is no number.
    std::int32_t contentLength = -1;
    // As received, parameters included ("text/html; charset=utf-8").
    std::optional<std::string> contentType;
    // Times; -1 when absent.
    std::int32_t expires = -1;
    std::int32_t lastModified = -1;
    // Every other header in arrival order, each as name, ':', value, CR LF.
    std::optional<std::string> extraHeaders;
};

} // namespace corvida
