// SPDX-License-Identifier: MIT
#include "model/UrlListColumns.h"

#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "model/ColumnEntry.h"
#include "model/Web.h"

namespace corvida {
namespace {

// The other cells are checked through the exports that write them.
TEST(UrlListColumnsTest, ContentTypeByScheme) {
    Web web;
    const auto type = [&web](const std::string& url, const std::string& serverType = {}) {
        WebNode* node = web.findOrAddNode(CUrl(url));
        if (!serverType.empty()) {
            node->url().setMimeIndexByServer(serverType);
        }
        return UrlListColumns::cellText(*node, ColumnEntry::kContentType);
    };
    const std::string longType = "application/x-" + std::string(300, 'z');
    EXPECT_EQ(type("file:///site/p.gif"), "image/gif");
    EXPECT_EQ(type("http://h/cgi", longType), longType.substr(0, 255));
    EXPECT_EQ(type("ftp://h/f.zip"), "file transfer");
    EXPECT_EQ(type("news:comp.lang"), "unknown");
}

// Model tests read no other dates, so the zone is not restored.
TEST(UrlListColumnsTest, DatesInEnglishLocalTimeAndNoneForUnknown) {
    setenv("TZ", "UTC0", 1);
    tzset();
    EXPECT_EQ(UrlListColumns::lastModifiedText(1735689540), "Dec 31, 24 23:59");
    EXPECT_EQ(UrlListColumns::lastModifiedText(-2), "Dec 31, 69 23:59");
    EXPECT_EQ(UrlListColumns::lastModifiedText(-1), "");
    setenv("TZ", "CET-1", 1);
    tzset();
    EXPECT_EQ(UrlListColumns::lastModifiedText(0), "Jan 01, 70 01:00");

    // The same text as the C library writes, over the whole range of times, and only bytes
    // that a find expects a date to hold.
    for (std::int64_t time = -2147483648LL; time <= 2147483647LL; time += 7654321) {
        const std::time_t seconds = static_cast<std::time_t>(time);
        std::tm local{};
        ASSERT_NE(localtime_r(&seconds, &local), nullptr);
        char expected[32];
        ASSERT_GT(std::strftime(expected, sizeof expected, "%b %d, %y %H:%M", &local), 0U);
        const std::string text = UrlListColumns::lastModifiedText(static_cast<std::int32_t>(time));
        EXPECT_EQ(text, expected);
        for (const char c : text) {
            EXPECT_TRUE(UrlListColumns::mayHold(ColumnEntry::kLastModified, c)) << text;
        }
    }
}

} // namespace
} // namespace corvida
