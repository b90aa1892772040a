// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli local-site FILE.zpj` writes the browsable local copy of a saved project's site
// into the project's working directory, records in the project that the local site was made,
// and prints where its start page is.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand localSiteCommand();

} // namespace corvida
