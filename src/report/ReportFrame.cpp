// SPDX-License-Identifier: MIT
#include "report/ReportFrame.h"

#include <algorithm>
#include <iterator>

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
    // Crawled texts seldom hold any of the three, and a report writes gigabytes of them: each
    // is looked for with find(), which reads many bytes at a time, and only the one just
    // written is looked for again.
    static constexpr char kSpecial[] = {'<', '>', '"'};
    static constexpr const char* kEntity[] = {"&lt;", "&gt;", "&quot;"};
    std::size_t next[] = {crawled.find(kSpecial[0]), crawled.find(kSpecial[1]), crawled.find(kSpecial[2])};
    std::size_t start = 0;
    for (;;) {
        const std::size_t which = static_cast<std::size_t>(std::min_element(std::begin(next), std::end(next)) - next);
        if (next[which] == std::string_view::npos) {
            break;
        }
        out.append(crawled.substr(start, next[which] - start));
        out += kEntity[which];
        start = next[which] + 1;
        next[which] = crawled.find(kSpecial[which], start);
    }
    out.append(crawled.substr(start));
}

} // namespace corvida
