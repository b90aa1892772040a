// SPDX-License-Identifier: MIT
#pragma once

// The commands that take one project file and nothing else (info, tree, report, local-site)
// read it the same way: exactly one argument, loaded without a listener.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "model/ProjectFile.h"

namespace corvida {

// The project path that args must consist of, or nothing after printing the usage to err.
std::optional<std::string> projectPathArgument(const std::vector<std::string>& args, const char* usage,
                                               std::ostream& err);

// Loads the project named by args, which must be one path. On a usage error or a file that
// cannot be loaded, prints why to err, sets exitCode (kExitUsage or kExitFailure) and returns
// nothing.
std::optional<ProjectFile::Loaded> loadProjectArgument(const std::vector<std::string>& args, const char* usage,
                                                       std::ostream& err, int& exitCode);

} // namespace corvida
