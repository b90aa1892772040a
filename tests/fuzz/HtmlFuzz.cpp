// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes read as an HTML page, then every query the crawl and the local
// site writer make of it: title and excerpt at several buffer sizes, link extraction into a
// site graph, rewriting every link through the setters, removing the base tag, writing and
// dumping. Traps when a result leaves its bounds or the node sequence is inconsistent.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "crawl/WebLinkSink.h"
#include "html/AppletTag.h"
#include "html/HtmlDocument.h"
#include "html/LinkExtractor.h"
#include "html/LinkSink.h"
#include "html/ObjectTag.h"
#include "model/Web.h"

namespace {

class RewritingSink : public corvida::LinkSink {
public:
    void addLink(const corvida::CUrl& url, bool /*fetchAnyway*/, const corvida::LinkOrigin& origin) override {
        if (origin.inStyleSheet) {
            return;
        }
        if (origin.attribute != nullptr) {
            origin.attribute->setText(url.url());
        } else if (auto* applet = dynamic_cast<corvida::AppletTag*>(origin.tag)) {
            applet->setCodeUrl(url.url());
        } else if (auto* object = dynamic_cast<corvida::ObjectTag*>(origin.tag)) {
            object->setCodeUrl(url.url());
        }
    }
};

void checkSequence(const corvida::HtmlDocument& document) {
    const corvida::HtmlNode* previous = nullptr;
    for (const corvida::HtmlNode* node = document.firstNode(); node != nullptr; node = node->next()) {
        if (node->prev() != previous || node->kind() == corvida::HtmlNodeKind::Attribute) {
            __builtin_trap();
        }
        previous = node;
    }
    if (previous == nullptr || previous != document.lastNode()) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    corvida::HtmlDocument document = corvida::HtmlDocument::fromBytes(bytes, "http://h/d/p.htm");
    checkSequence(document);
    for (const std::size_t capacity : {0u, 1u, 5u, 18u, 260u}) {
        if ((capacity > 0 && document.title(capacity).size() >= capacity) ||
            (capacity > 0 && document.excerpt(capacity).size() >= capacity)) {
            __builtin_trap();
        }
    }

    corvida::Web web;
    corvida::WebNode* page = web.findOrAddNode(document.documentUrl());
    page->setLevel(0);
    corvida::WebLinkSink sink(web, page);
    corvida::LinkExtractor(document).extract(sink);
    RewritingSink rewriter;
    corvida::LinkExtractor(document).extract(rewriter);
    document.removeBaseTag();
    checkSequence(document);

    std::ostringstream out;
    document.writeAll(out);
    document.dumpAll(out);
    return 0;
}
