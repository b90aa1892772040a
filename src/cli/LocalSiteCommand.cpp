// SPDX-License-Identifier: MIT
#include "cli/LocalSiteCommand.h"

#include <ostream>

#include "cli/DocumentCommand.h"
#include "doc/CTamsoDoc.h"
#include "model/Web.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "local-site FILE.zpj";

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return runOnDocument(args, kUsage, out, err, [&err, &args](CTamsoDoc& document) {
        if (document.web()->startNode() == nullptr) {
            err << "corvida-cli: " << args[0] << ": the project has no start page\n";
            return false;
        }
        return document.makeLocalSite();
    });
}

} // namespace

CliCommand localSiteCommand() {
    return CliCommand{{"local-site"}, kUsage, run};
}

} // namespace corvida
