// SPDX-License-Identifier: MIT
#include "model/WebNode.h"

#include <utility>

namespace corvida {

namespace {

constexpr std::string_view kEscapedLessThan = "&lt;";

std::string escapeLessThan(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '<') {
            escaped += kEscapedLessThan;
        } else {
            escaped.push_back(c);
        }
    }
    return escaped;
}

} // namespace

WebNode::WebNode(const CUrl& url) : m_url(url) {}

const std::string* WebNode::text(Text which) const {
    if (!m_texts) {
        return nullptr;
    }
    const std::optional<std::string>& value = (*m_texts)[static_cast<std::size_t>(which)];
    return value ? &*value : nullptr;
}

std::string_view WebNode::textOrEmpty(Text which) const {
    const std::string* value = text(which);
    return value ? std::string_view(*value) : std::string_view();
}

void WebNode::setText(Text which, std::optional<std::string_view> value) {
    if (!m_texts) {
        if (!value) {
            return;
        }
        m_texts = std::make_unique<Texts>();
    }
    std::optional<std::string>& slot = (*m_texts)[static_cast<std::size_t>(which)];
    if (value) {
        slot.emplace(*value);
    } else {
        slot.reset();
    }
}

void WebNode::setExcerpt(std::string_view excerpt) {
    setText(Text::Excerpt, escapeLessThan(excerpt));
}

void WebNode::setStatus(std::int32_t httpStatus, std::string_view reason, std::string_view detail) {
    m_httpStatus = httpStatus;
    setText(Text::StatusText, reason.empty() ? std::nullopt : std::optional<std::string_view>(escapeLessThan(reason)));
    setText(Text::StatusDetail,
            detail.empty() ? std::nullopt : std::optional<std::string_view>(escapeLessThan(detail)));
}

bool WebNode::isBroken() const {
    return NodeTally::isBroken(m_flags) != 0;
}

const std::vector<RedirectHop>& WebNode::redirects() const {
    static const std::vector<RedirectHop> none;
    return m_redirects ? *m_redirects : none;
}

bool WebNode::addRedirect(RedirectHop hop) {
    if (!m_redirects) {
        m_redirects = std::make_unique<std::vector<RedirectHop>>();
    }
    if (m_redirects->size() >= kMaxRedirectHops) {
        return false;
    }
    m_redirects->push_back(std::move(hop));
    return true;
}

void WebNode::setTally(NodeTally* tally) {
    if (m_tally != nullptr) {
        m_tally->change(m_flags, 0);
    }
    m_tally = tally;
    if (m_tally != nullptr) {
        m_tally->change(0, m_flags);
    }
}

void WebNode::setPicture(std::int32_t width, std::int32_t height, std::int32_t depth) {
    m_pictureWidth = width;
    m_pictureHeight = height;
    m_pictureDepth = depth;
}

void WebNode::setThumbnail(std::int32_t width, std::int32_t height, std::int32_t depth) {
    m_thumbnailWidth = width;
    m_thumbnailHeight = height;
    m_thumbnailDepth = depth;
}

} // namespace corvida
