// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli list FILE.zpj [--csv|--html] [--all-columns] [--filter N] [-o FILE]` exports a
// project's URL list: every node that passes filter N (0 "All" to 4, the built-in filters),
// in the order the nodes were found, as comma-separated text (the default) or an HTML table,
// to standard output or to FILE. Only the shown columns are written unless --all-columns is
// given. The project name in the caption is the file's name without its extension.
// Exit status 0 ok, 1 a project that cannot be loaded or a file that cannot be written,
// 2 a usage error.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand listCommand();

} // namespace corvida
