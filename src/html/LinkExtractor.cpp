// SPDX-License-Identifier: MIT
#include "html/LinkExtractor.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "base/Ascii.h"
#include "html/AppletTag.h"
#include "html/CharacterReferences.h"
#include "html/HtmlDocument.h"
#include "html/LinkSink.h"
#include "html/ObjectTag.h"
#include "html/StyleSheetReader.h"

namespace corvida {

namespace {

constexpr bool kFollowed = false;
constexpr bool kFetchAnyway = true;

struct Candidate {
    StartTag* tag;
    HtmlAttribute* attribute;
};

// The candidates of one page, row by row.
struct Candidates {
    std::vector<Candidate> hrefs;
    std::vector<Candidate> sources;
    std::vector<Candidate> backgrounds;
    std::vector<StartTag*> applets;
    std::vector<StartTag*> objects;
    std::vector<Candidate> styles; // a style attribute, or (attribute null) a style block

    void clear() {
        hrefs.clear();
        sources.clear();
        backgrounds.clear();
        applets.clear();
        objects.clear();
        styles.clear();
    }
};

// Kept between pages: growing fresh vectors for every page makes the allocator consolidate
// the page's many small blocks each time. An extraction takes the lists and puts them back,
// so a sink that extracts another page meanwhile simply starts with lists of its own.
thread_local Candidates t_spareCandidates;

} // namespace

LinkExtractor::LinkExtractor(HtmlDocument& document)
    : m_document(document), m_baseDirectory(document.baseUrl().baseDirectory().substr(0, HtmlDocument::kMaxUrlText)) {}

CUrl LinkExtractor::resolveValue(std::string_view value) const {
    // Character references are the markup's, not the URL's: "&amp;" is a '&' of the URL.
    return resolveReference(CharacterReferences::decode(value), m_document.documentUrl(), m_document.baseUrl());
}

CUrl LinkExtractor::resolveReference(std::string_view reference, const CUrl& documentUrl, const CUrl& baseUrl) {
    const std::string_view cut = reference.substr(0, HtmlDocument::kMaxUrlText);
    if (!cut.empty() && cut.front() == '#') {
        // A place in this page: relative to the page itself, whatever the base says.
        std::string text(documentUrl.url().substr(0, HtmlDocument::kMaxUrlText - cut.size()));
        text += cut;
        return CUrl(text);
    }
    if (cut.empty() || cut.front() == '?') {
        // The empty reference is the base itself, without its fragment; a query alone
        // replaces the base's query. Joined to the base's directory, both would name a
        // directory that no page links to.
        std::string_view base = baseUrl.url();
        base = base.substr(0, std::min(base.find_first_of(cut.empty() ? "#" : "?#"), base.size()));
        std::string text(base.substr(0, HtmlDocument::kMaxUrlText - cut.size()));
        text += cut;
        return CUrl(text);
    }
    return CUrl(cut, baseUrl.baseDirectory().substr(0, HtmlDocument::kMaxUrlText));
}

CUrl LinkExtractor::resolveCodeUrl(std::string_view codeUrl) const {
    return CUrl(std::string_view(CharacterReferences::decode(codeUrl)).substr(0, HtmlDocument::kMaxUrlText),
                m_baseDirectory);
}

void LinkExtractor::extract(LinkSink& sink) {
    // One walk collects the candidates of every row; the rows are then handed out in their
    // order. Values are read only when handed out, as separate walks would read them.
    Candidates candidates = std::move(t_spareCandidates);
    candidates.clear();
    auto& [hrefs, sources, backgrounds, applets, objects, styles] = candidates;

    HtmlNode* const scanStart = m_document.linkScanStart();
    bool inHrefScan = false;
    for (HtmlNode* node = m_document.firstNode(); node != nullptr; node = node->next()) {
        inHrefScan = inHrefScan || node == scanStart;
        if (node->kind() != HtmlNodeKind::StartTag) {
            continue;
        }
        auto* tag = static_cast<StartTag*>(node);
        HtmlAttribute* href = nullptr;
        HtmlAttribute* source = nullptr;
        HtmlAttribute* background = nullptr;
        HtmlAttribute* style = nullptr;
        for (HtmlNode* item = tag->firstAttribute(); item != nullptr; item = item->next()) {
            auto* attribute = static_cast<HtmlAttribute*>(item);
            const std::string_view name = attribute->attributeName();
            if (href == nullptr && equalsIgnoreCase(name, "href")) {
                href = attribute;
            } else if (source == nullptr && equalsIgnoreCase(name, "src")) {
                source = attribute;
            } else if (background == nullptr && equalsIgnoreCase(name, "background")) {
                background = attribute;
            } else if (style == nullptr && equalsIgnoreCase(name, "style")) {
                style = attribute;
            }
        }
        if (href != nullptr && inHrefScan) {
            hrefs.push_back({tag, href});
        }
        if (source != nullptr) {
            sources.push_back({tag, source});
        }
        if (background != nullptr) {
            backgrounds.push_back({tag, background});
        }
        if (style != nullptr && style->hasText()) {
            styles.push_back({tag, style});
        }
        if (equalsIgnoreCase(tag->text(), "applet")) {
            applets.push_back(tag);
        } else if (equalsIgnoreCase(tag->text(), "object")) {
            objects.push_back(tag);
        } else if (equalsIgnoreCase(tag->text(), "style")) {
            styles.push_back({tag, nullptr});
        }
    }

    // A page names the same targets again and again (navigation bars, tables of contents),
    // and what a value resolves to depends only on the value and the page, so each distinct
    // value is resolved once. The keys are attribute texts, which live as long as the
    // document even when a sink replaces them.
    std::unordered_map<std::string_view, CUrl> resolved;
    const auto resolvedValue = [this, &resolved](std::string_view value) -> const CUrl& {
        const std::string_view cut = value.substr(0, HtmlDocument::kMaxUrlText);
        auto found = resolved.find(cut);
        if (found == resolved.end()) {
            found = resolved.emplace(cut, resolveValue(cut)).first;
        }
        return found->second;
    };

    for (const std::vector<Candidate>* row : {&hrefs, &sources, &backgrounds}) {
        for (const Candidate& candidate : *row) {
            if (candidate.attribute->hasText()) {
                sink.addLink(resolvedValue(candidate.attribute->text()), kFollowed,
                             LinkOrigin{candidate.tag, candidate.attribute});
            }
        }
    }
    for (StartTag* tag : applets) {
        auto* applet = dynamic_cast<AppletTag*>(tag);
        const std::optional<std::string_view> codeUrl = applet != nullptr ? applet->computeCodeUrl() : std::nullopt;
        if (codeUrl) {
            sink.addLink(resolveCodeUrl(*codeUrl), kFetchAnyway, LinkOrigin{tag, nullptr});
        }
    }
    for (StartTag* tag : objects) {
        auto* object = dynamic_cast<ObjectTag*>(tag);
        const std::optional<std::string_view> codeUrl = object != nullptr ? object->computeCodeUrl() : std::nullopt;
        if (codeUrl) {
            sink.addLink(resolveCodeUrl(*codeUrl), kFetchAnyway, LinkOrigin{tag, nullptr});
        }
        for (const std::string_view name : {"data", "usemap", "name"}) {
            HtmlAttribute* attribute = tag->attribute(name);
            if (attribute != nullptr && attribute->hasText()) {
                sink.addLink(resolvedValue(attribute->text()), kFetchAnyway, LinkOrigin{tag, attribute});
            }
        }
    }
    for (const Candidate& candidate : styles) {
        extractStyleLinks(sink, candidate.tag, candidate.attribute);
    }
    t_spareCandidates = std::move(candidates);
}

void LinkExtractor::extractStyleLinks(LinkSink& sink, StartTag* tag, HtmlAttribute* attribute) const {
    StyleSheetReader reader;
    if (attribute != nullptr) {
        reader.read(CharacterReferences::decode(attribute->text()));
    } else {
        // The block's text may come in several runs, and tags the tokenizer took for markup may
        // stand between them. A block left open ends at the next style tag, so that each
        // block is read once.
        for (HtmlNode* node = tag->next(); node != nullptr; node = node->next()) {
            if (node->kind() == HtmlNodeKind::Text) {
                reader.read(node->text());
            } else if (equalsIgnoreCase(node->name(), "style")) {
                break;
            }
        }
    }
    reader.finish();
    for (const std::string& url : reader.takeUrls()) {
        sink.addLink(resolveReference(url, m_document.documentUrl(), m_document.baseUrl()), kFollowed,
                     LinkOrigin{tag, attribute, true});
    }
}

} // namespace corvida
