// SPDX-License-Identifier: MIT
#include "cli/ResumeCommand.h"

#include <optional>
#include <ostream>

#include "cli/CliOptionParser.h"
#include "cli/CliSettings.h"
#include "cli/CrawlNumberOptions.h"
#include "cli/CrawlSession.h"
#include "model/Web.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "resume FILE.zpj [--connections N] [--per-host N] [--delay MS] [--report] "
                               "[--local-site] [--nodes] [--quiet] [--fail-on-broken]";

int usage(std::ostream& err) {
    err << "usage: corvida-cli " << kUsage << '\n';
    return kExitUsage;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliOptionParser parser(CliOptionParser::Order::Interleaved);
    for (const char* name : {"nodes", "report", "local-site", "quiet", "fail-on-broken"}) {
        parser.addSwitch({name});
    }
    for (const char* name : {"connections", "per-host", "delay"}) {
        parser.addValueOption(name);
    }
    const CliArguments parsed = parser.parse(args);
    if (parsed.fault != CliArguments::Fault::None) {
        return usage(err);
    }
    Settings settings = CliSettings::settings();
    for (const CliArguments::Option& option : parsed.options) {
        if (const std::optional<std::string> fault = CrawlNumberOptions::apply(option, settings)) {
            err << "corvida-cli resume: " << *fault << '\n';
            return kExitUsage;
        }
    }
    if (parsed.operands.size() != 1 || parsed.operands[0].empty()) {
        return usage(err);
    }
    const std::string& path = parsed.operands[0];
    const bool printNodes = parsed.has("nodes");
    const bool report = parsed.has("report");
    const bool localSite = parsed.has("local-site");
    const bool quiet = parsed.has("quiet");
    const bool failOnBroken = parsed.has("fail-on-broken");

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
    CrawlSession::printCounters(document, out);
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
