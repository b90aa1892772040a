// SPDX-License-Identifier: MIT
#pragma once

// A StyleSheetLinkExtractor finds the links of one style sheet file: the URLs its text names
// (StyleSheetReader: url() arguments and @import strings, in document order), each resolved
// against the sheet's own URL as a page's values resolve against its base. The file is read
// in blocks, so memory does not grow with its size.

#include <cstddef>
#include <string>
#include <string_view>

namespace corvida {

class LinkSink;

class StyleSheetLinkExtractor {
public:
    // The bytes read at a time.
    static constexpr std::size_t kBlockSize = 64 * 1024;

    // Reads the style sheet at path, fetched from sheetUrl (a URL text, parsed without a
    // base), and gives each link to sink, not fetched anyway, with an origin that only says
    // it lies in a style sheet. Returns false, giving no link, when the file cannot be opened.
    static bool extract(const std::string& path, std::string_view sheetUrl, LinkSink& sink);
};

} // namespace corvida
