// SPDX-License-Identifier: MIT
#include "cli/TreeCommand.h"

#include <optional>
#include <ostream>

#include "cli/ProjectArgument.h"
#include "model/LinkTree.h"
#include "model/ProjectFile.h"
#include "model/Web.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "tree FILE.zpj";

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    const std::optional<ProjectFile::Loaded> project = loadProjectArgument(args, kUsage, err, exitCode);
    if (!project) {
        return exitCode;
    }
    const ProjectFile::Loaded& loaded = *project;
    LinkTree tree;
    tree.rebuild(loaded.web->startNode());
    tree.forEachDepthFirst([&out](const LinkTreeEntry& entry) {
        const WebNode& node = *entry.node();
        out << entry.label() << '\t' << entry.depth() << '\t' << (entry.isRepeat() ? '*' : '-') << '\t'
            << (node.title().empty() ? node.url().url() : node.title()) << '\n';
    });
    return kExitOk;
}

} // namespace

CliCommand treeCommand() {
    return CliCommand{{"tree"}, kUsage, run};
}

} // namespace corvida
