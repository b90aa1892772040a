// SPDX-License-Identifier: MIT
#include "cli/CrawlCommand.h"

#include <filesystem>
#include <optional>
#include <ostream>

#include "app/NewProjectUrl.h"
#include "cli/CliSettings.h"
#include "cli/CrawlSession.h"
#include "model/Web.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr const char* kUsage =
    "crawl URL [--dir DIR] [--project FILE.zpj] [--report] [--local-site] [--depth N] [--external] "
    "[--html] [--pictures] [--audio] [--video] [--connections N] [--buffer-size BYTES] [--proxy HOST:PORT] "
    "[--user-agent TEXT] [--email ADDRESS] [--robots] [--ask-password] [--nodes] [--quiet] [--fail-on-broken]\n"
    "      (each switch also has a --no- form; the defaults come from the settings)";
// The exit status when the start page could not be fetched.
constexpr int kExitStartFailed = 3;

struct CrawlArguments {
    std::string url;
    std::string project;
    bool printNodes = false;
    bool quiet = false;
    bool failOnBroken = false;
};

// Applies the arguments to settings and parsed; returns an error text, or nothing when they
// are good.
std::optional<std::string> parseArguments(const std::vector<std::string>& args, Settings& settings,
                                          CrawlArguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        bool switched = false;
        auto flag = [&](const char* name, bool& target) {
            const std::string on = std::string("--") + name;
            const std::string off = std::string("--no-") + name;
            if (!switched && (arg == on || arg == off)) {
                target = arg == on;
                switched = true;
            }
        };
        flag("html", settings.downloadHtml);
        flag("pictures", settings.downloadPictures);
        flag("audio", settings.downloadAudio);
        flag("video", settings.downloadVideo);
        flag("external", settings.checkExternal);
        flag("report", settings.autoReport);
        flag("local-site", settings.autoSiteImage);
        flag("robots", settings.useRobotExclusion);
        flag("ask-password", settings.askForPassword);
        flag("nodes", parsed.printNodes);
        flag("quiet", parsed.quiet);
        flag("fail-on-broken", parsed.failOnBroken);
        if (switched) {
            continue;
        }
        if (arg == "--no-proxy") {
            settings.useProxy = false;
        } else if (arg == "--dir" && hasValue) {
            settings.workingDirectory = args[++i];
        } else if (arg == "--project" && hasValue) {
            parsed.project = args[++i];
        } else if (arg == "--user-agent" && hasValue) {
            settings.userAgent = args[++i];
        } else if (arg == "--email" && hasValue) {
            settings.emailAddress = args[++i];
        } else if (arg == "--proxy" && hasValue) {
            settings.proxyServer = args[++i];
            settings.useProxy = true;
        } else if (arg == "--depth" && hasValue) {
            const std::optional<int> depth = parseNumber(args[++i], 0, 1 << 30);
            if (!depth) {
                return "--depth takes a number from 0 (no limit) up";
            }
            settings.maximumLevel = *depth;
        } else if (arg == "--connections" && hasValue) {
            const std::optional<int> connections = parseNumber(args[++i], 1, CTamsoDoc::kMaxConnections);
            if (!connections) {
                return "--connections takes a number from 1 to 64";
            }
            settings.numberOfConnections = *connections;
        } else if (arg == "--buffer-size" && hasValue) {
            const std::optional<int> size = parseNumber(args[++i], 1, kMaxBufferSize);
            if (!size) {
                return "--buffer-size takes a number of bytes from 1 to 1048576";
            }
            settings.networkBufferSize = *size;
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown or incomplete option " + arg;
        } else if (parsed.url.empty()) {
            parsed.url = arg;
        } else {
            return "more than one URL given";
        }
    }
    if (parsed.url.empty()) {
        return "a URL is required";
    }
    if (settings.workingDirectory.empty()) {
        return "no working directory: give --dir DIR";
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

// The path made absolute, so that the project file records a working directory that does
// not depend on where the command ran.
std::string absolutePath(const std::string& path) {
    std::error_code error;
    return std::filesystem::absolute(path, error).lexically_normal().string();
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Settings settings = CliSettings::settings();
    CrawlArguments parsed;
    if (const std::optional<std::string> error = parseArguments(args, settings, parsed)) {
        err << "corvida-cli crawl: " << *error << "\nusage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    settings.workingDirectory = absolutePath(settings.workingDirectory);

    CrawlSession session(settings, out, err, parsed.quiet);
    CTamsoDoc& document = session.document();
    const std::string name =
        parsed.project.empty() ? std::string() : std::filesystem::path(parsed.project).stem().string();
    if (!document.newDocument(name)) {
        return kExitFailure;
    }
    document.startProcessing(startUrlOf(parsed.url));
    const CrawlSession::Outcome outcome = session.run();
    if (outcome == CrawlSession::Outcome::StartFailed) {
        return kExitStartFailed;
    }

    const Web& web = *document.web();
    CrawlSession::printCounters(web, out);
    if (parsed.printNodes) {
        CrawlSession::printNodes(web, out);
    }
    const std::string project = absolutePath(parsed.project.empty() ? session.settings().workingDirectory + "/" +
                                                                          document.projectName() + ".zpj"
                                                                    : parsed.project);
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
    return parsed.failOnBroken && web.brokenCount() > 0 ? kExitFailure : kExitOk;
}

} // namespace

CliCommand crawlCommand() {
    return CliCommand{{"crawl"}, kUsage, run};
}

} // namespace corvida
