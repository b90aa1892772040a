// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli info FILE.zpj` prints what a project file records about the project and its
// crawl, one `name: value` per line: the project options, the crawl settings, the counters
// by kind, and last the number of nodes.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand infoCommand();

} // namespace corvida
