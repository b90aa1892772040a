// SPDX-License-Identifier: MIT
#pragma once

// OverviewPage writes overview.htm, the report's entry page: a heading with the start URL
// and a numbered list that links to the help page, the root document's profile and every
// list page of the report, empty ones included.

#include <string>

namespace corvida {

class ReportContext;
class Web;

class OverviewPage {
public:
    // The page's bytes for web.
    static std::string bytes(const Web& web);
    // Writes overview.htm through context.
    static void write(ReportContext& context);
};

} // namespace corvida
