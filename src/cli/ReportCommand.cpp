// SPDX-License-Identifier: MIT
#include "cli/ReportCommand.h"

#include <optional>
#include <ostream>

#include "cli/CrawlSession.h"
#include "cli/ProjectArgument.h"
#include "model/ProjectFile.h"
#include "model/Web.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "report FILE.zpj";

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    std::optional<ProjectFile::Loaded> project = loadProjectArgument(args, kUsage, err, exitCode);
    if (!project) {
        return exitCode;
    }
    ProjectFile::Loaded& loaded = *project;
    const std::string& path = args[0];
    Web& web = *loaded.web;

    // The pages that were written form a report to look at, so the project records it even
    // when some could not be written; the exit status tells the caller.
    const bool written = CrawlSession::writeOutputs(web, loaded.options, true, false, out, err);
    const bool saved = CrawlSession::saveProject(path, loaded.options, web, err);
    return written && saved ? kExitOk : kExitFailure;
}

} // namespace

CliCommand reportCommand() {
    return CliCommand{{"report"}, kUsage, run};
}

} // namespace corvida
