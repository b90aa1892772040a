// SPDX-License-Identifier: MIT
#include "report/ReportFrame.h"

namespace corvida {

std::string ReportFrame::head(std::string_view title) {
    std::string out = "<HTML>\r\n<HEAD>\r\n<TITLE>";
    out += title;
    out += "</TITLE></HEAD><BODY>\r\n";
    return out;
}

std::string ReportFrame::banner(std::string_view heading) {
    std::string out = "<TABLE><TR><TD VALIGN=\"MIDDLE\"><img height=\"127\" width=\"175\" src=\"logo.gif\"></TD>"
                      "<TD VALIGN=\"MIDDLE\"><H1><B>";
    out += heading;
    out += "</B></H1></TD></TR></TABLE><HR>";
    return out;
}

std::string ReportFrame::open(std::string_view title, std::string_view heading) {
    return head(title) + banner(heading);
}

std::string ReportFrame::text(std::string_view crawled) {
    std::string out;
    appendText(out, crawled);
    return out;
}

void ReportFrame::appendText(std::string& out, std::string_view crawled) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < crawled.size(); ++i) {
        const char* entity = nullptr;
        switch (crawled[i]) {
        case '<':
            entity = "&lt;";
            break;
        case '>':
            entity = "&gt;";
            break;
        case '"':
            entity = "&quot;";
            break;
        default:
            continue;
        }
        out.append(crawled.substr(start, i - start));
        out += entity;
        start = i + 1;
    }
    out.append(crawled.substr(start));
}

} // namespace corvida
