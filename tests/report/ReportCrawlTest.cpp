// SPDX-License-Identifier: MIT
// The report and the local site of a crawled sample site, crawled in turn over file://: every
// link between the report's pages, to and within the local site and to the pictures and
// thumbnails leads to a file, and every profile anchor a page points to is on the page it
// names.

#include <filesystem>
#include <set>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/Web.h"
#include "platform/QtImagingLibrary.h"
#include "report/LocalSiteTestSupport.h"
#include "report/LocalSiteWriter.h"
#include "report/ReportWriter.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

namespace fs = std::filesystem;

TEST(ReportCrawlTest, CrawlingTheReportFindsNoBrokenLinkOrMissingAnchor) {
    QTemporaryDir folder;
    const std::string root = folder.path().toStdString();
    fs::copy(fs::path(test::dataPath()).parent_path().parent_path().parent_path() / "examples" / "site", root + "/site",
             fs::copy_options::recursive);

    test::RecordingListener listener;
    QtImagingLibrary imaging;
    const std::string work = root + "/work/";
    std::unique_ptr<Web> web = test::crawlFiles(work, "file://" + root + "/site/index.htm", &listener, {}, &imaging);
    ASSERT_GT(web->nodeCount(), 10u);
    ASSERT_TRUE(LocalSiteWriter::write(*web).ok());
    ASSERT_TRUE(ReportWriter::write(*web).isOk());
    // A crawled site spreads over several levels, so there is more than one profile page.
    EXPECT_TRUE(fs::is_regular_file(work + ReportWriter::documentProfilePage(1)));

    test::RecordingListener againListener;
    std::unique_ptr<Web> again =
        test::crawlFiles(root + "/again/", "file://" + work + "report/overview.htm", &againListener, {});
    std::set<std::string> seen;
    for (const WebNode* node : again->nodes()) {
        const std::string url(node->url().url());
        if (url.starts_with("file://" + work)) { // not the crawled site itself, with its own broken links
            seen.insert(url.substr(7 + work.size()));
            EXPECT_FALSE(node->isBroken()) << url;
        }
    }
    for (const char* name : {"report/usererpt.htm", "report/p_stats.htm", "report/p_sim.htm", "report/docs0.htm",
                             "report/pics1.htm", "report/p_oths.htm", "docs/index.htm", "report/global.gif",
                             "report/space4.gif", "report/newimage.gif", "report/logo.gif"}) {
        EXPECT_EQ(seen.count(name), 1u) << name;
    }

    // The crawl drops fragments, so check the anchors page by page: every "PAGE#wwN" a page
    // links to is named on PAGE.
    int references = 0;
    for (const auto& entry : fs::directory_iterator(work + "report")) {
        const std::string page = test::readFile(entry.path());
        const std::string opening = "HREF=\"";
        for (std::size_t at = page.find(opening); at != std::string::npos; at = page.find(opening, at)) {
            at += opening.size();
            const std::string value = page.substr(at, page.find('"', at) - at);
            const std::size_t hash = value.find("#ww");
            if (hash != std::string::npos && value.find_first_of("/:") == std::string::npos) {
                ++references;
                const std::string target = test::readFile(work + "report/" + value.substr(0, hash));
                EXPECT_NE(target.find("NAME=\"" + value.substr(hash + 1) + "\""), std::string::npos) << value;
            }
        }
    }
    EXPECT_GT(references, 50);
}

} // namespace
} // namespace corvida
