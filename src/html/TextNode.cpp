// SPDX-License-Identifier: MIT
#include "html/TextNode.h"

#include <ostream>

namespace corvida {

void TextNode::write(std::ostream& out) const {
    out << text();
}

void TextNode::dump(std::ostream& out) const {
    dumpLabel(out, "<TEXT NODE>");
    out << '[' << text() << "]\n";
}

} // namespace corvida
