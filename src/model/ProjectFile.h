// SPDX-License-Identifier: MIT
#pragma once

// ProjectFile saves a project (its options and its Web) as a .zpj file and opens it again.
// The file is a compound file whose stream "Contents" holds the project record, the Web
// record and every node in URL order; a file that is not a compound file is read as that
// byte sequence itself. Names of schemes and MIME types are stored instead of indexes, so a
// file stays readable whatever rows the MimeTable of another machine holds.
//
// Loading reads and checks the whole sequence before it builds anything: a damaged or
// truncated file is refused with a message and no Web is made.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/ProjectOptions.h"
#include "model/Web.h"

namespace corvida {

class WebListener;

class ProjectFile {
public:
    // The name of the stream that holds the project inside the compound file.
    static constexpr const char* kStreamName = "Contents";

    // The current crawl settings, given to a loaded Web before its stored record replaces them.
    struct WebSettings {
        std::string userAgent;
        std::string proxy;
        std::string emailAddress;
        std::int32_t bufferSize = kDefaultBufferSize;
        bool robotsExclusion = false;
    };

    // The outcome of a load: a Web and the options on success, an error message otherwise.
    struct Loaded {
        ProjectOptions options;
        std::unique_ptr<Web> web; // null exactly when error is not empty
        std::string error;
    };

    // Writes options and web to path as a compound file, through a temporary file renamed
    // over path, so a failed save leaves an earlier file whole. web may be null for a project
    // never crawled: an empty Web record is written. Returns an empty text on success, else
    // a message naming what failed.
    static std::string save(const std::string& path, const ProjectOptions& options, const Web* web);

    // Reads the project at path into a new Web that reports to listener (may be null; must
    // outlive the Web). The loaded crawl is idle: the caller resumes it when it wants to.
    static Loaded load(const std::string& path, WebListener* listener, const WebSettings& settings);

    // The byte sequence of a project, as the stream holds it. The Web's listener sees
    // "Storing...", progress 0 to 100 in whole percent of nodes written (each value once) and
    // " FINISHED".
    static std::string encode(const ProjectOptions& options, const Web* web);

    // Builds a project from its byte sequence. The listener sees "Loading...", progress as
    // for encode, every node as added (not new) and processed (mark false), and " FINISHED";
    // nothing but "Loading..." and progress when the sequence is refused.
    static Loaded decode(std::string_view contents, WebListener* listener, const WebSettings& settings);
};

} // namespace corvida
