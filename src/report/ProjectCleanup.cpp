// SPDX-License-Identifier: MIT
#include "report/ProjectCleanup.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

#include "model/LocalNames.h"
#include "model/Web.h"
#include "report/LocalSiteWriter.h"
#include "report/ReportGroups.h"
#include "report/ReportWriter.h"

namespace corvida {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPhaseText = "Clearing Temp Files...";
constexpr std::string_view kFinishedText = " FINISHED";
constexpr std::uint32_t kCopyFlags = kFlagDocumentCopy | kFlagWrittenToLocalSite | kFlagThumbnail;
// Removed in this order once their files are gone.
constexpr const char* kSubDirectories[] = {"temp", "docs", "images", "mmedia", "report"};
constexpr const char* kRobotsFile = "robots.txt";

// Every node keeps a name for a file of another kind, "temp/x%07d.EXT", whatever its kind:
// a node whose type the server changed may have left one behind.
std::string otherKindCopy(const WebNode& node) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%07d", node.number());
    return std::string("temp/x") + digits + "." + LocalNames::safeExtension(node.url().extension());
}

void removeFile(const std::string& path) {
    std::error_code ignored; // a file that is not there is what we want
    fs::remove(path, ignored);
}

} // namespace

int ProjectCleanup::clearFiles(Web& web) {
    WebListener& listener = web.listener();
    listener.showText(kPhaseText);
    listener.progress(0);
    const std::string& directory = web.workingDirectory();
    if (directory.empty()) {
        // Names are relative to the working directory; without one they would name files
        // wherever the program happens to run.
        listener.progress(100);
        listener.endText(kFinishedText);
        return kCleared;
    }

    const std::vector<WebNode*>& nodes = web.nodes();
    const std::size_t count = nodes.size();
    // The report writes one document and one picture profile page per group. A project
    // opened from a file may no longer carry the group numbers its report gave, so the
    // numbers a report would give now are taken as well.
    std::set<std::int32_t> groups = {0};
    for (const std::int32_t group : ReportGroups(web).numbers()) {
        groups.insert(group);
    }
    int lastProgress = 0;
    for (std::size_t i = 0; i < count; ++i) {
        WebNode& node = *nodes[i];
        removeFile(directory + otherKindCopy(node));
        removeFile(directory + LocalNames::workingCopy(node));
        if (node.hasAnyFlag(kFlagPicture)) {
            removeFile(directory + LocalNames::thumbnail(node));
        }
        if (node.hasAnyFlag(kFlagFile | kFlagHttp)) {
            removeFile(directory + LocalNames::localSiteCopy(node));
        }
        node.clearFlags(kCopyFlags);
        groups.insert(node.groupNumber());

        const int position = static_cast<int>(i * 100 / count);
        if (position != lastProgress) {
            listener.progress(position);
            lastProgress = position;
        }
    }
    listener.progress(100);

    removeFile(directory + LocalSiteWriter::kStartPage);
    for (const std::string& name : ReportWriter::fixedFileNames()) {
        removeFile(directory + name);
    }
    for (const std::int32_t group : groups) {
        removeFile(directory + ReportWriter::documentProfilePage(group));
        removeFile(directory + ReportWriter::pictureProfilePage(group));
    }

    int result = kCleared;
    for (const char* name : kSubDirectories) {
        std::error_code error;
        fs::remove(directory + name, error);
        if (error == std::errc::directory_not_empty || error == std::errc::file_exists) {
            result = kDirectoryNotEmpty;
        }
    }
    removeFile(directory + kRobotsFile);
    listener.endText(kFinishedText);
    return result;
}

} // namespace corvida
