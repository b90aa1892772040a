// SPDX-License-Identifier: MIT
#include "html/StyleSheetReader.h"

#include <utility>

#include "base/Ascii.h"
#include "base/AsciiChars.h"
#include "base/Utf8.h"

namespace corvida {

namespace {

// Names matter only when they are "url", "import" or "namespace"; longer ones are not kept.
constexpr std::size_t kMaxNameBytes = 16;
constexpr int kMaxHexDigits = 6;
constexpr std::uint32_t kMaxCodePoint = 0x10FFFF;
constexpr std::uint32_t kReplacementCharacter = 0xFFFD;
constexpr std::string_view kDataScheme = "data:";

// Blanks after line breaks are made LF.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool isNameByte(char c) {
    return isAsciiAlnum(c) || c == '_' || c == '-' || static_cast<unsigned char>(c) >= 0x80;
}

// Control characters other than blanks, which an unquoted url() argument must not hold.
bool isNonPrintable(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x08 || byte == 0x0B || (byte >= 0x0E && byte <= 0x1F) || byte == 0x7F;
}

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

// Blanks and control characters, which a URL loses at both ends.
bool isTrimmed(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

} // namespace

std::vector<std::string> StyleSheetReader::urlsOf(std::string_view text) {
    StyleSheetReader reader;
    reader.read(text);
    reader.finish();
    return reader.takeUrls();
}

std::vector<std::string> StyleSheetReader::takeUrls() {
    return std::exchange(m_urls, {});
}

void StyleSheetReader::read(std::string_view piece) {
    for (char c : piece) {
        if (m_afterCr) {
            m_afterCr = false;
            if (c == '\n') {
                continue;
            }
        }
        if (c == '\r') {
            m_afterCr = true;
            c = '\n';
        } else if (c == '\f') {
            c = '\n';
        }
        while (!step(c)) {
        }
    }
}

void StyleSheetReader::finish() {
    m_state = State::Text;
    m_afterCr = false;
    m_nextNameKind = NameKind::Ident;
    m_importPending = false;
    m_inNamespaceRule = false;
    m_name.clear();
    m_value.clear();
}

bool StyleSheetReader::step(char c) {
    switch (m_state) {
    case State::Text:
        return stepText(c);
    case State::Name:
        return stepName(c);
    case State::Slash:
        if (c == '*') {
            m_state = State::Comment;
            return true;
        }
        // A lone '/' is a token of its own: no @import string can follow it.
        m_importPending = false;
        m_state = State::Text;
        return false;
    case State::Comment:
        if (c == '*') {
            m_state = State::CommentStar;
        }
        return true;
    case State::CommentStar:
        if (c == '/') {
            m_state = State::Text;
        } else if (c != '*') {
            m_state = State::Comment;
        }
        return true;
    case State::String:
        return stepString(c);
    case State::UrlSpace:
    case State::Url:
    case State::UrlEndSpace:
        return stepUrl(c);
    case State::BadUrl:
        if (c == ')') {
            m_state = State::Text;
        } else if (c == '\\') {
            m_state = State::BadUrlEscape;
        }
        return true;
    case State::BadUrlEscape:
        // The escaped character, ')' included, does not end the argument.
        m_state = State::BadUrl;
        return true;
    case State::Escape:
        return stepEscape(c);
    case State::HexEscape:
        return stepHexEscape(c);
    }
    return true;
}

bool StyleSheetReader::stepText(char c) {
    const NameKind kind = m_nextNameKind;
    m_nextNameKind = NameKind::Ident;
    if (isBlank(c)) {
        return true;
    }
    if (c == '/') {
        m_state = State::Slash;
        return true;
    }
    if (isQuote(c)) {
        m_quote = c;
        m_value.clear();
        m_stringIsUrl = m_importPending && !m_inNamespaceRule;
        m_importPending = false;
        m_state = State::String;
        return true;
    }
    if (isNameByte(c) || c == '\\') {
        startName(kind);
        if (c == '\\') {
            startEscape(State::Name);
        } else {
            m_name += toLowerAscii(c);
        }
        return true;
    }
    m_importPending = false;
    if (c == '@') {
        m_nextNameKind = NameKind::AtKeyword;
    } else if (c == '#') {
        m_nextNameKind = NameKind::Hash;
    } else if (c == ';' || c == '{' || c == '}') {
        m_inNamespaceRule = false;
    }
    return true;
}

void StyleSheetReader::startName(NameKind kind) {
    m_nameKind = kind;
    m_name.clear();
    m_nameTooLong = false;
    m_importPending = false;
    m_state = State::Name;
}

bool StyleSheetReader::stepName(char c) {
    if (isNameByte(c)) {
        appendDecoded(std::string_view(&c, 1));
        return true;
    }
    if (c == '\\') {
        startEscape(State::Name);
        return true;
    }
    endName(c);
    if (m_state == State::UrlSpace) {
        return true; // the '(' was taken
    }
    m_state = State::Text;
    return false;
}

void StyleSheetReader::endName(char next) {
    if (m_nameTooLong) {
        return;
    }
    if (m_nameKind == NameKind::Ident && next == '(' && m_name == "url") {
        m_state = State::UrlSpace;
    } else if (m_nameKind == NameKind::AtKeyword && m_name == "import") {
        m_importPending = true;
    } else if (m_nameKind == NameKind::AtKeyword && m_name == "namespace") {
        m_inNamespaceRule = true;
    }
}

void StyleSheetReader::startEscape(State from) {
    m_escapeFrom = from;
    m_state = State::Escape;
}

bool StyleSheetReader::stepEscape(char c) {
    if (const int digit = hexDigitValue(c); digit >= 0) {
        m_hexValue = static_cast<std::uint32_t>(digit);
        m_hexDigits = 1;
        m_state = State::HexEscape;
        return true;
    }
    if (c == '\n') {
        switch (m_escapeFrom) {
        case State::String:
            // A backslash at the end of a line joins it to the next one.
            m_state = State::String;
            return true;
        case State::Url:
            m_state = State::BadUrl;
            return true;
        default:
            // No escape: the backslash stands alone and ends the name before it.
            endName('\\');
            m_importPending = false;
            m_state = State::Text;
            return false;
        }
    }
    // Any other character stands for itself; a byte of a multi-byte character is taken as it
    // is, and the bytes after it follow as ordinary ones.
    m_state = m_escapeFrom;
    appendDecoded(std::string_view(&c, 1));
    return true;
}

bool StyleSheetReader::stepHexEscape(char c) {
    if (const int digit = hexDigitValue(c); digit >= 0 && m_hexDigits < kMaxHexDigits) {
        m_hexValue = m_hexValue * 16 + static_cast<std::uint32_t>(digit);
        ++m_hexDigits;
        return true;
    }
    std::uint32_t code = m_hexValue;
    if (code == 0 || code > kMaxCodePoint || (code >= 0xD800 && code <= 0xDFFF)) {
        code = kReplacementCharacter;
    }
    std::string bytes;
    appendUtf8(bytes, code);
    m_state = m_escapeFrom;
    appendDecoded(bytes);
    // One blank after the digits belongs to the escape.
    return isBlank(c);
}

void StyleSheetReader::appendDecoded(std::string_view bytes) {
    if (m_state == State::Name) {
        for (const char c : bytes) {
            if (m_name.size() < kMaxNameBytes) {
                m_name += toLowerAscii(c);
            } else {
                m_nameTooLong = true;
            }
        }
        return;
    }
    for (const char c : bytes) {
        appendToValue(c);
    }
}

void StyleSheetReader::appendToValue(char c) {
    if (m_value.size() < kMaxUrlBytes) {
        m_value += c;
    }
}

bool StyleSheetReader::stepString(char c) {
    if (c == m_quote) {
        if (m_stringIsUrl) {
            report();
        }
        m_state = State::Text;
        return true;
    }
    if (c == '\n') {
        // A line break ends the string unfinished; the break itself is a blank.
        m_state = State::Text;
        return false;
    }
    if (c == '\\') {
        startEscape(State::String);
        return true;
    }
    if (m_stringIsUrl) {
        appendToValue(c);
    }
    return true;
}

bool StyleSheetReader::stepUrl(char c) {
    if (m_state == State::UrlSpace) {
        if (isBlank(c)) {
            return true;
        }
        if (isQuote(c)) {
            // url("x"): the argument is a string.
            m_quote = c;
            m_value.clear();
            m_stringIsUrl = !m_inNamespaceRule;
            m_state = State::String;
            return true;
        }
        m_value.clear();
        m_state = State::Url;
        return false;
    }
    if (c == ')') {
        if (!m_inNamespaceRule) {
            report();
        }
        m_state = State::Text;
        return true;
    }
    if (m_state == State::UrlEndSpace) {
        if (isBlank(c)) {
            return true;
        }
        m_state = State::BadUrl;
        return false;
    }
    if (isBlank(c)) {
        m_state = State::UrlEndSpace;
    } else if (c == '\\') {
        startEscape(State::Url);
    } else if (isQuote(c) || c == '(' || isNonPrintable(c)) {
        m_state = State::BadUrl;
    } else {
        appendToValue(c);
    }
    return true;
}

void StyleSheetReader::report() {
    std::string_view url = m_value;
    while (!url.empty() && isTrimmed(url.front())) {
        url.remove_prefix(1);
    }
    while (!url.empty() && isTrimmed(url.back())) {
        url.remove_suffix(1);
    }
    if (!url.empty() && !startsWithIgnoreCase(url, kDataScheme)) {
        m_urls.emplace_back(url);
    }
}

} // namespace corvida
