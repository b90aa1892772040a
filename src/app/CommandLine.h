// SPDX-License-Identifier: MIT
#pragma once

// CommandLine is what the desktop program was started with: the project files to open and the
// browser chosen with "/B" (or "-B") for this run. The options that the original program's
// framework gave for embedded, automated and print starts are accepted and ignored. A path on
// Linux starts with '/' as well, so only the exact option spellings count as options; every
// other argument names a file.

#include <string>
#include <vector>

#include "app/BrowserKind.h"

namespace corvida {

struct CommandLine {
    std::vector<std::string> files; // project files to open, in order
    bool browserGiven = false;      // a "/B" or "-B" option was given
    // The client "/B" chose: "Netscape" and "IE3" (exact, letter case included) give the two
    // clients, any other name none. Only the first "/B" counts; "/B" as the last argument is
    // given without a name and chooses none.
    BrowserKind browser = BrowserKind::None;

    // Parses arguments (without the program name). The framework options /Embedding,
    // -Embedding, /Automation, -Automation, /p, /pt, /dde, /Register and /Unregister (any letter
    // case) are skipped; the argument after "/B" is its browser name, never a file; empty
    // arguments are skipped.
    static CommandLine parse(const std::vector<std::string>& arguments);

    // Returns arguments with every argument that parse() takes as a file made absolute against
    // workingDirectory (an absolute directory); options and browser names stay as they are.
    // This is what a second start hands to the running instance, whose own working directory
    // differs.
    static std::vector<std::string> withAbsoluteFiles(const std::vector<std::string>& arguments,
                                                      const std::string& workingDirectory);
};

} // namespace corvida
