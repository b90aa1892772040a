// SPDX-License-Identifier: MIT
#pragma once

// UrlNameShortener fits a URL into the Name column of the URL list: a URL wider than the
// column keeps its scheme with the two slashes and its last path segment, joined by "...".
// The width of a text is measured by a function the caller gives (the list's font metrics),
// so the rule is tested without a screen.

#include <functional>
#include <string>
#include <string_view>

namespace corvida {

class UrlNameShortener {
public:
    // Room the cell keeps free beside the text, in pixels.
    static constexpr int kMargin = 10;
    static constexpr std::string_view kEllipsis = "...";

    using Width = std::function<int(std::string_view)>;

    // The text to draw for text in a column columnWidth pixels wide: text itself when it is
    // no wider than columnWidth - kMargin; else the part up to and including the first "//",
    // kEllipsis, and the part from the last '/' on. text itself (drawn clipped) when that is
    // still too wide, or when text has no "//" or no '/' after it.
    static std::string shorten(std::string_view text, int columnWidth, const Width& width);
};

} // namespace corvida
