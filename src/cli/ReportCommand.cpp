// SPDX-License-Identifier: MIT
#include "cli/ReportCommand.h"

#include "cli/DocumentCommand.h"
#include "doc/CTamsoDoc.h"

namespace corvida {

namespace {

constexpr const char* kUsage = "report FILE.zpj";

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return runOnDocument(args, kUsage, out, err, [](CTamsoDoc& document) { return document.makeReport(); });
}

} // namespace

CliCommand reportCommand() {
    return CliCommand{{"report"}, kUsage, run};
}

} // namespace corvida
