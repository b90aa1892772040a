// SPDX-License-Identifier: MIT
#pragma once

// CharacterReferences decodes the character references of an attribute value before the value
// becomes a URL: numeric ones ("&#64;", "&#x6D;") and HTML's named ones ("&amp;", "&hellip;"),
// each ended by ';'. The characters come out in UTF-8. A reference that is unknown, that no ';'
// ends, or whose number names no character (0, a surrogate, past U+10FFFF) stays as written,
// and so does every byte outside a reference.

#include <string>
#include <string_view>

namespace corvida {

class CharacterReferences {
public:
    static std::string decode(std::string_view value);
};

} // namespace corvida
