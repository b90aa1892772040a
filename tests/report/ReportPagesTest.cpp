// SPDX-License-Identifier: MIT
// The report's list, statistics, profile and duplicates pages, written for a small project
// whose nodes carry chosen kinds, states, groups and fetched files: expected bytes, empty
// categories, per-group pages, crawled texts that hold markup, and which fetched files form
// a set of duplicates and how often files are read to find out.

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/LocalNames.h"
#include "model/Web.h"
#include "report/DuplicateFinder.h"
#include "report/DuplicatesPage.h"
#include "report/LocalSiteTestSupport.h"
#include "report/ProfilePages.h"
#include "report/ReportContext.h"
#include "report/ReportFrame.h"
#include "report/ReportListPages.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

constexpr std::uint32_t kFetchedOk = kFlagFetchStarted | kFlagFetched | kFlagProcessed;
constexpr std::uint32_t kTestedOk = kFlagTestStarted | kFlagTested | kFlagProcessed;
constexpr std::uint32_t kFetchFailed = kFlagFetchStarted | kFlagProcessed;
constexpr std::uint32_t kTestFailed = kFlagTestStarted | kFlagProcessed;

const std::vector<std::string> kListPages = {
    "p_idocl.htm", "p_ipicl.htm", "p_iothl.htm", "p_ulink.htm", "p_udlink.htm", "p_edocl.htm",  "p_epicl.htm",
    "p_eothl.htm", "p_eukl.htm",  "p_eupl.htm",  "p_sim.htm",   "p_ftp.htm",    "p_gopher.htm", "p_mail.htm"};

void writeAllPages(ReportContext& context) {
    ReportListPages::writeTestedDocuments(context);
    ReportListPages::writeTestedPictures(context);
    ReportListPages::writeTestedOtherMedia(context);
    ReportListPages::writeBrokenLinks(context);
    ReportListPages::writeDocumentsWithBrokenLinks(context);
    ReportListPages::writeUntestedDocuments(context);
    ReportListPages::writeUntestedPictures(context);
    ReportListPages::writeUntestedOtherMedia(context);
    ProfilePages::writeDocumentProfiles(context);
    ProfilePages::writePictureProfiles(context);
    ProfilePages::writeOtherProfiles(context);
    DuplicatesPage::write(context);
    ReportListPages::writeFtp(context);
    ReportListPages::writeGopher(context);
    ReportListPages::writeMail(context);
    ReportListPages::writeStatistics(context);
}

class ReportPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Profile dates are local time; the expected pages are written in UTC.
        setenv("TZ", "UTC", 1);
        tzset();
        ASSERT_TRUE(m_folder.isValid());
        m_directory = m_folder.path().toStdString() + "/";
        m_web.settings().setWorkingDirectory(m_directory);
        for (const char* sub : {"temp", "docs", "images", "mmedia", "report"}) {
            std::filesystem::create_directories(m_directory + sub);
        }
    }

    // Adds url with the given kind and state flags (scheme bits kept) in group; with bytes,
    // it gets a working copy holding them, and their count as its download size.
    WebNode* add(const std::string& url, std::uint32_t flags, std::int32_t group = 0, const std::string& bytes = {}) {
        WebNode* node = m_web.findOrAddNode(CUrl(url));
        node->assignFlags((node->flags() & (kFlagFile | kFlagHttp)) | flags);
        node->setGroupNumber(group);
        if (!bytes.empty()) {
            // A kept page is marked so, as the crawl marks it.
            test::writeFile(m_directory + LocalNames::workingCopy(*node), bytes);
            node->setLocalSize(static_cast<std::int32_t>(bytes.size()));
            if (node->hasAnyFlag(kFlagDocument)) {
                node->setFlags(kFlagDocumentCopy);
            }
        }
        return node;
    }

    static void link(WebNode* from, WebNode* to) {
        from->linkOut(to);
        to->linkIn(from);
    }

    std::string page(const std::string& name) const { return test::readFile(m_directory + "report/" + name); }

    ReportContext context() { return ReportContext(m_web, m_directory + "report/"); }

    QTemporaryDir m_folder;
    std::string m_directory;
    Web m_web;
};

