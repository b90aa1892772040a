// SPDX-License-Identifier: MIT
#include "viewlogic/UrlListOrder.h"

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/CUrl.h"
#include "model/ColumnEntry.h"
#include "model/WebNode.h"

namespace corvida {
namespace {

class UrlListOrderTest : public ::testing::Test {
protected:
    WebNode* add(const std::string& url, std::int32_t size = 0) {
        m_nodes.push_back(std::make_unique<WebNode>(CUrl(url)));
        m_nodes.back()->setSize(size);
        return m_nodes.back().get();
    }

    std::vector<std::unique_ptr<WebNode>> m_nodes;
};

std::vector<std::int32_t> sizes(const std::vector<WebNode*>& rows) {
    std::vector<std::int32_t> result;
    for (const WebNode* node : rows) {
        result.push_back(node->size());
    }
    return result;
}

TEST_F(UrlListOrderTest, FirstClickSortsAscendingAndFurtherClicksOnTheSameColumnReverse) {
    UrlListOrder order;
    EXPECT_EQ(order.sortColumn(), UrlListOrder::kNoColumn);
    EXPECT_EQ(order.click(3), UrlListOrder::Change::Sort);
    EXPECT_TRUE(order.ascending());
    EXPECT_EQ(order.click(3), UrlListOrder::Change::Reverse);
    EXPECT_FALSE(order.ascending());
    EXPECT_EQ(order.click(3), UrlListOrder::Change::Reverse);
    EXPECT_TRUE(order.ascending());
    // Another column starts ascending again, whatever the previous direction.
    order.click(3);
    EXPECT_EQ(order.click(1), UrlListOrder::Change::Sort);
    EXPECT_EQ(order.sortColumn(), 1);
    EXPECT_TRUE(order.ascending());
    order.reset();
    EXPECT_EQ(order.sortColumn(), UrlListOrder::kNoColumn);
    EXPECT_EQ(order.click(1), UrlListOrder::Change::Sort);
}

TEST_F(UrlListOrderTest, SortsEachColumnByItsKey) {
    WebNode* mail = add("mailto:a@b.org");
    WebNode* ftp = add("ftp://host/file.zip");
    WebNode* page = add("http://host/b.htm");
    WebNode* picture = add("http://host/A.gif");
    WebNode* other = add("news:comp.lang");

    std::vector<WebNode*> rows{mail, ftp, page, picture, other};
    UrlListOrder::sort(rows, ColumnEntry::kType, true);
    // other 0, text/html major 1 + 1, image major 2 + 1, mail 10, ftp 11.
    EXPECT_EQ(rows, (std::vector<WebNode*>{other, page, picture, mail, ftp}));

    UrlListOrder::sort(rows, ColumnEntry::kName, true);
    EXPECT_EQ(rows, (std::vector<WebNode*>{ftp, picture, page, mail, other}));
    // A request URL stands for the node's name.
    picture->setRequestUrl("zzz://moved");
    UrlListOrder::sort(rows, ColumnEntry::kName, false);
    EXPECT_EQ(rows.front(), picture);

    // Content type: MIME names for http, scheme names for the rest, letter case ignored.
    UrlListOrder::sort(rows, ColumnEntry::kContentType, true);
    EXPECT_EQ(rows[0], other);                                                   // "???", an unknown scheme
    EXPECT_EQ(rows[1], ftp);                                                     // "FTP"
    EXPECT_EQ(rows[4], page);                                                    // "text/html"
    EXPECT_TRUE(UrlListOrder::less(*picture, *page, ColumnEntry::kContentType)); // image/gif

    // Title: the title, or the URL for nodes without one.
    page->setTitle("Zebra");
    mail->setTitle("apple");
    EXPECT_TRUE(UrlListOrder::less(*page, *mail, ColumnEntry::kTitle)); // byte-wise: 'Z' < 'a'
    EXPECT_TRUE(UrlListOrder::less(*page, *ftp, ColumnEntry::kTitle));  // "Zebra" < "ftp://host/..."
}

TEST_F(UrlListOrderTest, EqualKeysAreEquivalentSoManyTiesSortSafely) {
    // An order that never reports equality is not a strict weak order: std::sort may then run
    // past the range. Thousands of equal Type keys exercise that.
    std::vector<WebNode*> rows;
    std::mt19937 random(7);
    for (int i = 0; i < 5000; ++i) {
        rows.push_back(add(i % 3 == 0 ? "mailto:x@y" : "http://h/" + std::to_string(i) + ".htm",
                           static_cast<std::int32_t>(random() % 4)));
    }
    EXPECT_FALSE(UrlListOrder::less(*rows[0], *rows[3], ColumnEntry::kType));
    EXPECT_FALSE(UrlListOrder::less(*rows[3], *rows[0], ColumnEntry::kType));

    UrlListOrder::sort(rows, ColumnEntry::kType, true);
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), [](const WebNode* a, const WebNode* b) {
        return UrlListOrder::less(*a, *b, ColumnEntry::kType);
    }));
    UrlListOrder::sort(rows, ColumnEntry::kSize, false);
    const std::vector<std::int32_t> descending = sizes(rows);
    EXPECT_TRUE(std::is_sorted(descending.rbegin(), descending.rend()));
    EXPECT_EQ(rows.size(), 5000u);
}

} // namespace
} // namespace corvida
