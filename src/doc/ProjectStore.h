// SPDX-License-Identifier: MIT
#pragma once

// ProjectStore reads and writes .zpj project files: a compound file whose stream "Contents"
// holds the byte sequence of ProjectFile. A file that is not a compound file is read as that
// byte sequence itself. Saving goes through a temporary file renamed over the old one, so a
// failed save leaves an earlier file whole.

#include <string>

#include "base/Status.h"
#include "model/ProjectFile.h"

namespace corvida {

class WebListener;

class ProjectStore {
public:
    // Writes options and web (may be null for a project never crawled) to path.
    static Status save(const std::string& path, const ProjectOptions& options, const Web* web);

    // Reads the project at path into a new Web that reports to listener (may be null; must
    // outlive the Web). The loaded crawl is idle: the caller resumes it when it wants to.
    static ProjectFile::Loaded load(const std::string& path, WebListener* listener);
    // Reads the summary of the project at path (see ProjectFile::decodeSummary), or why not.
    static ProjectFile::Summary loadSummary(const std::string& path);
};

} // namespace corvida
