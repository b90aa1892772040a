// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli debug robots [--verbosity N] FILE AGENT PATH...` parses FILE as a robots.txt
// for the user-agent text AGENT and prints `allowed PATH` or `excluded PATH` for each path.
// With --verbosity the parser's diagnostics go to standard error.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand debugRobotsCommand();

} // namespace corvida
