// SPDX-License-Identifier: MIT
#pragma once

// ShortcutDrag makes what a node dragged out of a project window carries as an Internet
// shortcut: its short name, the shortcut's file name and the bytes of the shortcut file.

#include <cstddef>
#include <string>
#include <string_view>

namespace corvida {

class ShortcutDrag {
public:
    // The longest name kept, in bytes, so that "Shortcut to NAME.URL" fits any file system.
    static constexpr std::size_t kMaxNameBytes = 100;

    // The short name of a node: its title, or its URL when it has none. A text that begins
    // with "http" keeps what follows its last '/'; any other is cut before its first '/' and
    // then before its first ':'. A name that comes out empty (a URL ending in '/') is the
    // host, else "Shortcut"; control characters become '_'; a longer name is cut at a
    // character boundary.
    static std::string name(std::string_view title, std::string_view url, std::string_view host);
    // "Shortcut to NAME.URL".
    static std::string fileName(std::string_view name);
    // The shortcut file: "[InternetShortcut]", CR LF, "URL=", the URL and a terminating zero
    // byte, which the size counts.
    static std::string fileContents(std::string_view url);
};

} // namespace corvida
