// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli debug date TEXT` prints the time number an HTTP date text reads as;
// `debug date --format NUMBER` prints the HTTP date the program writes for a time number.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand debugDateCommand();

} // namespace corvida
