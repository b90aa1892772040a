// SPDX-License-Identifier: MIT
#include "cli/TreeCommand.h"

#include <ostream>

#include "model/LinkTree.h"
#include "model/ProjectFile.h"
#include "model/Web.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "tree FILE.zpj";

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "usage: corvida-cli " << kUsage << '\n';
        return kExitUsage;
    }
    const ProjectFile::Loaded loaded = ProjectFile::load(args[0], nullptr, {});
    if (loaded.web == nullptr) {
        err << "corvida-cli: " << args[0] << ": " << loaded.error << '\n';
        return kExitFailure;
    }
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
