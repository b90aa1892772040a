// SPDX-License-Identifier: MIT
#include "html/StartTag.h"

#include <ostream>

#include "base/Ascii.h"

namespace corvida {

HtmlAttribute* StartTag::attribute(std::string_view name) const {
    for (HtmlNode* node = m_firstAttribute; node != nullptr; node = node->next()) {
        auto* attribute = static_cast<HtmlAttribute*>(node);
        if (equalsIgnoreCase(attribute->attributeName(), name)) {
            return attribute;
        }
    }
    return nullptr;
}

HtmlAttribute* StartTag::addAttribute(std::string_view name) {
    auto* attribute = arena().make<HtmlAttribute>(arena(), name);
    if (m_lastAttribute == nullptr) {
        m_firstAttribute = attribute;
    } else {
        attribute->linkAfter(m_lastAttribute);
    }
    m_lastAttribute = attribute;
    return attribute;
}

void StartTag::write(std::ostream& out) const {
    out << '<' << text();
    for (const HtmlNode* node = m_firstAttribute; node != nullptr; node = node->next()) {
        node->write(out);
    }
    out << '>';
}

void StartTag::dump(std::ostream& out) const {
    dumpLabel(out, "<START TAG>");
    out << '[' << text() << "]\n";
    for (const HtmlNode* node = m_firstAttribute; node != nullptr; node = node->next()) {
        node->dump(out);
    }
}

} // namespace corvida
