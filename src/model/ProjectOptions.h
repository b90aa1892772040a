// SPDX-License-Identifier: MIT
#pragma once

// ProjectOptions are the per-project choices that a new project copies from the settings and
// that the project file stores first: what to fetch, how deep, what to write when the crawl
// completes, and what was already written.

#include <cstdint>
#include <string>

namespace corvida {

// The start URL of a project that was never crawled; no real URL equals it.
inline constexpr const char* kNoStartUrl = "someuniquestringunlikelytomatchaurl";

struct ProjectOptions {
    std::string startUrl = kNoStartUrl;
    bool autoReport = false;
    bool autoLocalSite = false;
    bool checkExternal = false;
    bool getDocuments = true; // keep document data ("Html")
    bool getPictures = true;
    bool getAudio = true;
    bool getVideo = true;
    std::uint32_t maximumLevel = 0; // 0: unset, taken as 128
    bool localSiteMade = false;
    bool reportMade = false;
};

} // namespace corvida
