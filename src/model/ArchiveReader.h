// SPDX-License-Identifier: MIT
#pragma once

// An ArchiveReader reads the project file's primitive fields back from a byte sequence it
// does not own, checking every length against what is left. The first failure is kept as a
// message naming the field, the record being read and the byte offset; from then on every
// read returns zero or an empty text, so a record reader may read on and test ok() once.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvida {

class ArchiveReader {
public:
    // bytes must outlive the reader.
    explicit ArchiveReader(std::string_view bytes) : m_bytes(bytes) {}

    bool ok() const { return m_error.empty(); }
    // Empty while ok(); else what went wrong first.
    const std::string& error() const { return m_error; }
    std::size_t position() const { return m_position; }
    std::size_t remaining() const { return m_bytes.size() - m_position; }
    // The bytes not read yet.
    std::string_view rest() const { return m_bytes.substr(m_position); }

    // Names the record being read in error messages, e.g. ("node", 5): "node 5". record must
    // be a literal or outlive the reader; nullptr clears it.
    void setRecord(const char* record, std::int64_t index = -1) {
        m_record = record;
        m_recordIndex = index;
    }

    // `what` names the field in error messages and must be a literal.
    std::uint32_t readU32(const char* what);
    std::int32_t readI32(const char* what) { return static_cast<std::int32_t>(readU32(what)); }
    bool readBool(const char* what) { return readU32(what) != 0; }
    std::string readShortText(const char* what);
    // A counted text: std::nullopt when absent (length 0). The text ends at its first NUL.
    std::optional<std::string> readCountedText(const char* what);
    // As readCountedText, without a copy: the view points into the bytes; absent gives an
    // empty view and present = false.
    std::string_view readCountedView(const char* what, bool* present = nullptr);

    // Records a failure (the first one wins) in the reader's message form.
    void fail(const char* what, std::string_view problem);
    // Fails unless every byte was read.
    void expectEnd(const char* what);

private:
    bool need(std::size_t count, const char* what);

    std::string_view m_bytes;
    std::size_t m_position = 0;
    std::string m_error;
    const char* m_record = nullptr;
    std::int64_t m_recordIndex = -1;
};

} // namespace corvida
