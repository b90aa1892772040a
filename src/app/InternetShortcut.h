// SPDX-License-Identifier: MIT
#pragma once

// InternetShortcut reads the URL that a dropped shortcut file points to: a Windows ".url"
// file ("[InternetShortcut]" with "URL=...", section and key in any letter case, as the
// Windows profile functions match them) or a freedesktop link (".desktop", "[Desktop Entry]"
// with "Type=Link" and "URL=..."). Which of the two a file is comes from its content, not its
// name. The file is untrusted: it must be small, and the URL must be one line of printable
// text.

#include <cstddef>
#include <string>

#include "base/Status.h"

namespace corvida {

class InternetShortcut {
public:
    static constexpr std::size_t kMaxBytes = 64 * 1024;

    // Reads the URL of the shortcut at path into url, as written in the file (the caller
    // normalises it). Fails, leaving url untouched, with a message for the status bar: NotFound
    // when path is not a readable regular file, InvalidArgument when it holds more than
    // kMaxBytes (told by its size before anything is read), Corrupt when it names no URL or
    // the value is empty or holds a line break or another control character.
    static Status read(const std::string& path, std::string& url);
};

} // namespace corvida
