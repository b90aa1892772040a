// SPDX-License-Identifier: MIT
#pragma once

// HelpPage writes usererpt.htm, the fixed page that explains how to read the report: the
// root document's profile, the statistics, the problem lists, the tested and untested lists
// and their icons. The page does not depend on the project. Every sample icon in it links
// to itself (#TEST1, #TEST2, ... in order of appearance) so that it can be clicked without
// leaving the page.

#include <string>

namespace corvida {

class ReportContext;

class HelpPage {
public:
    // The number of sample icons on the page.
    static constexpr int kIconCount = 36;

    // The page's bytes; the same on every call.
    static const std::string& bytes();
    // Writes usererpt.htm through context.
    static void write(ReportContext& context);
};

} // namespace corvida
