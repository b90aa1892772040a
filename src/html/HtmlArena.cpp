// SPDX-License-Identifier: MIT
#include "html/HtmlArena.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace corvida {

namespace {

// The first block holds the nodes of a typical page; later blocks double up to the largest
// size. A request larger than a quarter of the next block gets a block of its own.
constexpr std::size_t kFirstBlockSize = 64 * 1024;
constexpr std::size_t kLargestBlockSize = 1024 * 1024;

// Each thread keeps one first-size block between documents, so that reading a typical page
// asks the allocator for no block at all.
thread_local std::unique_ptr<std::byte[]> t_spareBlock;

std::size_t paddingFor(const void* address, std::size_t alignment) {
    return (alignment - (reinterpret_cast<std::uintptr_t>(address) & (alignment - 1))) & (alignment - 1);
}

} // namespace

HtmlArena::~HtmlArena() {
    while (m_block != nullptr) {
        Block* const previous = m_block->previous;
        std::unique_ptr<std::byte[]> memory(reinterpret_cast<std::byte*>(m_block));
        if (m_block->size == kFirstBlockSize && !t_spareBlock) {
            t_spareBlock = std::move(memory);
        }
        m_block = previous;
    }
}

void* HtmlArena::allocateInNewBlock(std::size_t size, std::size_t alignment) {
    if (m_nextBlockSize == 0) {
        m_nextBlockSize = kFirstBlockSize;
    }
    const bool ownBlock = size + alignment > m_nextBlockSize / 4;
    const std::size_t blockSize = ownBlock ? size + alignment : m_nextBlockSize;
    std::unique_ptr<std::byte[]> memory;
    if (blockSize == kFirstBlockSize && t_spareBlock) {
        memory = std::move(t_spareBlock);
    } else {
        memory.reset(new std::byte[sizeof(Block) + blockSize]);
    }
    Block* const block = new (memory.release()) Block{m_block, blockSize};
    m_block = block;
    char* const data = reinterpret_cast<char*>(block + 1);
    char* const result = data + paddingFor(data, alignment);
    if (ownBlock) {
        // The current block goes on serving small requests: only the large one moved out.
        // Its header is linked in, but the cursor stays where it was.
        return result;
    }
    m_cursor = result + size;
    m_end = data + blockSize;
    m_nextBlockSize = std::min(m_nextBlockSize * 2, kLargestBlockSize);
    return result;
}

} // namespace corvida
