// SPDX-License-Identifier: MIT
#include "cli/ProjectArgument.h"

#include <ostream>

#include "cli/CliCommand.h"
#include "cli/CliOptionParser.h"
#include "doc/ProjectStore.h"

namespace corvida {

std::optional<std::string> projectPathArgument(const std::vector<std::string>& args, const char* usage,
                                               std::ostream& err) {
    // No options: a word that starts with a dash is an unknown one.
    const CliArguments parsed = CliOptionParser(CliOptionParser::Order::Interleaved).parse(args);
    if (parsed.fault != CliArguments::Fault::None || parsed.operands.size() != 1 || parsed.operands[0].empty()) {
        err << "usage: corvida-cli " << usage << '\n';
        return std::nullopt;
    }
    return parsed.operands[0];
}

std::optional<ProjectFile::Loaded> loadProjectArgument(const std::vector<std::string>& args, const char* usage,
                                                       std::ostream& err, int& exitCode) {
    const std::optional<std::string> path = projectPathArgument(args, usage, err);
    if (!path) {
        exitCode = kExitUsage;
        return std::nullopt;
    }
    ProjectFile::Loaded loaded = ProjectStore::load(*path, nullptr);
    if (loaded.web == nullptr) {
        err << "corvida-cli: " << *path << ": " << loaded.status.message() << '\n';
        exitCode = kExitFailure;
        return std::nullopt;
    }
    return loaded;
}

} // namespace corvida
