// SPDX-License-Identifier: MIT
#pragma once

// A Web is one project's site graph and its crawl. The graph: every node, unique per URL
// (CUrl::compare), with its links, the start node, the extra start URLs that count as the
// same site, and the counters by kind. The crawl: from the start URL, one step at a time, it
// picks the unprocessed node of the lowest level (ties: URL order) and fetches it whole,
// only tests it, or leaves it, by its kind, level, place and the per-kind options; fetched
// pages bring their links into the graph. Requests run in a fixed number of fetch slots.
//
// The Web owns its nodes; node references stay valid until the Web is destroyed. Every
// change it makes is reported to its WebListener. Nodes are found through a hash index on the
// folded URL and read in URL order through a lazily merged sorted array, and the next node
// to crawl comes from a priority queue, so no operation walks all nodes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/CUrl.h"
#include "model/FetchSlot.h"
#include "model/NodeIndex.h"
#include "model/ProjectOptions.h"
#include "model/RealmCache.h"
#include "model/TransferFactory.h"
#include "model/UrlOrderedNodes.h"
#include "model/WebListener.h"
#include "model/WebNode.h"
#include "net/HttpRequestHeaders.h"
#include "net/RobotRules.h"

namespace corvida {

class ImagingLibrary;

// The kinds counted by a Web, in the order project files store their counters.
enum class NodeKind { Document, Picture, Audio, Video, Ftp, Gopher, Mail, Other };
inline constexpr std::size_t kNodeKindCount = 8;

// The rows of per-kind crawl limits: a maximum level and an option byte each. Project files
// store the first four.
enum class KindRow { Documents, Pictures, Audio, Video, OtherMedia };
inline constexpr std::size_t kKindRowCount = 5;

// Option byte bits.
inline constexpr std::uint8_t kOptionFetchOnLocalServer = 1;
inline constexpr std::uint8_t kOptionFetchInStartDirectory = 2;
inline constexpr std::uint8_t kOptionFetchAnywhere = 4;
inline constexpr std::uint8_t kOptionNeverFetch = 8;
inline constexpr std::uint8_t kOptionTestLocal = 16;
inline constexpr std::uint8_t kOptionTestAll = 32;
inline constexpr std::uint8_t kOptionKeepCopy = 64;
inline constexpr std::uint8_t kOptionKeepDocumentOrThumbnail = 128;

inline constexpr std::int32_t kDefaultMaximumLevel = 128;
inline constexpr std::uint32_t kDefaultOptionByte = 210;
inline constexpr std::int32_t kDefaultBufferSize = 4096;
inline constexpr std::int32_t kMaxBufferSize = 1 << 20;
inline constexpr const char* kDefaultAccept = "*/*";

class Web {
public:
    // The step() result codes.
    static constexpr int kStepStarted = 1;
    static constexpr int kStepNoFreeSlot = -1;
    static constexpr int kStepWaiting = -2;
    static constexpr int kStepComplete = 0;
    // The kind mask that selects every node.
    static constexpr std::uint32_t kAllKinds = 1023;
    // Redirects followed for one node before it fails.
    static constexpr int kMaxRedirects = 10;

    // A graph without a crawl. listener must outlive the Web; without one the Web makes and
    // owns a listener that does nothing.
    explicit Web(WebListener* listener = nullptr);
    // A crawl: working directory (its sub-directories are made here), start URL, listener
    // (as above) and the number of fetch slots (at least 1).
    Web(std::string_view workingDirectory, std::string_view startUrl, WebListener* listener, int slotCount);
    Web(const Web&) = delete;
    Web& operator=(const Web&) = delete;
    // Tells the listener destroy(), then frees every node.
    ~Web();

    WebListener& listener() const { return *m_listener; }

