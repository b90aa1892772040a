// SPDX-License-Identifier: MIT
#pragma once

// An HtmlReadBuffer is the tokenizer's window on a page file: a fixed buffer of kCapacity
// bytes holding at most kMaxData bytes of the file at a time, always followed by a NUL.
// Bytes arrive as a text-mode reader delivers them: each CR LF pair becomes one LF and every
// NUL byte is dropped, so the only NUL in the buffer is the one after the data.
//
// The buffer is filled until it holds kMaxData bytes or the file ends, however many bytes
// the NUL removal drops, so a page stored with two bytes per character is still read whole.
// Memory use does not depend on the file's size. The buffer owns its file handle.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace corvida {

class HtmlReadBuffer {
public:
    static constexpr std::size_t kCapacity = 32000;
    static constexpr std::size_t kMaxData = kCapacity - 1;
    // Bytes taken from the file (or memory) by one low-level read.
    static constexpr std::size_t kChunkSize = 32768;

    // Reads the file at path. A file that cannot be opened or read reads as empty.
    explicit HtmlReadBuffer(const std::string& path);
    // Reads bytes as the content of a file; bytes must outlive the buffer.
    struct FromMemory {};
    HtmlReadBuffer(FromMemory, std::string_view bytes);

    HtmlReadBuffer(const HtmlReadBuffer&) = delete;
    HtmlReadBuffer& operator=(const HtmlReadBuffer&) = delete;
    ~HtmlReadBuffer();

    // The data in the buffer; *end() is the NUL after it.
    const char* begin() const { return m_data.get(); }
    const char* end() const { return m_data.get() + m_length; }
    std::size_t size() const { return m_length; }

    // True when every byte of the file has been taken into the buffer.
    bool atEnd();
    // Moves the data from keep (a position in the data) to the buffer start, fills the buffer
    // up again and returns how far the data moved. Positions into the buffer stay valid once
    // they are moved back by that distance.
    std::size_t shiftAndFill(const char* keep);

private:
    HtmlReadBuffer();

    void fill();
    // Makes the next chunk of raw bytes current; false at the end of the input.
    bool nextChunk();

    std::unique_ptr<char[]> m_data;
    std::size_t m_length = 0;

    std::FILE* m_file = nullptr;
    std::unique_ptr<char[]> m_chunk; // raw bytes read from m_file
    std::string_view m_memory;       // the input when reading from memory
    const char* m_raw = nullptr;     // the unread raw bytes of the current chunk
    const char* m_rawEnd = nullptr;
    // The next CR and the next NUL of the current chunk at or after m_raw (m_rawEnd when there
    // is none), or nullptr when not yet looked for; each chunk is searched once for each.
    const char* m_nextCr = nullptr;
    const char* m_nextNul = nullptr;
    bool m_inputEnded = false;
};

} // namespace corvida
