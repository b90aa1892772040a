// SPDX-License-Identifier: MIT
#include "report/DuplicateFinder.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "model/LocalNames.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Reads a whole block, fewer bytes only at the end of the file; a read error sets failed.
std::size_t readBlock(std::FILE* file, std::array<char, kBlockSize>& buffer, bool& failed) {
    const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), file);
    if (count < buffer.size() && std::ferror(file) != 0) {
        failed = true;
    }
    return count;
}

} // namespace

DuplicateFinder::DuplicateFinder(std::string directory) : m_directory(std::move(directory)) {}

bool DuplicateFinder::hashFile(const std::string& path, std::size_t& hash) {
    ++m_filesOpened;
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return false;
    }
    auto buffer = std::make_unique<std::array<char, kBlockSize>>();
    bool failed = false;
    hash = 0;
    for (;;) {
        const std::size_t count = readBlock(file.get(), *buffer, failed);
        if (count == 0) {
            break;
        }
        const std::size_t blockHash = std::hash<std::string_view>()(std::string_view(buffer->data(), count));
        hash = (hash ^ blockHash) * 0x100000001b3ULL + count;
    }
    return !failed;
}

bool DuplicateFinder::sameBytes(const std::string& first, const std::string& second) {
    m_filesOpened += 2;
    File a(std::fopen(first.c_str(), "rb"));
    File b(std::fopen(second.c_str(), "rb"));
    if (!a || !b) {
        return false;
    }
    auto bufferA = std::make_unique<std::array<char, kBlockSize>>();
    auto bufferB = std::make_unique<std::array<char, kBlockSize>>();
    bool failed = false;
    for (;;) {
        const std::size_t countA = readBlock(a.get(), *bufferA, failed);
        const std::size_t countB = readBlock(b.get(), *bufferB, failed);
        // Files of different lengths differ, also when one is the start of the other.
        if (failed || countA != countB || std::memcmp(bufferA->data(), bufferB->data(), countA) != 0) {
            return false;
        }
        if (countA == 0) {
            return true;
        }
    }
}

std::vector<int> DuplicateFinder::classify(const std::vector<const WebNode*>& candidates) {
    std::vector<int> sets(candidates.size(), kNoSet);
    std::unordered_map<std::int32_t, std::vector<std::size_t>> bySize;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        bySize[candidates[i]->localSize()].push_back(i);
    }
    int nextSet = 0;
    for (const auto& [size, members] : bySize) {
        if (members.size() == 1) {
            // Alone in its size: it can equal no other, and its file is never read.
            sets[members.front()] = nextSet++;
            continue;
        }
        // Each set of this size: its first file, for the confirming comparison, and its number.
        struct Set {
            std::string path;
            int number;
        };
        std::unordered_map<std::size_t, std::vector<Set>> byHash;
        for (const std::size_t index : members) {
            const WebNode& node = *candidates[index];
            if (node.hasAnyFlag(kFlagDocument) && !node.hasAnyFlag(kFlagDocumentCopy)) {
                continue; // the crawl kept no copy of this page: there is no file to read
            }
            std::string path = m_directory + LocalNames::workingCopy(node);
            std::size_t hash = 0;
            if (!hashFile(path, hash)) {
                continue;
            }
            std::vector<Set>& equalHashes = byHash[hash];
            bool joined = false;
            for (const Set& set : equalHashes) {
                if (sameBytes(set.path, path)) {
                    sets[index] = set.number;
                    joined = true;
                    break;
                }
            }
            if (!joined) {
                sets[index] = nextSet;
                equalHashes.push_back({std::move(path), nextSet++});
            }
        }
    }
    return sets;
}

} // namespace corvida
