// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli report FILE.zpj` writes the HTML report of a saved project into the project's
// working directory, records in the project that the report was made, and prints where the
// report's entry page is.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand reportCommand();

} // namespace corvida
