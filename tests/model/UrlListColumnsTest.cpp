// SPDX-License-Identifier: MIT
#include "model/UrlListColumns.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "model/ColumnEntry.h"
#include "model/Web.h"

namespace corvida {
namespace {

// Dates are shown in local time: the tests run in UTC and put the zone back afterwards.
class UrlListColumnsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* zone = std::getenv("TZ")) {
            m_savedZone = zone;
        }
        setenv("TZ", "UTC0", 1);
        tzset();
    }
    void TearDown() override {
        if (m_savedZone) {
            setenv("TZ", m_savedZone->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> m_savedZone;
};

std::string cell(const WebNode& node, std::int32_t column) {
    return UrlListColumns::cellText(node, column);
}

TEST_F(UrlListColumnsTest, ContentTypeByScheme) {
    Web web;
    WebNode* page = web.findOrAddNode(CUrl("http://h/a.htm"));
    WebNode* local = web.findOrAddNode(CUrl("file:///site/p.gif"));
    WebNode* served = web.findOrAddNode(CUrl("http://h/cgi"));
    served->url().setMimeIndexByServer("application/x-" + std::string(300, 'z'));
    EXPECT_EQ(cell(*page, ColumnEntry::kContentType), "text/html");
    EXPECT_EQ(cell(*local, ColumnEntry::kContentType), "image/gif");
    EXPECT_EQ(cell(*served, ColumnEntry::kContentType), ("application/x-" + std::string(300, 'z')).substr(0, 255));
    EXPECT_EQ(cell(*web.findOrAddNode(CUrl("ftp://h/f.zip")), ColumnEntry::kContentType), "file transfer");
    EXPECT_EQ(cell(*web.findOrAddNode(CUrl("gopher://h/1")), ColumnEntry::kContentType), "gopher");
    EXPECT_EQ(cell(*web.findOrAddNode(CUrl("mailto:x@h")), ColumnEntry::kContentType), "mail");
    EXPECT_EQ(cell(*web.findOrAddNode(CUrl("news:comp.lang")), ColumnEntry::kContentType), "unknown");
}

// The other cells are checked through the exports that write them.
TEST_F(UrlListColumnsTest, DatesInEnglishLocalTimeAndNoneForUnknown) {
    EXPECT_EQ(UrlListColumns::lastModifiedText(820837200), "Jan 05, 96 10:20");
    EXPECT_EQ(UrlListColumns::lastModifiedText(1735689540), "Dec 31, 24 23:59");
    EXPECT_EQ(UrlListColumns::lastModifiedText(-2), "Dec 31, 69 23:59");
    EXPECT_EQ(UrlListColumns::lastModifiedText(-1), "");
    setenv("TZ", "CET-1", 1);
    tzset();
    EXPECT_EQ(UrlListColumns::lastModifiedText(0), "Jan 01, 70 01:00");
}

} // namespace
} // namespace corvida
