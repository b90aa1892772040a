// SPDX-License-Identifier: MIT
#include "html/EndTag.h"

#include <ostream>

namespace corvida {

void EndTag::write(std::ostream& out) const {
    out << "</" << text() << '>';
}

void EndTag::dump(std::ostream& out) const {
    dumpLabel(out, "<END   TAG>");
    out << '[' << text() << "]\n";
}

} // namespace corvida
