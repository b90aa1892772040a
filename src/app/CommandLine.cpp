// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <array>
#include <string_view>

#include "base/Ascii.h"

namespace corvida {

namespace {

constexpr std::array<std::string_view, 9> kIgnoredOptions = {
    "/Embedding", "-Embedding", "/Automation", "-Automation", "/p", "/pt", "/dde", "/Register", "/Unregister"};
constexpr std::string_view kNetscapeName = "Netscape";
constexpr std::string_view kExplorerName = "IE3";

enum class Role { File, Ignored, BrowserOption, BrowserName };

bool isBrowserOption(std::string_view argument) {
    return argument == "/B" || argument == "-B";
}

// An empty argument names no file either.
bool isIgnoredOption(std::string_view argument) {
    for (std::string_view option : kIgnoredOptions) {
        if (equalsIgnoreCase(argument, option)) {
            return true;
        }
    }
    return argument.empty();
}

// The role of each argument, so that parse() and withAbsoluteFiles() can never disagree on
// which arguments are files.
std::vector<Role> roles(const std::vector<std::string>& arguments) {
    std::vector<Role> result(arguments.size(), Role::File);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (isBrowserOption(arguments[i])) {
            result[i] = Role::BrowserOption;
            if (i + 1 < arguments.size()) {
                result[++i] = Role::BrowserName;
            }
        } else if (isIgnoredOption(arguments[i])) {
            result[i] = Role::Ignored;
        }
    }
    return result;
}

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
    CommandLine line;
    const std::vector<Role> role = roles(arguments);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        switch (role[i]) {
        case Role::File:
            line.files.push_back(arguments[i]);
            break;
        case Role::BrowserOption:
            if (!line.browserGiven) {
                line.browserGiven = true;
                const bool named = i + 1 < arguments.size();
                const std::string_view name = named ? std::string_view(arguments[i + 1]) : std::string_view();
                line.browser = name == kNetscapeName   ? BrowserKind::NetscapeNavigator
                               : name == kExplorerName ? BrowserKind::InternetExplorer
                                                       : BrowserKind::None;
            }
            break;
        case Role::Ignored:
        case Role::BrowserName:
            break;
        }
    }
    return line;
}

std::vector<std::string> CommandLine::withAbsoluteFiles(const std::vector<std::string>& arguments,
                                                        const std::string& workingDirectory) {
    std::vector<std::string> result = arguments;
    const std::vector<Role> role = roles(arguments);
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (role[i] == Role::File && result[i].front() != '/') {
            const bool slash = !workingDirectory.empty() && workingDirectory.back() == '/';
            result[i] = workingDirectory + (slash ? "" : "/") + result[i];
        }
    }
    return result;
}

} // namespace corvida
