// SPDX-License-Identifier: MIT
#include "viewlogic/UrlListCellSearch.h"

#include <string>

#include <gtest/gtest.h>

#include "base/Ascii.h"
#include "model/UrlListColumns.h"
#include "model/Web.h"
#include "viewlogic/TextNeedle.h"

namespace corvida {
namespace {

// The reference rule: ASCII letters folded, every other byte exact.
bool naiveContains(std::string_view cell, std::string_view text, bool matchCase) {
    if (text.empty()) {
        return false;
    }
    const std::string a = matchCase ? std::string(cell) : toLowerAscii(cell);
    const std::string b = matchCase ? std::string(text) : toLowerAscii(text);
    return a.find(b) != std::string::npos;
}

TEST(TextNeedleTest, CaseRulesAndEveryPlaceInLongCells) {
    EXPECT_TRUE(TextNeedle("a alp", false).foundIn("Gamma ALPHA"));
    EXPECT_FALSE(TextNeedle("a alp", true).foundIn("Gamma ALPHA"));
    EXPECT_TRUE(TextNeedle("CAF\xe9", false).foundIn("caf\xe9"));
    EXPECT_FALSE(TextNeedle("CAF\xc9", false).foundIn("caf\xe9")); // only ASCII letters fold
    EXPECT_FALSE(TextNeedle("", false).foundIn("anything"));
    EXPECT_FALSE(TextNeedle("@", false).foundIn("`")); // '@' | 0x20 is '`': no fold for non-letters

    // The text at every place of cells longer than a block, near misses all around it.
    for (const bool matchCase : {false, true}) {
        for (const std::string text : {"x", "Ab", "a.Z", "item999999.", "\xc3\xa9t\xc3\xa9"}) {
            const TextNeedle needle(text, matchCase);
            for (std::size_t length = 0; length < 70; ++length) {
                std::string cell(length, 'a');
                for (std::size_t i = 0; i < length; ++i) {
                    cell[i] = "aAbB.zZ9\xc3"[i % 9];
                }
                EXPECT_EQ(needle.foundIn(cell), naiveContains(cell, text, matchCase)) << cell;
                for (std::size_t at = 0; at + text.size() <= length; ++at) {
                    std::string placed = cell;
                    placed.replace(at, text.size(), matchCase ? text : toLowerAscii(text));
                    EXPECT_TRUE(needle.foundIn(placed)) << placed;
                    placed[at + text.size() - 1] ^= 0x01;
                    EXPECT_EQ(needle.foundIn(placed), naiveContains(placed, text, matchCase)) << placed;
                }
            }
        }
    }
}

class UrlListCellSearchTest : public ::testing::Test {
protected:
    UrlListCellSearchTest() : m_node(m_web.findOrAddNode(CUrl("http://h/Page-12.html"))) {
        m_node->setSize(2048);
        m_node->setLevel(3);
        m_node->setTitle("Twelve Pages");
    }

    // Whether the search finds text in the cell of column id, and whether it agrees with the
    // cell text the list shows.
    bool found(std::string_view text, std::int32_t columnId, bool matchCase = false) {
        UrlListCellSearch search(text, matchCase, m_columns);
        const std::size_t entry = entryOf(columnId);
        const bool shown = naiveContains(UrlListColumns::cellText(*m_node, columnId), text, matchCase);
        const bool answer = search.searched()[entry] && search.matches(*m_node, entry);
        EXPECT_EQ(answer, shown) << text << " in column " << columnId;
        return answer;
    }

    std::size_t entryOf(std::int32_t columnId) const {
        for (std::size_t entry = 0; entry < kColumnCount; ++entry) {
            if (m_columns[entry].columnId == columnId) {
                return entry;
            }
        }
        return kColumnCount;
    }

    Web m_web;
    WebNode* m_node;
    ColumnTable m_columns = defaultColumnTable();
};

TEST_F(UrlListCellSearchTest, ColumnsThatCannotHoldTheTextAreNotSearched) {
    const auto searched = [this](std::string_view text, bool matchCase = false) {
        return UrlListCellSearch(text, matchCase, m_columns).searched();
    };
    EXPECT_FALSE(searched("page")[entryOf(ColumnEntry::kSize)]);
    EXPECT_TRUE(searched("-12")[entryOf(ColumnEntry::kSize)]);
    EXPECT_FALSE(searched("12")[entryOf(ColumnEntry::kType)]);
    EXPECT_TRUE(searched("DEC 0")[entryOf(ColumnEntry::kLastModified)]);
    EXPECT_FALSE(searched("DEC 0", true)[entryOf(ColumnEntry::kLastModified)]);
    EXPECT_FALSE(searched("Jan 0x")[entryOf(ColumnEntry::kLastModified)]);
    EXPECT_FALSE(searched("")[entryOf(ColumnEntry::kName)]);
    m_columns[entryOf(ColumnEntry::kTitle)].shown = 0;
    EXPECT_FALSE(searched("twelve")[entryOf(ColumnEntry::kTitle)]);
}

TEST_F(UrlListCellSearchTest, CellsAgreeWithTheListTextsAfterTheyChange) {
    setenv("TZ", "UTC0", 1);
    tzset();
    EXPECT_TRUE(found("page-12", ColumnEntry::kName));
    EXPECT_FALSE(found("page-12", ColumnEntry::kName, true));
    EXPECT_TRUE(found("04", ColumnEntry::kSize));
    EXPECT_TRUE(found("TEXT/", ColumnEntry::kContentType));
    EXPECT_TRUE(found("twelve", ColumnEntry::kTitle));
    EXPECT_FALSE(found("Jan", ColumnEntry::kLastModified));

    // A row's texts change between two searches, and within one search a Last Modified time
    // that shares its answer slot with another is told apart.
    m_node->setTitle("http://h/Page-12.html");
    m_node->setRequestUrl("http://h/other");
    m_node->setLastModified(86400 * 31);
    EXPECT_FALSE(found("twelve", ColumnEntry::kTitle));
    EXPECT_FALSE(found("page-12", ColumnEntry::kName));
    EXPECT_TRUE(found("feb 01, 70", ColumnEntry::kLastModified));

    UrlListCellSearch search("feb", false, m_columns);
    const std::size_t entry = entryOf(ColumnEntry::kLastModified);
    EXPECT_TRUE(search.matches(*m_node, entry));
    m_node->setLastModified(86400 * 31 + 4096);
    EXPECT_TRUE(search.matches(*m_node, entry));
    m_node->setLastModified(86400 * 31 + 4096 * 1000);
    EXPECT_FALSE(search.matches(*m_node, entry)); // March
    m_node->setLastModified(-1);
    EXPECT_FALSE(search.matches(*m_node, entry));
}

} // namespace
} // namespace corvida
