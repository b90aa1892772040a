// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli debug html FILE [URL]` tokenizes FILE as the page fetched from URL (default:
// the file's own file:// URL) and prints the dump of every node, the title, the excerpt and
// the base URL as the crawl would take them, then every link in the order the crawl would add
// it ("link: TAG URL", TAG 1 for fetch-anyway links, URL with its fragment).
// `debug html --write FILE [URL]` prints the page as the local site writer would write it.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand debugHtmlCommand();

} // namespace corvida
