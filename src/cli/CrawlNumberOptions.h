// SPDX-License-Identifier: MIT
#pragma once

// CrawlNumberOptions are the numeric options of the commands that crawl (crawl, resume): each
// sets one number of the settings within its range, and a value outside it is refused with a
// text that names the range. A command accepts those of them that its parser knows.

#include <optional>
#include <string>
#include <string_view>

#include "app/Settings.h"
#include "cli/CliOptionParser.h"

namespace corvida {

class CrawlNumberOptions {
public:
    // Whether name is one of the numeric options.
    static bool contains(std::string_view name);
    // Sets the setting of option (one of them) from its value; returns the text of a bad value.
    static std::optional<std::string> apply(const CliArguments::Option& option, Settings& settings);
};

} // namespace corvida