    // Gives a Web made without a crawl (a loaded project) its fetch slots (at least 1) and
    // makes the working directory's sub-directories, so that its crawl can go on.
    void prepareCrawl(int slotCount);
    // Where the crawl's transfers come from; must be set before start() and outlive the Web.
    void setTransferFactory(TransferFactory* factory) { m_transfers = factory; }
    // The picture library for thumbnails (none: no thumbnails); must outlive the Web.
    void setImagingLibrary(ImagingLibrary* imaging) { m_imaging = imaging; }
    ImagingLibrary* imagingLibrary() const { return m_imaging; }
    // Sets the per-kind levels and option bytes from the project's options.
    void configure(const ProjectOptions& options);
    // Fetches robots.txt when robots exclusion is on (waiting for it), then adds and
    // processes the start node.
    void start();
    // Starts at most one node among those whose flags share a bit with kindMask. Returns
    // kStepStarted, kStepNoFreeSlot, kStepWaiting (nothing to start, a transfer runs) or
    // kStepComplete.
    int step(std::uint32_t kindMask = kAllKinds);
    // Stops every running transfer without reports; their nodes become unprocessed again, so
    // a resumed crawl requests them anew.
    void stopTransfers();
    // How many slots have a transfer running.
    int busySlotCount() const;
    int slotCount() const { return static_cast<int>(m_slots.size()); }
    // Processed nodes and broken nodes (counted on each call).
    std::size_t processedCount() const;
    std::size_t brokenCount() const;
    const RobotRules* robotRules() const { return m_robotRules.get(); }
    RealmCache& realmCache() { return m_realms; }

    // Reports of a fetch slot's transfer (called by FetchSlot).
    void headersArrived(FetchSlot& slot, int status, std::string_view reason, const HttpReplyHeaders& reply,
                        const HttpEntityHeaders& entity);
    void transferFinished(FetchSlot& slot, bool success, int stringNumber);
    // A fetched file of node is on disk: settle its copy, parse it, make its thumbnail.
    void processFetchedFile(WebNode* node);

    // The node whose URL compares equal to url, or nullptr.
    WebNode* findNode(const CUrl& url) const;
    // The node of url; a new one (a copy of url) is made, classified and numbered when absent.
    WebNode* findOrAddNode(const CUrl& url);
    // Records a link from `from` (may be null) to url, fragment stripped, reached at level.
    // fetchAnyway sets the target's fetch-anyway tag. Returns the target's node.
    WebNode* addLink(WebNode* from, const CUrl& url, std::int32_t level, bool fetchAnyway);

    // A node of type pending learned its real kind from the server: clears the other-type,
    // processed and type bits, sets the kind of the URL's effective type and moves the
    // counters from other to that kind.
    void reclassifyByServerType(WebNode* node);
    // node holds the start page's bytes: it becomes an alias and its in-neighbours link to
    // the start node too. Requires a start node.
    void makeAliasOfStartNode(WebNode* node);

    WebNode* startNode() const { return m_startNode; }
    void setStartNode(WebNode* node) { m_startNode = node; }
    // URLs whose host and directory count as the start node's site.
    void addExtraStartUrl(const CUrl& url) { m_extraStartUrls.push_back(url); }
    const std::vector<CUrl>& extraStartUrls() const { return m_extraStartUrls; }

    // Every node in URL order; valid until the next node is added.
    const std::vector<WebNode*>& nodes() const { return m_order.sorted(); }
    std::size_t nodeCount() const { return m_owned.size(); }

    std::uint32_t count(NodeKind kind) const { return m_counters[static_cast<std::size_t>(kind)]; }
    void setCount(NodeKind kind, std::uint32_t value) { m_counters[static_cast<std::size_t>(kind)] = value; }
    std::int32_t highestLevel() const { return m_highestLevel; }
    void setHighestLevel(std::int32_t level) { m_highestLevel = level; }
    std::int32_t nextNodeNumber() const { return m_nextNodeNumber; }
    void setNextNodeNumber(std::int32_t number) { m_nextNodeNumber = number; }

    // Adds a node read from a project file, with its number and flags already set, without
    // classifying it. Returns nullptr (and keeps nothing) when its URL is already present.
    WebNode* adoptLoadedNode(std::unique_ptr<WebNode> node);
    // The node with a discovery number, or nullptr.
    WebNode* nodeByNumber(std::int32_t number) const;

