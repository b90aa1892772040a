// SPDX-License-Identifier: MIT
#include "model/WebNode.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace corvida {

namespace {

constexpr std::string_view kEscapedLessThan = "&lt;";

// The size field of text i in a text block: its length + 1, or 0 when it is absent.
std::uint32_t sizeField(const char* block, std::size_t i) {
    std::uint32_t size = 0;
    std::memcpy(&size, block + i * sizeof size, sizeof size);
    return size;
}

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

std::optional<std::string_view> WebNode::text(Text which) const {
    if (!m_texts) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(which);
    const std::uint32_t size = sizeField(m_texts.get(), index);
    if (size == 0) {
        return std::nullopt;
    }
    std::size_t offset = kTextCount * sizeof size;
    for (std::size_t i = 0; i < index; ++i) {
        offset += std::max<std::uint32_t>(sizeField(m_texts.get(), i), 1) - 1;
    }
    return std::string_view(m_texts.get() + offset, size - 1);
}

void WebNode::setText(Text which, std::optional<std::string_view> value) {
    if (!m_texts && !value) {
        return;
    }
    // The new block is made whole before the old one goes, since value may lie in it.
    std::array<std::optional<std::string_view>, kTextCount> texts;
    std::size_t bytes = 0;
    bool any = false;
    for (std::size_t i = 0; i < kTextCount; ++i) {
        texts[i] = i == static_cast<std::size_t>(which) ? value : text(static_cast<Text>(i));
        if (texts[i]) {
            bytes += texts[i]->size();
            any = true;
        }
    }
    if (!any) {
        m_texts.reset();
        return;
    }
    auto block = std::make_unique_for_overwrite<char[]>(kTextCount * sizeof(std::uint32_t) + bytes);
    char* cursor = block.get() + kTextCount * sizeof(std::uint32_t);
    for (std::size_t i = 0; i < kTextCount; ++i) {
        const std::uint32_t size = texts[i] ? static_cast<std::uint32_t>(texts[i]->size() + 1) : 0;
        std::memcpy(block.get() + i * sizeof size, &size, sizeof size);
        if (texts[i] && !texts[i]->empty()) {
            std::memcpy(cursor, texts[i]->data(), texts[i]->size());
            cursor += texts[i]->size();
        }
    }
    m_texts = std::move(block);
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
