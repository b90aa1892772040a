// SPDX-License-Identifier: MIT
#pragma once

// EditorCommand starts the user's editor on a node. The editor's argument template (which may
// hold "$URL" and "$LOCALFILE") is split into arguments before anything is put into it, and
// the program is started with that argument list, never through a shell: a URL with blanks,
// quotes or shell syntax always stays inside the one argument it was put in. Before starting,
// the program is classified so that the user sees why an editor could not be started.

#include <string>
#include <string_view>
#include <vector>

namespace corvida {

class EditorCommand {
public:
    enum class Error { None, FileNotFound, PathNotFound, FileCorrupted };

    struct Prepared {
        std::string program;
        std::vector<std::string> arguments;
        // "The selected node is not a local file." when "$LOCALFILE" met a URL that is not a
        // file URL (the place is then left empty and the editor still starts); else empty.
        std::string message;
    };

    static constexpr std::string_view kNotLocalFile = "The selected node is not a local file.";

    // Splits argumentTemplate into arguments as a command line is split (blanks separate,
    // double quotes group), then substitutes in them: the first "$URL" by url, then the first
    // "$LOCALFILE" by localFile when it is not empty, else by the local path of url when url
    // is a file URL, else by nothing (and message is set). Text put in is never searched for
    // the other placeholder.
    static Prepared prepare(const std::string& program, const std::string& argumentTemplate, const std::string& url,
                            const std::string& localFile = {});

    // Classifies program before starting it: a path with '/' whose directory is missing gives
    // PathNotFound; a missing file, or a bare name that is not an executable on the PATH,
    // gives FileNotFound; something that exists but is not an executable file gives
    // FileCorrupted; else None.
    static Error check(const std::string& program);

    // "File not found", "Path not found" or "File is corrupted"; empty for None. Static text.
    static std::string_view errorText(Error error);

    // Checks prepared.program, then starts it detached with prepared.arguments (no shell).
    // Returns None when it started, the check's error, or FileCorrupted when the start failed
    // after the check passed.
    static Error start(const Prepared& prepared);
};

} // namespace corvida
