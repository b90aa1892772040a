// SPDX-License-Identifier: MIT
#pragma once

// An HtmlAttribute is one name[=value] of a start tag, kept exactly as written: the name with
// its letter case, the value without its quotes and without entity decoding. The text (see
// HtmlNode) is the value and is absent when the attribute had none or its value could not be
// read. Attributes live in their tag's own list, which the tag owns.

#include <string_view>

#include "html/HtmlNode.h"

namespace corvida {

class HtmlAttribute : public HtmlNode {
public:
    // An attribute without a value; the name is copied into arena.
    HtmlAttribute(HtmlArena& arena, std::string_view name)
        : HtmlNode(HtmlNodeKind::Attribute, arena), m_name(arena.copy(name)) {}

    std::string_view name() const override { return m_name; }
    void setName(std::string_view name) override { m_name = arena().copy(name); }
    // The name, without a virtual call.
    std::string_view attributeName() const { return m_name; }

    // " name" or ` name="value"`. Values are always double-quoted; a '"' inside a value (one
    // read in single quotes, or set by the program) is written as "&quot;" so it cannot end
    // the value early.
    void write(std::ostream& out) const override;
    void dump(std::ostream& out) const override;

protected:
    ~HtmlAttribute() override = default;

private:
    std::string_view m_name;
};

} // namespace corvida
