// SPDX-License-Identifier: MIT
#pragma once

// HttpDate writes and reads the dates of HTTP headers. Times are signed 32-bit seconds
// since 1970-01-01 00:00 GMT, -1 meaning unknown. Writing gives the one form the program
// sends ("Sun, 06 Nov 1994 08:49:37 GMT"); reading accepts the three forms servers use
// and never fails: text it cannot make sense of gives a meaningless but harmless time.

#include <cstdint>
#include <string>
#include <string_view>

namespace corvida {

class HttpDate {
public:
    // The text format() gives for a time it cannot write.
    static constexpr std::string_view kInvalidDate = "Invalid Date";

    // Returns the time as "Www, DD Mon YYYY HH:MM:SS GMT". Negative times (unknown, or
    // before 1970) give "Invalid Date".
    static std::string format(std::int32_t time);

    // Reads "Sun, 06 Nov 1994 08:49:37 GMT", "Sunday, 06-Nov-94 08:49:37 GMT" or
    // "Sun Nov  6 08:49:37 1994" as GMT. Missing parts of the clock count as -1, unknown
    // month names as January, two-digit years as 19YY. A result outside the signed 32-bit
    // range gives -1.
    static std::int32_t parse(std::string_view text);
};

} // namespace corvida
