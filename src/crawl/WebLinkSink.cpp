// SPDX-License-Identifier: MIT
#include "crawl/WebLinkSink.h"

#include "model/Web.h"

namespace corvida {

void WebLinkSink::addLink(const CUrl& url, bool fetchAnyway, const LinkOrigin& /*origin*/) {
    bool reached = false;
    WebNode* target = m_web.addLink(m_source, url, m_source->level() + 1, fetchAnyway, &reached);
    if (reached && m_reached != nullptr) {
        m_reached->push_back(target);
    }
}

} // namespace corvida