    // Crawl settings. The working directory is kept split: the directory (up to and including
    // the last separator) and the file name after it.
    const std::string& workingDirectory() const { return m_workingDirectory; }
    const std::string& workingFileName() const { return m_workingFileName; }
    // Splits path into directory and file name.
    void setWorkingDirectory(std::string_view path);
    void setWorkingDirectoryParts(std::string directory, std::string fileName);
    const std::string& startUrlText() const { return m_startUrlText; }
    void setStartUrlText(std::string_view url) { m_startUrlText = url; }
    // Absent texts are empty.
    const std::string& userAgent() const { return m_userAgent; }
    void setUserAgent(std::string_view agent);
    const std::string& proxy() const { return m_proxy; }
    void setProxy(std::string_view proxy) { m_proxy = proxy; }
    const std::string& emailAddress() const { return m_emailAddress; }
    void setEmailAddress(std::string_view address);
    const std::string& accept() const { return m_accept; }
    std::int32_t bufferSize() const { return m_bufferSize; }
    void setBufferSize(std::int32_t size) { m_bufferSize = size; }
    bool robotsExclusion() const { return m_robotsExclusion; }
    void setRobotsExclusion(bool on) { m_robotsExclusion = on; }
    std::int32_t maximumLevel(KindRow row) const { return m_maximumLevels[static_cast<std::size_t>(row)]; }
    void setMaximumLevel(KindRow row, std::int32_t level) { m_maximumLevels[static_cast<std::size_t>(row)] = level; }
    std::uint32_t optionByte(KindRow row) const { return m_optionBytes[static_cast<std::size_t>(row)]; }
    void setOptionByte(KindRow row, std::uint32_t options) { m_optionBytes[static_cast<std::size_t>(row)] = options; }
    bool alwaysFetch() const { return m_alwaysFetch; }
    void setAlwaysFetch(bool on) { m_alwaysFetch = on; }

private:
    void classifyAndNumber(WebNode* node);
    FetchSlot* freeSlot();
    void queue(WebNode* node);
    void markUnprocessed(WebNode* node);
    WebNode* pickNext(std::uint32_t kindMask);
    void fetchRobots(FetchSlot& slot);
    void process(WebNode* node, FetchSlot& slot);
    void processOtherHttp(WebNode* node, FetchSlot& slot);
    void test(WebNode* node, FetchSlot& slot);
    void fetch(WebNode* node, FetchSlot& slot);
    void fetchLocalFile(WebNode* node, const std::string& target);
    void startTransfer(WebNode* node, FetchSlot& slot, bool testingOnly, const std::string& target);
    void recordFailure(WebNode* node, int status, std::string_view reason, std::string_view detail, bool tell);
    void answerChallenge(WebNode* node, const FetchSlot& slot);
    std::string requestUrl(const WebNode* node) const;
    bool isOtherMedia(const WebNode* node) const;
    void placeOnSite(WebNode* node) const;
    void countKind(NodeKind kind, int delta);

    WebListener* m_listener;
    std::unique_ptr<WebListener> m_ownedListener;
    std::vector<std::unique_ptr<WebNode>> m_owned; // in order of creation
    NodeIndex m_index;
    UrlOrderedNodes m_order;
    WebNode* m_startNode = nullptr;
    std::vector<CUrl> m_extraStartUrls;
    std::array<std::uint32_t, kNodeKindCount> m_counters{};
    std::int32_t m_highestLevel = 0;
    std::int32_t m_nextNodeNumber = 0;
    std::vector<WebNode*> m_byNumber; // index: discovery number; null where none

    std::string m_workingDirectory;
    std::string m_workingFileName;
    std::string m_startUrlText;
    std::string m_userAgent;
    std::string m_proxy;
    std::string m_emailAddress;
    std::string m_accept = kDefaultAccept;
    std::int32_t m_bufferSize = kDefaultBufferSize;
    bool m_robotsExclusion = false;
    bool m_alwaysFetch = false;
    std::array<std::int32_t, kKindRowCount> m_maximumLevels{
        kDefaultMaximumLevel, kDefaultMaximumLevel, kDefaultMaximumLevel, kDefaultMaximumLevel, kDefaultMaximumLevel};
    std::array<std::uint32_t, kKindRowCount> m_optionBytes{kDefaultOptionByte, kDefaultOptionByte, kDefaultOptionByte,
                                                           kDefaultOptionByte, kDefaultOptionByte};

    struct QueueEntry {
        std::int32_t level;
        WebNode* node;
    };
    struct QueueLater {
        bool operator()(const QueueEntry& a, const QueueEntry& b) const;
    };
    TransferFactory* m_transfers = nullptr;
    ImagingLibrary* m_imaging = nullptr;
    std::vector<std::unique_ptr<FetchSlot>> m_slots;
    HttpRequestHeaders m_requestHeaders;
    std::unique_ptr<RobotRules> m_robotRules;
    RealmCache m_realms;
    std::vector<QueueEntry> m_queue; // a heap: lowest level, then URL order, on top
    bool m_queueBuilt = false;
};

} // namespace corvida
