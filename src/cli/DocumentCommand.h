// SPDX-License-Identifier: MIT
#pragma once

// The commands that work on a saved project through the document (report, local-site) share
// one frame: exactly one argument, the project opened, the command's work, the project
// saved again in place.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace corvida {

class CTamsoDoc;

// Opens the project named by args (which must be one path), runs work on its document and
// saves it. work returns false when part of its output failed; the project is saved anyway,
// since what was written is recorded on its nodes. Returns the exit status.
int runOnDocument(const std::vector<std::string>& args, const char* usage, std::ostream& out, std::ostream& err,
                  const std::function<bool(CTamsoDoc&)>& work);

} // namespace corvida
