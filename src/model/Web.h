// SPDX-License-Identifier: MIT
#pragma once

// A Web is one project's site graph: every node, unique per URL (CUrl::compare), with its
// links, the start node, the extra start URLs that count as the same site, the counters by
// kind, and the crawl settings the project file stores with it. The crawl that fills it lives
// in crawl/Crawler.
//
// The Web owns its nodes; node references stay valid until the Web is destroyed. Every
// change it makes is reported to its WebListener. Nodes are found through a hash index on the
// folded URL and read in URL order through a lazily merged sorted array; processed and broken
// nodes are counted as their flags change, so no operation walks all nodes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/CUrl.h"
#include "model/CrawlSettings.h"
#include "model/NodeIndex.h"
#include "model/NodeTally.h"
#include "model/UrlOrderedNodes.h"
#include "model/WebListener.h"
#include "model/WebNode.h"

namespace corvida {

// The kinds counted by a Web, in the order project files store their counters.
enum class NodeKind { Document, Picture, Audio, Video, Ftp, Gopher, Mail, Other };
inline constexpr std::size_t kNodeKindCount = 8;

class Web {
public:
    // An empty graph. listener must outlive the Web; without one the Web makes and owns a
    // listener that does nothing.
    explicit Web(WebListener* listener = nullptr);
    // An empty graph with settings.
    Web(CrawlSettings settings, WebListener* listener);
    Web(const Web&) = delete;
    Web& operator=(const Web&) = delete;
    // Tells the listener destroy(), then frees every node.
    ~Web();

    WebListener& listener() const { return *m_listener; }

    // What a crawl of this graph works with; stored with it in a project file.
    const CrawlSettings& settings() const { return m_settings; }
    CrawlSettings& settings() { return m_settings; }
    // The working directory (with its final separator).
    const std::string& workingDirectory() const { return m_settings.workingDirectory; }

    // Processed nodes and broken nodes, counted as flags change.
    std::size_t processedCount() const { return m_tally.processed; }
    std::size_t brokenCount() const { return m_tally.broken; }

    // The node whose URL compares equal to url, or nullptr.
    WebNode* findNode(const CUrl& url) const;
    // The node of url; a new one (a copy of url) is made, classified and numbered when absent.
    WebNode* findOrAddNode(const CUrl& url);
    // Records a link from `from` (may be null) to url, fragment stripped, reached at level.
    // fetchAnyway sets the target's fetch-anyway tag. Returns the target's node; *reached
    // (when given) tells whether the link gave the target its level, so it is new to a crawl.
    WebNode* addLink(WebNode* from, const CUrl& url, std::int32_t level, bool fetchAnyway, bool* reached = nullptr);

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

private:
    WebNode* adopt(std::unique_ptr<WebNode> node);
    void classifyAndNumber(WebNode* node);
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

    CrawlSettings m_settings;
    NodeTally m_tally;
};

} // namespace corvida
