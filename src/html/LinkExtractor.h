// SPDX-License-Identifier: MIT
#pragma once

// A LinkExtractor finds the links of one HtmlDocument and resolves each to an absolute CUrl.
// It walks the page once per kind of link source, in this order (names ignore case, and only
// the first attribute of a name on a tag counts):
//   1. the "href" of any tag, from the link scan start (so a base tag's href is no link);
//   2. the "src" of any tag;  3. the "background" of any tag;
//   4. the code URL of each "applet" tag (fetch anyway);
//   5.-8. for each "object" tag in turn: its code URL, then its "data", "usemap" and "name"
//      values (all fetch anyway);
//   9. the URLs that style-sheet text names (StyleSheetReader), in document order: those of
//      the "style" attribute of any tag, and those of each "style" block, whose text runs
//      from its tag to the next start or end tag named "style".
// The order matters: it decides which link reaches a node first.
//
// A value's character references are decoded first ("&amp;" is '&'); it is then cut to
// kMaxUrlText bytes. A value starting with '#' names a place in this page and is appended to
// the document URL; an empty value names the base URL itself, and one that is a query alone
// ("?q=1") the base URL with that query; every other value resolves against the directory of
// the page's base URL. An attribute without a value gives no link. A style attribute is
// decoded as a whole before it is read as a style sheet, a style block is read as it stands
// (markup has no references there); each URL they name then resolves as a value does.

#include <string>
#include <string_view>

#include "model/CUrl.h"

namespace corvida {

class HtmlAttribute;
class HtmlDocument;
class LinkSink;
class StartTag;

class LinkExtractor {
public:
    // document must outlive the extractor.
    explicit LinkExtractor(HtmlDocument& document);

    // Gives every link to sink, in the order above.
    void extract(LinkSink& sink);

    // The CUrl an attribute value names on this page.
    CUrl resolveValue(std::string_view value) const;
    // The CUrl that reference (a value with its character references decoded, or a URL of a
    // style sheet) names in a document at documentUrl whose links resolve against baseUrl.
    static CUrl resolveReference(std::string_view reference, const CUrl& documentUrl, const CUrl& baseUrl);
    // The CUrl an applet's or object's code URL names on this page.
    CUrl resolveCodeUrl(std::string_view codeUrl) const;

private:
    void extractStyleLinks(LinkSink& sink, StartTag* tag, HtmlAttribute* attribute) const;

    HtmlDocument& m_document;
    std::string m_baseDirectory;
};

} // namespace corvida
