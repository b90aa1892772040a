// SPDX-License-Identifier: MIT
#include "viewlogic/TextNeedle.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/Ascii.h"

namespace corvida {

namespace {

constexpr char kLowerCaseBit = 0x20;

char foldOf(char c, bool matchCase) {
    return !matchCase && c >= 'a' && c <= 'z' ? kLowerCaseBit : 0;
}

} // namespace

TextNeedle::TextNeedle(std::string_view text, bool matchCase)
    : m_text(matchCase ? std::string(text) : toLowerAscii(text)), m_matchCase(matchCase) {
    if (!m_text.empty()) {
        m_firstFold = foldOf(m_text.front(), matchCase);
        m_lastFold = foldOf(m_text.back(), matchCase);
    }
}

bool TextNeedle::equalsAt(const char* cell) const {
    if (m_matchCase) {
        return std::memcmp(cell, m_text.data(), m_text.size()) == 0;
    }
    for (std::size_t i = 0; i < m_text.size(); ++i) {
        if (toLowerAscii(cell[i]) != m_text[i]) {
            return false;
        }
    }
    return true;
}

bool TextNeedle::foundIn(std::string_view cell) const {
    const std::size_t length = m_text.size();
    if (length == 0 || cell.size() < length) {
        return false;
    }
    // A letter ORed with 0x20 equals its lower case form, and no other byte does: candidates
    // are the places where the first and the last byte of the text fit, then checked whole.
    const std::size_t starts = cell.size() - length + 1;
    const char first = m_text.front();
    const char last = m_text.back();
    const char* const data = cell.data();
    std::size_t start = 0;
#if defined(__SSE2__)
    constexpr std::size_t kBlock = 16;
    const __m128i firstBytes = _mm_set1_epi8(first);
    const __m128i lastBytes = _mm_set1_epi8(last);
    const __m128i firstFold = _mm_set1_epi8(m_firstFold);
    const __m128i lastFold = _mm_set1_epi8(m_lastFold);
    for (; start + kBlock <= starts; start += kBlock) {
        const __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + start));
        const __m128i atLast = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + start + length - 1));
        const __m128i fits = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(atFirst, firstFold), firstBytes),
                                           _mm_cmpeq_epi8(_mm_or_si128(atLast, lastFold), lastBytes));
        for (auto bits = static_cast<unsigned>(_mm_movemask_epi8(fits)); bits != 0; bits &= bits - 1) {
            if (equalsAt(data + start + static_cast<std::size_t>(__builtin_ctz(bits)))) {
                return true;
            }
        }
    }
#endif
    for (; start < starts; ++start) {
        if (static_cast<char>(data[start] | m_firstFold) == first &&
            static_cast<char>(data[start + length - 1] | m_lastFold) == last && equalsAt(data + start)) {
            return true;
        }
    }
    return false;
}

} // namespace corvida
