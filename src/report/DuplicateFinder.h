// SPDX-License-Identifier: MIT
#pragma once

// DuplicateFinder sorts fetched files into sets of equal content for the report's duplicates
// page. Two nodes hold the same content when their download sizes are equal and their working
// copies hold the same bytes; a file that cannot be read equals no other.
//
// Only nodes that share a download size are read at all. Their files are hashed once each,
// and a file joins a set only after a byte comparison with the set's first file confirms the
// hash, so equal sizes cost a linear number of file reads, not one per pair.

#include <cstddef>
#include <string>
#include <vector>

namespace corvida {

class WebNode;

class DuplicateFinder {
public:
    // No set: the node's file could not be read, or it was not among the candidates.
    static constexpr int kNoSet = -1;

    // directory is the working directory, ending with a separator.
    explicit DuplicateFinder(std::string directory);

    // Gives each candidate a set number: equal numbers mean equal content; a node alone in
    // its set still gets a number of its own. kNoSet for a file that cannot be read, and for a
    // document whose copy the crawl did not keep, which is not looked for. The result runs
    // parallel to candidates.
    std::vector<int> classify(const std::vector<const WebNode*>& candidates);

    // How many times a file was opened so far (hashing and confirming).
    std::size_t filesOpened() const { return m_filesOpened; }

private:
    bool hashFile(const std::string& path, std::size_t& hash);
    bool sameBytes(const std::string& first, const std::string& second);

    std::string m_directory;
    std::size_t m_filesOpened = 0;
};

} // namespace corvida
