// SPDX-License-Identifier: MIT
#include "net/HttpDate.h"

#include <array>
#include <cstdio>
#include <limits>

#include "base/Ascii.h"
#include "base/AsciiChars.h"

namespace corvida {

namespace {

constexpr std::array<const char*, 7> kWeekdays{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// Days of the months before each month in a common year.
constexpr std::array<int, 12> kDaysBeforeMonth{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// Digit runs longer than this are read no further, so that no number read from a date can
// overflow; any such number already puts the date far outside the 32-bit range.
constexpr std::int64_t kNumberCap = 1'000'000'000;
// No year after this can give a time inside the 32-bit range.
constexpr std::int64_t kLastYear = 2040;

constexpr bool isLeapYear(std::int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Reads the date text left to right; each read leaves the position after what it took.
class DateReader {
public:
    explicit DateReader(std::string_view text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    void skip() { ++m_pos; }

    void skipWhiteSpace() {
        while (!atEnd() && isWhiteSpace(m_text[m_pos])) {
            ++m_pos;
        }
    }
    void skipWhiteSpaceAndDashes() {
        while (!atEnd() && (isWhiteSpace(m_text[m_pos]) || m_text[m_pos] == '-')) {
            ++m_pos;
        }
    }
    std::string_view letters() {
        const std::size_t start = m_pos;
        while (!atEnd() && isAsciiLetter(m_text[m_pos])) {
            ++m_pos;
        }
        return m_text.substr(start, m_pos - start);
    }
    // Skips to the next digit and takes the run of digits; 0 when the text ends first.
    std::int64_t number() {
        while (!atEnd() && !isAsciiDigit(m_text[m_pos])) {
            ++m_pos;
        }
        std::int64_t value = 0;
        while (!atEnd() && isAsciiDigit(m_text[m_pos])) {
            if (value < kNumberCap) {
                value = value * 10 + (m_text[m_pos] - '0');
            }
            ++m_pos;
        }
        return value;
    }
    // Skips white space and takes the run of letters as a month: 0 for January to 11 for
    // December by its first three letters, any case; no match counts as January.
    int month() {
        skipWhiteSpace();
        const std::string_view name = letters();
        for (std::size_t i = 0; i < kMonths.size(); ++i) {
            if (name.size() >= 3 && equalsIgnoreCase(name.substr(0, 3), kMonths[i])) {
                return static_cast<int>(i);
            }
        }
        return 0;
    }
    // Reads "h:m:s"; a part that is missing counts as -1, and so do seconds that are not
    // followed by a space.
    void clock(std::int64_t& hours, std::int64_t& minutes, std::int64_t& seconds) {
        hours = number();
        minutes = -1;
        seconds = -1;
        if (peek() != ':') {
            return;
        }
        skip();
        minutes = number();
        if (peek() != ':') {
            return;
        }
        skip();
        seconds = number();
        if (peek() != ' ') {
            seconds = -1;
        }
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace

std::string HttpDate::format(std::int32_t time) {
    if (time < 0) {
        return std::string(kInvalidDate);
    }
    const std::int64_t days = time / 86400;
    const std::int64_t secondsOfDay = time % 86400;
    // 1970-01-01 was a Thursday.
    const auto weekday = static_cast<std::size_t>((days + 4) % 7);

    // Civil date from the day count, over 400-year eras that start on March 1st.
    const std::int64_t shifted = days + 719468;
    const std::int64_t era = shifted / 146097;
    const std::int64_t dayOfEra = shifted - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153; // 0 is March
    const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s, %02d %s %04d %02d:%02d:%02d GMT", kWeekdays[weekday],
                  static_cast<int>(day), kMonths[static_cast<std::size_t>(month - 1)], static_cast<int>(year),
                  static_cast<int>(secondsOfDay / 3600), static_cast<int>(secondsOfDay / 60 % 60),
                  static_cast<int>(secondsOfDay % 60));
    return buffer;
}

std::int32_t HttpDate::parse(std::string_view text) {
    DateReader reader(text);
    reader.skipWhiteSpace();
    reader.letters(); // the weekday, not used

    std::int64_t day = 0;
    int month = 0;
    std::int64_t year = 0;
    std::int64_t hours = 0;
    std::int64_t minutes = 0;
    std::int64_t seconds = 0;
    if (reader.peek() == ',') {
        reader.skip();
        day = reader.number();
        reader.skipWhiteSpaceAndDashes();
        month = reader.month();
        reader.skipWhiteSpaceAndDashes();
        year = reader.number();
        reader.clock(hours, minutes, seconds);
    } else {
        // "Sun Nov  6 08:49:37 1994"; also where a date without its weekday ends up.
        month = reader.month();
        day = reader.number();
        reader.clock(hours, minutes, seconds);
        year = reader.number();
    }
    if (year <= 99) {
        year += 1900;
    }
    if (year > kLastYear) {
        return -1;
    }

    std::int64_t days = 0;
    for (std::int64_t y = 1970; y < year; ++y) {
        days += isLeapYear(y) ? 366 : 365;
    }
    days += kDaysBeforeMonth[static_cast<std::size_t>(month)];
    if (month >= 2 && isLeapYear(year)) {
        days += 1;
    }
    days += day - 1;

    const std::int64_t result = ((days * 24 + hours) * 60 + minutes) * 60 + seconds;
    if (result < std::numeric_limits<std::int32_t>::min() || result > std::numeric_limits<std::int32_t>::max()) {
        return -1;
    }
    return static_cast<std::int32_t>(result);
}

} // namespace corvida
