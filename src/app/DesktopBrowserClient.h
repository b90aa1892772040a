// SPDX-License-Identifier: MIT
#pragma once

// DesktopBrowserClient shows pages in the desktop's browser: the browser command of the
// settings when one is set, else the desktop's default browser for the URL. It cannot read
// the page a browser shows, so Start from Browser falls back to the clipboard with it.

#include <string>
#include <vector>

#include "app/BrowserClient.h"

namespace corvida {

class DesktopBrowserClient : public BrowserClient {
public:
    // command: a command line as the user typed it ("firefox --new-tab %u"); empty for the
    // desktop's default browser.
    explicit DesktopBrowserClient(std::string command);

    // The program and arguments that open url with command: the command split as a command
    // line, "%u", "%U" or "%1" in an argument replaced by url, else url added as the last
    // argument. Empty when command holds no program.
    static std::vector<std::string> commandLine(const std::string& command, const std::string& url);

    // Starts the command (detached, no shell), or asks the desktop to open the URL. False when
    // url is refused or the program could not be started.
    bool openUrl(const std::string& url) override;
    bool canReadCurrentPage() const override { return false; }
    // Always reports nothing, later.
    void currentPage(PageCallback done) override;
    // The browser is the desktop's and never this client's: nothing to do.
    void exitIfLaunched() override {}

private:
    std::string m_command;
};

} // namespace corvida
