// SPDX-License-Identifier: MIT
#include "cli/CliProgram.h"

#include <algorithm>
#include <ostream>

#include "cli/CliOptionParser.h"
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
#include "cli/MapCommand.h"
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
        crawlCommand(),      resumeCommand(),    infoCommand(),        treeCommand(),      debugUrlCommand(),
        debugFetchCommand(), debugHtmlCommand(), debugRobotsCommand(), debugDateCommand(), localSiteCommand(),
        reportCommand(),     listCommand(),      mapCommand(),
    };
}

int runCliProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // The global options stand before the command words; the first word that is not one of
    // them (a command, or anything else) begins the command.
    CliOptionParser globalParser(CliOptionParser::Order::OptionsFirst);
    globalParser.addValueOption("config");
    globalParser.addSwitch({"help", "h"});
    const CliArguments global = globalParser.parse(args);
    const bool helpAsked = global.has("help") || (!global.operands.empty() && global.operands[0] == "help");
    // --config is the one global option with a value, so it is the one that can lack it.
    if (global.fault != CliArguments::Fault::None && !helpAsked) {
        err << "corvida-cli: --config takes a file\n";
        return kExitUsage;
    }
    CliSettings::load(global.lastValue("config").value_or(std::string()));

    const std::vector<CliCommand> commands = cliCommands();
    if (helpAsked || global.operands.empty()) {
        printHelp(helpAsked ? out : err, commands);
        return helpAsked ? kExitOk : kExitUsage;
    }
    const CliCommand* command = findCommand(commands, global.operands);
    if (command == nullptr) {
        err << "corvida-cli: unknown command '" << global.operands[0] << "'\n";
        printHelp(err, commands);
        return kExitUsage;
    }
    const std::vector<std::string> rest(global.operands.begin() + static_cast<std::ptrdiff_t>(command->words.size()),
                                        global.operands.end());

    // `COMMAND --help` (or -h) right after the command words; anywhere else it is the
    // command's to read.
    CliOptionParser helpParser(CliOptionParser::Order::OptionsFirst);
    helpParser.addSwitch({"help", "h"});
    if (helpParser.parse(rest).has("help")) {
        out << "usage: corvida-cli " << command->usage << '\n';
        return kExitOk;
    }
    return command->run(rest, out, err);
}

} // namespace corvida
