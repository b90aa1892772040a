// SPDX-License-Identifier: MIT
#pragma once

// A StartTag is a "<name ...>" tag: its name exactly as written (the text, see HtmlNode) and
// its attributes in source order. The tag owns its attribute list and destroys it with itself.
// Tags whose names begin "applet" or "object" are made as the subclasses AppletTag and
// ObjectTag, which also know where their code lives.

#include <string_view>

#include "html/HtmlAttribute.h"
#include "html/HtmlNode.h"

namespace corvida {

class StartTag : public HtmlNode {
public:
    explicit StartTag(std::string_view name) : HtmlNode(HtmlNodeKind::StartTag) { setText(name); }
    // Destroys the attributes, first to last.
    ~StartTag() override;

    // The first attribute, or nullptr; the others follow through next().
    HtmlAttribute* firstAttribute() const { return m_firstAttribute; }
    // The first attribute whose name equals name ignoring ASCII case, or nullptr.
    HtmlAttribute* attribute(std::string_view name) const;
    // Appends a new attribute without a value and returns it; the tag owns it.
    HtmlAttribute* addAttribute(std::string_view name);

    // "<name", each attribute's HTML form, ">".
    void write(std::ostream& out) const override;
    // The tag's line, then one line per attribute.
    void dump(std::ostream& out) const override;

private:
    HtmlAttribute* m_firstAttribute = nullptr;
    HtmlAttribute* m_lastAttribute = nullptr;
};

} // namespace corvida
