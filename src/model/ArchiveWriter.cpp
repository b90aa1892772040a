// SPDX-License-Identifier: MIT
#include "model/ArchiveWriter.h"

#include <utility>

namespace corvida {

namespace {

constexpr std::size_t kShortTextWideMark = 0xFF;
constexpr std::size_t kShortTextLongMark = 0xFFFF;
constexpr std::size_t kShortText16Limit = 0xFFFE;

} // namespace

ArchiveWriter::ArchiveWriter(std::size_t expectedSize) {
    m_bytes.reserve(expectedSize);
}

ArchiveWriter::ArchiveWriter(Sink sink) : m_sink(std::move(sink)) {
    m_bytes.reserve(kPieceSize + kPieceSize / 4);
}

bool ArchiveWriter::finish() {
    if (!m_sink) {
        return true;
    }
    if (!m_sinkFailed && !m_bytes.empty()) {
        m_sinkFailed = !m_sink(m_bytes);
    }
    m_bytes.clear();
    return !m_sinkFailed;
}

void ArchiveWriter::writeU32(std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                           static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
    m_bytes.append(bytes, sizeof bytes);
    passOn();
}

void ArchiveWriter::writeShortText(std::string_view text) {
    const std::size_t length = text.size();
    if (length < kShortTextWideMark) {
        m_bytes.push_back(static_cast<char>(length));
    } else if (length < kShortText16Limit) {
        m_bytes.push_back(static_cast<char>(kShortTextWideMark));
        m_bytes.push_back(static_cast<char>(length & 0xFF));
        m_bytes.push_back(static_cast<char>(length >> 8));
    } else {
        m_bytes.push_back(static_cast<char>(kShortTextWideMark));
        m_bytes.push_back(static_cast<char>(kShortTextLongMark & 0xFF));
        m_bytes.push_back(static_cast<char>(kShortTextLongMark >> 8));
        writeU32(static_cast<std::uint32_t>(length));
    }
    m_bytes.append(text);
    passOn();
}

void ArchiveWriter::writeCountedText(std::string_view text) {
    // A text holding a NUL would read back shorter; write what a reader will see.
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    writeU32(static_cast<std::uint32_t>(text.size() + 1));
    m_bytes.append(text);
    m_bytes.push_back('\0');
    passOn();
}

void ArchiveWriter::writeOptionalText(std::optional<std::string_view> text) {
    if (!text) {
        writeAbsentText();
    } else {
        writeCountedText(*text);
    }
}

} // namespace corvida
