// SPDX-License-Identifier: MIT
#pragma once

// TextNeedle is a text looked for in many cells, prepared once: folded to lower case when the
// case does not matter, so that each cell is only read, never copied or folded. Only ASCII
// letters fold; bytes from 0x80 up (UTF-8 sequences included) must match exactly.

#include <string>
#include <string_view>

namespace corvida {

class TextNeedle {
public:
    TextNeedle(std::string_view text, bool matchCase);

    bool empty() const { return m_text.empty(); }
    bool matchCase() const { return m_matchCase; }
    // The text as compared: folded to lower case unless matchCase.
    const std::string& text() const { return m_text; }

    // Whether cell holds the text: byte for byte with matchCase, else with ASCII letters of
    // both compared in lower case. An empty text is found nowhere.
    bool foundIn(std::string_view cell) const;

private:
    bool equalsAt(const char* cell) const;

    std::string m_text;
    bool m_matchCase;
    // OR-ed into a cell byte before it is compared with the first and the last byte of the
    // text: 0x20 (lower case) where that byte is a letter and the case does not matter.
    char m_firstFold = 0;
    char m_lastFold = 0;
};

} // namespace corvida
