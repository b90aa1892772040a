// SPDX-License-Identifier: MIT
#pragma once

// A WebLinkSink adds the links of one crawled page to the site graph: each link runs from the
// page's node to its target, which is reached one level below the page.

#include "html/LinkSink.h"

namespace corvida {

class Web;
class WebNode;

class WebLinkSink : public LinkSink {
public:
    // web and source (the page's node in web) must outlive the sink.
    WebLinkSink(Web& web, WebNode* source) : m_web(web), m_source(source) {}

    // Web::addLink(source, url, source's level + 1, fetchAnyway).
    void addLink(const CUrl& url, bool fetchAnyway, const LinkOrigin& origin) override;

private:
    Web& m_web;
    WebNode* m_source;
};

} // namespace corvida
