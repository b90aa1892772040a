// SPDX-License-Identifier: MIT
#pragma once

// A TextNode holds the raw bytes between two tags: text, but also everything the tokenizer
// does not take for a tag (comments, declarations, script bodies, a lone '<'). Its text is
// never absent, though it may be empty.

#include <string_view>

#include "html/HtmlNode.h"

namespace corvida {

class TextNode : public HtmlNode {
public:
    // A text run of a copy of text, kept in arena.
    TextNode(HtmlArena& arena, std::string_view text) : HtmlNode(HtmlNodeKind::Text, arena) { setText(text); }

    // The text, unchanged.
    void write(std::ostream& out) const override;
    void dump(std::ostream& out) const override;

protected:
    ~TextNode() override = default;
};

} // namespace corvida
