// SPDX-License-Identifier: MIT
#pragma once

// ReportEntries writes the small pieces from which the report's list and profile pages build
// a node's entry: the link to the URL on the web, the link to the local copy or the blank that
// stands in for it, the thumbnail cell of a picture, the link to the node's profile, and the
// node categories (fetched, tested, untested) that decide which page lists a node.
//
// Every text that comes from a crawled site (URLs, titles, excerpts, status texts, and local
// references that carry a URL's fragment) goes through appendText, so a page of the site
// cannot put markup into the report. Each function appends to out and keeps no reference.

#include <cstdint>
#include <string>
#include <string_view>

namespace corvida {

class WebNode;

class ReportEntries {
public:
    // Category tests on a node's flags.
    static bool isFetched(std::uint32_t flags);
    static bool isTested(std::uint32_t flags);
    // Neither a fetch nor a test was started.
    static bool isUntested(std::uint32_t flags);

    // A text from a crawled site, made safe for element content and double-quoted attributes
    // (ReportFrame::appendText).
    static void appendText(std::string& out, std::string_view text);
    // A number in signed decimal.
    static void appendNumber(std::string& out, std::int64_t number);

    // The node's title, or its URL when it has none.
    static std::string_view label(const WebNode& node);

    // The link to a fully fetched document, audio or video node's local copy, else empty.
    static std::string documentLocalReference(const WebNode& node);
    // The link to a fetched picture's copy on a local server, else empty.
    static std::string pictureLocalReference(const WebNode& node);
    // The link to that picture's thumbnail, else empty.
    static std::string thumbnailReference(const WebNode& node);

    // <LI><A HREF="url"><img ... global.gif></A>
    static void webLink(std::string& out, const WebNode& node);
    // The web link without its <LI>.
    static void bareWebLink(std::string& out, const WebNode& node);
    // The local link when the node has a local reference of its kind, else the local blank.
    static void documentLocalPart(std::string& out, const WebNode& node);
    static void pictureLocalPart(std::string& out, const WebNode& node);
    static void localBlank(std::string& out);
    static void smallGap(std::string& out);
    // The spacer that right-aligns the thumbnail in a 36-pixel column, the thumbnail when the
    // picture has one, and the small gap.
    static void thumbnailCell(std::string& out, const WebNode& node);
    // <A HREF="profile reference">label</A></LI>
    static void profileLink(std::string& out, const WebNode& node);
    // Web link, small gap, profile link.
    static void untestedEntry(std::string& out, const WebNode& node);

    // Spacer runs that some entries use in place of a local part and a thumbnail.
    static constexpr std::string_view kSpace4 = R"(<img height="6" width="4" src="space4.gif">)";
    static constexpr std::string_view kSpace16 = R"(<img height="6" width="16" src="space16.gif">)";
    static constexpr std::string_view kSpace32 = R"(<img height="6" width="32" src="space32.gif">)";
    static constexpr std::string_view kGlobalIcon = R"(<img height="12" width="12" src="global.gif">)";

private:
    static void localLink(std::string& out, const std::string& reference);
};

} // namespace corvida
