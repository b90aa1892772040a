// SPDX-License-Identifier: MIT
#include "html/HtmlAttribute.h"

#include <ostream>

namespace corvida {

void HtmlAttribute::write(std::ostream& out) const {
    out << ' ' << m_name;
    if (!hasText()) {
        return;
    }
    out << "=\"";
    std::string_view value = text();
    for (std::size_t quote = value.find('"'); quote != std::string_view::npos; quote = value.find('"')) {
        out << value.substr(0, quote) << "&quot;";
        value.remove_prefix(quote + 1);
    }
    out << value << '"';
}

void HtmlAttribute::dump(std::ostream& out) const {
    dumpLabel(out, "<ATTRIBUTE>");
    out << '[' << m_name << ']';
    if (hasText()) {
        out << '[' << text() << ']';
    }
    out << '\n';
}

} // namespace corvida
