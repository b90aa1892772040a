// SPDX-License-Identifier: MIT
// The duplicates page: which fetched files form a set, who heads it, and how often files are
// read to find out.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/DuplicateFinder.h"
#include "report/DuplicatesPage.h"
#include "report/ReportFrame.h"
#include "report/ReportPagesFixture.h"

namespace corvida {
namespace {

constexpr std::uint32_t kFetchedOk = kFlagFetchStarted | kFlagFetched | kFlagProcessed;

class DuplicatesPagesTest : public test::ReportPagesFixture {
protected:
    WebNode* document(const std::string& name, const std::string& bytes, std::int32_t group = 0) {
        WebNode* node = add("http://127.0.0.1/" + name, kFlagDocument | kFetchedOk, group);
        giveFile(node, bytes);
        return node;
    }

    // The page's body, one set per line, each entry as "+URL" (head) or "-URL".
    std::string sets() {
        ReportContext run = context();
        DuplicatesPage::write(run);
        const std::string bytes = page("p_sim.htm");
        const std::string open = ReportFrame::open("Duplicated documents and media", "Duplicated documents and media");
        EXPECT_EQ(bytes.compare(0, open.size(), open), 0);
        std::string summary;
        std::size_t at = open.size();
        while ((at = bytes.find("<LI><A HREF=\"", at)) != std::string::npos) {
            at += 13;
            const std::string url = bytes.substr(at, bytes.find('"', at) - at);
            const std::size_t entryEnd = bytes.find("</LI>", at);
            const bool head = bytes.rfind("<DIR><LI>", at) == at - 13 - 5;
            summary += (head ? (summary.empty() ? "+" : "\n+") : " -") + url.substr(17);
            at = entryEnd;
        }
        return summary;
    }
};

TEST_F(DuplicatesPagesTest, EqualDocumentsFormOneSetHeadedByTheFirst) {
    // Three equal documents and a fourth of the same size with other bytes; the head comes
    // first in report order (group, then URL order), the others follow in report order.
    document("bb.htm", "same bytes", 1);
    WebNode* head = document("aa.htm", "same bytes", 0);
    head->setTitle("Head");
    document("cc.htm", "same bytes", 2);
    document("dd.htm", "other byte", 0);
    EXPECT_EQ(sets(), "+aa.htm -bb.htm -cc.htm");
    // The head shows its title and URL; members their labels.
    EXPECT_NE(page("p_sim.htm").find(R"(<A HREF="docs0.htm#ww1">Head http://127.0.0.1/aa.htm</A></LI>)"),
              std::string::npos);
}

TEST_F(DuplicatesPagesTest, StartNodeAliasesAndUnreadableFilesAreNeverDuplicates) {
    WebNode* start = add("http://127.0.0.1/", kFlagDocument | kFetchedOk | kFlagStart);
    m_web.setStartNode(start);
    giveFile(start, "home page!");
    WebNode* alias = add("http://127.0.0.1/index.htm", kFlagDocument | kFetchedOk | kFlagStartAlias);
    giveFile(alias, "home page!");
    document("copy.htm", "home page!");
    // Equal download sizes, but the file was deleted after processing.
    WebNode* lost = document("lost.htm", "home page!");
    std::filesystem::remove(m_directory + LocalNames::workingCopy(*lost));
    // A tested document of that size has no file to compare.
    add("http://127.0.0.1/only-tested.htm", kFlagDocument | kFlagTestStarted | kFlagTested)->setLocalSize(10);
    EXPECT_EQ(sets(), "");
}

TEST_F(DuplicatesPagesTest, FilesDifferingOnlyInLengthAreNotEqual) {
    // The recorded download sizes agree, yet one file on disk is the other's start.
    WebNode* shorter = document("s.htm", std::string(300, 'x'));
    WebNode* longer = document("l.htm", std::string(600, 'x'));
    longer->setLocalSize(shorter->localSize());
    EXPECT_EQ(sets(), "");
}

TEST_F(DuplicatesPagesTest, PictureSetsListMembersInUrlOrderAndMayBeHeadedByTheStart) {
    WebNode* start = add("http://127.0.0.1/s.gif", kFlagPicture | kFetchedOk | kFlagStart, 1);
    m_web.setStartNode(start);
    giveFile(start, "GIF89a...");
    for (const char* name : {"c3.gif", "c1.gif", "c2.gif"}) {
        WebNode* copy = add(std::string("http://127.0.0.1/") + name, kFlagPicture | kFetchedOk | kFlagLocalServer, 2);
        giveFile(copy, "GIF89a...");
    }
    // The start picture comes first in report order, so it heads the set; it is never
    // listed under another head.
    EXPECT_EQ(sets(), "+s.gif -c1.gif -c2.gif -c3.gif");
}

TEST_F(DuplicatesPagesTest, EqualSizedFilesAreReadALinearNumberOfTimes) {
    constexpr int kCount = 400;
    std::vector<const WebNode*> candidates;
    for (int i = 0; i < kCount; ++i) {
        // Half hold one text, half another, all of one size.
        candidates.push_back(document("p" + std::to_string(i) + ".htm", i % 2 == 0 ? "even text" : "odd  text"));
    }
    candidates.push_back(document("single.htm", "a size of its own"));
    DuplicateFinder finder(m_directory);
    const std::vector<int> sets = finder.classify(candidates);
    for (int i = 2; i < kCount; ++i) {
        EXPECT_EQ(sets[i], sets[i % 2]);
    }
    EXPECT_NE(sets[0], sets[1]);
    EXPECT_NE(sets[kCount], DuplicateFinder::kNoSet);
    // Each file hashed once and compared once with its set's first file; the file of a
    // size of its own is never opened.
    EXPECT_LE(finder.filesOpened(), 3u * kCount);
}

} // namespace
} // namespace corvida
