// SPDX-License-Identifier: MIT
#pragma once

// A CliCommand is one sub-command of corvida-cli ("debug url", later "crawl", ...): its words,
// a one-line summary for the help text, and the function that runs it. Arguments are the raw
// 8-bit bytes of argv after the command words. Commands write to out and err and return the
// process exit status.

#include <charconv>
#include <functional>
#include <iosfwd>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvida {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// The decimal number that is the whole of text, when it lies in low..high.
inline std::optional<int> parseNumber(std::string_view text, int low = std::numeric_limits<int>::min(),
                                      int high = std::numeric_limits<int>::max()) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

struct CliCommand {
    using Run = std::function<int(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)>;

    std::vector<std::string> words;
    std::string usage;
    Run run;
};

} // namespace corvida
