// SPDX-License-Identifier: MIT
// The report's list, statistics and profile pages: expected bytes for a small project,
// empty categories, per-group pages, and crawled texts that hold markup.

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/DuplicatesPage.h"
#include "report/ProfilePages.h"
#include "report/ReportFrame.h"
#include "report/ReportListPages.h"
#include "report/ReportPagesFixture.h"
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

class ReportPagesTest : public test::ReportPagesFixture {};

// One node of every kind and state the pages tell apart, in groups 0, 1 and 3.
TEST_F(ReportPagesTest, PagesOfSmallProjectMatchExpectedBytes) {
    WebNode* start = add("http://127.0.0.1/", kFlagDocument | kFetchedOk | kFlagStart, 0);
    m_web.setStartNode(start);
    start->setTitle("Home");
    start->setExcerpt("Welcome to the <test> site");
    start->setHttpStatus(200);
    start->setSize(120);
    start->setLastModified(946684800);
    start->setChecked(1000000000);
    start->setExpires(1100000000);
    giveFile(start, std::string(120, 'h'));
    WebNode* alias = add("http://127.0.0.1/index.htm", kFlagDocument | kFetchedOk | kFlagStartAlias, 1);
    giveFile(alias, std::string(120, 'h'));

    WebNode* a = add("http://127.0.0.1/a.htm", kFlagDocument | kFetchedOk, 1);
    a->setTitle("Page A");
    giveFile(a, "0123456789");
    WebNode* b = add("http://127.0.0.1/b.htm", kFlagDocument | kFetchedOk, 1);
    giveFile(b, "0123456789");
    // First tested, then fetched: both passes of the tested documents list it.
    WebNode* c = add("http://127.0.0.1/c.htm", kFlagDocument | kFetchedOk | kTestedOk, 3);
    giveFile(c, "0123456789");
    WebNode* d = add("http://127.0.0.1/d.htm", kFlagDocument | kFetchedOk, 3);
    giveFile(d, "9876543210");
    WebNode* moved = add("http://127.0.0.1/moved.htm", kFlagDocument | kFetchedOk, 1);
    moved->setRequestUrl("http://127.0.0.1/new/moved.htm");
    moved->setHttpStatus(200);
    giveFile(moved, "moved page");
    WebNode* missing = add("http://127.0.0.1/missing.htm", kFlagDocument | kFetchFailed, 1);
    missing->setStatus(404, "Not Found", "");
    WebNode* gone = add("http://127.0.0.1/gone.htm", kFlagDocument | kTestFailed, 1);
    WebNode* tested = add("http://127.0.0.1/tested.htm", kFlagDocument | kTestedOk, 1);
    tested->setTitle("Tested page");
    WebNode* far = add("http://127.0.0.1/far.htm", kFlagDocument, 3);

    WebNode* logo = add("http://127.0.0.1/logo.gif", kFlagPicture | kFetchedOk | kFlagLocalServer, 1);
    logo->setThumbnail(20, 15, 8);
    giveFile(logo, "GIF89a-same");
    WebNode* copy = add("http://127.0.0.1/copy.gif", kFlagPicture | kFetchedOk | kFlagLocalServer, 1);
    copy->setThumbnail(40, 30, 8);
    giveFile(copy, "GIF89a-same");
    WebNode* remote = add("http://127.0.0.1/remote.gif", kFlagPicture | kTestedOk, 1);
    WebNode* fresh = add("http://127.0.0.1/new.gif", kFlagPicture, 3);
    WebNode* song = add("http://127.0.0.1/song.wav", kFlagAudio | kFetchedOk, 1);
    giveFile(song, "RIFF");
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
    const bool update = std::getenv("CORVIDA_UPDATE_GOLDEN") != nullptr;
    for (const std::string& name : expected) {
        const std::string golden = test::dataPath("report/pages/" + name);
        if (update) {
            test::writeBytes(golden, page(name));
        }
        EXPECT_EQ(page(name), test::readBytes(golden)) << name;
    }
    // Groups without documents or pictures get no profile page.
    EXPECT_FALSE(hasPage("docs2.htm"));
    EXPECT_FALSE(hasPage("pics0.htm"));
}

// A project with only its start node still gets every list page, each just its frame.
TEST_F(ReportPagesTest, EmptyCategoriesHoldOnlyTheFrame) {
    WebNode* start = add("http://127.0.0.1/", kFlagDocument | kFetchedOk | kFlagStart);
    m_web.setStartNode(start);
    ReportContext run = context();
    writeAllPages(run);

    // Headings are checked with the small project's pages; here every page ends after them.
    std::vector<std::string> pages = kListPages;
    pages.emplace_back("p_oths.htm");
    for (const std::string& name : pages) {
        if (name != "p_idocl.htm") {
            EXPECT_TRUE(page(name).ends_with("</B></H1></TD></TR></TABLE><HR>" + std::string(ReportFrame::kEnd)))
                << name;
        }
    }
    // The start document alone is a tested document and has its profile.
    EXPECT_NE(page("p_idocl.htm").find("<DIR><LI>"), std::string::npos);
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
        const std::string bytes = page(name);
        EXPECT_EQ(bytes.find("<script>"), std::string::npos) << name;
        EXPECT_EQ(bytes.find("<i>"), std::string::npos) << name;
        EXPECT_EQ(bytes.find("<img src=x>"), std::string::npos) << name;
        EXPECT_EQ(bytes.find("\" onmouseover"), std::string::npos) << name;
        EXPECT_EQ(bytes.find("&amp;lt;"), std::string::npos) << name;
    }
    const std::string documents = page("docs0.htm");
    EXPECT_NE(documents.find("&lt;script&gt;alert(1)&lt;/script&gt; - "), std::string::npos);
    EXPECT_NE(documents.find("<H3>Excerpt:</H3><P>a &lt;b&gt; & c</P>"), std::string::npos);
    EXPECT_NE(documents.find("&lt;i&gt;bad&lt;/i&gt;"), std::string::npos);
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

TEST_F(ReportPagesTest, TimesAreLocalOrUnknown) {
    EXPECT_EQ(ProfilePages::formatTime(-1), "???");
    EXPECT_EQ(ProfilePages::formatTime(0), "1970/01/01  0:00:00");
    EXPECT_EQ(ProfilePages::formatTime(1000000000), "2001/09/09  1:46:40");
}

} // namespace
} // namespace corvida
