// SPDX-License-Identifier: MIT
#include "cli/LocalSiteCommand.h"

#include <optional>
#include <ostream>

#include "cli/CrawlSession.h"
#include "cli/ProjectArgument.h"
#include "html/LocalSiteWriter.h"
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

    const LocalSiteWriter::Result result = LocalSiteWriter::write(web);
    for (const std::string& page : result.unwritten) {
        err << "corvida-cli: cannot write " << page << '\n';
    }
    // Pages written and copies deleted are recorded on the nodes, so the project is saved
    // even when some pages failed.
    loaded.options.localSiteMade = true;
    if (!CrawlSession::saveProject(path, loaded.options, web, err)) {
        return kExitFailure;
    }
    out << "Web image starts at: " << web.workingDirectory() << LocalSiteWriter::kStartPage << '\n';
    return result.ok() ? kExitOk : kExitFailure;
}

} // namespace

CliCommand localSiteCommand() {
    return CliCommand{{"local-site"}, kUsage, run};
}

} // namespace corvida
