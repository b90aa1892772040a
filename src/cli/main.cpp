// SPDX-License-Identifier: MIT
// corvida-cli: Corvida's headless front end.

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "cli/CliCommand.h"
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
#include "model/MimeTable.h"
#include "platform/SystemFileAssociations.h"

namespace {

using corvida::CliCommand;

std::vector<CliCommand> allCommands() {
    return {
        corvida::crawlCommand(),     corvida::resumeCommand(),      corvida::infoCommand(),
        corvida::treeCommand(),      corvida::debugUrlCommand(),    corvida::debugFetchCommand(),
        corvida::debugHtmlCommand(), corvida::debugRobotsCommand(), corvida::debugDateCommand(),
        corvida::localSiteCommand(), corvida::reportCommand(),      corvida::listCommand(),
    };
}

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

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Corvida"));
    corvida::MimeTable::setAssociationSource(corvida::systemFileAssociations);

    // Arguments stay raw bytes: URLs and paths are 8-bit texts, whatever the locale.
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string configPath;
    if (!args.empty() && args[0] == "--config") {
        if (args.size() < 2) {
            std::cerr << "corvida-cli: --config takes a file\n";
            return corvida::kExitUsage;
        }
        configPath = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    corvida::CliSettings::load(configPath);
    const std::vector<CliCommand> commands = allCommands();
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(args.empty() ? std::cerr : std::cout, commands);
        return args.empty() ? corvida::kExitUsage : corvida::kExitOk;
    }
    const CliCommand* command = findCommand(commands, args);
    if (command == nullptr) {
        std::cerr << "corvida-cli: unknown command '" << args[0] << "'\n";
        printHelp(std::cerr, commands);
        return corvida::kExitUsage;
    }
    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(command->words.size()), args.end());
    if (!rest.empty() && (rest[0] == "--help" || rest[0] == "-h")) {
        std::cout << "usage: corvida-cli " << command->usage << '\n';
        return corvida::kExitOk;
    }
    return command->run(rest, std::cout, std::cerr);
}
