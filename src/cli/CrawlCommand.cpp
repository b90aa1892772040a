// SPDX-License-Identifier: MIT
#include "cli/CrawlCommand.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

#include "app/NewProjectUrl.h"
#include "cli/CliOptionParser.h"
#include "cli/CliSettings.h"
#include "cli/CrawlNumberOptions.h"
#include "cli/CrawlSession.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "net/TlsTrust.h"

namespace corvida {

namespace {

constexpr const char* kUsage =
    "crawl URL [--dir DIR] [--project FILE.zpj] [--report] [--local-site] [--depth N] [--external] "
    "[--html] [--pictures] [--audio] [--video] [--connections N] [--per-host N] [--delay MS] "
    "[--buffer-size BYTES] [--proxy HOST:PORT] [--user-agent TEXT] [--email ADDRESS] [--robots] [--ask-password] "
    "[--ca-file FILE] [--insecure] [--nodes] [--quiet] [--fail-on-broken]\n"
    "      (each switch also has a --no- form; the defaults come from the settings)";
// The exit status when the start page could not be fetched.
constexpr int kExitStartFailed = 3;

// The switches of crawl, each with a --no- form, and what each sets: a setting or a flag of the
// request.
struct Switch {
    const char* name;
    bool Settings::*setting;
    bool CrawlRequest::*flag;
};
constexpr Switch kSwitches[] = {
    {"html", &Settings::downloadHtml, nullptr},
    {"pictures", &Settings::downloadPictures, nullptr},
    {"audio", &Settings::downloadAudio, nullptr},
    {"video", &Settings::downloadVideo, nullptr},
    {"external", &Settings::checkExternal, nullptr},
    {"report", &Settings::autoReport, nullptr},
    {"local-site", &Settings::autoSiteImage, nullptr},
    {"robots", &Settings::useRobotExclusion, nullptr},
    {"ask-password", &Settings::askForPassword, nullptr},
    {"insecure", &Settings::insecureTls, nullptr},
    {"nodes", nullptr, &CrawlRequest::printNodes},
    {"quiet", nullptr, &CrawlRequest::quiet},
    {"fail-on-broken", nullptr, &CrawlRequest::failOnBroken},
};
constexpr std::string_view kNoPrefix = "no-";

CliOptionParser crawlParser() {
    CliOptionParser parser(CliOptionParser::Order::Interleaved);
    for (const Switch& option : kSwitches) {
        parser.addSwitch({option.name});
        parser.addSwitch({std::string(kNoPrefix) + option.name});
    }
    parser.addSwitch({"no-proxy"});
    for (const char* name : {"dir", "project", "user-agent", "email", "proxy", "depth", "connections", "per-host",
                             "delay", "buffer-size", "ca-file"}) {
        parser.addValueOption(name);
    }
    return parser;
}

// The path made absolute, so that what it names (the project's working directory, the CA
// file) does not depend on where the command ran.
std::string absolutePath(const std::string& path) {
    std::error_code error;
    return std::filesystem::absolute(path, error).lexically_normal().string();
}

// Applies one option to request; returns an error text for a bad value.
std::optional<std::string> apply(const CliArguments::Option& option, CrawlRequest& request) {
    Settings& settings = request.settings;
    const std::string_view name = option.name;
    const bool negated = name.starts_with(kNoPrefix);
    const std::string_view switchName = negated ? name.substr(kNoPrefix.size()) : name;
    for (const Switch& candidate : kSwitches) {
        if (switchName == candidate.name) {
            (candidate.setting != nullptr ? settings.*candidate.setting : request.*candidate.flag) = !negated;
            return std::nullopt;
        }
    }
    if (CrawlNumberOptions::contains(name)) {
        return CrawlNumberOptions::apply(option, settings);
    }
    const std::string& value = option.value;
    if (name == "no-proxy") {
        settings.useProxy = false;
    } else if (name == "dir") {
        settings.workingDirectory = value;
    } else if (name == "project") {
        request.project = value;
    } else if (name == "user-agent") {
        settings.userAgent = value;
    } else if (name == "email") {
        settings.emailAddress = value;
    } else if (name == "proxy") {
        settings.proxyServer = value;
        settings.useProxy = true;
    } else if (name == "ca-file") {
        if (std::optional<std::string> error = TlsTrust().addCaFile(value)) {
            return "--ca-file: " + *error;
        }
        settings.caFile = absolutePath(value);
    }
    return std::nullopt;
}

// A text that names an existing file is that file; anything else is a start URL as a new
// project takes it.
std::string startUrlOf(const std::string& text) {
    std::error_code error;
    if (text.find(':') == std::string::npos && std::filesystem::is_regular_file(text, error)) {
        return "file://" + std::filesystem::absolute(text, error).lexically_normal().string();
    }
    return NewProjectUrl::normalise(text);
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CrawlRequest request;
    request.settings = CliSettings::settings();
    if (const std::optional<std::string> error = readCrawlArguments(args, request)) {
        err << "corvida-cli crawl: " << *error << "\nusage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    request.settings.workingDirectory = absolutePath(request.settings.workingDirectory);

    CrawlSession session(request.settings, out, err, request.quiet);
    CTamsoDoc& document = session.document();
    const std::string name =
        request.project.empty() ? std::string() : std::filesystem::path(request.project).stem().string();
    if (!document.newDocument(name)) {
        return kExitFailure;
    }
    document.startProcessing(startUrlOf(request.url));
    const CrawlSession::Outcome outcome = session.run();
    if (outcome == CrawlSession::Outcome::StartFailed) {
        return kExitStartFailed;
    }

    const Web& web = *document.web();
    CrawlSession::printCounters(document, out);
    if (request.printNodes) {
        CrawlSession::printNodes(web, out);
    }
    const std::string project = absolutePath(request.project.empty() ? session.settings().workingDirectory + "/" +
                                                                           document.projectName() + ".zpj"
                                                                     : request.project);
    if (const Status saved = document.saveDocument(project); !saved.isOk()) {
        document.keepWorkingFiles();
        err << "corvida-cli: " << project << ": " << saved.message() << '\n'
            << "corvida-cli: the crawl's files stay in " << document.workingDirectory() << '\n';
        return kExitFailure;
    }
    out << "Project saved in: " << project << '\n';
    if (outcome == CrawlSession::Outcome::Suspended) {
        out << "Crawl suspended. Resume it with: corvida-cli resume " << project << '\n';
        return CrawlSession::kExitInterrupted;
    }
    if (web.startNode() == nullptr || web.startNode()->isBroken()) {
        // A start page refused without an error of its own (a declined password) still
        // means the site was not read.
        return kExitStartFailed;
    }
    if (session.ui().problemCount() > 0) {
        return kExitFailure;
    }
    return request.failOnBroken && web.brokenCount() > 0 ? kExitFailure : kExitOk;
}

} // namespace

std::optional<std::string> readCrawlArguments(const std::vector<std::string>& args, CrawlRequest& request) {
    const CliArguments parsed = crawlParser().parse(args);
    if (parsed.fault != CliArguments::Fault::None) {
        return "unknown or incomplete option " + parsed.faultArgument;
    }
    for (const CliArguments::Option& option : parsed.options) {
        if (std::optional<std::string> error = apply(option, request)) {
            return error;
        }
    }
    for (const std::string& operand : parsed.operands) {
        // An empty text names no URL; a later one may still.
        if (!request.url.empty()) {
            return "more than one URL given";
        }
        request.url = operand;
    }
    if (request.url.empty()) {
        return "a URL is required";
    }
    if (request.settings.workingDirectory.empty()) {
        return "no working directory: give --dir DIR";
    }
    return std::nullopt;
}

CliCommand crawlCommand() {
    return CliCommand{{"crawl"}, kUsage, run};
}

} // namespace corvida
