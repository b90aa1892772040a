// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes read as a robots.txt. The first line is the agent text, the rest
// the file; the first byte also picks the verbosity. The rules are then asked about a few
// paths. Traps when an excluded path is allowed, when a rule's line number lies outside the
// file, or when diagnostics appear that the verbosity does not ask for.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "net/RobotRules.h"

using corvida::RobotRules;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t split = bytes.find('\n');
    const std::string_view agent = bytes.substr(0, std::min<std::size_t>(split, 64));
    const std::string_view text = split == std::string_view::npos ? std::string_view() : bytes.substr(split + 1);
    const int verbosity = size == 0 ? 0 : static_cast<unsigned char>(bytes.front()) % 6;

    const std::unique_ptr<RobotRules> rules = RobotRules::parse(text, verbosity, agent);
    if (!rules) {
        __builtin_trap();
    }
    // Every line is at least one byte, and a long line counts once per piece it is read in.
    const auto maxLines = static_cast<std::int64_t>(text.size());
    for (const RobotRules::PathEntry& entry : rules->paths()) {
        if (entry.line < 1 || entry.line > maxLines) {
            __builtin_trap();
        }
        if (entry.path) {
            if (entry.path->empty() || RobotRules::isAllowed(rules.get(), *entry.path) ||
                RobotRules::isAllowed(rules.get(), *entry.path + "/x.htm")) {
                __builtin_trap();
            }
        }
    }
    int errors = 0;
    for (const RobotRules::Diagnostic& diagnostic : rules->diagnostics()) {
        if (diagnostic.level > verbosity || diagnostic.line < 1 || diagnostic.line > maxLines) {
            __builtin_trap();
        }
        errors += diagnostic.level == RobotRules::kLevelError && diagnostic.message != "missing value" &&
                  diagnostic.message != "malformed URL";
    }
    if (errors > RobotRules::kMaxErrors) {
        __builtin_trap();
    }
    for (const std::string_view path : {"/", "", "/index.htm", "/cgi-bin/a?b", "*"}) {
        (void)RobotRules::isAllowed(rules.get(), path);
    }
    if (!RobotRules::isAllowed(nullptr, "/") || !RobotRules::isAllowed(rules.get(), "")) {
        __builtin_trap();
    }
    if (!RobotRules::parse(text, 0, agent)->diagnostics().empty()) {
        __builtin_trap();
    }
    return 0;
}
