// SPDX-License-Identifier: MIT
#pragma once

// BrowserKind is the web browser the program talks to when it opens or reads a page. The
// settings keep the kind as a number and the profile stores it by its name.

#include <cstdint>
#include <string_view>

namespace corvida {

enum class BrowserKind : std::int32_t {
    None = 0,
    NcsaMosaic = 1,
    LumbraMosaic = 2,
    NetscapeNavigator = 3,
    InternetExplorer = 4,
    QuarterdeckMosaic = 5,
};

// Returns the profile name of kind ("Netscape Navigator"); a value outside the enumerators
// gives "None". The text is static.
std::string_view browserKindName(BrowserKind kind);

// Returns the kind whose profile name equals name without regard to ASCII letter case, or
// BrowserKind::None when no browser has that name.
BrowserKind browserKindFromName(std::string_view name);

} // namespace corvida
