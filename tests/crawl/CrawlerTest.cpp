// SPDX-License-Identifier: MIT
// The crawl's queue on its own; then whole crawls: of local files, of sites played by the
// scripted server on 127.0.0.1, and of sites answered in memory where a test decides when each
// answer arrives.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "crawl/CrawlQueue.h"
#include "crawl/Crawler.h"
#include "model/CUrl.h"
#include "model/LocalNames.h"
#include "model/ProjectOptions.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "net/HttpDate.h"
#include "net/NetworkTransferFactory.h"
#include "platform/QtImagingLibrary.h"
#include "support/FakeTransfers.h"
#include "support/ScriptedServer.h"

namespace corvida {
namespace {

using std::chrono::milliseconds;
using test::Script;
using test::ScriptedServer;
namespace fs = std::filesystem;

TEST(CrawlQueueTest, HostKeysAndSlowDown) {
    EXPECT_EQ(CrawlQueue::hostKey("HTTP://user:pw@Example.com:8080#f"), "example.com:8080");
    EXPECT_EQ(CrawlQueue::hostKey("https://[::1]:?q"), "[::1]:443");
    EXPECT_EQ(CrawlQueue::hostKey("file:///home/u/a.htm"), "");
    // Doubling stops at ten seconds; a longer interval of the settings stays.
    CrawlQueue queue;
    for (int i = 0; i < 5; ++i) {
        queue.slowDown("h:80");
    }
    EXPECT_EQ(queue.interval("h:80"), milliseconds(10000));
    queue.setLimits(4, milliseconds(30000));
    queue.slowDown("h:80");
    EXPECT_EQ(queue.interval("h:80"), milliseconds(30000));
}

// One host, two requests at once: every other node is set aside until a request ends, and
// nodes still come out in queue order. Setting nodes aside and bringing them back one at a
// time keeps a large single-host crawl from scanning its queue on every step.
TEST(CrawlQueueTest, LargeSingleHostQueueStaysInOrderWithoutRescanning) {
    constexpr int kNodes = 100000;
    std::vector<std::unique_ptr<WebNode>> nodes;
    CrawlQueue queue;
    queue.setLimits(2, milliseconds(0));
    for (int i = 0; i < kNodes; ++i) {
        char path[32];
        std::snprintf(path, sizeof path, "http://h/%06d.htm", kNodes - 1 - i);
        nodes.push_back(std::make_unique<WebNode>(CUrl(path)));
        nodes.back()->setLevel(1);
        nodes.back()->setFlags(kFlagDocument);
        queue.push(nodes.back().get());
    }
    const CrawlQueue::TimePoint now{};
    const auto start = std::chrono::steady_clock::now();
    int running = 0;
    const WebNode* previous = nullptr;
    int taken = 0;
    bool inOrder = true;
    while (taken < kNodes) {
        while (WebNode* node = queue.pop(kFlagDocument, now)) {
            node->setFlags(kFlagProcessed);
            queue.requestStarted("h:80", now);
            inOrder = inOrder && (previous == nullptr || node->url().compare(previous->url()) > 0);
            previous = node;
            ++running;
            ++taken;
        }
        ASSERT_EQ(running, 2) << "after " << taken << " nodes";
        ASSERT_TRUE(queue.hasWaiting() || taken == kNodes);
        --running;
        queue.requestEnded("h:80", now);
    }
    EXPECT_TRUE(inOrder);
    EXPECT_FALSE(queue.hasWaiting());
    // A queue scanned anew on each step needs minutes here.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

class CrawlListener : public WebListener {
public:
    std::vector<std::string> phases;
    std::vector<std::string> realmsAsked;
    // When set: the files in this directory while each page's links were read, by page URL.
    std::string watchedDirectory;
    std::map<std::string, long> filesWhileParsed;

    void nodeAdded(WebNode* /*node*/, bool /*isNew*/, WebNode* source) override {
        if (!watchedDirectory.empty() && source != nullptr) {
            const auto files = fs::directory_iterator(watchedDirectory);
            filesWhileParsed[std::string(source->url().url())] = std::distance(fs::begin(files), fs::end(files));
        }
    }

    void showText(std::string_view text) override { phases.emplace_back(text); }
    void endText(std::string_view text) override { phases.emplace_back(text); }
    void credentialsNeeded(std::string_view /*url*/, std::string_view realm) override {
        realmsAsked.emplace_back(realm);
    }
};

// Runs a crawl over real sockets to its end the way the program does.
void crawl(Crawler& crawler) {
    crawler.start();
    for (int guard = 0; guard < 100000; ++guard) {
        const Crawler::Step result = crawler.step();
        if (result == Crawler::Step::Complete) {
            return;
        }
        if (result != Crawler::Step::Started) {
            const int busy = crawler.busySlotCount();
            ASSERT_TRUE(ScriptedServer::waitUntil([&] { return crawler.busySlotCount() < busy; }))
                << "a transfer never ended";
        }
    }
    FAIL() << "the crawl did not complete";
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string html(const std::string& title, const std::string& body) {
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

const WebNode& nodeOf(const Web& web, const std::string& url) {
    static const WebNode none{CUrl()};
    const WebNode* node = web.findNode(CUrl(url));
    EXPECT_NE(node, nullptr) << "no node for " << url;
    return node != nullptr ? *node : none;
}

// A small site played by the scripted server; paths map to whole replies.
class ScriptedSite {
public:
    std::map<std::string, std::string> replies; // "GET /a.htm" or "HEAD /a.htm" or "/a.htm" (both)
    std::vector<std::string> requests;

    explicit ScriptedSite(ScriptedServer& server) {
        server.setResponder([this](std::string_view request) {
            const std::string line(request.substr(0, request.find("\r\n")));
            const std::string method = line.substr(0, line.find(' '));
            const std::string target = line.substr(method.size() + 1, line.rfind(' ') - method.size() - 1);
            requests.push_back(std::string(request));
            auto it = replies.find(method + " " + target);
            if (it == replies.end()) {
                it = replies.find(target);
            }
            const std::string reply = it != replies.end() ? it->second : "HTTP/1.0 404 Not Found\r\n\r\n";
            return Script().send(reply).close();
        });
    }

    long count(const std::string& method, const std::string& target) const {
        return std::count_if(requests.begin(), requests.end(),
                             [&](const std::string& r) { return r.rfind(method + " " + target + " ", 0) == 0; });
    }
};

std::string page(const std::string& title, const std::string& body) {
    const std::string content = html(title, body);
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(content.size()) +
           "\r\n\r\n" + content;
}

class CrawlerTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    NetworkTransferFactory m_transfers{milliseconds(3000)};
    test::FakeTransfers m_fake;
    CrawlListener m_listener;
    ScriptedServer m_server;
    ScriptedSite m_site{m_server};
    std::unique_ptr<Web> m_web;
    std::unique_ptr<Crawler> m_crawler;

    std::string workingDirectory() const { return m_dir.path().toStdString() + "/work/"; }

    // A crawl of startUrl (the scripted site's root when empty), kept in m_web and m_crawler.
    // robots turns robots exclusion on; fake answers from m_fake instead of the server.
    Crawler& makeCrawler(const std::string& startUrl = {}, const ProjectOptions& options = {}, int slotCount = 1,
                         ImagingLibrary* imaging = nullptr, bool robots = false, bool fake = false) {
        m_crawler.reset();
        CrawlSettings settings;
        settings.setWorkingDirectory(workingDirectory());
        settings.startUrl = startUrl.empty() ? m_server.url("/") : startUrl;
        settings.robotsExclusion = robots;
        settings.applyProjectOptions(options);
        m_web = std::make_unique<Web>(settings, &m_listener);
        TransferFactory* transfers = fake ? static_cast<TransferFactory*>(&m_fake) : &m_transfers;
        m_crawler = std::make_unique<Crawler>(*m_web, transfers, imaging, slotCount);
        return *m_crawler;
    }
    // The node of a path on the scripted site.
    const WebNode& node(const std::string& path) const { return nodeOf(*m_web, m_server.url(path)); }
    std::string externalUrl(const std::string& path) const {
        return "http://localhost:" + std::to_string(m_server.port()) + path;
    }
};

TEST_F(CrawlerTest, LocalFilesLevelsKindsAndOptionBytes) {
    const std::string site = m_dir.path().toStdString() + "/site/";
    writeFile(site + "index.htm",
              html("Home", "<a href=\"a.htm\">a</a><a href=\"missing.htm\">m</a><img src=\"p.gif\">"));
    writeFile(site + "a.htm", html("A", "<a href=\"sub/b.htm\">b</a><a href=\"index.htm\">home</a>"));
    writeFile(site + "sub/b.htm", html("B", "<a href=\"c.htm\">c</a>"));
    const QImage picture(64, 16, QImage::Format_RGB32);
    ASSERT_TRUE(picture.save(QString::fromStdString(site + "p.gif"), "PNG")); // any format the name hides

    ProjectOptions options;
    options.maximumLevel = 2;
    options.getDocuments = false; // parsed, but copies are not kept
    QtImagingLibrary imaging;
    crawl(makeCrawler("file://" + site + "index.htm", options, 1, &imaging));
    const auto local = [&](const std::string& name) -> const WebNode& {
        return nodeOf(*m_web, "file://" + site + name);
    };

    const WebNode& start = local("index.htm");
    EXPECT_TRUE(start.hasAllFlags(kFlagStart | kFlagLocalServer | kFlagInStartDirectory | kFlagFetched));
    EXPECT_EQ(start.title(), "Home");
    const WebNode& b = local("sub/b.htm");
    EXPECT_EQ(b.level(), 2);
    EXPECT_FALSE(b.hasAnyFlag(kFlagFetched)); // documents stop at level 2
    EXPECT_TRUE(b.hasAnyFlag(kFlagTested));
    EXPECT_EQ(m_web->findNode(CUrl("file://" + site + "sub/c.htm")), nullptr); // b was never parsed
    EXPECT_EQ(local("missing.htm").httpStatus(), 404);

    const WebNode& p = local("p.gif");
    EXPECT_EQ(p.thumbnailWidth(), 32);
    EXPECT_TRUE(fs::exists(workingDirectory() + LocalNames::thumbnail(p)));
    EXPECT_TRUE(fs::exists(workingDirectory() + LocalNames::workingCopy(p)));      // pictures kept (193)
    EXPECT_FALSE(fs::exists(workingDirectory() + LocalNames::workingCopy(start))); // documents not (2)
    EXPECT_EQ(m_web->processedCount(), m_web->nodeCount());
}

TEST_F(CrawlerTest, HttpAnswersReclassifyRedirectAndFail) {
    m_site.replies["/"] = page("Home", "<a href=\"page\">p</a><a href=\"moved.htm\">m</a>"
                                       "<a href=\"gone.htm\">g</a><a href=\"same.htm\">s</a><a href=\"" +
                                           externalUrl("/ext.htm") + "\">e</a>");
    m_site.replies["HEAD /page"] = "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n";
    m_site.replies["GET /page"] = page("Page", "");
    m_site.replies["/moved.htm"] = "HTTP/1.0 301 Moved\r\nLocation: /target.htm\r\n\r\n";
    m_site.replies["/target.htm"] = page("Target", "");
    m_site.replies["/same.htm"] = "HTTP/1.0 304 Not Modified\r\n\r\n";
    m_site.replies["HEAD /ext.htm"] = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
    ProjectOptions options;
    options.checkExternal = true;
    crawl(makeCrawler({}, options, 2));

    const WebNode& pageNode = node("/page");
    EXPECT_TRUE(pageNode.hasAllFlags(kFlagDocument | kFlagFetched | kFlagTypeLearnedByTest))
        << std::hex << pageNode.flags();
    EXPECT_EQ(m_site.count("GET", "/page"), 1);

    EXPECT_EQ(node("/moved.htm").requestUrl(), m_server.url("/target.htm"));
    EXPECT_EQ(node("/moved.htm").title(), "Target");

    const WebNode& gone = node("/gone.htm");
    EXPECT_EQ(gone.statusText(), "Not Found");
    EXPECT_TRUE(gone.isBroken());
    EXPECT_FALSE(fs::exists(workingDirectory() + LocalNames::workingCopy(gone))); // no error page kept

    // "Not modified" keeps the earlier copy and counts as fetched.
    EXPECT_TRUE(node("/same.htm").hasAllFlags(kFlagNotModified | kFlagFetched | kFlagProcessed));

    // An external link is tested when asked, never fetched.
    EXPECT_TRUE(nodeOf(*m_web, externalUrl("/ext.htm")).hasAnyFlag(kFlagTested));
    EXPECT_EQ(m_site.count("HEAD", "/ext.htm"), 1);
    EXPECT_EQ(m_site.count("GET", "/ext.htm"), 0);
    EXPECT_EQ(m_web->processedCount(), m_web->nodeCount());
}

TEST_F(CrawlerTest, StyleSheetsOfTheAreaAreFetchedAndReadDownToThePicturesLevel) {
    const auto sheet = [](const std::string& text) {
        return "HTTP/1.0 200 OK\r\nContent-Type: text/css\r\nContent-Length: " + std::to_string(text.size()) +
               "\r\n\r\n" + text;
    };
    const std::string sheetHead = "HTTP/1.0 200 OK\r\nContent-Type: text/css\r\n\r\n";
    m_site.replies["/"] =
        page("Home", "<link rel=stylesheet href=\"s.css?v=2\"><link rel=stylesheet href=\"sheet.php\">"
                     "<link rel=stylesheet href=\"odd.css\"><link rel=stylesheet href=\"" +
                         externalUrl("/e.css") + "\">");
    m_site.replies["/s.css?v=2"] = sheet("@import \"deep.css\"; a { background: url(p.png) }");
    m_site.replies["HEAD /sheet.php"] = sheetHead;
    m_site.replies["GET /sheet.php"] = sheet("b { background: url(q.png) }");
    m_site.replies["/odd.css"] = page("Odd", "<i style=\"background: url(x.png)\">");
    m_site.replies["/deep.css"] = sheet("@import 'deeper.css'; c { background: url(r.png) }");
    m_site.replies["HEAD /deeper.css"] = sheetHead;
    m_site.replies["HEAD /e.css"] = sheetHead;
    ProjectOptions options;
    options.maximumLevel = 2; // pages are fetched down to level 1, pictures to level 2
    options.checkExternal = true;
    crawl(makeCrawler({}, options, 2));

    // A sheet named so is fetched at once; one named otherwise once a HEAD told its type.
    EXPECT_EQ(m_site.count("HEAD", "/s.css?v=2"), 0);
    EXPECT_EQ(m_site.count("GET", "/s.css?v=2"), 1);
    EXPECT_EQ(m_site.count("GET", "/sheet.php"), 1);
    EXPECT_TRUE(node("/s.css?v=2").hasAllFlags(kFlagOther | kFlagFetched)) << std::hex << node("/s.css?v=2").flags();
    EXPECT_EQ(node("/p.png").level(), 2);
    EXPECT_EQ(node("/q.png").level(), 2);
    // A sheet at level 2 is still read; the one it imports, at level 3, is only tested.
    EXPECT_EQ(node("/r.png").level(), 3);
    EXPECT_EQ(node("/deeper.css").flags() & (kFlagTested | kFlagFetched), kFlagTested);
    EXPECT_EQ(m_site.count("GET", "/deeper.css"), 0);
    // What the server calls a page is none of these, whatever its name; it is not parsed either.
    EXPECT_EQ(m_web->findNode(CUrl(m_server.url("/x.png"))), nullptr);
    // A sheet outside the area is tested as other files are.
    EXPECT_EQ(nodeOf(*m_web, externalUrl("/e.css")).flags() & (kFlagTested | kFlagFetched), kFlagTested);
    EXPECT_EQ(m_site.count("GET", "/e.css"), 0);
    EXPECT_EQ(m_web->processedCount(), m_web->nodeCount());
}

TEST_F(CrawlerTest, StartFileOfTheOtherKindIsTestedOnceAndTheCrawlEnds) {
    m_site.replies["HEAD /setup.bin"] = "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n\r\n";
    crawl(makeCrawler(m_server.url("/setup.bin")));
    EXPECT_EQ(m_site.count("HEAD", "/setup.bin"), 1);
    EXPECT_TRUE(node("/setup.bin").hasAllFlags(kFlagOther | kFlagTested | kFlagProcessed));
}

// robots.txt comes first; then the lowest level, and within it the shortest URL.
TEST_F(CrawlerTest, RobotsTxtFirstThenNodesOfEqualLevelShortestUrlFirst) {
    m_site.replies["/robots.txt"] = "HTTP/1.0 200 OK\r\n\r\nUser-agent: *\r\nDisallow: /private/\r\n";
    m_site.replies["/"] = page("Home", "<a href=\"bbbb.htm\">1</a><a href=\"ccc.htm\">2</a><a href=\"a.htm\">3</a>"
                                       "<a href=\"private/x.htm\">x</a>");
    m_site.replies["/a.htm"] = page("A", "<a href=\"z.htm\">z</a>");
    crawl(makeCrawler({}, {}, 1, nullptr, true));
    EXPECT_EQ(m_listener.phases, (std::vector<std::string>{"Getting robots.txt file...", "Got robots.txt file"}));
    EXPECT_EQ(node("/private/x.htm").robotsVerdict(), kRobotsExcluded);
    std::vector<std::string> order;
    for (const std::string& request : m_site.requests) {
        order.push_back(request.substr(0, request.find(" HTTP/")));
    }
    EXPECT_EQ(order, (std::vector<std::string>{"GET /robots.txt", "HEAD /", "GET /", "GET /a.htm", "GET /ccc.htm",
                                               "GET /bbbb.htm", "GET /z.htm"}));

    m_site.replies.erase("/robots.txt");
    crawl(makeCrawler({}, {}, 1, nullptr, true));
    EXPECT_EQ(m_listener.phases.back(), "No robots.txt file for this server");
    EXPECT_EQ(m_web->startNode()->robotsVerdict(), kRobotsNoRules);
}

TEST_F(CrawlerTest, PagesWithoutKeptCopiesAreParsedFromMemoryUnlessTooLong) {
    // The long page's only link is at its very end, so it is found only when the whole body
    // is read.
    const std::string longBody = std::string(Crawler::kMaxBodyInMemory, ' ') + "<a href=\"end.htm\">e</a>";
    m_site.replies["/"] = page("Home", "<a href=\"a.htm\">a</a><a href=\"long.htm\">l</a>");
    m_site.replies["/a.htm"] = page("A", "<a href=\"b.htm\">b</a>");
    m_site.replies["/long.htm"] = page("Long", longBody);
    ProjectOptions options;
    options.getDocuments = false;
    makeCrawler({}, options, 2);
    m_listener.watchedDirectory = workingDirectory() + "temp";
    crawl(*m_crawler);

    EXPECT_EQ(node("/").title(), "Home");
    EXPECT_EQ(node("/a.htm").title(), "A");
    EXPECT_EQ(node("/b.htm").httpStatus(), 404); // a's link was found and followed
    EXPECT_TRUE(node("/a.htm").hasAnyFlag(kFlagFetched));
    EXPECT_FALSE(node("/a.htm").hasAnyFlag(kFlagDocumentCopy));
    EXPECT_EQ(node("/a.htm").localSize(), static_cast<std::int32_t>(html("A", "<a href=\"b.htm\">b</a>").size()));
    EXPECT_EQ(node("/long.htm").localSize(), static_cast<std::int32_t>(html("Long", longBody).size()));
    EXPECT_EQ(node("/end.htm").level(), 2);

    // Nothing reached the disk while a short page was parsed; the long one was parsed from
    // its working copy, which is gone afterwards like any copy not kept.
    const std::map<std::string, long> expected{
        {m_server.url("/"), 0}, {m_server.url("/a.htm"), 0}, {m_server.url("/long.htm"), 1}};
    EXPECT_EQ(m_listener.filesWhileParsed, expected);
    EXPECT_TRUE(fs::is_empty(workingDirectory() + "temp"));
}

// With answers in memory: each step's result and every request, while a test decides when
// transfers end.
class FakeCrawlTest : public CrawlerTest {
protected:
    static constexpr const char* kStart = "http://h/";

    // The crawl's clock stands still unless a test moves it.
    CrawlQueue::TimePoint m_now{};

    Crawler& makeFake(int slotCount, bool robots = false, const ProjectOptions& options = {}) {
        Crawler& crawler = makeCrawler(kStart, options, slotCount, nullptr, robots, true);
        crawler.setClock([this] { return m_now; });
        return crawler;
    }
    void reply(const std::string& key, int status, const std::string& body = {}, const std::string& challenge = {},
               const std::string& retryAfter = {}, const std::string& location = {}) {
        test::FakeTransfers::Reply r;
        r.status = status;
        r.body = body;
        r.wwwAuthenticate = challenge;
        r.retryAfter = retryAfter;
        r.location = location;
        m_fake.replies[key] = r;
    }
    // Ends transfers and steps until nothing starts and no transfer runs; the clock stays.
    void settle(Crawler& crawler) {
        while (crawler.step() == Crawler::Step::Started || m_fake.finishNext()) {
        }
    }
    // Steps until nothing starts, noting each result; then ends one transfer. Returns the
    // results up to Complete.
    std::vector<Crawler::Step> run(Crawler& crawler) {
        std::vector<Crawler::Step> results;
        for (int guard = 0; guard < 1000; ++guard) {
            const Crawler::Step result = crawler.step();
            results.push_back(result);
            if (result == Crawler::Step::Complete || (result != Crawler::Step::Started && !m_fake.finishNext())) {
                return results;
            }
        }
        ADD_FAILURE() << "the crawl did not end";
        return results;
    }
};

TEST_F(FakeCrawlTest, StepResultsWithOneAndTwoSlots) {
    using enum Crawler::Step;
    reply("http://h/", 200, html("Home", "<a href=\"a.htm\">a</a>"));
    reply("http://h/a.htm", 200, html("A", ""));
    // The start URL has no extension, so a HEAD learns its type before the GET; each request
    // runs alone, and the crawl is done when the link is done. One slot is then busy; of two,
    // one is free with nothing to start.
    for (const int slotCount : {1, 2}) {
        Crawler& crawler = makeFake(slotCount);
        m_fake.requests.clear();
        crawler.start();
        const Crawler::Step wait = slotCount == 1 ? NoFreeSlot : Waiting;
        EXPECT_EQ(run(crawler), (std::vector<Crawler::Step>{wait, Started, wait, Started, wait, Complete}))
            << slotCount << " slots";
        EXPECT_EQ(m_fake.requests, (std::vector<std::string>{"HEAD http://h/", "GET http://h/", "GET http://h/a.htm"}));
    }
}

TEST_F(FakeCrawlTest, NothingStartsBeforeRobotsTxtHasEnded) {
    reply("http://h/robots.txt", 200, "User-agent: *\r\nDisallow: /b.htm\r\n");
    reply("http://h/", 200, html("Home", "<a href=\"b.htm\">b</a>"));
    Crawler& crawler = makeFake(4, true);
    crawler.start();
    EXPECT_EQ(crawler.step(), Crawler::Step::Waiting);
    EXPECT_EQ(crawler.step(), Crawler::Step::Waiting);
    EXPECT_EQ(m_fake.requests, (std::vector<std::string>{"GET http://h/robots.txt"}));
    EXPECT_EQ(m_web->nodeCount(), 0u);

    // Stopped on the way (a suspended crawl), robots.txt is asked for again on resuming.
    crawler.stopTransfers();
    EXPECT_EQ(crawler.step(), Crawler::Step::Started);
    EXPECT_EQ(m_fake.requests.size(), 2u);
    run(crawler);
    EXPECT_EQ(m_listener.phases.back(), "Got robots.txt file");
    EXPECT_EQ(m_web->findNode(CUrl("http://h/b.htm"))->robotsVerdict(), kRobotsExcluded);
}

TEST_F(FakeCrawlTest, RobotsTxtIsFollowedWhereItMovedAndALoopEndsWithoutRules) {
    reply("http://h/robots.txt", 301, {}, {}, {}, "https://h/robots.txt");
    reply("https://h/robots.txt", 200, "User-agent: *\r\nDisallow: /b.htm\r\n");
    reply("http://h/", 200, html("Home", "<a href=\"b.htm\">b</a>"));
    Crawler& moved = makeFake(2, true);
    moved.start();
    run(moved);
    EXPECT_EQ(std::vector<std::string>(m_fake.requests.begin(), m_fake.requests.begin() + 2),
              (std::vector<std::string>{"GET http://h/robots.txt", "GET https://h/robots.txt"}));
    EXPECT_EQ(m_listener.phases.back(), "Got robots.txt file");
    EXPECT_EQ(m_web->findNode(CUrl("http://h/b.htm"))->robotsVerdict(), kRobotsExcluded);

    reply("http://h/robots.txt", 302, {}, {}, {}, "/robots.txt");
    m_fake.requests.clear();
    Crawler& looping = makeFake(2, true);
    looping.start();
    run(looping);
    EXPECT_EQ(std::count(m_fake.requests.begin(), m_fake.requests.end(), "GET http://h/robots.txt"),
              Crawler::kMaxRedirects + 1);
    EXPECT_EQ(m_listener.phases.back(), "No robots.txt file for this server");
    EXPECT_EQ(m_web->findNode(CUrl("http://h/b.htm"))->robotsVerdict(), kRobotsNoRules);
}

TEST_F(FakeCrawlTest, ChallengesParkTheirRealmWhileOtherSlotsGoOn) {
    const std::string vault = "Basic realm=\"vault\"";
    reply("http://h/", 200,
          html("Home", "<a href=\"s1.htm\">1</a><a href=\"s2.htm\">2</a><a href=\"x/s3.htm\">3</a>"
                       "<a href=\"x/s4.htm\">4</a><a href=\"open.htm\">o</a>"));
    reply("http://h/s1.htm", 401, {}, vault);
    reply("http://h/s2.htm", 401, {}, vault);
    reply("http://h/x/s3.htm", 401, {}, "Basic realm=\"closed\"");
    reply("http://h/x/s4.htm", 401, {}, "Basic realm=\"closed\"");
    reply("http://h/open.htm", 200, html("Open", ""));
    Crawler& crawler = makeFake(2);
    crawler.start();
    // Nobody has answered: every other node was crawled meanwhile, each realm asked once, and
    // the crawl waits instead of completing.
    EXPECT_EQ(run(crawler).back(), Crawler::Step::Waiting);
    EXPECT_TRUE(m_web->findNode(CUrl("http://h/open.htm"))->hasAnyFlag(kFlagFetched));
    EXPECT_EQ(m_listener.realmsAsked, (std::vector<std::string>{"vault", "closed"}));
    EXPECT_EQ(crawler.waitingRealmCount(), 2u);

    reply("http://h/s1.htm", 200, html("Secret", ""));
    reply("http://h/s2.htm", 200, html("Secret", ""));
    crawler.provideCredentials("vault", "Aladdin", "open sesame");
    crawler.skipRealm("closed");
    crawler.skipRealm("unknown"); // an answer nobody waits for changes nothing
    EXPECT_EQ(run(crawler).back(), Crawler::Step::Complete);
    EXPECT_EQ(m_web->findNode(CUrl("http://h/s1.htm"))->title(), "Secret");
    EXPECT_EQ(m_web->findNode(CUrl("http://h/s2.htm"))->credentials(), "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
    EXPECT_EQ(m_web->findNode(CUrl("http://h/x/s4.htm"))->httpStatus(), 401);
    EXPECT_EQ(std::count(m_fake.requests.begin(), m_fake.requests.end(), "GET http://h/x/s3.htm"), 1);
    EXPECT_EQ(
        std::count(m_fake.authorizations.begin(), m_fake.authorizations.end(), "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ=="),
        2);
    EXPECT_EQ(m_web->processedCount(), m_web->nodeCount());
}

// The wait before a retry: Retry-After in seconds or as a date, at most two minutes; without a
// usable value 1 s. The slot is free meanwhile and the node neither processed nor broken; a
// suspended crawl makes it plain unprocessed, to go at once on resuming.
TEST_F(FakeCrawlTest, BusyAnswerWaitsAsRetryAfterSays) {
    const std::time_t wallNow = std::time(nullptr);
    const auto date = [&](std::time_t offset) { return HttpDate::format(static_cast<std::int32_t>(wallNow + offset)); };
    const std::pair<std::string, milliseconds> cases[] = {
        {"7", milliseconds(7000)},           {"31536000", milliseconds(120000)}, {date(-3600), milliseconds(0)},
        {date(86400), milliseconds(120000)}, {"-5", milliseconds(1000)},         {"", milliseconds(1000)},
    };
    for (const auto& [retryAfter, wait] : cases) {
        reply(kStart, 503, {}, {}, retryAfter);
        Crawler& crawler = makeFake(1);
        crawler.start();
        ASSERT_TRUE(m_fake.finishNext());
        EXPECT_EQ(crawler.timeUntilDue(), wait) << retryAfter;
        const WebNode& start = *m_web->startNode();
        EXPECT_FALSE(start.isBroken() || start.hasAnyFlag(kFlagProcessed)) << retryAfter;
        EXPECT_EQ(crawler.busySlotCount(), 0);
        EXPECT_EQ(crawler.retryWaitingCount(), 1u);
        crawler.stopTransfers();
        EXPECT_EQ(crawler.retryWaitingCount(), 0u);
        EXPECT_EQ(crawler.step(), Crawler::Step::Started);
    }
}

TEST_F(FakeCrawlTest, ThreeRetriesAfterOneTwoAndFourSecondsThenBroken) {
    using enum Crawler::Step;
    reply(kStart, 200, html("Home", "<a href=\"a.htm\">a</a>"));
    reply("http://h/a.htm", 503);
    Crawler& crawler = makeFake(2);
    crawler.start();
    settle(crawler); // HEAD and GET of the start page, and the first GET of a.htm
    const WebNode& a = nodeOf(*m_web, "http://h/a.htm");
    for (const int seconds : {1, 2, 4}) {
        EXPECT_EQ(crawler.timeUntilDue(), milliseconds(seconds * 1000));
        m_now += milliseconds(seconds * 1000 - 1);
        EXPECT_EQ(crawler.step(), Waiting);
        m_now += milliseconds(1);
        EXPECT_EQ(crawler.step(), Started);
        ASSERT_TRUE(m_fake.finishNext());
    }
    EXPECT_EQ(crawler.step(), Complete);
    EXPECT_EQ(std::count(m_fake.requests.begin(), m_fake.requests.end(), "GET http://h/a.htm"), 4);
    EXPECT_TRUE(a.isBroken());
    EXPECT_EQ(a.httpStatus(), 503);
    EXPECT_EQ(crawler.retriedCount(), 3u);
}

// While a node waits, its slot serves other hosts; a 429 doubles its host's interval.
TEST_F(FakeCrawlTest, WaitingNodeLeavesItsSlotToOthersAndTooManyRequestsSlowsItsHost) {
    using enum Crawler::Step;
    ProjectOptions options;
    options.checkExternal = true;
    // Shorter URLs come first: busy.htm, then the other host's page.
    reply(kStart, 200, html("Home", "<a href=\"busy.htm\">b</a><a href=\"http://other.example/x.htm\">x</a>"));
    reply("http://h/busy.htm", 429);
    reply("http://other.example/x.htm", 200, html("X", ""));
    Crawler& crawler = makeFake(1, false, options);
    crawler.start();
    settle(crawler);
    EXPECT_EQ(m_fake.requests.back(), "HEAD http://other.example/x.htm") << "the other host went while busy.htm waited";
    EXPECT_TRUE(nodeOf(*m_web, "http://other.example/x.htm").hasAnyFlag(kFlagTested));
    EXPECT_EQ(crawler.hostInterval("http://h/"), milliseconds(1000));
    EXPECT_EQ(crawler.hostInterval("http://other.example/"), milliseconds(0));
    for (const int seconds : {2, 4, 8}) {
        m_now += *crawler.timeUntilDue();
        settle(crawler);
        EXPECT_EQ(crawler.hostInterval("http://H:80/"), milliseconds(seconds * 1000));
    }
    EXPECT_EQ(crawler.step(), Complete);
    EXPECT_EQ(nodeOf(*m_web, "http://h/busy.htm").httpStatus(), 429);
    EXPECT_TRUE(nodeOf(*m_web, "http://h/busy.htm").isBroken());
}

TEST_F(FakeCrawlTest, PerHostCapAndIntervalLetOtherHostsGoFirstInQueueOrder) {
    using enum Crawler::Step;
    ProjectOptions options;
    options.checkExternal = true;
    // Shorter URLs come first: h's pages, then oo's, then that of o:8080.
    reply(kStart, 200,
          html("Home", "<a href=\"a.htm\">a</a><a href=\"b.htm\">b</a><a href=\"c.htm\">c</a>"
                       "<a href=\"http://oo/p.htm\">p</a><a href=\"http://o:8080/q.htm\">q</a>"));
    const auto isPageOfH = [](const std::string& request) { return request.starts_with("GET http://h/"); };
    // Two at once to one host: the third page of h waits while o's nodes start.
    Crawler& capped = makeFake(4, false, options);
    capped.setHostLimits(2, milliseconds(0));
    capped.start();
    ASSERT_TRUE(m_fake.finishNext()); // HEAD of the start page
    EXPECT_EQ(capped.step(), Started);
    ASSERT_TRUE(m_fake.finishNext()); // its GET
    m_fake.requests.clear();
    while (capped.step() == Started) {
    }
    ASSERT_EQ(m_fake.requests.size(), 4u);
    EXPECT_TRUE(isPageOfH(m_fake.requests[0]) && isPageOfH(m_fake.requests[1]));
    EXPECT_EQ(m_fake.requests[2], "HEAD http://oo/p.htm");
    EXPECT_EQ(m_fake.requests[3], "HEAD http://o:8080/q.htm");
    ASSERT_TRUE(m_fake.finishNext());
    EXPECT_EQ(capped.step(), Started);
    EXPECT_TRUE(isPageOfH(m_fake.requests.back()));
    EXPECT_EQ(std::count(m_fake.requests.begin(), m_fake.requests.end(), m_fake.requests.back()), 1);

    // Starts to one host half a second apart; o does not wait for h.
    Crawler& spaced = makeFake(4, false, options);
    spaced.setHostLimits(4, milliseconds(500));
    spaced.start();
    ASSERT_TRUE(m_fake.finishNext());
    EXPECT_EQ(spaced.step(), Waiting); // the GET of the start page is due after the HEAD's interval
    m_now += milliseconds(500);
    EXPECT_EQ(spaced.step(), Started);
    ASSERT_TRUE(m_fake.finishNext());
    m_fake.requests.clear();
    while (spaced.step() == Started) {
    }
    EXPECT_EQ(m_fake.requests, (std::vector<std::string>{"HEAD http://oo/p.htm", "HEAD http://o:8080/q.htm"}));
    EXPECT_EQ(spaced.timeUntilDue(), milliseconds(500));
    m_now += milliseconds(499);
    EXPECT_EQ(spaced.step(), Waiting);
    m_now += milliseconds(1);
    EXPECT_EQ(spaced.step(), Started);
    EXPECT_EQ(spaced.step(), Waiting);
    EXPECT_TRUE(isPageOfH(m_fake.requests.back()));
}

TEST_F(FakeCrawlTest, RedirectsOfEveryKindAreFollowedAndKeptHopByHop) {
    reply("http://h/", 200, html("Home", "<a href=\"old.htm\">o</a><a href=\"loop.htm\">l</a>"));
    reply("http://h/old.htm", 301, {}, {}, {}, "/a/mid.htm");
    reply("http://h/a/mid.htm", 308, {}, {}, {}, "next.htm"); // relative to the URL that was requested
    reply("http://h/a/next.htm", 307, {}, {}, {}, "http://h/final.htm");
    reply("http://h/final.htm", 200, html("Final", ""));
    reply("http://h/loop.htm", 303, {}, {}, {}, "loop2.htm");
    reply("http://h/loop2.htm", 302, {}, {}, {}, "loop.htm");
    Crawler& crawler = makeFake(1);
    crawler.start();
    EXPECT_EQ(run(crawler).back(), Crawler::Step::Complete);

    const WebNode* old = m_web->findNode(CUrl("http://h/old.htm"));
    EXPECT_EQ(old->redirects(), (std::vector<RedirectHop>{{301, "/a/mid.htm", "http://h/a/mid.htm"},
                                                          {308, "next.htm", "http://h/a/next.htm"},
                                                          {307, "http://h/final.htm", "http://h/final.htm"}}));
    EXPECT_EQ(old->title(), "Final");

    // A loop fails as one node once the limit is reached, its chain no longer than the limit.
    const WebNode* loop = m_web->findNode(CUrl("http://h/loop.htm"));
    EXPECT_EQ(loop->redirectCount(), Crawler::kMaxRedirects);
    EXPECT_EQ(std::count_if(m_fake.requests.begin(), m_fake.requests.end(),
                            [](const std::string& request) { return request.starts_with("GET http://h/loop"); }),
              Crawler::kMaxRedirects + 1);
    EXPECT_EQ(loop->statusDetail(), "Too many redirects.");
    EXPECT_TRUE(loop->isBroken());

    // Asked for at its own URL again (resumed without its request URL), the node starts a
    // new chain instead of adding to the old one.
    m_crawler.reset();
    WebNode* again = m_web->findNode(CUrl("http://h/old.htm"));
    again->setText(WebNode::Text::RequestUrl, std::nullopt);
    again->clearFlags(kFlagProcessed);
    reply("http://h/old.htm", 302, {}, {}, {}, "http://h/final.htm");
    Crawler resumed(*m_web, &m_fake, nullptr, 1);
    EXPECT_EQ(run(resumed).back(), Crawler::Step::Complete);
    EXPECT_EQ(again->redirects(), (std::vector<RedirectHop>{{302, "http://h/final.htm", "http://h/final.htm"}}));
}

} // namespace
} // namespace corvida
