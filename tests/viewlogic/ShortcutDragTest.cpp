// SPDX-License-Identifier: MIT
#include "viewlogic/ShortcutDrag.h"

#include <gtest/gtest.h>

namespace corvida {
namespace {

TEST(ShortcutDragTest, NamesFollowTheTitleOrTheUrl) {
    EXPECT_EQ(ShortcutDrag::name("Site: main/index", "http://h/x.htm", "h"), "Site");
    EXPECT_EQ(ShortcutDrag::name("", "http://h/a/b.htm", "h"), "b.htm");
    EXPECT_EQ(ShortcutDrag::fileName(ShortcutDrag::name("", "http://h/a/b.htm", "h")), "Shortcut to b.htm.URL");
    // A title that happens to begin with "http" is taken like a URL.
    EXPECT_EQ(ShortcutDrag::name("http tips/intro", "http://h/", "h"), "intro");
    // Nothing after the last '/': the host, then a fixed name, never "Shortcut to .URL".
    EXPECT_EQ(ShortcutDrag::name("", "http://example.com/dir/", "example.com"), "example.com");
    EXPECT_EQ(ShortcutDrag::name("/", "", ""), "Shortcut");
    EXPECT_EQ(ShortcutDrag::name("a\tb\x1f"
                                 "c",
                                 "", ""),
              "a_b_c");
}

TEST(ShortcutDragTest, LongNamesAreCutAtACharacterBoundary) {
    std::string title;
    for (int i = 0; i < 60; ++i) {
        title += "\xc3\xa9"; // two bytes each
    }
    title = "x" + title; // the 100th byte is the first of a pair
    const std::string name = ShortcutDrag::name(title, "", "");
    EXPECT_EQ(name.size(), 99u);
    EXPECT_EQ(name.back(), '\xa9');
}

TEST(ShortcutDragTest, FileContentsEndWithAZeroTheSizeCounts) {
    const std::string contents = ShortcutDrag::fileContents("http://h/a b");
    EXPECT_EQ(contents, std::string("[InternetShortcut]\r\nURL=http://h/a b\0", 37));
}

} // namespace
} // namespace corvida
