// SPDX-License-Identifier: MIT
#pragma once

// UTF-8 encoding of single code points, for decoders that turn escapes and references of
// markup and style sheets into the bytes they stand for.

#include <cstdint>
#include <string>

namespace corvida {

// Appends code in UTF-8. code must be at most U+10FFFF; callers decide what a surrogate or
// another code they refuse becomes.
inline void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace corvida
