// SPDX-License-Identifier: MIT
#pragma once

// RobotRules is what a site's robots.txt says about this program: the path prefixes it
// must not fetch, with the line each came from, and the parser's diagnostics. The crawl
// parses a site's file once with its own user-agent text, keeps the rules until the
// project closes, and asks isAllowed() for every node.
//
// The paths come from the records whose User-agent value contains the whole agent text
// (ignoring case) when there are any, else from the "*" records. Parsing never fails: an
// invalid line is counted and skipped, and parsing gives up after 30 of them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvida {

class RobotRules {
public:
    // Diagnostic levels; a diagnostic is recorded when the verbosity is at least its level.
    static constexpr int kLevelError = 1;
    static constexpr int kLevelWarning = 2;
    static constexpr int kLevelTrace = 4;

    // Lines are read in pieces of at most this many bytes, line end included.
    static constexpr std::size_t kMaxLine = 4094;
    // Parsing stops once this many invalid lines were seen.
    static constexpr int kMaxErrors = 30;

    struct PathEntry {
        // nullopt for a Disallow line without a value: it excludes nothing.
        std::optional<std::string> path;
        std::int32_t line = 0;
    };

    struct Diagnostic {
        std::int32_t line = 0;
        int level = 0;
        std::string message;
        std::string detail;
    };

    // Parses the text of a robots.txt for the agent text (empty: only "*" records apply).
    // Never returns nullptr.
    static std::unique_ptr<RobotRules> parse(std::string_view text, int verbosity, std::string_view agent);

    // Parses the file at path; nullptr when it cannot be read, which means no rules.
    static std::unique_ptr<RobotRules> parseFile(const std::string& path, int verbosity, std::string_view agent);

    // Returns false when path (the part of a URL after its host, "/" at least) begins with
    // an excluded path, byte for byte. No rules (nullptr) or an empty path: allowed.
    static bool isAllowed(const RobotRules* rules, std::string_view path);

    const std::vector<PathEntry>& paths() const { return m_paths; }
    const std::vector<Diagnostic>& diagnostics() const { return m_diagnostics; }

private:
    RobotRules() = default;

    std::vector<PathEntry> m_paths;
    std::vector<Diagnostic> m_diagnostics;
};

} // namespace corvida
