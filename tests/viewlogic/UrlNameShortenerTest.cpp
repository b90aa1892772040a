// SPDX-License-Identifier: MIT
#include "viewlogic/UrlNameShortener.h"

#include <gtest/gtest.h>

namespace corvida {
namespace {

// Every character 5 pixels wide, about what the list's font gives.
int fiveEach(std::string_view text) {
    return static_cast<int>(text.size()) * 5;
}

TEST(UrlNameShortenerTest, LongUrlKeepsSchemeAndLastSegment) {
    const std::string url = "http://www.example.org/some/rather/deep/folder/page0001.htm"; // 59 characters
    EXPECT_EQ(UrlNameShortener::shorten(url, 150, fiveEach), "http://.../page0001.htm");
    // Narrow enough to fit: unchanged, also exactly at the width less the margin.
    EXPECT_EQ(UrlNameShortener::shorten(url, 59 * 5 + UrlNameShortener::kMargin, fiveEach), url);
    EXPECT_EQ(UrlNameShortener::shorten(url, 59 * 5 + UrlNameShortener::kMargin - 1, fiveEach),
              "http://.../page0001.htm");
}

TEST(UrlNameShortenerTest, UrlsThatCannotBeShortenedStayWhole) {
    // No "//" at all.
    EXPECT_EQ(UrlNameShortener::shorten("mailto:someone.with.a.long.name@example.org", 60, fiveEach),
              "mailto:someone.with.a.long.name@example.org");
    // The last '/' is the second of the two.
    EXPECT_EQ(UrlNameShortener::shorten("http://www.example.org", 40, fiveEach), "http://www.example.org");
    // Shortened, still too wide: the whole text, drawn clipped.
    const std::string url = "http://host/a/averyveryverylongfilename.htm";
    EXPECT_EQ(UrlNameShortener::shorten(url, 100, fiveEach), url);
}

} // namespace
} // namespace corvida
