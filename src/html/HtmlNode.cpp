// SPDX-License-Identifier: MIT
#include "html/HtmlNode.h"

#include <ostream>

namespace corvida {

namespace {

constexpr std::size_t kLabelWidth = 19;

} // namespace

void HtmlNode::linkAfter(HtmlNode* node) {
    m_prev = node;
    m_next = node->m_next;
    if (m_next != nullptr) {
        m_next->m_prev = this;
    }
    node->m_next = this;
}

void HtmlNode::linkBefore(HtmlNode* node) {
    m_next = node;
    m_prev = node->m_prev;
    if (m_prev != nullptr) {
        m_prev->m_next = this;
    }
    node->m_prev = this;
}

void HtmlNode::unlink() {
    if (m_prev != nullptr) {
        m_prev->m_next = m_next;
    }
    if (m_next != nullptr) {
        m_next->m_prev = m_prev;
    }
    m_prev = nullptr;
    m_next = nullptr;
}

void HtmlNode::dumpLabel(std::ostream& out, std::string_view label) {
    out << label;
    for (std::size_t i = label.size(); i < kLabelWidth; ++i) {
        out << ' ';
    }
}

} // namespace corvida
