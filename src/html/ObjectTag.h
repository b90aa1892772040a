// SPDX-License-Identifier: MIT
#pragma once

// An ObjectTag is a start tag whose name begins "object". Its code URL is derived from the
// "classid" attribute: a "java:" class (optionally under a "codebase"), a "clsid:" control
// (whose code is the "codebase" package), or any other URL. The local site writer can point
// the code somewhere else.

#include <optional>
#include <string_view>

#include "html/StartTag.h"

namespace corvida {

class ObjectTag : public StartTag {
public:
    ObjectTag(HtmlArena& arena, std::string_view name) : StartTag(arena, name) {}

    // Computes the code URL from the first "classid" value (prefixes compared ignoring case):
    // - "java:C" with a "codebase" value B: B, '/' unless B ends in one, then C; without a
    //   codebase value the whole classid, "java:" included;
    // - "clsid:..." : the "codebase" value; none without one;
    // - anything else: the classid value itself.
    // Stores the result (replacing an earlier one) and returns it; returns nothing and stores
    // nothing when there is no code URL. The text lives as long as the document.
    std::optional<std::string_view> computeCodeUrl();
    // The code URL of the last computation, if any.
    std::optional<std::string_view> codeUrl() const { return m_codeUrl; }

    // Points the object's code at location, a complete URL, by the first "classid" value:
    // "java:" makes the codebase (if any) empty and the classid "java:" + location; "clsid:"
    // gives the codebase (if any) location; any other classid becomes location. Nothing
    // happens without a classid value.
    void setCodeUrl(std::string_view location);

protected:
    ~ObjectTag() override = default;

private:
    std::optional<std::string_view> m_codeUrl; // in the arena
};

} // namespace corvida