// One node of every kind and state the pages tell apart, in groups 0, 1 and 3.
TEST_F(ReportPagesTest, PagesOfSmallProjectMatchExpectedBytes) {
    WebNode* start = add("http://127.0.0.1/", kFlagDocument | kFetchedOk | kFlagStart, 0, std::string(120, 'h'));
    m_web.setStartNode(start);
    start->setTitle("Home");
    start->setExcerpt("Welcome to the <test> site");
    start->setHttpStatus(200);
    start->setSize(120);
    start->setLastModified(946684800);
    start->setChecked(1000000000);
    start->setExpires(1100000000);
    WebNode* alias =
        add("http://127.0.0.1/index.htm", kFlagDocument | kFetchedOk | kFlagStartAlias, 1, std::string(120, 'h'));

    WebNode* a = add("http://127.0.0.1/a.htm", kFlagDocument | kFetchedOk, 1, "0123456789");
    a->setTitle("Page A");
    WebNode* b = add("http://127.0.0.1/b.htm", kFlagDocument | kFetchedOk, 1, "0123456789");
    // First tested, then fetched: both passes of the tested documents list it.
    WebNode* c = add("http://127.0.0.1/c.htm", kFlagDocument | kFetchedOk | kTestedOk, 3, "0123456789");
    WebNode* d = add("http://127.0.0.1/d.htm", kFlagDocument | kFetchedOk, 3, "9876543210");
    WebNode* moved = add("http://127.0.0.1/moved.htm", kFlagDocument | kFetchedOk, 1, "moved page");
    moved->setRequestUrl("http://127.0.0.1/new/moved.htm");
    moved->setHttpStatus(200);
    WebNode* missing = add("http://127.0.0.1/missing.htm", kFlagDocument | kFetchFailed, 1);
    missing->setStatus(404, "Not Found", "");
    WebNode* gone = add("http://127.0.0.1/gone.htm", kFlagDocument | kTestFailed, 1);
    WebNode* tested = add("http://127.0.0.1/tested.htm", kFlagDocument | kTestedOk, 1);
    tested->setTitle("Tested page");
    WebNode* far = add("http://127.0.0.1/far.htm", kFlagDocument, 3);

    WebNode* logo = add("http://127.0.0.1/logo.gif", kFlagPicture | kFetchedOk | kFlagLocalServer, 1, "GIF89a-same");
    logo->setThumbnail(20, 15, 8);
    WebNode* copy = add("http://127.0.0.1/copy.gif", kFlagPicture | kFetchedOk | kFlagLocalServer, 1, "GIF89a-same");
    copy->setThumbnail(40, 30, 8);
    WebNode* remote = add("http://127.0.0.1/remote.gif", kFlagPicture | kTestedOk, 1);
    WebNode* fresh = add("http://127.0.0.1/new.gif", kFlagPicture, 3);
    WebNode* song = add("http://127.0.0.1/song.wav", kFlagAudio | kFetchedOk, 1, "RIFF");
    WebNode* tune = add("http://127.0.0.1/tune.mid", kFlagAudio | kTestedOk, 1);
    WebNode* clip = add("http://127.0.0.1/clip.mpg", kFlagVideo, 3);
    WebNode* data = add("http://127.0.0.1/data.bin", kFlagOther | kFlagProcessed, 1);
    WebNode* mail = add("mailto:webmaster@127.0.0.1", kFlagMail | kFlagProcessed, 1);
    WebNode* ftp = add("ftp://127.0.0.1/pub/file.zip", kFlagFtp | kFlagProcessed, 1);
    WebNode* gopher = add("gopher://127.0.0.1/", kFlagGopher | kFlagProcessed, 1);

    for (WebNode* target :
         {a, b, c, d, moved, missing, gone, tested, logo, copy, remote, song, tune, clip, data, mail, ftp, gopher}) {
        link(start, target);
    }
    for (WebNode* target : {missing, gone, far, fresh, logo}) {
        link(a, target);
    }
    link(alias, start);
    const std::uint32_t counts[] = {11, 4, 2, 1, 1, 1, 1, 1};
    for (std::size_t kind = 0; kind < kNodeKindCount; ++kind) {
        m_web.setCount(static_cast<NodeKind>(kind), counts[kind]);
    }

    ReportContext run = context();
    writeAllPages(run);
    EXPECT_TRUE(run.failures().empty());

    std::vector<std::string> expected = kListPages;
    for (const char* name :
         {"p_stats.htm", "p_oths.htm", "docs0.htm", "docs1.htm", "docs3.htm", "pics1.htm", "pics3.htm"}) {
        expected.emplace_back(name);
    }
    for (const std::string& name : expected) {
        EXPECT_EQ(page(name), test::readFile(test::dataPath("report/pages/" + name))) << name;
    }
    // Groups without documents or pictures get no profile page.
    EXPECT_FALSE(std::filesystem::exists(m_directory + "report/docs2.htm"));
    EXPECT_FALSE(std::filesystem::exists(m_directory + "report/pics0.htm"));
}

