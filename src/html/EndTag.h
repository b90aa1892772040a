// SPDX-License-Identifier: MIT
#pragma once

// An EndTag is a "</name" tag. Its text is the name exactly as written; it carries no
// attributes, and anything between its name and the closing '>' stays in the following text.

#include <string_view>

#include "html/HtmlNode.h"

namespace corvida {

class EndTag : public HtmlNode {
public:
    // An end tag named name, copied into arena.
    EndTag(HtmlArena& arena, std::string_view name) : HtmlNode(HtmlNodeKind::EndTag, arena) { setText(name); }

    // "</name>".
    void write(std::ostream& out) const override;
    void dump(std::ostream& out) const override;

protected:
    ~EndTag() override = default;
};

} // namespace corvida
