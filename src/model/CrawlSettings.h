// SPDX-License-Identifier: MIT
#pragma once

// CrawlSettings are everything a crawl of one project works with besides its graph: where its
// files go, where it starts, how it introduces itself to servers, how it reads, and per kind
// of node how deep it goes and what it does with a node (fetch, test, keep). A project file
// stores them with its Web, so a resumed crawl goes on as it began. A plain value: the Web
// holds one, the crawler reads it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvida {

struct ProjectOptions;

// The rows of per-kind crawl limits: a maximum level and an option byte each. Project files
// store the first four.
enum class KindRow { Documents, Pictures, Audio, Video, OtherMedia };
inline constexpr std::size_t kKindRowCount = 5;

// Option byte bits.
inline constexpr std::uint8_t kOptionFetchOnLocalServer = 1;
inline constexpr std::uint8_t kOptionFetchInStartDirectory = 2;
inline constexpr std::uint8_t kOptionFetchAnywhere = 4;
inline constexpr std::uint8_t kOptionNeverFetch = 8;
inline constexpr std::uint8_t kOptionTestLocal = 16;
inline constexpr std::uint8_t kOptionTestAll = 32;
inline constexpr std::uint8_t kOptionKeepCopy = 64;
inline constexpr std::uint8_t kOptionKeepDocumentOrThumbnail = 128;

inline constexpr std::int32_t kDefaultMaximumLevel = 128;
inline constexpr std::uint32_t kDefaultOptionByte = 210;
inline constexpr std::int32_t kDefaultBufferSize = 4096;
inline constexpr std::int32_t kMaxBufferSize = 1 << 20;
inline constexpr const char* kDefaultAccept = "*/*";

struct CrawlSettings {
    // The working directory, kept split: the directory (up to and including the last
    // separator) and the file name after it.
    std::string workingDirectory;
    std::string workingFileName;
    std::string startUrl;
    // Absent texts are empty.
    std::string userAgent;
    std::string proxy;
    std::string emailAddress;
    std::string accept = kDefaultAccept;
    std::int32_t bufferSize = kDefaultBufferSize;
    bool robotsExclusion = false;
    bool alwaysFetch = false;
    std::array<std::int32_t, kKindRowCount> maximumLevels{
        kDefaultMaximumLevel, kDefaultMaximumLevel, kDefaultMaximumLevel, kDefaultMaximumLevel, kDefaultMaximumLevel};
    std::array<std::uint32_t, kKindRowCount> optionBytes{kDefaultOptionByte, kDefaultOptionByte, kDefaultOptionByte,
                                                         kDefaultOptionByte, kDefaultOptionByte};

    std::int32_t maximumLevel(KindRow row) const { return maximumLevels[static_cast<std::size_t>(row)]; }
    std::uint32_t optionByte(KindRow row) const { return optionBytes[static_cast<std::size_t>(row)]; }

    // Splits path into workingDirectory and workingFileName at its last separator ('/' or
    // '\', not the first byte); without one the whole text is the directory.
    void setWorkingDirectory(std::string_view path);
    // Sets the per-kind levels and option bytes from the project's options.
    void applyProjectOptions(const ProjectOptions& options);
};

} // namespace corvida