// A project with only its start node still gets every list page, each just its frame.
TEST_F(ReportPagesTest, EmptyCategoriesHoldOnlyTheFrame) {
    m_web.setStartNode(add("http://127.0.0.1/", kFlagDocument | kFetchedOk | kFlagStart));
    ReportContext run = context();
    writeAllPages(run);

    // Headings are checked with the small project's pages; here every page ends after them
    // but the tested documents, where the start document is listed, and it has its profile.
    const std::string frameEnd = "</B></H1></TD></TR></TABLE><HR>" + std::string(ReportFrame::kEnd);
    for (const std::string& name : kListPages) {
        EXPECT_EQ(page(name).ends_with(frameEnd), name != "p_idocl.htm") << name;
    }
    EXPECT_TRUE(page("p_oths.htm").ends_with(frameEnd));
    EXPECT_NE(page("docs0.htm").find("<A NAME=\"ww0\"></A>"), std::string::npos);
}

// Titles, URLs, request URLs and status texts from a crawled site never reach a page as
// markup; texts the graph stores escaped are not escaped twice.
TEST_F(ReportPagesTest, CrawledMarkupIsNotInjected) {
    WebNode* start = add("http://127.0.0.1/", kFlagDocument | kFetchedOk | kFlagStart);
    m_web.setStartNode(start);
    start->setTitle("<script>alert(1)</script>");
    start->setExcerpt("a <b> & c");
    WebNode* evil = add("http://127.0.0.1/x\"><script>y</script>.htm", kFlagDocument | kFetchFailed);
    evil->setTitle("\" onmouseover=\"alert(2)");
    evil->setRequestUrl("http://127.0.0.1/\"><img src=x>");
    evil->setStatus(500, "<i>bad</i>", "\"detail\"");
    WebNode* picture = add("http://127.0.0.1/p\"<.gif", kFlagPicture | kFetchedOk | kFlagLocalServer);
    link(start, evil);
    link(start, picture);
    link(evil, start);
    ReportContext run = context();
    writeAllPages(run);

    std::vector<std::string> pages = kListPages;
    pages.insert(pages.end(), {"p_stats.htm", "p_oths.htm", "docs0.htm", "pics0.htm"});
    for (const std::string& name : pages) {
        for (const char* markup : {"<script>", "<i>", "<img src=x>", "\" onmouseover", "&amp;lt;"}) {
            EXPECT_EQ(page(name).find(markup), std::string::npos) << name << " " << markup;
        }
    }
    const std::string documents = page("docs0.htm");
    EXPECT_NE(documents.find("&lt;script&gt;alert(1)&lt;/script&gt; - "), std::string::npos);
    EXPECT_NE(documents.find("<H3>Excerpt:</H3><P>a &lt;b&gt; & c</P>"), std::string::npos);
    EXPECT_NE(documents.find("&lt;i&gt;bad&lt;/i&gt;"), std::string::npos);
}

TEST_F(ReportPagesTest, ProfileListsEachRedirectHopEscaped) {
    WebNode* moved = add("http://127.0.0.1/old.htm", kFlagDocument | kFetchedOk);
    m_web.setStartNode(add("http://127.0.0.1/", kFlagDocument | kFetchedOk | kFlagStart));
    moved->addRedirect({308, "new/\"<b>.htm", "http://127.0.0.1/new/\"<b>.htm"});
    moved->setRequestUrl("http://127.0.0.1/new/\"<b>.htm");
    ReportContext run = context();
    ProfilePages::writeDocumentProfiles(run);

    const std::string documents = page("docs0.htm");
    const std::string target = "http://127.0.0.1/new/&quot;&lt;b&gt;.htm";
    EXPECT_NE(documents.find("</TABLE><P></P><TABLE><TR><TD><B>Redirects</B></TD><TD><B>HTTP Code</B></TD><TD><B>"
                             "Location</B></TD><TD><B>To</B></TD></TR><TR><TD>1</TD><TD>308</TD><TD>new/&quot;&lt;b&gt;"
                             ".htm</TD><TD><A HREF=\"" +
                             target + "\">" + target + "</A></TD></TR></TABLE><P></P>"),
              std::string::npos)
        << documents;
    // The start node, never redirected, has no table of hops.
    EXPECT_EQ(documents.find("<B>Redirects</B>"), documents.rfind("<B>Redirects</B>"));
}

