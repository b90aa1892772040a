// SPDX-License-Identifier: MIT
#include "html/StartTag.h"

#include <ostream>

#include "model/Ascii.h"

namespace corvida {

StartTag::~StartTag() {
    HtmlNode* attribute = m_firstAttribute;
    while (attribute != nullptr) {
        HtmlNode* following = attribute->next();
        delete attribute;
        attribute = following;
    }
}

HtmlAttribute* StartTag::attribute(std::string_view name) const {
    for (HtmlNode* node = m_firstAttribute; node != nullptr; node = node->next()) {
        if (equalsIgnoreCase(node->name(), name)) {
            return static_cast<HtmlAttribute*>(node);
        }
    }
    return nullptr;
}

HtmlAttribute* StartTag::addAttribute(std::string_view name) {
    auto* attribute = new HtmlAttribute(name);
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
