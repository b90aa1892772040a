// SPDX-License-Identifier: MIT
#include "model/Web.h"

#include <algorithm>

#include "base/Ascii.h"

namespace corvida {

namespace {

// What follows a URL's "://", or the whole text without one.
std::string_view afterScheme(std::string_view url) {
    const std::size_t mark = url.find("://");
    return mark == std::string_view::npos ? url : url.substr(mark + 3);
}

// url's base directory starts with the start URL's, ignoring case, over the latter's length.
// http and https serve one site, so between the two the scheme is not compared.
bool isInsideDirectory(const CUrl& url, const CUrl& start) {
    if (url.isHttp() && start.isHttp()) {
        return startsWithIgnoreCase(afterScheme(url.baseDirectory()), afterScheme(start.baseDirectory()));
    }
    return startsWithIgnoreCase(url.baseDirectory(), start.baseDirectory());
}

} // namespace

Web::Web(WebListener* listener) : m_listener(listener) {
    if (m_listener == nullptr) {
        m_ownedListener = std::make_unique<WebListener>();
        m_listener = m_ownedListener.get();
    }
}

Web::Web(CrawlSettings settings, WebListener* listener) : Web(listener) {
    m_settings = std::move(settings);
}

Web::~Web() {
    m_listener->destroy();
}

WebNode* Web::findNode(const CUrl& url) const {
    return m_index.find(url);
}

WebNode* Web::findOrAddNode(const CUrl& url) {
    if (WebNode* node = findNode(url)) {
        return node;
    }
    WebNode* node = adopt(std::make_unique<WebNode>(url));
    classifyAndNumber(node);
    return node;
}

WebNode* Web::adopt(std::unique_ptr<WebNode> node) {
    WebNode* adopted = m_owned.emplace_back(std::move(node)).get();
    m_index.insert(adopted);
    m_order.push(adopted);
    adopted->setTally(&m_tally);
    return adopted;
}

WebNode* Web::adoptLoadedNode(std::unique_ptr<WebNode> node) {
    if (findNode(node->url()) != nullptr) {
        return nullptr;
    }
    WebNode* adopted = adopt(std::move(node));
    const std::int32_t number = adopted->number();
    if (number >= 0 && static_cast<std::size_t>(number) < m_owned.size() * 2 + 1024) {
        if (m_byNumber.size() <= static_cast<std::size_t>(number)) {
            m_byNumber.resize(static_cast<std::size_t>(number) + 1, nullptr);
        }
        if (m_byNumber[static_cast<std::size_t>(number)] == nullptr) {
            m_byNumber[static_cast<std::size_t>(number)] = adopted;
        }
    }
    return adopted;
}

WebNode* Web::nodeByNumber(std::int32_t number) const {
    if (number < 0 || static_cast<std::size_t>(number) >= m_byNumber.size()) {
        return nullptr;
    }
    return m_byNumber[static_cast<std::size_t>(number)];
}

WebNode* Web::addLink(WebNode* from, const CUrl& url, std::int32_t level, bool fetchAnyway, bool* reached) {
    WebNode* target = nullptr;
    if (url.url().find('#') == std::string_view::npos) {
        target = findOrAddNode(url);
    } else {
        CUrl stripped(url);
        stripped.stripFragment();
        target = findOrAddNode(stripped);
    }
    if (fetchAnyway) {
        target->markFetchAnyway();
    }
    if (target->level() < 0) {
        target->setLevel(level);
        if (level > m_highestLevel) {
            m_highestLevel = level;
        }
        m_listener->nodeAdded(target, true, from);
        if (reached != nullptr) {
            *reached = true;
        }
    } else if (reached != nullptr) {
        *reached = false;
    }
    WebNode* linked = target;
    if (target->hasAnyFlag(kFlagStartAlias) && m_startNode != nullptr) {
        if (from != target && from != nullptr && target->linkIn(from)) {
            m_listener->linksChanged(target);
        }
        linked = m_startNode;
    }
    if (from != nullptr && from != linked) {
        from->linkOut(linked);
        if (linked->linkIn(from)) {
            m_listener->linksChanged(linked);
        }
    }
    return target;
}

void Web::placeOnSite(WebNode* node) const {
    if (m_startNode == nullptr) {
        return;
    }
    const std::uint32_t schemeBits = node->flags() & (kFlagFile | kFlagHttp);
    if (schemeBits == 0 || !m_startNode->hasAnyFlag(schemeBits)) {
        return;
    }
    const CUrl& url = node->url();
    bool local = equalsIgnoreCase(url.host(), m_startNode->url().host());
    for (const CUrl& extra : m_extraStartUrls) {
        local = local || equalsIgnoreCase(url.host(), extra.host());
    }
    if (!local) {
        return;
    }
    node->setFlags(kFlagLocalServer);
    bool inside = isInsideDirectory(url, m_startNode->url());
    for (const CUrl& extra : m_extraStartUrls) {
        inside = inside || isInsideDirectory(url, extra);
    }
    if (inside) {
        node->setFlags(kFlagInStartDirectory);
    }
}

void Web::classifyAndNumber(WebNode* node) {
    const CUrl& url = node->url();
    if (url.isFile()) {
        node->setFlags(kFlagFile);
    } else if (url.isHttp()) {
        node->setFlags(kFlagHttp);
    }
    placeOnSite(node);
    node->setNumber(m_nextNodeNumber++);
    if (m_byNumber.size() <= static_cast<std::size_t>(node->number())) {
        m_byNumber.resize(static_cast<std::size_t>(node->number()) + 1, nullptr);
    }
    m_byNumber[static_cast<std::size_t>(node->number())] = node;

    if (url.isPicture()) {
        node->setFlags(kFlagPicture);
        countKind(NodeKind::Picture, 1);
    } else if (url.isDocument()) {
        node->setFlags(kFlagDocument);
        countKind(NodeKind::Document, 1);
    } else if (url.isAudio()) {
        node->setFlags(kFlagAudio);
        countKind(NodeKind::Audio, 1);
    } else if (url.isVideo()) {
        node->setFlags(kFlagVideo);
        countKind(NodeKind::Video, 1);
    } else if (url.isFtp()) {
        node->setFlags(kFlagFtp | kFlagProcessed);
        countKind(NodeKind::Ftp, 1);
    } else if (url.isGopher()) {
        node->setFlags(kFlagGopher | kFlagProcessed);
        countKind(NodeKind::Gopher, 1);
    } else if (url.isMailto()) {
        node->setFlags(kFlagMail | kFlagProcessed);
        countKind(NodeKind::Mail, 1);
    } else {
        node->setFlags(kFlagOther);
        countKind(NodeKind::Other, 1);
    }
}

void Web::reclassifyByServerType(WebNode* node) {
    node->clearFlags(kFlagOther | kFlagProcessed | kFlagTypePending | kFlagTypeLearnedByFetch);
    const CUrl& url = node->url();
    NodeKind kind = NodeKind::Other;
    if (url.isPicture()) {
        node->setFlags(kFlagPicture);
        kind = NodeKind::Picture;
    } else if (url.isDocument()) {
        node->setFlags(kFlagDocument);
        kind = NodeKind::Document;
    } else if (url.isAudio()) {
        node->setFlags(kFlagAudio);
        kind = NodeKind::Audio;
    } else if (url.isVideo()) {
        node->setFlags(kFlagVideo);
        kind = NodeKind::Video;
    } else {
        node->setFlags(kFlagOther);
    }
    if (kind != NodeKind::Other) {
        countKind(kind, 1);
        countKind(NodeKind::Other, -1);
    }
}

void Web::makeAliasOfStartNode(WebNode* node) {
    m_listener->aliasFound(node);
    node->setFlags(kFlagStartAlias);
    for (WebNode* source : node->inNeighbours().sorted()) {
        // The start page's own link to its alias adds no self-link.
        if (source != nullptr && source != m_startNode) {
            m_startNode->linkIn(source);
        }
    }
    m_listener->linksChanged(m_startNode);
}

void Web::countKind(NodeKind kind, int delta) {
    m_counters[static_cast<std::size_t>(kind)] += static_cast<std::uint32_t>(delta);
}

} // namespace corvida
