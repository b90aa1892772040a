// SPDX-License-Identifier: MIT
#pragma once

// A Crawler fills a Web from its start URL, one step at a time: it picks the unprocessed node
// of the lowest level (ties: URL order) and fetches it whole, only tests it, or leaves it, by
// its kind, level, place and the per-kind options of the Web's CrawlSettings; fetched pages
// bring their links into the graph. Requests run in a fixed number of fetch slots and never
// wait: every answer arrives later from the event loop through the slots.
//
// With robots exclusion on, the crawl's first request is the start host's robots.txt, and
// nothing else starts before it has ended. A Basic challenge without cached credentials
// parks its node and asks the listener once per realm (WebListener::credentialsNeeded); the
// other slots go on, and the node waits until provideCredentials() or skipRealm().
//
// The Web, the transfer factory and the imaging library must outlive the crawler. Every
// change is reported to the Web's listener.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "crawl/FetchSlot.h"
#include "crawl/RealmCache.h"
#include "net/HttpRequestHeaders.h"
#include "net/RobotRules.h"

namespace corvida {

class ImagingLibrary;
class TransferFactory;
class Web;
class WebNode;
struct HttpEntityHeaders;
struct HttpReplyHeaders;

class Crawler {
public:
    // What step() did.
    enum class Step {
        Started,    // a node was taken into a slot (or processed at once)
        NoFreeSlot, // every slot is busy
        Waiting,    // nothing can start now: transfers run, robots.txt is awaited, or a realm
                    // waits for its credentials
        Complete,   // nothing is left to do
    };
    // The kind mask that selects every node.
    static constexpr std::uint32_t kAllKinds = 1023;
    // Redirects followed for one node before it fails.
    static constexpr int kMaxRedirects = 10;

    // A crawl of web with slotCount fetch slots (at least 1); makes the working directory's
    // sub-directories. transfers may be null: then every request fails. imaging may be null:
    // then no thumbnails are made.
    Crawler(Web& web, TransferFactory* transfers, ImagingLibrary* imaging, int slotCount);
    Crawler(const Crawler&) = delete;
    Crawler& operator=(const Crawler&) = delete;
    // Stops running transfers silently.
    ~Crawler();

    Web& web() const { return m_web; }

    // Adds the start node and processes it; with robots exclusion on and an http start URL,
    // robots.txt is requested first and the start node follows when it has ended.
    void start();
    // Starts at most one node among those whose flags share a bit with kindMask.
    Step step(std::uint32_t kindMask = kAllKinds);
    // Stops every running transfer without reports; their nodes become unprocessed again, so
    // a resumed crawl requests them anew.
    void stopTransfers();
    // How many slots have a transfer running.
    int busySlotCount() const;
    int slotCount() const { return static_cast<int>(m_slots.size()); }
    const RobotRules* robotRules() const { return m_robotRules.get(); }
    RealmCache& realmCache() { return m_realms; }
    // Realms whose nodes wait for an answer.
    std::size_t waitingRealmCount() const { return m_parked.size(); }

    // The answer for a realm that credentialsNeeded() named: its nodes are requested again
    // with these Basic credentials (user and password cut to 511 bytes each), which are
    // cached for the realm. An unknown realm is ignored.
    void provideCredentials(std::string_view realm, std::string_view user, std::string_view password);
    // Nobody gives credentials for realm: its nodes stay refused, and the realm is not asked
    // about again during this crawl.
    void skipRealm(std::string_view realm);

    // Reports of a fetch slot's transfer (called by FetchSlot).
    void headersArrived(FetchSlot& slot, int status, std::string_view reason, const HttpReplyHeaders& reply,
                        const HttpEntityHeaders& entity);
    // text is the failure's text (empty or the string table's text on success).
    void transferFinished(FetchSlot& slot, bool success, std::string_view text);
    // A fetched file of node is on disk: settle its copy, parse it, make its thumbnail, and
    // queue the nodes its links reached.
    void processFetchedFile(WebNode* node);

private:
    struct QueueEntry {
        std::int32_t level;
        WebNode* node;
    };
    struct QueueLater {
        bool operator()(const QueueEntry& a, const QueueEntry& b) const;
    };

    FetchSlot* freeSlot();
    void queue(WebNode* node);
    void markUnprocessed(WebNode* node);
    WebNode* pickNext(std::uint32_t kindMask);
    bool startRobots(FetchSlot& slot);
    void robotsFinished(FetchSlot& slot, bool success);
    void addStartNode(FetchSlot& slot);
    void process(WebNode* node, FetchSlot& slot);
    void processOtherHttp(WebNode* node, FetchSlot& slot);
    void test(WebNode* node, FetchSlot& slot);
    void fetch(WebNode* node, FetchSlot& slot);
    void fetchLocalFile(WebNode* node, const std::string& target);
    void startTransfer(WebNode* node, FetchSlot& slot, bool testingOnly, const std::string& target);
    void recordFailure(WebNode* node, int status, std::string_view reason, std::string_view detail, bool tell);
    // Returns true when node was parked to wait for its realm's credentials.
    bool answerChallenge(WebNode* node, const FetchSlot& slot);
    std::string requestUrl(const WebNode* node) const;
    bool isOtherMedia(const WebNode* node) const;

    Web& m_web;
    TransferFactory* m_transfers;
    ImagingLibrary* m_imaging;
    std::vector<std::unique_ptr<FetchSlot>> m_slots;
    HttpRequestHeaders m_requestHeaders;
    std::unique_ptr<RobotRules> m_robotRules;
    // Where the crawl's start stands: robots.txt is awaited, the start node is due, or a
    // stopped robots.txt request must go again.
    enum class Phase { Crawling, Robots, StartNode, Restart };
    Phase m_phase = Phase::Crawling;
    RealmCache m_realms;
    std::map<std::string, std::vector<WebNode*>, std::less<>> m_parked; // by realm, awaiting an answer
    std::vector<QueueEntry> m_queue;                                    // a heap: lowest level, then URL order, on top
    bool m_queueBuilt = false;
    std::vector<WebNode*> m_reached; // nodes a processed page's links gave their level
};

} // namespace corvida
