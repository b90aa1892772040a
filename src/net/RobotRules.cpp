// SPDX-License-Identifier: MIT
#include "net/RobotRules.h"

#include <fstream>
#include <iterator>

#include "base/Ascii.h"

namespace corvida {

namespace {

constexpr bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trimRight(std::string_view text) {
    while (!text.empty() && isWhiteSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view trimLeft(std::string_view text) {
    while (!text.empty() && isWhiteSpace(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

class Parser {
public:
    using Diagnostic = RobotRules::Diagnostic;
    using PathEntry = RobotRules::PathEntry;

    Parser(int verbosity, std::string_view agent, std::vector<Diagnostic>& diagnostics)
        : m_verbosity(verbosity), m_agent(toLowerAscii(agent)), m_diagnostics(diagnostics) {}

    // Reads the whole text; returns the paths that apply.
    std::vector<PathEntry> run(std::string_view text) {
        std::size_t pos = 0;
        while (pos < text.size() && m_errors < RobotRules::kMaxErrors) {
            // A line longer than kMaxLine bytes is read in pieces, each taken as a line.
            std::size_t end = text.find('\n', pos);
            end = end == std::string_view::npos ? text.size() : end + 1;
            if (end - pos > RobotRules::kMaxLine) {
                end = pos + RobotRules::kMaxLine;
            }
            ++m_line;
            if (!readLine(trimRight(text.substr(pos, end - pos)))) {
                break;
            }
            pos = end;
        }
        return m_own.empty() ? std::move(m_starPaths) : std::move(m_own);
    }

private:
    // Returns false when parsing ends at this line.
    bool readLine(std::string_view line) {
        note(RobotRules::kLevelTrace, "fgets", line);
        const std::size_t hash = line.find('#');
        if (hash != std::string_view::npos) {
            line = trimRight(line.substr(0, hash));
        }
        if (line.empty()) {
            // A blank or comment line ends a record; once ours had paths, nothing more is read.
            if (!m_own.empty()) {
                return false;
            }
            m_ourAgent = false;
            m_starRecord = false;
            return true;
        }

        const std::string_view content = trimLeft(line);
        const std::size_t colon = content.find(':');
        const std::string_view key = content.substr(0, colon);
        bool keyHasSpace = false;
        for (const char c : key) {
            keyHasSpace = keyHasSpace || isWhiteSpace(c);
        }
        if (colon == std::string_view::npos || keyHasSpace) {
            ++m_errors;
            note(RobotRules::kLevelError, "invalid line", line);
            return true;
        }
        const std::string_view value = trimLeft(content.substr(colon + 1));
        note(RobotRules::kLevelTrace, "key", key);
        note(RobotRules::kLevelTrace, "value", value);

        if (equalsIgnoreCase(key, "User-agent")) {
            userAgent(value);
        } else if (equalsIgnoreCase(key, "Disallow")) {
            if (m_ourAgent) {
                addPaths(value, m_own);
            }
            if (m_starRecord) {
                addPaths(value, m_starPaths);
            }
        } else if (m_verbosity >= RobotRules::kLevelError) {
            ++m_errors;
            note(RobotRules::kLevelError, "unexpected key", line);
        }
        return true;
    }

    void userAgent(std::string_view value) {
        if (value.empty()) {
            note(RobotRules::kLevelError, "missing value", "User-Agent");
            return;
        }
        // Without an agent text of its own the program only follows "*" records.
        if (!m_agent.empty() && toLowerAscii(value).find(m_agent) != std::string::npos) {
            m_ourAgent = true;
            note(RobotRules::kLevelTrace, "match", m_agent);
        } else if (value == "*") {
            m_starRecord = true;
            note(RobotRules::kLevelTrace, "match", "*");
        }
    }

    void addPaths(std::string_view value, std::vector<PathEntry>& list) {
        if (value.empty()) {
            list.push_back(PathEntry{std::nullopt, m_line});
            return;
        }
        int added = 0;
        std::size_t pos = 0;
        while (pos < value.size()) {
            while (pos < value.size() && isWhiteSpace(value[pos])) {
                ++pos;
            }
            const std::size_t start = pos;
            while (pos < value.size() && !isWhiteSpace(value[pos])) {
                ++pos;
            }
            const std::string_view token = value.substr(start, pos - start);
            if (token.empty()) {
                break;
            }
            if (token.front() == '/' || token.find(':') != std::string_view::npos) {
                list.push_back(PathEntry{std::string(token), m_line});
                ++added;
            } else {
                note(RobotRules::kLevelError, "malformed URL", token);
            }
        }
        if (added >= 2) {
            note(RobotRules::kLevelWarning, "too many paths on a line", value);
        }
    }

    void note(int level, std::string_view message, std::string_view detail) {
        if (m_verbosity >= level) {
            m_diagnostics.push_back(Diagnostic{m_line, level, std::string(message), std::string(detail)});
        }
    }

    int m_verbosity;
    std::string m_agent;
    std::vector<Diagnostic>& m_diagnostics;
    std::int32_t m_line = 0;
    int m_errors = 0;
    bool m_ourAgent = false;
    bool m_starRecord = false;
    std::vector<PathEntry> m_own;
    std::vector<PathEntry> m_starPaths;
};

} // namespace

std::unique_ptr<RobotRules> RobotRules::parse(std::string_view text, int verbosity, std::string_view agent) {
    std::unique_ptr<RobotRules> rules(new RobotRules());
    rules->m_paths = Parser(verbosity, agent, rules->m_diagnostics).run(text);
    return rules;
}

std::unique_ptr<RobotRules> RobotRules::parseFile(const std::string& path, int verbosity, std::string_view agent) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return nullptr;
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        return nullptr;
    }
    return parse(text, verbosity, agent);
}

bool RobotRules::isAllowed(const RobotRules* rules, std::string_view path) {
    if (rules == nullptr || path.empty()) {
        return true;
    }
    for (const PathEntry& entry : rules->m_paths) {
        if (entry.path && path.starts_with(*entry.path)) {
            return false;
        }
    }
    return true;
}

} // namespace corvida
