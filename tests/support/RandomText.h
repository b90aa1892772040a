// SPDX-License-Identifier: MIT
#pragma once

// Random input for the parsers' robustness tests: texts made of the bytes that matter to a
// parser's state machine, and cut points that feed such a text in random pieces.

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace corvida::test {

// A text of fewer than sizeLimit bytes, each drawn from alphabet.
inline std::string randomText(std::mt19937& random, std::string_view alphabet, std::size_t sizeLimit) {
    std::string text(random() % sizeLimit, ' ');
    for (char& c : text) {
        c = alphabet[random() % alphabet.size()];
    }
    return text;
}

// Ascending cut points that split a text of size bytes into pieces of 1 to pieceLimit bytes;
// the last one is size.
inline std::vector<std::size_t> randomCuts(std::mt19937& random, std::size_t size, std::size_t pieceLimit) {
    std::vector<std::size_t> cuts;
    for (std::size_t at = 0; at < size;) {
        at = std::min(size, at + 1 + random() % pieceLimit);
        cuts.push_back(at);
    }
    return cuts;
}

} // namespace corvida::test
