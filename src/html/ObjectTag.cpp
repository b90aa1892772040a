// SPDX-License-Identifier: MIT
#include "html/ObjectTag.h"

#include <string>

#include "base/Ascii.h"

namespace corvida {

namespace {

constexpr std::string_view kJavaPrefix = "java:";
constexpr std::string_view kClsidPrefix = "clsid:";

} // namespace

std::optional<std::string_view> ObjectTag::computeCodeUrl() {
    const HtmlAttribute* classid = attribute("classid");
    if (classid == nullptr || !classid->hasText()) {
        return std::nullopt;
    }
    const std::string_view value = classid->text();
    const HtmlAttribute* codebase = attribute("codebase");
    const bool hasCodebase = codebase != nullptr && codebase->hasText();
    std::string url;
    if (startsWithIgnoreCase(value, kJavaPrefix)) {
        if (hasCodebase && codebase->text().empty()) {
            // An empty codebase, which the local site writes for a rewritten class, means the
            // page's own directory, as it does in a browser.
            url = value.substr(kJavaPrefix.size());
        } else if (hasCodebase) {
            url = codebase->text();
            if (url.empty() || url.back() != '/') {
                url += '/';
            }
            url += value.substr(kJavaPrefix.size());
        } else {
            url = value;
        }
    } else if (startsWithIgnoreCase(value, kClsidPrefix)) {
        if (!hasCodebase || codebase->text().empty()) {
            return std::nullopt;
        }
        url = codebase->text();
    } else {
        url = value;
    }
    m_codeUrl = arena().copy(url);
    return m_codeUrl;
}

void ObjectTag::setCodeUrl(std::string_view location) {
    HtmlAttribute* classid = attribute("classid");
    if (classid == nullptr || !classid->hasText()) {
        return;
    }
    HtmlAttribute* codebase = attribute("codebase");
    if (startsWithIgnoreCase(classid->text(), kJavaPrefix)) {
        if (codebase != nullptr) {
            codebase->setText({});
        }
        std::string value(kJavaPrefix);
        value += location;
        classid->setText(value);
    } else if (startsWithIgnoreCase(classid->text(), kClsidPrefix)) {
        if (codebase != nullptr) {
            codebase->setText(location);
        }
    } else {
        classid->setText(location);
    }
}

} // namespace corvida
