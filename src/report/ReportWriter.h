// SPDX-License-Identifier: MIT
#pragma once

// ReportWriter makes a project's HTML report: the pages and pictures in the `report`
// sub-directory of the Web's working directory, entered through overview.htm. Each run
// rebuilds the whole report, overwriting the files of an earlier one.
//
// Before the pages are written every node gets its group number (ReportGroups): its link
// level (0 for a node without one), with a level of many documents or pictures split over
// several groups. The list pages are ruled by level and the profile pages come one per group
// (docs0.htm, docs1.htm, ...). The run reports through the Web's listener: the
// phase text, progress 0 to 100 and an end text, which names the files that could not be
// written. A file that cannot be written does not stop the run.

#include <cstdint>
#include <string>
#include <vector>

#include "base/Status.h"

namespace corvida {

class Web;

class ReportWriter {
public:
    // The listener texts of a run.
    static constexpr const char* kPhaseText = "Producing web statistics...";
    static constexpr const char* kFinishedText = " FINISHED";

    // Writes the report of web. When some file could not be written: IoError whose message
    // has one line "cannot write PATH" per such file; the other files are written all the
    // same. Sets every node's group number (see above); changes nothing else in the graph.
    // The crawl must not be running.
    static Status write(Web& web);

    // The report's entry page: the working directory followed by "report/overview.htm".
    static std::string location(const Web& web);
    // The report directory: the working directory followed by "report/".
    static std::string directory(const Web& web);

    // Every report file whose name does not depend on the project, relative to the working
    // directory ("report/overview.htm", ...), in the order a cleanup deletes them.
    static const std::vector<std::string>& fixedFileNames();
    // The profile pages of one group number, relative to the working directory:
    // "report/docs%d.htm" and "report/pics%d.htm".
    static std::string documentProfilePage(std::int32_t group);
    static std::string pictureProfilePage(std::int32_t group);
};

} // namespace corvida
