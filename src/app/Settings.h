// SPDX-License-Identifier: MIT
#pragma once

// Settings is the program's one record of user options: the editor and browser, the
// working directory, the URL list's columns, the network and access options every crawl
// uses, and the project options each new project copies. The application owns it, loads it
// from the user's profile at start-up and saves it back when something changed. The record
// is a plain value: the Customize sheet edits a copy and assigns it back.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/BrowserKind.h"
#include "base/Status.h"
#include "model/ColumnEntry.h"
#include "model/CrawlSettings.h"
#include "model/ProjectOptions.h"

namespace corvida {

class Profile;

struct Settings {
    // Texts keep at most this many bytes; longer stored texts are cut when they are read.
    static constexpr std::size_t kTextLimit = 260;
    // File paths of our own keys keep this many.
    static constexpr std::size_t kPathLimit = 4096;
    static constexpr const char* kDefaultUserAgent = "Mozilla/2.0 (compatible; Vantorix 2.0; Windows 95)";
    static constexpr std::int32_t kDefaultDiskSpaceLimit = 10; // megabytes
    static constexpr std::int32_t kDefaultConnections = 1;
    static constexpr std::int32_t kDefaultConnectionsPerHost = 4;
    static constexpr std::int32_t kMaxConnectionsPerHost = 64;
    static constexpr std::int32_t kMaxHostDelay = 600000; // milliseconds
    static constexpr std::int32_t kDefaultBrowserDebugPort = 9222;

    bool changed = false; // a setting changed since the last save
    std::string editorProgram;
    std::string editorArguments; // may hold "$URL" and "$LOCALFILE"
    BrowserKind browser = BrowserKind::None;
    std::string browserCommand;                               // command line of the browser; empty for the default one
    std::int32_t browserDebugPort = kDefaultBrowserDebugPort; // 1..65535, of a Chromium-family browser
    bool useSound = false;
    bool checkLowDiskSpace = false;
    std::int32_t diskSpaceLimit = kDefaultDiskSpaceLimit;
    std::string workingDirectory; // parent of new projects' working directories
    ColumnTable columns = defaultColumnTable();
    std::string userAgent = kDefaultUserAgent;
    std::string proxyServer; // host, ":" and port
    std::string emailAddress;
    bool useProxy = false;
    std::int32_t networkBufferSize = kDefaultBufferSize; // bytes
    std::int32_t numberOfConnections = kDefaultConnections;
    std::int32_t connectionsPerHost = kDefaultConnectionsPerHost; // 1..kMaxConnectionsPerHost
    std::int32_t hostDelay = 0; // milliseconds between request starts to one host, 0..kMaxHostDelay
    bool askForPassword = false;
    bool useRobotExclusion = false;
    // Trust of https servers: a PEM file of CAs trusted besides the system's (empty: none), and
    // whether certificates go unchecked.
    std::string caFile;
    bool insecureTls = false;
    std::int32_t maximumLevel = 0; // 0: no limit
    bool checkExternal = false;
    bool downloadHtml = false;
    bool downloadPictures = false;
    bool downloadAudio = false;
    bool downloadVideo = false;
    bool autoReport = false;
    bool autoSiteImage = false;

    // Returns the options a new project starts with: the maximum level, check external, the
    // four download choices and the two auto-generate choices. A negative maximum level,
    // which no dialog can set, is taken as no limit.
    ProjectOptions projectOptions() const;

    // Replaces every field with the profile's values; a missing key gives the field's default
    // and a missing WorkingDirectory gives defaultWorkingDirectory. Booleans are true only for
    // the exact text "Yes"; numbers read like atoi (a non-number is 0, out-of-range values are
    // clamped); Browser is matched by name; a BrowserDebugPort outside 1..65535 gives the
    // default. A column table that does not show each column
    // content exactly once is replaced by the built-in table. Leaves changed false.
    void load(const Profile& profile, std::string defaultWorkingDirectory);

    // When changed is set, writes every key to profile and syncs it, then clears changed. OK
    // when there was nothing to save or the save reached the store. On failure changed stays
    // set, so a later save tries again.
    Status save(Profile& profile);

    // The proxy server split at its first ":" into host and port, as the Connection page
    // shows it: without a ":" the host is empty and the port 0.
    std::string proxyHost() const;
    std::int32_t proxyPort() const;

    // Sets the proxy server to host, ":" and port; an empty host keeps the stored proxy.
    void applyProxy(std::string_view host, std::int32_t port);

    // The network buffer size in whole kilobytes of 1024 bytes, as the Connection page edits it.
    // Setting a size too large for the field stores the largest whole number of kilobytes.
    std::int32_t networkBufferKiB() const;
    void setNetworkBufferKiB(std::int32_t kiB);

    // The maximum level as the Project Properties page lists it: its number, or "None" for 0.
    std::string maximumLevelText() const;

    // Takes a choice of that list: "None" in any letter case sets no limit; another text sets
    // its decimal value unless that is 0, which leaves the level as it was.
    void applyMaximumLevelText(std::string_view text);

    friend bool operator==(const Settings&, const Settings&) = default;
};

} // namespace corvida
