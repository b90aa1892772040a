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
    explicit TextNode(std::string_view text) : HtmlNode(HtmlNodeKind::Text) { setText(text); }

    // The text, unchanged.
    void write(std::ostream& out) const override;
    void dump(std::ostream& out) const override;
};

} // namespace corvida
