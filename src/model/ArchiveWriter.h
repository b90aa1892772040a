// SPDX-License-Identifier: MIT
#pragma once

// An ArchiveWriter appends the project file's primitive fields to a byte buffer: 32-bit
// little-endian numbers, short texts (a length prefix of 1, 3 or 7 bytes, no terminator) and
// counted texts (a 32-bit length that counts a terminating NUL, 0 for an absent text). The
// records themselves decide the order of their fields; the writer adds no tags.
//
// A writer made with a sink keeps only the last piece of its bytes: whenever it holds
// kPieceSize bytes or more they go to the sink, and finish() hands over the rest.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace corvida {

class ArchiveWriter {
public:
    // Takes the bytes in order, piece by piece; false when it could not take a piece.
    using Sink = std::function<bool(std::string_view)>;
    // The size from which a writer with a sink hands its bytes over.
    static constexpr std::size_t kPieceSize = std::size_t{1} << 20;

    // Reserves room for about expectedSize bytes.
    explicit ArchiveWriter(std::size_t expectedSize = 0);
    // Hands the bytes to sink as they are written (see above).
    explicit ArchiveWriter(Sink sink);

    void writeU32(std::uint32_t value);
    void writeI32(std::int32_t value) { writeU32(static_cast<std::uint32_t>(value)); }
    void writeBool(bool value) { writeU32(value ? 1 : 0); }
    // A length byte when the text is shorter than 255 bytes; else 0xFF and a 16-bit length
    // when shorter than 0xFFFE; else 0xFF, 0xFFFF and a 32-bit length. Then the bytes.
    void writeShortText(std::string_view text);
    // The length including a NUL, the bytes and the NUL. An empty text takes 5 bytes.
    void writeCountedText(std::string_view text);
    // The length 0: the text is absent.
    void writeAbsentText() { writeU32(0); }
    // An absent text for nullopt, else the text.
    void writeOptionalText(std::optional<std::string_view> text);
    // Bytes as they are, e.g. a section another writer built.
    void append(std::string_view bytes) {
        m_bytes += bytes;
        passOn();
    }

    // The bytes written and not handed to a sink.
    const std::string& bytes() const { return m_bytes; }
    std::string takeBytes() { return std::move(m_bytes); }
    // Hands the bytes not yet handed over to the sink. Returns false when the sink refused
    // any piece (the writer then hands it nothing more); true without a sink.
    bool finish();

private:
    // Hands the bytes to the sink once they fill a piece.
    void passOn() {
        if (m_sink && m_bytes.size() >= kPieceSize) {
            finish();
        }
    }

    std::string m_bytes;
    Sink m_sink;
    bool m_sinkFailed = false;
};

} // namespace corvida
