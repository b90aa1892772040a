// SPDX-License-Identifier: MIT
#include "cli/DebugRobotsCommand.h"

#include <optional>
#include <ostream>

#include "cli/CliOptionParser.h"
#include "net/RobotRules.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "debug robots [--verbosity N] FILE AGENT PATH...";

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliOptionParser parser(CliOptionParser::Order::OptionsFirst);
    parser.addValueOption("verbosity");
    const CliArguments parsed = parser.parse(args);
    const std::optional<int> verbosity = parseNumber(parsed.lastValue("verbosity").value_or("0"));
    const std::vector<std::string>& words = parsed.operands;
    if (parsed.fault != CliArguments::Fault::None || !verbosity || words.size() < 3) {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    const std::string& file = words[0];
    const std::unique_ptr<RobotRules> rules = RobotRules::parseFile(file, *verbosity, words[1]);
    if (!rules) {
        err << "no robots rules: cannot read " << file << '\n';
    } else {
        for (const RobotRules::Diagnostic& diagnostic : rules->diagnostics()) {
            err << "line " << diagnostic.line << ": level " << diagnostic.level << ": " << diagnostic.message << ": "
                << diagnostic.detail << '\n';
        }
    }
    for (auto path = words.begin() + 2; path != words.end(); ++path) {
        out << (RobotRules::isAllowed(rules.get(), *path) ? "allowed " : "excluded ") << *path << '\n';
    }
    return kExitOk;
}

} // namespace

CliCommand debugRobotsCommand() {
    return CliCommand{{"debug", "robots"}, kUsage, run};
}

} // namespace corvida
