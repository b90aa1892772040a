// SPDX-License-Identifier: MIT
#pragma once

// NewProjectUrl turns what a person typed, dropped or passed as the start of a new project
// into the project's start URL: "http..." and "file:///..." stay as they are, "file:" with a
// drive path and a bare drive path become "file:///" URLs with '|' after the drive letter,
// an absolute path becomes a "file://" URL, and anything else is taken as a host and path
// after "http://".

#include <string>
#include <string_view>

namespace corvida {

class NewProjectUrl {
public:
    // The start URL for text. Prefix tests are exact, letter case included.
    static std::string normalise(std::string_view text);
};

} // namespace corvida
