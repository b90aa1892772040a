// SPDX-License-Identifier: MIT
#include "cli/ReportCommand.h"

#include <ostream>

#include "cli/CrawlSession.h"
#include "model/ProjectFile.h"
#include "model/Web.h"
#include "report/ReportWriter.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "report FILE.zpj";

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    const std::string& path = args[0];
    ProjectFile::Loaded loaded = ProjectFile::load(path, nullptr, {});
    if (loaded.web == nullptr) {
        err << "corvida-cli: " << path << ": " << loaded.error << '\n';
        return kExitFailure;
    }
    Web& web = *loaded.web;

    const std::string failures = ReportWriter::write(web);
    if (!failures.empty()) {
        err << "corvida-cli: " << failures << '\n';
    }
    // The pages that were written form a report to look at, so the project records it even
    // when some could not be written; the exit status tells the caller.
    loaded.options.reportMade = true;
    if (!CrawlSession::saveProject(path, loaded.options, web, err)) {
        return kExitFailure;
    }
    out << "Report stored in: " << ReportWriter::location(web) << '\n';
    return failures.empty() ? kExitOk : kExitFailure;
}

} // namespace

CliCommand reportCommand() {
    return CliCommand{{"report"}, kUsage, run};
}

} // namespace corvida
