// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli resume FILE.zpj [--connections N] [--nodes]` opens a saved project, continues
// its crawl with the nodes still unprocessed, saves it again and prints the counters.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand resumeCommand();

} // namespace corvida
