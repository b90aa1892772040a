// SPDX-License-Identifier: MIT
#pragma once

// An AppletTag is a start tag whose name begins "applet". Besides its attributes it keeps the
// location of the applet's class file (the code URL), which is computed from the "codebase"
// and "code" attributes when the links of the page are extracted, and which the local site
// writer can point somewhere else.

#include <optional>
#include <string_view>

#include "html/StartTag.h"

namespace corvida {

class AppletTag : public StartTag {
public:
    AppletTag(HtmlArena& arena, std::string_view name) : StartTag(arena, name) {}

    // Computes the code URL from the first "codebase" and "code" attributes: the codebase
    // value, a '/' unless it already ends in one, then the code value; the code value alone
    // without a codebase value. Stores it (replacing an earlier one) and returns it, or
    // returns nothing and stores nothing when there is no "code" value. The text lives as
    // long as the document.
    std::optional<std::string_view> computeCodeUrl();
    // The code URL of the last computation, if any.
    std::optional<std::string_view> codeUrl() const { return m_codeUrl; }

    // Points the applet at location, a complete URL: the first "codebase" attribute (if any)
    // gets an empty value and the first "code" attribute (if any) gets location.
    void setCodeUrl(std::string_view location);

protected:
    ~AppletTag() override = default;

private:
    std::optional<std::string_view> m_codeUrl; // in the arena
};

} // namespace corvida
