// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli map FILE.zpj -o FILE [--zoom N] [--max-level N] [--thumbnails] [--links URL]
// [--filter N]` draws a project's Wavefront map, as a newly opened project window shows it, into
// a PNG picture, or an SVG file when FILE ends in ".svg": the start page in the centre, one
// circle per link level, an icon per node. --zoom (25 to 1000, default 100) and --max-level (1
// to 32767, default 10) act as in the window; --thumbnails gives pictures their 32 x 32 boxes;
// --links draws the lines into (red) and out of (green) the node with that URL; --filter N
// shows the nodes of filter N (0 "All" to 4, the built-in filters) only. No display is needed.
// Exit status 0 ok, 1 a project that cannot be loaded, a URL not on the map or a file that
// cannot be written, 2 a usage error.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand mapCommand();

} // namespace corvida
