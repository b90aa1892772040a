// SPDX-License-Identifier: MIT
#pragma once

// LocalSiteWriter turns the documents a crawl fetched into a browsable copy of the site in the
// project's working directory. Each fetched HTML document is read again from its working
// copy, every link it carries is pointed at the local copy of its target (or, when the target
// was not fetched, at the target's absolute URL), its base tag is dropped, and the page is
// written into docs/: the start page as docs/index.htm, every other page as docs/v%07d.htm.
// Pictures, sounds and other files are not copied; the links reach their working copies in
// images/, mmedia/ and temp/. Style-sheet text (style attributes and blocks, and the style
// sheet files in temp/) is left as it stands, so its relative URLs do not reach the copies.
//
// Link values come from crawled pages and may hold, once percent-decoded, bytes that would end
// an attribute or open a tag; every rewritten value has '"', '<' and '>' percent-encoded again.
//
// The writer keeps no state between runs; everything it learns it records on the nodes
// (kFlagWrittenToLocalSite, kFlagDocumentCopy).

#include <string>
#include <string_view>
#include <vector>

namespace corvida {

class HtmlDocument;
class Web;

class LocalSiteWriter {
public:
    // Where the start page of the local site is written, relative to the working directory.
    static constexpr const char* kStartPage = "docs/index.htm";

    struct Result {
        // Pages written, the start page included.
        int pagesWritten = 0;
        // Full paths of the pages that could not be written, in the order tried.
        std::vector<std::string> unwritten;

        bool ok() const { return unwritten.empty(); }
    };

    // Writes the local site of web, reporting to web's listener: showText("Outputting Web..."),
    // progress from 0 to 100, then endText(" FINISHED"), or, when pages could not be written,
    // an end text that says how many and names the first. The start page is written even when
    // its working copy is missing (it is then empty). Every page written gets
    // kFlagWrittenToLocalSite; when the documents' option byte lacks kOptionKeepCopy its
    // working copy is deleted afterwards and kFlagDocumentCopy cleared. A page that cannot be
    // written keeps its working copy and flags, and the run goes on with the next page.
    // Does nothing but report when web has no start node.
    static Result write(Web& web);

    // Points every link of document (a page of web) at its local copy or absolute URL, as the
    // local site needs it. Links are the ones a crawl of the page would follow, found the same
    // way; attributes without a value and tags without a code URL are left alone.
    static void rewriteLinks(HtmlDocument& document, const Web& web);

    // text as a link in an attribute value: every '"', '<' and '>' written as %22, %3C and
    // %3E, and '&' as "&amp;".
    static std::string encodeUnsafeBytes(std::string_view text);

    // The end text of a run with the given result.
    static std::string endText(const Result& result);
};

} // namespace corvida
