// SPDX-License-Identifier: MIT
#include "cli/ProjectArgument.h"

#include <ostream>

#include "cli/CliCommand.h"
#include "doc/ProjectStore.h"

namespace corvida {

std::optional<std::string> projectPathArgument(const std::vector<std::string>& args, const char* usage,
                                               std::ostream& err) {
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        err << "usage: corvida-cli " << usage << '\n';
        return std::nullopt;
    }
    return args[0];
}

std::optional<ProjectFile::Loaded> loadProjectArgument(const std::vector<std::string>& args, const char* usage,
                                                       std::ostream& err, int& exitCode) {
    if (!projectPathArgument(args, usage, err)) {
        exitCode = kExitUsage;
        return std::nullopt;
    }
    ProjectFile::Loaded loaded = ProjectStore::load(args[0], nullptr);
    if (loaded.web == nullptr) {
        err << "corvida-cli: " << args[0] << ": " << loaded.status.message() << '\n';
        exitCode = kExitFailure;
        return std::nullopt;
    }
    return loaded;
}

} // namespace corvida
