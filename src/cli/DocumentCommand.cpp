// SPDX-License-Identifier: MIT
#include "cli/DocumentCommand.h"

#include <ostream>

#include "cli/CliCommand.h"
#include "cli/CliSettings.h"
#include "cli/CrawlSession.h"
#include "cli/ProjectArgument.h"

namespace corvida {

int runOnDocument(const std::vector<std::string>& args, const char* usage, std::ostream& out, std::ostream& err,
                  const std::function<bool(CTamsoDoc&)>& work) {
    const std::optional<std::string> argument = projectPathArgument(args, usage, err);
    if (!argument) {
        return kExitUsage;
    }
    const std::string& path = *argument;
    CrawlSession session(CliSettings::settings(), out, err, true);
    // The work at hand shows no link tree.
    if (const Status opened = session.document().openDocument(path, CTamsoDoc::LinkTreeUse::Skip); !opened.isOk()) {
        err << "corvida-cli: " << path << ": " << opened.message() << '\n';
        return kExitFailure;
    }
    const bool ok = work(session.document());
    if (const Status saved = session.document().saveDocument(path, CTamsoDoc::SaveMode::KeepWorkingDirectory);
        !saved.isOk()) {
        err << "corvida-cli: " << path << ": " << saved.message() << '\n';
        return kExitFailure;
    }
    return ok && session.ui().problemCount() == 0 ? kExitOk : kExitFailure;
}

} // namespace corvida
