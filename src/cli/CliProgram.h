// SPDX-License-Identifier: MIT
#pragma once

// corvida-cli apart from its process: the global options (`--config FILE`, `--help`), the
// settings profile, and the command its words name. main() only adds the QCoreApplication and
// the program's connections to the platform around this.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/CliCommand.h"

namespace corvida {

// Every command, in the order the help lists them.
std::vector<CliCommand> cliCommands();

// Runs corvida-cli with args (argv after the program name, as raw bytes), writing to out and
// err as the process writes to standard output and standard error. Loads CliSettings from
// the profile first. Returns the exit status. Requires a QCoreApplication.
int runCliProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace corvida
