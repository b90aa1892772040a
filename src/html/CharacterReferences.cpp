// SPDX-License-Identifier: MIT
#include "html/CharacterReferences.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "base/AsciiChars.h"
#include "base/Utf8.h"
#include "html/NamedCharacterTable.h"

namespace corvida {

namespace {

// The longest name of the table; a longer run of letters is no reference.
constexpr std::size_t kMaxNameLength = 32;
// More digits than this name no character (U+10FFFF has 7 decimal digits, 6 hex ones), and
// would only risk overflow.
constexpr std::size_t kMaxDigits = 8;
constexpr std::uint32_t kMaxCodePoint = 0x10FFFF;

int digitValue(char c, bool hex) {
    const int value = hexDigitValue(c);
    return hex || value < 10 ? value : -1;
}

// Decodes the numeric reference whose digits start at text[at] (after "&#"); returns the
// length read up to and including ';', or nothing when it is no reference.
std::optional<std::size_t> numeric(std::string_view text, std::size_t at, std::string& out) {
    std::size_t pos = at;
    const bool hex = pos < text.size() && (text[pos] == 'x' || text[pos] == 'X');
    pos += hex ? 1 : 0;
    const std::size_t digitsStart = pos;
    std::uint32_t code = 0;
    while (pos < text.size() && pos - digitsStart < kMaxDigits && digitValue(text[pos], hex) >= 0) {
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digitValue(text[pos], hex));
        ++pos;
    }
    if (pos == digitsStart || pos >= text.size() || text[pos] != ';' || code == 0 || code > kMaxCodePoint ||
        (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
    }
    appendUtf8(out, code);
    return pos + 1 - at;
}

// Decodes the named reference whose name starts at text[at] (after '&').
std::optional<std::size_t> named(std::string_view text, std::size_t at, std::string& out) {
    std::size_t pos = at;
    while (pos < text.size() && pos - at <= kMaxNameLength && isAsciiAlnum(text[pos])) {
        ++pos;
    }
    if (pos == at || pos >= text.size() || text[pos] != ';') {
        return std::nullopt;
    }
    const std::string_view name = text.substr(at, pos - at);
    const auto& entries = named_characters::kEntries;
    const auto found =
        std::lower_bound(std::begin(entries), std::end(entries), name,
                         [](const named_characters::Entry& entry, std::string_view key) { return entry.name < key; });
    if (found == std::end(entries) || found->name != name) {
        return std::nullopt;
    }
    out += found->characters;
    return pos + 1 - at;
}

} // namespace

std::string CharacterReferences::decode(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    std::size_t pos = 0;
    while (pos < value.size()) {
        const std::size_t amp = value.find('&', pos);
        if (amp == std::string_view::npos) {
            out += value.substr(pos);
            break;
        }
        out += value.substr(pos, amp - pos);
        const std::optional<std::size_t> read =
            amp + 1 < value.size() && value[amp + 1] == '#' ? numeric(value, amp + 2, out) : named(value, amp + 1, out);
        if (read) {
            pos = amp + 1 + (value[amp + 1] == '#' ? 1 : 0) + *read;
        } else {
            out += '&';
            pos = amp + 1;
        }
    }
    return out;
}

} // namespace corvida
