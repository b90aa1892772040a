// SPDX-License-Identifier: MIT
#include "app/NewProjectUrl.h"

namespace corvida {

std::string NewProjectUrl::normalise(std::string_view text) {
    if (text.starts_with("http") || text.starts_with("file:///")) {
        return std::string(text);
    }
    if (text.starts_with("file:")) {
        // "file:C:/dir/a.htm" or "file:C|/dir/a.htm": the drive letter, '|', then the path.
        const std::string_view drive = text.size() > 5 ? text.substr(5, 1) : std::string_view();
        const std::string_view path = text.size() > 7 ? text.substr(7) : std::string_view();
        return "file:///" + std::string(drive) + "|" + std::string(path);
    }
    if (text.size() > 1 && text[1] == ':') {
        return "file:///" + std::string(text.substr(0, 1)) + "|" + std::string(text.substr(2));
    }
    if (text.starts_with("/")) {
        return "file://" + std::string(text);
    }
    return "http://" + std::string(text);
}

} // namespace corvida
