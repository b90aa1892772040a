// SPDX-License-Identifier: MIT
#pragma once

// ReportFrame holds the markup that the report's list pages share: the head with the page
// title, the banner with the logo and the heading, and the closing tags. It also makes texts
// that come from crawled sites safe to write into a page.
//
// Crawled texts (URLs, titles, request URLs, excerpts, status texts) may hold any byte. The
// report writes them into element content and into double-quoted attribute values, so the
// three bytes that could open a tag or end an attribute, '<', '>' and '"', are written as
// entities. '&' stays as it is: the graph already stores excerpts and status texts with '<'
// as "&lt;", and titles keep the entities their page wrote, so nothing is escaped twice.

#include <string>
#include <string_view>

namespace corvida {

class ReportFrame {
public:
    // The end of every framed page; no line break follows it.
    static constexpr std::string_view kEnd = "</BODY></HTML>";

    // "<HTML>", "<HEAD>", then "<TITLE>" title "</TITLE></HEAD><BODY>", each of the three
    // lines ended by CR LF. title is written as given.
    static std::string head(std::string_view title);
    // The logo and the heading in a table, then a ruler. heading is written as given: pass
    // crawled parts through text() first.
    static std::string banner(std::string_view heading);
    // head(title) followed by banner(heading).
    static std::string open(std::string_view title, std::string_view heading);

    // crawled with '<', '>' and '"' written as "&lt;", "&gt;" and "&quot;". A text without
    // them comes back unchanged.
    static std::string text(std::string_view crawled);
    // Appends text(crawled) to out.
    static void appendText(std::string& out, std::string_view crawled);
};

} // namespace corvida
