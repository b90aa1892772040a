// SPDX-License-Identifier: MIT
#pragma once

// BrowserPage is what a browser client reports of the page a browser shows.

#include <string>

namespace corvida {

struct BrowserPage {
    std::string url;   // an http, https or file URL
    std::string title; // as the browser gives it; may be empty

    friend bool operator==(const BrowserPage&, const BrowserPage&) = default;
};

} // namespace corvida
