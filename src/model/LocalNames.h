// SPDX-License-Identifier: MIT
#pragma once

// LocalNames gives every file name that belongs to a node inside its project's working
// directory: the working copy of a fetched file, the new copy fetched beside an older one,
// the copy in the local site, the picture thumbnail, and the relative links that pages of
// the local site (docs/) and of the report (report/) use to reach them. All names are
// relative to the working directory and use '/'.
//
// Names are built from the node's kind, its number in seven digits and its URL's extension.
// The extension comes from the crawled site, so it is made safe first: a byte that could
// leave the directory or is not a plain file-name byte ('/', '\', control bytes, '.' runs,
// quotes, and the like) becomes '_', and it is cut to kMaxExtension bytes. No URL can make a
// local name point outside the working directory.

#include <cstddef>
#include <string>
#include <string_view>

namespace corvida {

class CUrl;
class Web;
class WebNode;

class LocalNames {
public:
    // The longest extension kept in a local name.
    static constexpr std::size_t kMaxExtension = 32;

    // "images/z%07d.EXT", "mmedia/z%07d.EXT", "temp/w%07d.htm" or "temp/x%07d.EXT" by kind.
    static std::string workingCopy(const WebNode& node);
    // "images/u%07d.EXT", "mmedia/u%07d.EXT", "temp/u%07d.htm" or "temp/y%07d.EXT" by kind.
    static std::string newCopy(const WebNode& node);
    // The copy in the local site: documents "docs/v%07d.htm", other kinds their working copy.
    static std::string localSiteCopy(const WebNode& node);
    // "images/t%07d.gif".
    static std::string thumbnail(const WebNode& node);

    // The relative link that a page in docs/ writes for url: "index.htm" for the start node
    // and its alias; "../images/z%07d.EXT", "../mmedia/z%07d.EXT", "v%07d.htm" (with "#" and
    // the fragment for a document) or "../temp/x%07d.EXT" by kind. Empty when url has no
    // node in web or its node was not fetched: the page then keeps the absolute URL.
    static std::string localSiteLink(const Web& web, const CUrl& url);

    // The report's link to a node's local copy from a page in report/: "../docs/index.htm"
    // for the start node and its alias, else "../" and the local-site copy (with "#" and the
    // URL's fragment for a document), for a fully fetched document, audio or video node; the
    // picture's working copy for a fetched picture on a local server; else empty.
    static std::string reportLink(const WebNode& node);
    // The report's link to a fetched local picture's thumbnail, else empty.
    static std::string reportThumbnailLink(const WebNode& node);
    // Where the report's list pages describe the node: "pics%d.htm#ww%d", "docs%d.htm#ww%d"
    // (group number, then node number) or "p_oths.htm#ww%d".
    static std::string reportAnchor(const WebNode& node);
    // Appends reportAnchor(node) to out.
    static void appendReportAnchor(std::string& out, const WebNode& node);

    // The extension as it may appear in a local name (see above).
    static std::string safeExtension(std::string_view extension);
};

} // namespace corvida
