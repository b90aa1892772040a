// SPDX-License-Identifier: MIT
#include "html/WebLinkSink.h"

#include "model/Web.h"

namespace corvida {

void WebLinkSink::addLink(const CUrl& url, bool fetchAnyway, const LinkOrigin& /*origin*/) {
    m_web.addLink(m_source, url, m_source->level() + 1, fetchAnyway);
}

} // namespace corvida
