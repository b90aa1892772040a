// SPDX-License-Identifier: MIT
#pragma once

// A LinkSink receives the links that LinkExtractor finds in a page, one call per link, in the
// order in which they are found. The crawl's sink adds them to the site graph (WebLinkSink);
// the local site writer's sink points each attribute at the link's local copy; the debug
// command prints them.

#include "model/CUrl.h"

namespace corvida {

class HtmlAttribute;
class StartTag;

// Where a link was found. attribute is the attribute whose value named the link, or nullptr
// when the link is the code URL of an AppletTag or ObjectTag (tag). Both belong to the
// document and may be changed by the sink.
//
// inStyleSheet is set when the link is one URL inside style-sheet text: the value of
// attribute (a "style" attribute), the text of the style block that tag opens (attribute is
// then nullptr), or a style sheet file (tag is nullptr too). The value is then not the URL.
struct LinkOrigin {
    StartTag* tag = nullptr;
    HtmlAttribute* attribute = nullptr;
    bool inStyleSheet = false;
};

class LinkSink {
public:
    virtual ~LinkSink() = default;

    // One link: url is resolved and still carries its fragment; fetchAnyway is set for the
    // code and data of applets and objects. url lives only for the call.
    virtual void addLink(const CUrl& url, bool fetchAnyway, const LinkOrigin& origin) = 0;
};

} // namespace corvida
