// SPDX-License-Identifier: MIT
#pragma once

// A Web is one project's site graph: every node, unique per URL (CUrl::compare), with its
// links, the start node, the extra start URLs that count as the same site, and the counters
// by kind. It owns its nodes; node references stay valid until the Web is destroyed. Every
// change it makes is reported to its WebListener.
//
// Nodes are found through a hash index on the folded URL and read in URL order through a
// lazily merged sorted array, so lookups are O(1) and adding a node never shifts the array.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "model/CUrl.h"
#include "model/NodeIndex.h"
#include "model/UrlOrderedNodes.h"
#include "model/WebListener.h"
#include "model/WebNode.h"

namespace corvida {

// The kinds counted by a Web, in the order project files store their counters.
enum class NodeKind { Document, Picture, Audio, Video, Ftp, Gopher, Mail, Other };
inline constexpr std::size_t kNodeKindCount = 8;

class Web {
public:
    // listener must outlive the Web; without one the Web makes and owns a listener that does
    // nothing.
    explicit Web(WebListener* listener = nullptr);
    Web(const Web&) = delete;
    Web& operator=(const Web&) = delete;
    // Tells the listener destroy(), then frees every node.
    ~Web();

    WebListener& listener() const { return *m_listener; }

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

private:
    void classifyAndNumber(WebNode* node);
    void placeOnSite(WebNode* node) const;
    void countKind(NodeKind kind, int delta);

    WebListener* m_listener;
    std::unique_ptr<WebListener> m_ownedListener;
    std::deque<WebNode> m_owned; // in order of creation; a deque never moves its elements
    NodeIndex m_index;
    UrlOrderedNodes m_order;
    WebNode* m_startNode = nullptr;
    std::vector<CUrl> m_extraStartUrls;
    std::array<std::uint32_t, kNodeKindCount> m_counters{};
    std::int32_t m_highestLevel = 0;
    std::int32_t m_nextNodeNumber = 0;
};

} // namespace corvida