TEST_F(ReportPagesTest, StatisticsSumLargeSitesWithoutWrapping) {
    WebNode* one = add("http://127.0.0.1/one.htm", kFlagDocument | kFetchedOk);
    WebNode* two = add("http://127.0.0.1/two.htm", kFlagDocument | kFetchedOk);
    one->setLocalSize(2'000'000'000);
    two->setLocalSize(2'000'000'000);
    ReportContext run = context();
    ReportListPages::writeStatistics(run);
    EXPECT_NE(page("p_stats.htm").find(R"(<TR><TD>Docs</TD><TD ALIGN="RIGHT">2</TD><TD ALIGN="RIGHT">4000000000</TD>)"),
              std::string::npos);
}

class DuplicatesPagesTest : public ReportPagesTest {
protected:
    WebNode* document(const std::string& name, const std::string& bytes, std::int32_t group = 0) {
        return add("http://127.0.0.1/" + name, kFlagDocument | kFetchedOk, group, bytes);
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
    document("aa.htm", "same bytes", 0)->setTitle("Head");
    document("cc.htm", "same bytes", 2);
    document("dd.htm", "other byte", 0);
    EXPECT_EQ(sets(), "+aa.htm -bb.htm -cc.htm");
    // The head shows its title and URL; members their labels.
    EXPECT_NE(page("p_sim.htm").find(R"(<A HREF="docs0.htm#ww1">Head http://127.0.0.1/aa.htm</A></LI>)"),
              std::string::npos);
}

TEST_F(DuplicatesPagesTest, StartNodeAliasesUnreadableAndLongerFilesAreNeverDuplicates) {
    m_web.setStartNode(add("http://127.0.0.1/", kFlagDocument | kFetchedOk | kFlagStart, 0, "home page!"));
    add("http://127.0.0.1/index.htm", kFlagDocument | kFetchedOk | kFlagStartAlias, 0, "home page!");
    document("copy.htm", "home page!");
    // Equal download sizes, but the file was deleted after processing, or is gone although
    // the node says it is kept.
    WebNode* lost = document("lost.htm", "home page!");
    std::filesystem::remove(m_directory + LocalNames::workingCopy(*lost));
    lost->clearFlags(kFlagDocumentCopy);
    WebNode* vanished = document("vanished.htm", "home page!");
    std::filesystem::remove(m_directory + LocalNames::workingCopy(*vanished));
    // A tested document of that size has no file to compare.
    add("http://127.0.0.1/only-tested.htm", kFlagDocument | kFlagTestStarted | kFlagTested)->setLocalSize(10);
    // The recorded download sizes agree, yet one file on disk is the other's start.
    WebNode* shorter = document("s.htm", std::string(300, 'x'));
    WebNode* longer = document("l.htm", std::string(600, 'x'));
    longer->setLocalSize(shorter->localSize());
    EXPECT_EQ(sets(), "");
}

TEST_F(DuplicatesPagesTest, PictureSetsListMembersInUrlOrderAndMayBeHeadedByTheStart) {
    m_web.setStartNode(add("http://127.0.0.1/s.gif", kFlagPicture | kFetchedOk | kFlagStart, 1, "GIF89a..."));
    for (const char* name : {"c3.gif", "c1.gif", "c2.gif"}) {
        add(std::string("http://127.0.0.1/") + name, kFlagPicture | kFetchedOk | kFlagLocalServer, 2, "GIF89a...");
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
    // Documents whose copies the crawl did not keep are not looked for on disk.
    for (int i = 0; i < kCount; ++i) {
        WebNode* uncopied = add("http://127.0.0.1/n" + std::to_string(i) + ".htm", kFlagDocument | kFetchedOk);
        uncopied->setLocalSize(9);
        candidates.push_back(uncopied);
    }
    DuplicateFinder finder(m_directory);
    const std::vector<int> sets = finder.classify(candidates);
    for (int i = 2; i < kCount; ++i) {
        EXPECT_EQ(sets[i], sets[i % 2]);
    }
    EXPECT_NE(sets[0], sets[1]);
    EXPECT_NE(sets[kCount], DuplicateFinder::kNoSet);
    EXPECT_EQ(sets.back(), DuplicateFinder::kNoSet);
    // Each file hashed once and compared once with its set's first file; the file of a
    // size of its own is never opened.
    EXPECT_LE(finder.filesOpened(), 3u * kCount);
}

} // namespace
} // namespace corvida
