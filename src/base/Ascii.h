// SPDX-License-Identifier: MIT
#pragma once

// ASCII letter-case helpers for the program's 8-bit texts. Only A-Z and a-z are folded:
// bytes from 0x80 up are never touched, whatever the locale says.

#include <cstddef>
#include <string>
#include <string_view>

namespace corvida {

constexpr char toLowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string toLowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = toLowerAscii(c);
    }
    return lower;
}

constexpr bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (toLowerAscii(a[i]) != toLowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

constexpr bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

} // namespace corvida
