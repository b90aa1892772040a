// SPDX-License-Identifier: MIT
#pragma once

// A WebLinkSink adds the links of one crawled page to the site graph: each link runs from the
// page's node to its target, which is reached one level below the page. Targets that the
// links gave their level are collected for the crawl's queue.

#include <vector>

#include "html/LinkSink.h"

namespace corvida {

class Web;
class WebNode;

class WebLinkSink : public LinkSink {
public:
    // web and source (the page's node in web) must outlive the sink; so must reached (may be
    // null), which collects the targets given their level.
    WebLinkSink(Web& web, WebNode* source, std::vector<WebNode*>* reached = nullptr)
        : m_web(web), m_source(source), m_reached(reached) {}

    // Web::addLink(source, url, source's level + 1, fetchAnyway).
    void addLink(const CUrl& url, bool fetchAnyway, const LinkOrigin& origin) override;

private:
    Web& m_web;
    WebNode* m_source;
    std::vector<WebNode*>* m_reached;
};

} // namespace corvida
