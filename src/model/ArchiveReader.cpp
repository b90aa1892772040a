// SPDX-License-Identifier: MIT
#include "model/ArchiveReader.h"

namespace corvida {

namespace {

constexpr std::uint8_t kShortTextWideMark = 0xFF;
constexpr std::uint32_t kShortTextLongMark = 0xFFFF;
// A 16-bit length of 0xFFFE introduces a wide-character text, which project files never hold.
constexpr std::uint32_t kShortTextWideCharMark = 0xFFFE;

} // namespace

void ArchiveReader::fail(const char* what, std::string_view problem) {
    if (!m_error.empty()) {
        return;
    }
    if (m_record != nullptr) {
        m_error += m_record;
        if (m_recordIndex >= 0) {
            m_error += ' ';
            m_error += std::to_string(m_recordIndex);
        }
        m_error += ": ";
    }
    m_error += what;
    m_error += ' ';
    m_error += problem;
    m_error += " (at byte ";
    m_error += std::to_string(m_position);
    m_error += ')';
}

bool ArchiveReader::need(std::size_t count, const char* what) {
    if (!ok()) {
        return false;
    }
    if (count > remaining()) {
        fail(what, "is cut short: the file ends " + std::to_string(remaining()) + " bytes into it");
        return false;
    }
    return true;
}

std::uint32_t ArchiveReader::readU32(const char* what) {
    if (!need(4, what)) {
        return 0;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.data() + m_position);
    m_position += 4;
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::string ArchiveReader::readShortText(const char* what) {
    if (!need(1, what)) {
        return {};
    }
    std::uint32_t length = static_cast<unsigned char>(m_bytes[m_position++]);
    if (length == kShortTextWideMark) {
        if (!need(2, what)) {
            return {};
        }
        length = static_cast<unsigned char>(m_bytes[m_position]) |
                 static_cast<std::uint32_t>(static_cast<unsigned char>(m_bytes[m_position + 1])) << 8;
        m_position += 2;
        if (length == kShortTextWideCharMark) {
            fail(what, "is a wide-character text");
            return {};
        }
        if (length == kShortTextLongMark) {
            length = readU32(what);
        }
    }
    if (!need(length, what)) {
        return {};
    }
    std::string text(m_bytes.substr(m_position, length));
    m_position += length;
    return text;
}

std::string_view ArchiveReader::readCountedView(const char* what, bool* present) {
    if (present != nullptr) {
        *present = false;
    }
    const std::uint32_t length = readU32(what);
    if (length == 0 || !need(length, what)) {
        return {};
    }
    std::string_view text = m_bytes.substr(m_position, length);
    if (text.back() != '\0') {
        fail(what, "does not end with a NUL byte");
        return {};
    }
    m_position += length;
    if (present != nullptr) {
        *present = true;
    }
    return text.substr(0, text.find('\0'));
}

std::optional<std::string> ArchiveReader::readCountedText(const char* what) {
    bool present = false;
    const std::string_view text = readCountedView(what, &present);
    if (!present) {
        return std::nullopt;
    }
    return std::string(text);
}

void ArchiveReader::expectEnd(const char* what) {
    if (ok() && remaining() != 0) {
        fail(what, "is followed by " + std::to_string(remaining()) + " unexpected bytes");
    }
}

} // namespace corvida
