// SPDX-License-Identifier: MIT
#include "app/BrowserKind.h"

#include <array>
#include <cstddef>

#include "base/Ascii.h"

namespace corvida {

namespace {

// Indexed by the kind's number.
constexpr std::array<std::string_view, 6> kBrowserNames{
    "None", "NCSA Mosaic", "Lumbra Mosaic", "Netscape Navigator", "Internet Explorer", "Quarterdeck Mosaic",
};

} // namespace

std::string_view browserKindName(BrowserKind kind) {
    const auto index = static_cast<std::int32_t>(kind);
    if (index < 0 || static_cast<std::size_t>(index) >= kBrowserNames.size()) {
        return kBrowserNames[0];
    }
    return kBrowserNames[static_cast<std::size_t>(index)];
}

BrowserKind browserKindFromName(std::string_view name) {
    for (std::size_t i = 0; i < kBrowserNames.size(); ++i) {
        if (equalsIgnoreCase(name, kBrowserNames[i])) {
            return static_cast<BrowserKind>(i);
        }
    }
    return BrowserKind::None;
}

} // namespace corvida
