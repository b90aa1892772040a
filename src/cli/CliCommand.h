// SPDX-License-Identifier: MIT
#pragma once

// A CliCommand is one sub-command of corvida-cli ("debug url", later "crawl", ...): its words,
// a one-line summary for the help text, and the function that runs it. Arguments are the raw
// 8-bit bytes of argv after the command words. Commands write to out and err and return the
// process exit status.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace corvida {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct CliCommand {
    using Run = std::function<int(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)>;

    std::vector<std::string> words;
    std::string usage;
    Run run;
};

} // namespace corvida
