// SPDX-License-Identifier: MIT
#pragma once

// `corvida-cli debug url TEXT [BASE]` prints every field of the CUrl built from TEXT (and
// BASE), one per line; `debug url --compare A B` prints the sign of their comparison.

#include "cli/CliCommand.h"

namespace corvida {

CliCommand debugUrlCommand();

} // namespace corvida
