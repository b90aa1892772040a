// SPDX-License-Identifier: MIT
#include "cli/LocalSiteCommand.h"

#include <optional>
#include <ostream>

#include "cli/CrawlSession.h"
#include "cli/ProjectArgument.h"
#include "model/ProjectFile.h"
#include "model/Web.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "local-site FILE.zpj";

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    std::optional<ProjectFile::Loaded> project = loadProjectArgument(args, kUsage, err, exitCode);
    if (!project) {
        return exitCode;
    }
    ProjectFile::Loaded& loaded = *project;
    const std::string& path = args[0];
    Web& web = *loaded.web;
    if (web.startNode() == nullptr) {
        err << "corvida-cli: " << path << ": the project has no start page\n";
        return kExitFailure;
    }

    // Pages written and copies deleted are recorded on the nodes, so the project is saved
    // even when some pages failed.
    const bool written = CrawlSession::writeOutputs(web, loaded.options, false, true, out, err);
    const bool saved = CrawlSession::saveProject(path, loaded.options, web, err);
    return written && saved ? kExitOk : kExitFailure;
}

} // namespace

CliCommand localSiteCommand() {
    return CliCommand{{"local-site"}, kUsage, run};
}

} // namespace corvida
