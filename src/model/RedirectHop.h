// SPDX-License-Identifier: MIT
#pragma once

// A RedirectHop is one redirect answer that a node followed on its way from the URL it was
// asked for: the status code, the Location exactly as the server sent it (possibly relative),
// and the absolute URL it was resolved to and requested next. A node keeps its hops in order
// (WebNode::redirects()); project files store them.

#include <cstdint>
#include <string>

namespace corvida {

struct RedirectHop {
    std::int32_t status = 0;
    std::string location; // as received
    std::string target;   // resolved against the URL that was requested

    bool operator==(const RedirectHop&) const = default;
};

} // namespace corvida
