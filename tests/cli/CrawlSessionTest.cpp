// SPDX-License-Identifier: MIT
// A crawl session that the document suspends by itself.

#include <sstream>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "cli/CrawlSession.h"
#include "doc/CTamsoDoc.h"
#include "model/Web.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

TEST(CrawlSessionTest, LowDiskSpaceEndsTheRunSuspendedWithTheWarning) {
    QTemporaryDir folder;
    Settings settings;
    settings.workingDirectory = folder.path().toStdString();
    settings.checkLowDiskSpace = true;
    settings.diskSpaceLimit = 10;
    std::ostringstream out;
    std::ostringstream err;
    CrawlSession session(settings, out, err, true);
    session.document().setFreeSpaceProbe([](const std::string&) { return std::optional<std::uint64_t>(1 << 20); });
    ASSERT_TRUE(session.document().newDocument("low"));
    ASSERT_TRUE(session.document().startProcessing("file://" + test::dataPath("e2e/site/index.html")));

    EXPECT_EQ(session.run(), CrawlSession::Outcome::Suspended);
    EXPECT_EQ(session.document().state(), CTamsoDoc::State::Suspended);
    // The start page is read as the crawl starts; nothing is fetched after it.
    EXPECT_LT(session.document().web()->processedCount(), session.document().web()->nodeCount());
    EXPECT_NE(err.str().find("Low disk space: 1 MB free"), std::string::npos) << err.str();
}

} // namespace
} // namespace corvida
