// SPDX-License-Identifier: MIT
#pragma once

// BrowserClient stands for the web browser the settings name: every action of the program that
// shows a page in a browser goes through openUrl, and Start from Browser reads the browser's
// current page through currentPage. The application owns one client (or none, for kinds that
// have no client), made from the settings at start-up and replaced when a later start names
// another browser. Nothing here waits: work that needs the browser's answer ends in a callback
// on the event loop of the thread that made the client.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/BrowserKind.h"
#include "app/BrowserPage.h"

namespace corvida {

struct Settings;

class BrowserClient {
public:
    using PageCallback = std::function<void(std::optional<BrowserPage> page)>;

    virtual ~BrowserClient() = default;

    // The client of kind, configured by settings: NetscapeNavigator gives the desktop's browser
    // (DesktopBrowserClient), InternetExplorer a Chromium-family browser with its debugging
    // endpoint (DevToolsBrowserClient); other kinds give nullptr, no client.
    static std::unique_ptr<BrowserClient> create(BrowserKind kind, const Settings& settings);

    // Returns the URL a browser may be handed for text: an http, https or file URL as it is
    // (scheme in any letter case), an absolute local path as a file URL; nullopt for anything
    // else, so that no other scheme and no text a browser could take for an option gets through.
    static std::optional<std::string> acceptedUrl(std::string_view text);

    // Opens url (http, https, file, or an absolute local path) in the browser. Returns false
    // when url is refused or the browser could not be reached or started, as far as that is
    // known without waiting; never blocks the event loop for more than a few milliseconds.
    virtual bool openUrl(const std::string& url) = 0;

    // Whether currentPage can ever give a page.
    virtual bool canReadCurrentPage() const = 0;

    // Reads the browser's current page without waiting: done is called exactly once, later
    // (never inside this call), with the page or with nothing, unless the client is destroyed
    // first. Only http, https and file URLs are accepted from the browser.
    virtual void currentPage(PageCallback done) = 0;

    // Asks a browser that this client started to exit; nothing for a browser it did not start.
    virtual void exitIfLaunched() = 0;
};

} // namespace corvida
