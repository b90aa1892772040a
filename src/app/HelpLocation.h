// SPDX-License-Identifier: MIT
#pragma once

// HelpLocation finds the bundled help pages: installed beside the program (share/corvida/help
// under the installation prefix) or, for a program run from its build tree, in the source tree.

#include <string>

namespace corvida {

class HelpLocation {
public:
    // The help's index page: the first that exists of
    // applicationDir/../share/corvida/help/index.html and the source tree's
    // share/corvida/help/index.html, as a clean absolute path; empty when neither exists.
    static std::string indexPath(const std::string& applicationDir);
};

} // namespace corvida
