// SPDX-License-Identifier: MIT
#include "html/AppletTag.h"

#include <string>

namespace corvida {

std::optional<std::string_view> AppletTag::computeCodeUrl() {
    const HtmlAttribute* code = attribute("code");
    if (code == nullptr || !code->hasText()) {
        return std::nullopt;
    }
    const HtmlAttribute* codebase = attribute("codebase");
    std::string url;
    // An empty codebase, which the local site writes for a rewritten code URL, means the
    // page's own directory, as it does in a browser.
    if (codebase != nullptr && codebase->hasText() && !codebase->text().empty()) {
        url = codebase->text();
        if (url.empty() || url.back() != '/') {
            url += '/';
        }
    }
    url += code->text();
    m_codeUrl = arena().copy(url);
    return m_codeUrl;
}

void AppletTag::setCodeUrl(std::string_view location) {
    if (HtmlAttribute* codebase = attribute("codebase")) {
        codebase->setText({});
    }
    if (HtmlAttribute* code = attribute("code")) {
        code->setText(location);
    }
}

} // namespace corvida
