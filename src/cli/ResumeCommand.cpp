// SPDX-License-Identifier: MIT
#include "cli/ResumeCommand.h"

#include <ostream>

#include "cli/CrawlSession.h"
#include "model/ProjectFile.h"
#include "model/Web.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "resume FILE.zpj [--connections N] [--nodes] [--report] [--local-site]";
constexpr int kMaxConnections = 64;

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string path;
    bool printNodes = false;
    bool report = false;
    bool localSite = false;
    int connections = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--nodes") {
            printNodes = true;
        } else if (args[i] == "--report") {
            report = true;
        } else if (args[i] == "--local-site") {
            localSite = true;
        } else if (args[i] == "--connections" && i + 1 < args.size()) {
            const std::string& value = args[++i];
            connections =
                value.size() <= 2 && !value.empty() && value.find_first_not_of("0123456789") == std::string::npos
                    ? std::stoi(value)
                    : 0;
            if (connections < 1 || connections > kMaxConnections) {
                err << "corvida-cli resume: --connections takes a number from 1 to 64\n";
                return kExitUsage;
            }
        } else if (path.empty() && !args[i].empty() && args[i][0] != '-') {
            path = args[i];
        } else {
            err << "usage: corvida-cli " << kUsage << '\n';
            return kExitUsage;
        }
    }
    if (path.empty()) {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }

    CrawlSession session;
    ProjectFile::Loaded loaded = ProjectFile::load(path, session.listener(), ProjectFile::WebSettings());
    if (!loaded.web) {
        err << "corvida-cli: " << path << ": " << loaded.error << '\n';
        return kExitFailure;
    }
    Web& web = *loaded.web;
    web.prepareCrawl(connections);
    web.configure(loaded.options);
    session.run(web, false);

    CrawlSession::printCounters(web, out);
    if (printNodes) {
        CrawlSession::printNodes(web, out);
    }
    bool ok = CrawlSession::writeOutputs(web, loaded.options, report, localSite, out, err);
    ok = CrawlSession::saveProject(path, loaded.options, web, err) && ok;
    return ok ? kExitOk : kExitFailure;
}

} // namespace

CliCommand resumeCommand() {
    return CliCommand{{"resume"}, kUsage, run};
}

} // namespace corvida
