// SPDX-License-Identifier: MIT
#pragma once

// A StartTag is a "<name ...>" tag: its name exactly as written (the text, see HtmlNode) and
// its attributes in source order. The tag's attributes live in the same arena as the tag.
// Tags whose names begin "applet" or "object" are made as the subclasses AppletTag and
// ObjectTag, which also know where their code lives.

#include <string_view>

#include "html/HtmlAttribute.h"
#include "html/HtmlNode.h"

namespace corvida {

class StartTag : public HtmlNode {
public:
    // A tag named name (copied into arena) without attributes.
    StartTag(HtmlArena& arena, std::string_view name) : HtmlNode(HtmlNodeKind::StartTag, arena) { setText(name); }

    // The first attribute, or nullptr; the others follow through next().
    HtmlAttribute* firstAttribute() const { return m_firstAttribute; }
    // The first attribute whose name equals name ignoring ASCII case, or nullptr.
    HtmlAttribute* attribute(std::string_view name) const;
    // Appends a new attribute without a value and returns it.
    HtmlAttribute* addAttribute(std::string_view name);

    // "<name", each attribute's HTML form, ">".
    void write(std::ostream& out) const override;
    // The tag's line, then one line per attribute.
    void dump(std::ostream& out) const override;

protected:
    ~StartTag() override = default;

private:
    HtmlAttribute* m_firstAttribute = nullptr;
    HtmlAttribute* m_lastAttribute = nullptr;
};

} // namespace corvida
