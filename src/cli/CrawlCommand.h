// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli crawl URL --dir DIR [options]` crawls a site into the working directory DIR
// and prints the counters, and with --nodes one line per node.

#include <optional>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "cli/CliCommand.h"

namespace corvida {

// What a crawl's arguments ask for.
struct CrawlRequest {
    Settings settings; // the profile's settings with the options applied
    std::string url;
    std::string project; // the project file to save, or empty for one beside the working directory
    bool printNodes = false;
    bool quiet = false;
    bool failOnBroken = false;
};

// Applies crawl's arguments, in order, to request, whose settings hold the defaults: of a
// switch and its --no- form the last one given wins, as does the last value of an option.
// Returns the error text of a usage error, or nothing when the arguments are good.
std::optional<std::string> readCrawlArguments(const std::vector<std::string>& args, CrawlRequest& request);

CliCommand crawlCommand();

} // namespace corvida
