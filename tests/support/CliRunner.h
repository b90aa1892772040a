// SPDX-License-Identifier: MIT
#pragma once

// Runs the built corvida-cli as a separate process, the way a person or a script would, and
// gives back its exit status and everything it printed.

#include <string>

#include <QStringList>

namespace corvida::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs corvida-cli with arguments and waits for it (at most a minute), running the event loop.
CliResult runCli(const QStringList& arguments);

} // namespace corvida::test
