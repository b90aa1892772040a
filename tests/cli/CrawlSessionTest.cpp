// SPDX-License-Identifier: MIT
// Crawl sessions: one that the document suspends by itself, and crawls of a site played by a
// server on 127.0.0.1 that watches how the crawl uses its connections.

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "cli/CrawlCommand.h"
#include "cli/CrawlSession.h"
#include "doc/CTamsoDoc.h"
#include "model/Web.h"
#include "support/ScriptedServer.h"
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

// The server answers every page after a pause, records when each request arrived and how
// many connections were open then, and answers busy.htm's first request with 503.
struct WatchedSite {
    test::ScriptedServer server;
    std::chrono::milliseconds pause{0};
    int mostOpen = 0;
    std::vector<std::chrono::steady_clock::time_point> arrivals;
    bool busyAnswered = false;

    WatchedSite() {
        server.setResponder([this](std::string_view request) {
            mostOpen = std::max(mostOpen, server.connectionCount() - server.finishedCount());
            arrivals.push_back(std::chrono::steady_clock::now());
            const std::string target(
                request.substr(request.find(' ') + 1, request.find(" HTTP/") - request.find(' ') - 1));
            std::string body = "<html><body>";
            if (target == "/") {
                for (int i = 0; i < 10; ++i) {
                    body += "<a href=\"p" + std::to_string(i) + ".htm\">p</a>";
                }
                body += "<a href=\"busy.htm\">b</a>";
            }
            body += "</body></html>";
            std::string reply =
                "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\n\r\n" + body;
            if (target == "/busy.htm" && !busyAnswered) {
                busyAnswered = true;
                reply = "HTTP/1.0 503 Service Unavailable\r\nRetry-After: 0\r\n\r\n";
            }
            return test::Script().pause(pause).send(reply).close();
        });
    }

    // Crawls the site with crawl's options; returns the counters printed at the end.
    std::string crawl(const std::vector<std::string>& options) {
        QTemporaryDir folder;
        CrawlRequest request;
        request.settings.workingDirectory = folder.path().toStdString();
        std::vector<std::string> args{server.url("/")};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(readCrawlArguments(args, request), std::nullopt);
        std::ostringstream out;
        std::ostringstream err;
        CrawlSession session(request.settings, out, err, true);
        EXPECT_TRUE(session.document().newDocument("watched"));
        EXPECT_TRUE(session.document().startProcessing(server.url("/")));
        EXPECT_EQ(session.run(), CrawlSession::Outcome::Complete) << err.str();
        CrawlSession::printCounters(session.document(), out);
        return out.str();
    }
};

TEST(CrawlSessionTest, PerHostLimitsHoldOnTheWireAndBusyPagesAreRetried) {
    WatchedSite site;
    site.pause = std::chrono::milliseconds(30);
    const std::string counters = site.crawl({"--connections", "8", "--per-host", "2"});
    EXPECT_EQ(site.mostOpen, 2);
    EXPECT_NE(counters.find("broken: 0\nretried: 1\n"), std::string::npos) << counters;

    // Starts a set time apart: after each answer the crawl has nothing to run until the
    // interval has passed, so only the document's timer brings it to the end.
    WatchedSite spaced;
    const std::string spacedCounters = spaced.crawl({"--connections", "8", "--delay", "15"});
    EXPECT_NE(spacedCounters.find("nodes: 12\n"), std::string::npos) << spacedCounters;
    ASSERT_EQ(spaced.arrivals.size(), 14u); // HEAD and GET of the start page, 11 pages, one retry
    // The server sees a connection when the shared event loop gets to it, so one gap may look
    // short after a late one; the whole span cannot shrink by more than one late arrival.
    EXPECT_GE(spaced.arrivals.back() - spaced.arrivals.front(), std::chrono::milliseconds(13 * 15 - 10));
}

} // namespace
} // namespace corvida
