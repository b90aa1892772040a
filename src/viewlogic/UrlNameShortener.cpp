// SPDX-License-Identifier: MIT
#include "viewlogic/UrlNameShortener.h"

namespace corvida {

std::string UrlNameShortener::shorten(std::string_view text, int columnWidth, const Width& width) {
    const int room = columnWidth - kMargin;
    if (width(text) <= room) {
        return std::string(text);
    }
    const std::size_t slashes = text.find("//");
    if (slashes == std::string_view::npos) {
        return std::string(text); // "mailto:" and other URLs without a host part
    }
    const std::size_t lastSlash = text.rfind('/');
    if (lastSlash <= slashes + 1) {
        return std::string(text); // the last '/' is one of the two: nothing to leave out
    }
    std::string shortened(text.substr(0, slashes + 2));
    shortened += kEllipsis;
    shortened += text.substr(lastSlash);
    if (width(shortened) > room) {
        return std::string(text);
    }
    return shortened;
}

} // namespace corvida
