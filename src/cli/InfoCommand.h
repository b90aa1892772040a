// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli info FILE.zpj` prints what a project file records about the project and its
// crawl, one `name: value` per line: the project options, the crawl settings, the counters
// by kind, and last the number of nodes. With `--node URL` it prints instead the facts of the
// node with that URL (URL, number, level, status, type, size, request URL) and its redirects,
// one hop per line; a URL that names no node is a failure.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand infoCommand();

} // namespace corvida
