// SPDX-License-Identifier: MIT
#include "cli/CrawlCommand.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <ostream>

#include "cli/CrawlSession.h"
#include "model/ProjectOptions.h"
#include "model/Web.h"

namespace corvida {

namespace {

constexpr const char* kUsage =
    "crawl URL --dir DIR [--depth N] [--connections N] [--external] [--robots] [--html|--no-html] "
    "[--pictures|--no-pictures] [--audio|--no-audio] [--video|--no-video] [--user-agent TEXT] "
    "[--proxy HOST:PORT] [--nodes] [--project FILE.zpj] [--report] [--local-site]";
constexpr const char* kDefaultUserAgent = "Mozilla/2.0 (compatible; Vantorix 2.0; Windows 95)";
constexpr int kMaxConnections = 64;

// The project options a new crawl starts with when no flag changes them: nothing is kept
// or fetched beyond what link discovery needs.
ProjectOptions defaultOptions() {
    ProjectOptions options;
    options.getDocuments = false;
    options.getPictures = false;
    options.getAudio = false;
    options.getVideo = false;
    return options;
}

struct CrawlArguments {
    std::string url;
    std::string directory;
    ProjectOptions options = defaultOptions();
    int connections = 1;
    bool robots = false;
    std::string userAgent = kDefaultUserAgent;
    std::string proxy;
    bool printNodes = false;
    bool report = false;
    bool localSite = false;
    std::string project;
};

std::optional<int> parseNumber(const std::string& text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// Parses the arguments; returns an error text, or nothing when they are good.
std::optional<std::string> parseArguments(const std::vector<std::string>& args, CrawlArguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        auto flag = [&](const char* on, const char* off, bool& target) {
            if (arg == on || arg == off) {
                target = arg == on;
                return true;
            }
            return false;
        };
        if (flag("--html", "--no-html", parsed.options.getDocuments) ||
            flag("--pictures", "--no-pictures", parsed.options.getPictures) ||
            flag("--audio", "--no-audio", parsed.options.getAudio) ||
            flag("--video", "--no-video", parsed.options.getVideo)) {
            continue;
        }
        if (arg == "--external") {
            parsed.options.checkExternal = true;
        } else if (arg == "--robots") {
            parsed.robots = true;
        } else if (arg == "--nodes") {
            parsed.printNodes = true;
        } else if (arg == "--report") {
            parsed.report = true;
        } else if (arg == "--local-site") {
            parsed.localSite = true;
        } else if (arg == "--dir" && hasValue) {
            parsed.directory = args[++i];
        } else if (arg == "--project" && hasValue) {
            parsed.project = args[++i];
        } else if (arg == "--user-agent" && hasValue) {
            parsed.userAgent = args[++i];
        } else if (arg == "--proxy" && hasValue) {
            parsed.proxy = args[++i];
        } else if (arg == "--depth" && hasValue) {
            const std::optional<int> depth = parseNumber(args[++i], 0, 1 << 30);
            if (!depth) {
                return "--depth takes a number from 0 (no limit) up";
            }
            parsed.options.maximumLevel = static_cast<std::uint32_t>(*depth);
        } else if (arg == "--connections" && hasValue) {
            const std::optional<int> connections = parseNumber(args[++i], 1, kMaxConnections);
            if (!connections) {
                return "--connections takes a number from 1 to 64";
            }
            parsed.connections = *connections;
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown or incomplete option " + arg;
        } else if (parsed.url.empty()) {
            parsed.url = arg;
        } else {
            return "more than one URL given";
        }
    }
    if (parsed.url.empty() || parsed.directory.empty()) {
        return "a URL and --dir DIR are required";
    }
    return std::nullopt;
}

// A text that names an existing file is that file; anything else is a URL as given.
std::string startUrlOf(const std::string& text) {
    std::error_code error;
    if (text.find("://") == std::string::npos && std::filesystem::is_regular_file(text, error)) {
        return "file://" + std::filesystem::absolute(text, error).lexically_normal().string();
    }
    return text;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CrawlArguments parsed;
    if (const std::optional<std::string> error = parseArguments(args, parsed)) {
        err << "corvida-cli crawl: " << *error << "\nusage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    // The project file records the working directory, so it is kept absolute.
    std::error_code error;
    std::string directory = std::filesystem::absolute(parsed.directory, error).lexically_normal().string();
    if (directory.back() != '/') {
        directory += '/';
    }
    std::filesystem::create_directories(directory, error);
    if (error) {
        err << "corvida-cli crawl: cannot create " << directory << ": " << error.message() << '\n';
        return kExitFailure;
    }

    CrawlSession session;
    parsed.options.startUrl = startUrlOf(parsed.url);
    Web web(directory, parsed.options.startUrl, session.listener(), parsed.connections);
    web.setUserAgent(parsed.userAgent);
    web.setProxy(parsed.proxy);
    web.setRobotsExclusion(parsed.robots);
    web.configure(parsed.options);
    session.run(web, true);

    CrawlSession::printCounters(web, out);
    if (parsed.printNodes) {
        CrawlSession::printNodes(web, out);
    }
    bool ok = CrawlSession::writeOutputs(web, parsed.options, parsed.report, parsed.localSite, out, err);
    if (!parsed.project.empty()) {
        ok = CrawlSession::saveProject(parsed.project, parsed.options, web, err) && ok;
    }
    return ok ? kExitOk : kExitFailure;
}

} // namespace

CliCommand crawlCommand() {
    return CliCommand{{"crawl"}, kUsage, run};
}

} // namespace corvida
