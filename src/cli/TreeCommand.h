// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli tree FILE.zpj` opens a project file, rebuilds its link tree from the start
// node and prints one entry per line, depth first: the label, the depth, `*` for a repeat or
// `-` for a primary entry, and the node's title or, without one, its URL, separated by tabs.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand treeCommand();

} // namespace corvida
