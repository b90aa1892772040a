// SPDX-License-Identifier: MIT
#pragma once

// An HtmlArena is the memory of one HtmlDocument: its nodes and every text they hold are
// carved out of a few large blocks, one after the other, and the blocks are all given back
// at once when the arena is destroyed. Nothing is freed on its own before that, so a text
// that is replaced stays in the arena until the document goes; pages are read, queried and
// dropped within one call, so that costs little, and it spares the allocator one block per
// node and per text.
//
// Objects made in the arena are never destroyed: they must not own memory elsewhere.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

namespace corvida {

class HtmlArena {
public:
    HtmlArena() = default;
    HtmlArena(const HtmlArena&) = delete;
    HtmlArena& operator=(const HtmlArena&) = delete;
    ~HtmlArena();

    // size bytes aligned to alignment (a power of two no larger than a pointer's).
    void* allocate(std::size_t size, std::size_t alignment) {
        const std::size_t padding =
            (alignment - (reinterpret_cast<std::uintptr_t>(m_cursor) & (alignment - 1))) & (alignment - 1);
        if (size + padding <= static_cast<std::size_t>(m_end - m_cursor)) {
            char* const result = m_cursor + padding;
            m_cursor = result + size;
            return result;
        }
        return allocateInNewBlock(size, alignment);
    }
    // A copy of text that lives as long as the arena.
    std::string_view copy(std::string_view text) {
        if (text.empty()) {
            return {};
        }
        char* const bytes = static_cast<char*>(allocate(text.size(), 1));
        std::memcpy(bytes, text.data(), text.size());
        return std::string_view(bytes, text.size());
    }
    // A T built in the arena from args.
    template <typename T, typename... Args>
    T* make(Args&&... args) {
        return new (allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    }

private:
    struct Block {
        Block* previous;
        std::size_t size; // bytes after the header
    };

    void* allocateInNewBlock(std::size_t size, std::size_t alignment);

    Block* m_block = nullptr;
    char* m_cursor = nullptr;
    char* m_end = nullptr;
    std::size_t m_nextBlockSize = 0;
};

} // namespace corvida
