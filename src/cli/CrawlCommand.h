// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli crawl URL --dir DIR [options]` crawls a site into the working directory DIR
// and prints the counters, and with --nodes one line per node.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand crawlCommand();

} // namespace corvida
