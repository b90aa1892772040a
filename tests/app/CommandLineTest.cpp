// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace corvida {
namespace {

using Arguments = std::vector<std::string>;

TEST(CommandLineTest, FilesBrowserAndIgnoredOptions) {
    struct Case {
        Arguments arguments;
        Arguments files;
        bool browserGiven;
        BrowserKind browser;
    };
    const Case cases[] = {
        {{}, {}, false, BrowserKind::None},
        {{"x.zpj"}, {"x.zpj"}, false, BrowserKind::None},
        {{"/B", "IE3"}, {}, true, BrowserKind::InternetExplorer},
        {{"-B", "Netscape", "a.zpj"}, {"a.zpj"}, true, BrowserKind::NetscapeNavigator},
        {{"/B", "netscape"}, {}, true, BrowserKind::None},
        {{"a.zpj", "/B"}, {"a.zpj"}, true, BrowserKind::None},
        {{"/B", "IE3", "-B", "Netscape"}, {}, true, BrowserKind::InternetExplorer},
        // The name after "/B" is never a file, even when it looks like an option.
        {{"/B", "/B", "x.zpj"}, {"x.zpj"}, true, BrowserKind::None},
        {{"/embedding", "-Automation", "/P", "/pt", "/DDE", "/register", "/Unregister", "", "y.zpj"},
         {"y.zpj"},
         false,
         BrowserKind::None},
        // Paths start with '/' too, and "/b" is not the option.
        {{"/b", "/home/me/p.zpj", "-x", "/pt2"}, {"/b", "/home/me/p.zpj", "-x", "/pt2"}, false, BrowserKind::None},
    };
    for (const Case& c : cases) {
        const CommandLine line = CommandLine::parse(c.arguments);
        const std::string where = c.arguments.empty() ? "(none)" : c.arguments.front();
        EXPECT_EQ(line.files, c.files) << where;
        EXPECT_EQ(line.browserGiven, c.browserGiven) << where;
        EXPECT_EQ(line.browser, c.browser) << where;
    }
}

TEST(CommandLineTest, AbsoluteFilesTouchOnlyFileArguments) {
    const Arguments arguments = {"a.zpj", "-B", "rel", "/abs/b.zpj", "/p", "../c d.zpj", ""};
    const Arguments expected = {"/home/me/a.zpj", "-B", "rel", "/abs/b.zpj", "/p", "/home/me/../c d.zpj", ""};
    EXPECT_EQ(CommandLine::withAbsoluteFiles(arguments, "/home/me"), expected);
    EXPECT_EQ(CommandLine::withAbsoluteFiles({"x"}, "/"), Arguments{"/x"});
}

} // namespace
} // namespace corvida
