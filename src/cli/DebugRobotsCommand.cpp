// SPDX-License-Identifier: MIT
#include "cli/DebugRobotsCommand.h"

#include <optional>
#include <ostream>

#include "net/RobotRules.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "debug robots [--verbosity N] FILE AGENT PATH...";

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::size_t first = 0;
    int verbosity = 0;
    if (!args.empty() && args[0] == "--verbosity") {
        const std::optional<int> parsed = parseNumber(args.size() > 1 ? args[1] : std::string());
        if (!parsed) {
            err << "usage: corvida-cli " << kUsage << '\n';
            return kExitUsage;
        }
        verbosity = *parsed;
        first = 2;
    }
    if (args.size() < first + 3) {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    const std::unique_ptr<RobotRules> rules = RobotRules::parseFile(args[first], verbosity, args[first + 1]);
    if (!rules) {
        err << "no robots rules: cannot read " << args[first] << '\n';
    } else {
        for (const RobotRules::Diagnostic& diagnostic : rules->diagnostics()) {
            err << "line " << diagnostic.line << ": level " << diagnostic.level << ": " << diagnostic.message << ": "
                << diagnostic.detail << '\n';
        }
    }
    for (std::size_t i = first + 2; i < args.size(); ++i) {
        out << (RobotRules::isAllowed(rules.get(), args[i]) ? "allowed " : "excluded ") << args[i] << '\n';
    }
    return kExitOk;
}

} // namespace

CliCommand debugRobotsCommand() {
    return CliCommand{{"debug", "robots"}, kUsage, run};
}

} // namespace corvida
