// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli debug fetch URL [--head] [--proxy HOST:PORT] [--user-agent TEXT] [--from TEXT]
// [--if-modified-since TIME] [--out FILE]` runs one transfer and shows it: "> " before each
// line of the request as sent, "* " before each status text, "< " before the reply's status
// line, "header: NAME: VALUE" for each stored header field, and finally
// "end: SUCCESS STRING-NUMBER CODE TEXT". The body goes to FILE, or is discarded.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand debugFetchCommand();

} // namespace corvida
