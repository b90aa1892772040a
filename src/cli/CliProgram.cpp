// SPDX-License-Identifier: MIT
#include "cli/CliProgram.h"

#include <algorithm>
#include <ostream>

#include "cli/CliSettings.h"
#include "cli/CrawlCommand.h"
#include "cli/DebugDateCommand.h"
#include "cli/DebugFetchCommand.h"
#include "cli/DebugHtmlCommand.h"
#include "cli/DebugRobotsCommand.h"
#include "cli/DebugUrlCommand.h"
#include "cli/InfoCommand.h"
#include "cli/ListCommand.h"
#include "cli/LocalSiteCommand.h"
#include "cli/ReportCommand.h"
#include "cli/ResumeCommand.h"
#include "cli/TreeCommand.h"

namespace corvida {

namespace {

void printHelp(std::ostream& out, const std::vector<CliCommand>& commands) {
    out << "usage: corvida-cli [--config FILE] COMMAND [ARGS...]\n\n"
           "FILE is the settings profile (default: $XDG_CONFIG_HOME/Corvida/Corvida.conf).\n\ncommands:\n";
    for (const CliCommand& command : commands) {
        out << "  " << command.usage << '\n';
    }
}

// The command whose words start the arguments, longest first, or nullptr.
const CliCommand* findCommand(const std::vector<CliCommand>& commands, const std::vector<std::string>& args) {
    const CliCommand* best = nullptr;
    for (const CliCommand& command : commands) {
        const bool matches =
            command.words.size() <= args.size() && std::equal(command.words.begin(), command.words.end(), args.begin());
        if (matches && (best == nullptr || command.words.size() > best->words.size())) {
            best = &command;
        }
    }
    return best;
}

} // namespace

std::vector<CliCommand> cliCommands() {
    return {
        crawlCommand(),     resumeCommand(),     infoCommand(),      treeCommand(),
        debugUrlCommand(),  debugFetchCommand(), debugHtmlCommand(), debugRobotsCommand(),
        debugDateCommand(), localSiteCommand(),  reportCommand(),    listCommand(),
    };
}

int runCliProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> words = args;
    std::string configPath;
    if (!words.empty() && words[0] == "--config") {
        if (words.size() < 2) {
            err << "corvida-cli: --config takes a file\n";
            return kExitUsage;
        }
        configPath = words[1];
        words.erase(words.begin(), words.begin() + 2);
    }
    CliSettings::load(configPath);
    const std::vector<CliCommand> commands = cliCommands();
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        printHelp(words.empty() ? err : out, commands);
        return words.empty() ? kExitUsage : kExitOk;
    }
    const CliCommand* command = findCommand(commands, words);
    if (command == nullptr) {
        err << "corvida-cli: unknown command '" << words[0] << "'\n";
        printHelp(err, commands);
        return kExitUsage;
    }
    const std::vector<std::string> rest(words.begin() + static_cast<std::ptrdiff_t>(command->words.size()),
                                        words.end());
    if (!rest.empty() && (rest[0] == "--help" || rest[0] == "-h")) {
        out << "usage: corvida-cli " << command->usage << '\n';
        return kExitOk;
    }
    return command->run(rest, out, err);
}

} // namespace corvida
