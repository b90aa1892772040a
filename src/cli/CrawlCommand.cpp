// SPDX-License-Identifier: MIT
#include "cli/CrawlCommand.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>

#include "cli/CrawlDriver.h"
#include "model/ProjectOptions.h"
#include "model/Web.h"
#include "net/NetworkTransferFactory.h"
#include "platform/QtImagingLibrary.h"

namespace corvida {

namespace {

constexpr const char* kUsage =
    "crawl URL --dir DIR [--depth N] [--connections N] [--external] [--robots] [--html|--no-html] "
    "[--pictures|--no-pictures] [--audio|--no-audio] [--video|--no-video] [--user-agent TEXT] "
    "[--proxy HOST:PORT] [--nodes]";
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
        } else if (arg == "--dir" && hasValue) {
            parsed.directory = args[++i];
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

void printCounters(const Web& web, std::ostream& out) {
    std::size_t broken = 0;
    for (const WebNode* node : web.nodes()) {
        broken += node->isBroken() ? 1 : 0;
    }
    out << "nodes: " << web.nodeCount() << '\n'
        << "processed: " << web.processedCount() << '\n'
        << "documents: " << web.count(NodeKind::Document) << '\n'
        << "pictures: " << web.count(NodeKind::Picture) << '\n'
        << "audio: " << web.count(NodeKind::Audio) << '\n'
        << "video: " << web.count(NodeKind::Video) << '\n'
        << "ftp: " << web.count(NodeKind::Ftp) << '\n'
        << "gopher: " << web.count(NodeKind::Gopher) << '\n'
        << "mail: " << web.count(NodeKind::Mail) << '\n'
        << "other: " << web.count(NodeKind::Other) << '\n'
        << "highest_level: " << web.highestLevel() << '\n'
        << "broken: " << broken << '\n';
}

void printNodes(const Web& web, std::ostream& out) {
    for (const WebNode* node : web.nodes()) {
        char flags[16];
        std::snprintf(flags, sizeof flags, "0x%08x", node->flags());
        out << node->number() << '\t' << node->level() << '\t' << node->httpStatus() << '\t' << flags << '\t'
            << node->url().url() << '\n';
    }
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CrawlArguments parsed;
    if (const std::optional<std::string> error = parseArguments(args, parsed)) {
        err << "corvida-cli crawl: " << *error << "\nusage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    std::string directory = parsed.directory;
    if (directory.back() != '/') {
        directory += '/';
    }
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        err << "corvida-cli crawl: cannot create " << directory << ": " << error.message() << '\n';
        return kExitFailure;
    }

    CrawlDriver driver;
    NetworkTransferFactory transfers;
    QtImagingLibrary imaging;
    parsed.options.startUrl = startUrlOf(parsed.url);
    Web web(directory, parsed.options.startUrl, &driver, parsed.connections);
    web.setTransferFactory(&transfers);
    web.setImagingLibrary(&imaging);
    web.setUserAgent(parsed.userAgent);
    web.setProxy(parsed.proxy);
    web.setRobotsExclusion(parsed.robots);
    web.configure(parsed.options);
    driver.run(web, true);

    printCounters(web, out);
    if (parsed.printNodes) {
        printNodes(web, out);
    }
    return kExitOk;
}

} // namespace

CliCommand crawlCommand() {
    return CliCommand{{"crawl"}, kUsage, run};
}

} // namespace corvida
