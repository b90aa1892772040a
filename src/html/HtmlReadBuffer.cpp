// SPDX-License-Identifier: MIT
#include "html/HtmlReadBuffer.h"

#include <algorithm>
#include <cstring>

namespace corvida {

namespace {

// Each thread keeps one data buffer and one chunk buffer between documents: allocating
// blocks this large right after a page's many small frees makes the allocator consolidate
// them every time, which costs more than reading the page.
thread_local std::unique_ptr<char[]> t_spareData;
thread_local std::unique_ptr<char[]> t_spareChunk;

std::unique_ptr<char[]> takeSpare(std::unique_ptr<char[]>& spare, std::size_t size) {
    return spare ? std::move(spare) : std::unique_ptr<char[]>(new char[size]);
}

// The first c in [from, end), or end.
const char* findByte(const char* from, const char* end, char c) {
    const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
    return found != nullptr ? static_cast<const char*>(found) : end;
}

void keepSpare(std::unique_ptr<char[]>& spare, std::unique_ptr<char[]>& buffer) {
    if (!spare) {
        spare = std::move(buffer);
    }
}

} // namespace

HtmlReadBuffer::HtmlReadBuffer() : m_data(takeSpare(t_spareData, kCapacity)) {
    m_data[0] = '\0';
}

HtmlReadBuffer::HtmlReadBuffer(const std::string& path) : HtmlReadBuffer() {
    m_file = std::fopen(path.c_str(), "rb");
    if (m_file == nullptr) {
        m_inputEnded = true;
        return;
    }
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    m_chunk = takeSpare(t_spareChunk, kChunkSize);
    fill();
}

HtmlReadBuffer::HtmlReadBuffer(FromMemory, std::string_view bytes) : HtmlReadBuffer() {
    m_memory = bytes;
    fill();
}

HtmlReadBuffer::~HtmlReadBuffer() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
    keepSpare(t_spareData, m_data);
    keepSpare(t_spareChunk, m_chunk);
}

bool HtmlReadBuffer::nextChunk() {
    if (m_inputEnded) {
        return false;
    }
    std::size_t count = 0;
    if (m_file != nullptr) {
        count = std::fread(m_chunk.get(), 1, kChunkSize, m_file);
        m_raw = m_chunk.get();
    } else {
        count = std::min(kChunkSize, m_memory.size());
        m_raw = m_memory.data();
        m_memory.remove_prefix(count);
    }
    m_rawEnd = m_raw + count;
    m_nextCr = nullptr;
    m_nextNul = nullptr;
    // A read error ends the input like the end of the file does.
    m_inputEnded = count == 0;
    return count != 0;
}

bool HtmlReadBuffer::atEnd() {
    return m_raw == m_rawEnd && !nextChunk();
}

void HtmlReadBuffer::fill() {
    char* out = m_data.get() + m_length;
    char* const outEnd = m_data.get() + kMaxData;
    while (out < outEnd) {
        if (m_raw == m_rawEnd && !nextChunk()) {
            break;
        }
        // Copy the run up to the next CR or NUL at once; those two need a closer look.
        if (m_nextCr == nullptr || m_nextCr < m_raw) {
            m_nextCr = findByte(m_raw, m_rawEnd, '\r');
        }
        if (m_nextNul == nullptr || m_nextNul < m_raw) {
            m_nextNul = findByte(m_raw, m_rawEnd, '\0');
        }
        const std::size_t room = static_cast<std::size_t>(outEnd - out);
        const std::size_t available = std::min(room, static_cast<std::size_t>(m_rawEnd - m_raw));
        const std::size_t run = std::min(available, static_cast<std::size_t>(std::min(m_nextCr, m_nextNul) - m_raw));
        std::memcpy(out, m_raw, run);
        out += run;
        m_raw += run;
        if (run == available) {
            continue;
        }
        const char c = *m_raw++;
        if (c == '\0') {
            continue;
        }
        // A CR followed by LF reads as the LF alone, even across two chunks.
        if (m_raw == m_rawEnd) {
            nextChunk();
        }
        if (m_raw != m_rawEnd && *m_raw == '\n') {
            ++m_raw;
            *out++ = '\n';
        } else {
            *out++ = '\r';
        }
    }
    m_length = static_cast<std::size_t>(out - m_data.get());
    m_data[m_length] = '\0';
}

std::size_t HtmlReadBuffer::shiftAndFill(const char* keep) {
    const std::size_t offset = static_cast<std::size_t>(keep - m_data.get());
    m_length -= offset;
    std::memmove(m_data.get(), keep, m_length);
    fill();
    return offset;
}

} // namespace corvida
