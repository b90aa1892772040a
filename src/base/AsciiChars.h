// SPDX-License-Identifier: MIT
#pragma once

// ASCII character classes for the program's 8-bit texts: what protocols and markup call a
// digit, a letter or a hex digit. Bytes from 0x80 up belong to none, whatever the locale says.

namespace corvida {

constexpr bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool isAsciiAlnum(char c) {
    return isAsciiDigit(c) || isAsciiLetter(c);
}

// The value of a hex digit (either case), or -1 for any other byte.
constexpr int hexDigitValue(char c) {
    if (isAsciiDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace corvida
