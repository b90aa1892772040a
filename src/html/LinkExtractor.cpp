// SPDX-License-Identifier: MIT
#include "html/LinkExtractor.h"

#include "html/AppletTag.h"
#include "html/HtmlDocument.h"
#include "html/LinkSink.h"
#include "html/ObjectTag.h"
#include "html/WebLinkSink.h"

namespace corvida {

namespace {

constexpr bool kFollowed = false;
constexpr bool kFetchAnyway = true;

} // namespace

LinkExtractor::LinkExtractor(HtmlDocument& document)
    : m_document(document), m_baseDirectory(document.baseUrl().baseDirectory().substr(0, HtmlDocument::kMaxUrlText)) {}

CUrl LinkExtractor::resolveValue(std::string_view value) const {
    const std::string_view cut = value.substr(0, HtmlDocument::kMaxUrlText);
    if (!cut.empty() && cut.front() == '#') {
        // A place in this page: relative to the page itself, whatever the base says.
        std::string text(m_document.documentUrl().url().substr(0, HtmlDocument::kMaxUrlText - cut.size()));
        text += cut;
        return CUrl(text);
    }
    return CUrl(cut, m_baseDirectory);
}

CUrl LinkExtractor::resolveCodeUrl(std::string_view codeUrl) const {
    return CUrl(codeUrl.substr(0, HtmlDocument::kMaxUrlText), m_baseDirectory);
}

void LinkExtractor::extractAttribute(std::string_view name, LinkSink& sink) {
    HtmlNode* start = name == "href" ? m_document.linkScanStart() : m_document.firstNode();
    for (StartTag* tag = HtmlDocument::findTagWithAttribute(start, name); tag != nullptr;
         tag = HtmlDocument::findTagWithAttribute(tag->next(), name)) {
        HtmlAttribute* attribute = tag->attribute(name);
        if (attribute->hasText()) {
            sink.addLink(resolveValue(attribute->text()), kFollowed, LinkOrigin{tag, attribute});
        }
    }
}

void LinkExtractor::extract(LinkSink& sink) {
    extractAttribute("href", sink);
    extractAttribute("src", sink);
    extractAttribute("background", sink);

    for (StartTag* tag = HtmlDocument::findStartTag(m_document.firstNode(), "applet"); tag != nullptr;
         tag = HtmlDocument::findStartTag(tag->next(), "applet")) {
        auto* applet = dynamic_cast<AppletTag*>(tag);
        const std::string* codeUrl = applet != nullptr ? applet->computeCodeUrl() : nullptr;
        if (codeUrl != nullptr) {
            sink.addLink(resolveCodeUrl(*codeUrl), kFetchAnyway, LinkOrigin{tag, nullptr});
        }
    }

    for (StartTag* tag = HtmlDocument::findStartTag(m_document.firstNode(), "object"); tag != nullptr;
         tag = HtmlDocument::findStartTag(tag->next(), "object")) {
        auto* object = dynamic_cast<ObjectTag*>(tag);
        const std::string* codeUrl = object != nullptr ? object->computeCodeUrl() : nullptr;
        if (codeUrl != nullptr) {
            sink.addLink(resolveCodeUrl(*codeUrl), kFetchAnyway, LinkOrigin{tag, nullptr});
        }
        for (const std::string_view name : {"data", "usemap", "name"}) {
            HtmlAttribute* attribute = tag->attribute(name);
            if (attribute != nullptr && attribute->hasText()) {
                sink.addLink(resolveValue(attribute->text()), kFetchAnyway, LinkOrigin{tag, attribute});
            }
        }
    }
}

void LinkExtractor::extract(Web& web, WebNode* source) {
    WebLinkSink sink(web, source);
    extract(sink);
}

} // namespace corvida
