// SPDX-License-Identifier: MIT
#include "html/AppletTag.h"

namespace corvida {

const std::string* AppletTag::computeCodeUrl() {
    const HtmlAttribute* code = attribute("code");
    if (code == nullptr || !code->hasText()) {
        return nullptr;
    }
    const HtmlAttribute* codebase = attribute("codebase");
    std::string url;
    if (codebase != nullptr && codebase->hasText()) {
        url = codebase->text();
        if (url.empty() || url.back() != '/') {
            url += '/';
        }
    }
    url += code->text();
    m_codeUrl = std::move(url);
    return &*m_codeUrl;
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
