// SPDX-License-Identifier: MIT
#include "cli/ResumeCommand.h"

#include <ostream>

#include "cli/CliSettings.h"
#include "cli/CrawlSession.h"
#include "model/Web.h"

namespace corvida {

namespace {

constexpr const char* kUsage =
    "resume FILE.zpj [--connections N] [--report] [--local-site] [--nodes] [--quiet] [--fail-on-broken]";

int usage(std::ostream& err) {
    err << "usage: corvida-cli " << kUsage << '\n';
    return kExitUsage;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Settings settings = CliSettings::settings();
    std::string path;
    bool printNodes = false;
    bool report = false;
    bool localSite = false;
    bool quiet = false;
    bool failOnBroken = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--nodes") {
            printNodes = true;
        } else if (arg == "--report") {
            report = true;
        } else if (arg == "--local-site") {
            localSite = true;
        } else if (arg == "--quiet") {
            quiet = true;
        } else if (arg == "--fail-on-broken") {
            failOnBroken = true;
        } else if (arg == "--connections" && i + 1 < args.size()) {
            const std::optional<int> connections = parseNumber(args[++i], 1, CTamsoDoc::kMaxConnections);
            if (!connections) {
                err << "corvida-cli resume: --connections takes a number from 1 to 64\n";
                return kExitUsage;
            }
            settings.numberOfConnections = *connections;
        } else if (path.empty() && !arg.empty() && arg[0] != '-') {
            path = arg;
        } else {
            return usage(err);
        }
    }
    if (path.empty()) {
        return usage(err);
    }

    CrawlSession session(settings, out, err, quiet);
    CTamsoDoc& document = session.document();
    if (const Status opened = session.document().openDocument(path); !opened.isOk()) {
        err << "corvida-cli: " << path << ": " << opened.message() << '\n';
        return kExitFailure;
    }
    document.options().autoReport = document.options().autoReport || report;
    document.options().autoLocalSite = document.options().autoLocalSite || localSite;
    document.resume();
    const CrawlSession::Outcome outcome = session.run();

    const Web& web = *document.web();
    CrawlSession::printCounters(web, out);
    if (printNodes) {
        CrawlSession::printNodes(web, out);
    }
    if (const Status saved = document.saveDocument(path, CTamsoDoc::SaveMode::KeepWorkingDirectory); !saved.isOk()) {
        err << "corvida-cli: " << path << ": " << saved.message() << '\n';
        return kExitFailure;
    }
    if (outcome == CrawlSession::Outcome::Suspended) {
        out << "Crawl suspended. Resume it with: corvida-cli resume " << path << '\n';
        return CrawlSession::kExitInterrupted;
    }
    if (session.ui().problemCount() > 0) {
        return kExitFailure;
    }
    return failOnBroken && web.brokenCount() > 0 ? kExitFailure : kExitOk;
}

} // namespace

CliCommand resumeCommand() {
    return CliCommand{{"resume"}, kUsage, run};
}

} // namespace corvida
