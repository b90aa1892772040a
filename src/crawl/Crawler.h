// SPDX-License-Identifier: MIT
#pragma once

// A Crawler fills a Web from its start URL, one step at a time: it picks the unprocessed node
// of the lowest level (ties: URL order) and fetches it whole, only tests it, or leaves it, by
// its kind, level, place and the per-kind options of the Web's CrawlSettings; fetched pages
// bring their links into the graph, and so do style sheets: one inside the crawl's area is
// fetched down to the pictures' level, one outside it is only tested. Requests run in a fixed
// number of fetch slots and never wait: every answer arrives later from the event loop
// through the slots.
//
// With robots exclusion on, the crawl's first request is the start host's robots.txt, and
// nothing else starts before it has ended. A Basic challenge without cached credentials
// parks its node and asks the listener once per realm (WebListener::credentialsNeeded); the
// other slots go on, and the node waits until provideCredentials() or skipRealm().
//
// The crawl is polite to each host (CrawlQueue): a node whose host has its most requests
// running, or whose host's last request started too recently, waits while nodes of other
// hosts go first. A busy server's answer (429 or 503) is not taken as final: the node waits
// for the time the server asked for (Retry-After, kMaxRetryWait at most), else 1, 2 and 4
// seconds, and is asked for again, kMaxRetries times at most; its slot works for others
// meanwhile. A host that answers 429 gets a longer interval for the rest of the crawl. The
// crawl never sleeps: step() says Waiting, and timeUntilDue() tells when to step again.
//
// The Web, the transfer factory and the imaging library must outlive the crawler. Every
// change is reported to the Web's listener.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "crawl/CrawlQueue.h"
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
        Waiting,    // nothing can start now: transfers run, robots.txt is awaited, a realm
                    // waits for its credentials, or nodes wait for their host or their retry
        Complete,   // nothing is left to do
    };
    // The kind mask that selects every node.
    static constexpr std::uint32_t kAllKinds = 1023;
    // Redirects followed for one node before it fails.
    static constexpr int kMaxRedirects = 10;
    // Busy answers retried for one node before it fails with the last one.
    static constexpr int kMaxRetries = 3;
    // The longest wait before a retry, whatever Retry-After asks.
    static constexpr std::chrono::seconds kMaxRetryWait{120};
    // The largest body of a page without a kept copy that is parsed from memory; a longer one
    // goes to the page's working copy and is parsed from there.
    static constexpr std::size_t kMaxBodyInMemory = std::size_t{1} << 20;

    using Clock = std::function<CrawlQueue::TimePoint()>;

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
    // Stops every running transfer without reports; their nodes, and the nodes waiting to be
    // retried, become unprocessed again, so a resumed crawl requests them anew.
    void stopTransfers();
    // At most perHost requests at once to one host, and starts to one host at least interval
    // apart (see CrawlQueue::setLimits). Defaults: CrawlQueue::kDefaultPerHost, no interval.
    void setHostLimits(int perHost, std::chrono::milliseconds interval) { m_queue.setLimits(perHost, interval); }
    // The clock of host intervals and retry waits; steady_clock when empty.
    void setClock(Clock clock) { m_clock = std::move(clock); }
    // How long until a waiting node may start without a transfer ending first, 0 when it
    // may start now; nothing when no node waits for a time.
    std::optional<std::chrono::milliseconds> timeUntilDue() const;
    // The interval between request starts to the host of url (host, port) now.
    std::chrono::milliseconds hostInterval(std::string_view url) const {
        return m_queue.interval(CrawlQueue::hostKey(url));
    }
    // Busy answers retried so far, and the nodes that wait for their retry now.
    std::size_t retriedCount() const { return m_retried; }
    std::size_t retryWaitingCount() const { return m_queue.deferredCount(); }
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
    // A fetched file of node is on disk, or its body in memory (body, when not null): settle
    // its copy, parse it, make its thumbnail, and queue the nodes its links reached.
    void processFetchedFile(WebNode* node, const std::string* body = nullptr);

private:
    FetchSlot* freeSlot();
    CrawlQueue::TimePoint clockNow() const;
    void queue(WebNode* node);
    void markUnprocessed(WebNode* node);
    WebNode* pickNext(std::uint32_t kindMask);
    bool startRobots(FetchSlot& slot);
    // Requests robots.txt at url; false when it could not even start.
    bool requestRobots(FetchSlot& slot, std::string url);
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
    // Whether an answer of status asks node to be requested again later.
    bool shouldRetry(const WebNode* node, int status) const;
    // Sets node aside, unprocessed, until its wait is over.
    void scheduleRetry(WebNode* node, const FetchSlot& slot);
    std::string requestUrl(const WebNode* node) const;
    bool isOtherMedia(const WebNode* node) const;
    // Whether node's level and place let it be fetched under a kind's level limit and option byte.
    bool mayFetch(const WebNode* node, std::int32_t limit, std::uint32_t options) const;
    // A style sheet that the crawl fetches to read its links; other style sheets are tested
    // as other files are.
    bool isStyleSheetToFetch(const WebNode* node) const;
    // How a GET for node keeps its body: in memory when the crawl keeps no copy of it (see
    // FetchedFileProcessor), not at all when only its type is wanted, else in its file.
    enum class BodyPlace { File, Memory, Nowhere };
    BodyPlace bodyPlace(const WebNode* node) const;

    Web& m_web;
    TransferFactory* m_transfers;
    ImagingLibrary* m_imaging;
    std::vector<std::unique_ptr<FetchSlot>> m_slots;
    HttpRequestHeaders m_requestHeaders;
    std::unique_ptr<RobotRules> m_robotRules;
    // Where the crawl's start stands: robots.txt is awaited, the start node is due, or a
    // stopped robots.txt request must go again.
    // robots.txt moved: it is asked for at its new place in the next step.
    enum class Phase { Crawling, Robots, StartNode, Restart, RobotsMoved };
    Phase m_phase = Phase::Crawling;
    // The robots.txt URL asked for last, where its redirect leads, and how many it followed.
    std::string m_robotsUrl;
    std::string m_robotsLocation;
    int m_robotsRedirects = 0;
    RealmCache m_realms;
    std::map<std::string, std::vector<WebNode*>, std::less<>> m_parked; // by realm, awaiting an answer
    CrawlQueue m_queue;
    bool m_queueBuilt = false;
    Clock m_clock;
    std::unordered_map<const WebNode*, int> m_retries; // busy answers retried, by node
    std::size_t m_retried = 0;
    std::vector<WebNode*> m_reached; // nodes a processed page's links gave their level
};

} // namespace corvida
