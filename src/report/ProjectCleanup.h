// SPDX-License-Identifier: MIT
#pragma once

// ProjectCleanup deletes every file the program put into a project's working directory, so
// that the directory can be removed when a project is discarded. It deletes only names it can
// compute from the graph and the program's fixed names: each node's working copies,
// thumbnail and local-site copy, the local site's start page, the report's pages and
// pictures (the profile pages of every group included), and robots.txt. It never lists a
// directory, so a file someone else put there survives and keeps its directory.

namespace corvida {

class Web;

class ProjectCleanup {
public:
    // clearFiles() results.
    static constexpr int kCleared = 0;
    static constexpr int kDirectoryNotEmpty = -1;

    // Deletes the project's files and removes the sub-directories temp, docs, images, mmedia
    // and report, reporting to web's listener: showText("Clearing Temp Files..."), progress
    // 0 to 100, endText(" FINISHED"). Clears kFlagDocumentCopy, kFlagWrittenToLocalSite and
    // kFlagThumbnail on every node. Files that are not there are no failure. Returns kCleared,
    // or kDirectoryNotEmpty when a sub-directory could not be removed because it still holds
    // files. The working directory itself is left for the caller to remove.
    static int clearFiles(Web& web);
};

} // namespace corvida
