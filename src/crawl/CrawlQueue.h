// SPDX-License-Identifier: MIT
#pragma once

// A CrawlQueue holds the crawl's unprocessed nodes in the order they are taken (lowest level,
// then URL order) and keeps the crawl polite to each host: at most a number of requests at
// once to one host, and request starts to one host at least an interval apart. A node whose
// host may not start a request now is set aside with its host, and the next node of another
// host is taken instead; the host's nodes come back when it may start again. A node refused
// for now (a busy server) waits aside until its due time.
//
// A host is the host and port of the URL a node requests, compared without letter case. The
// queue never reads a clock: every call that depends on time is given the time.
//
// Entries are not removed when a node is processed or queued again at another level; such
// entries are stale and skipped when they come up. Nodes must outlive the queue.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace corvida {

class WebNode;

class CrawlQueue {
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    static constexpr int kDefaultPerHost = 4;
    static constexpr int kMaxPerHost = 64;
    static constexpr std::chrono::milliseconds kMaxInterval{600000};
    // A host that asks the crawl to slow down gets this interval when it had none, and twice
    // its interval otherwise, up to kMaxSlowDown; an interval above that is left as it is.
    static constexpr std::chrono::milliseconds kFirstSlowDown{1000};
    static constexpr std::chrono::milliseconds kMaxSlowDown{10000};

    // The limits of every host: perHost requests at once (clamped to 1..kMaxPerHost) and
    // interval between starts (clamped to 0..kMaxInterval). Hosts slowed down keep their
    // longer interval.
    void setLimits(int perHost, std::chrono::milliseconds interval);

    // Queues node at its current level. A processed node, or one that waits for its due
    // time, is not queued.
    void push(WebNode* node);
    // Takes the first node in queue order whose flags share a bit with kindMask and whose
    // host may start a request at now; nodes whose due time has come join the queue first.
    // Returns null when there is none. The caller starts the node's request or processes it.
    WebNode* pop(std::uint32_t kindMask, TimePoint now);

    // A request to host started or ended at now. The empty host (a local file) has no limits.
    void requestStarted(const std::string& host, TimePoint now);
    void requestEnded(const std::string& host, TimePoint now);
    // The host asked the crawl to slow down: its interval grows (see kFirstSlowDown).
    void slowDown(const std::string& host);
    // The interval between request starts to host.
    std::chrono::milliseconds interval(const std::string& host) const;

    // node waits until due and is not taken before; push() ignores it meanwhile.
    void defer(WebNode* node, TimePoint due);
    // The nodes that wait for their due time, in due order; they wait no longer.
    std::vector<WebNode*> takeDeferred();
    std::size_t deferredCount() const { return m_deferredNodes.size(); }
    // Whether nodes wait: for their due time, or set aside until their host may start.
    bool hasWaiting() const { return !m_deferredNodes.empty() || m_asideCount > 0; }
    // The earliest time at which a waiting node may be taken without any request ending
    // first, or nothing.
    std::optional<TimePoint> nextDue() const;

    // The host and port of url in lower case ("example.com:80"), the port the scheme's
    // usual one when url names none; empty for a URL without a host or a file URL.
    static std::string hostKey(std::string_view url);

private:
    struct Entry {
        std::int32_t level;
        WebNode* node;
        std::uint32_t origin; // 1 + the index of the host it was set aside for and brought back
                              // from, or 0
    };
    struct EntryLater {
        bool operator()(const Entry& a, const Entry& b) const;
    };
    struct Timer {
        TimePoint due;
        WebNode* node;      // a deferred node, or null
        std::uint32_t host; // else the index of a parked host
    };
    struct TimerLater {
        bool operator()(const Timer& a, const Timer& b) const { return a.due > b.due; }
    };
    struct Host {
        int running = 0;
        std::optional<TimePoint> lastStart;
        std::chrono::milliseconds interval{0};
        std::vector<Entry> aside; // a heap in queue order
        // Nodes are set aside and none of them is in the queue: the host waits for a
        // request to end or for its interval to pass.
        bool parked = false;
    };

    bool isStale(const Entry& entry) const;
    bool mayStart(const Host& host, TimePoint now) const;
    // The index of the host named key, made on first use.
    std::uint32_t hostIndex(const std::string& key);
    // Puts the first node set aside for the host back into the queue, where it stands for
    // all of them: when it is taken (or found stale) the next one follows.
    void bringBack(std::uint32_t host);
    // Brings a parked host's nodes back when it may start, else sets a timer for the end of
    // its interval when only the interval holds it.
    void recheck(std::uint32_t host, TimePoint now);
    void releaseDue(TimePoint now);

    int m_perHost = kDefaultPerHost;
    std::chrono::milliseconds m_interval{0};
    std::vector<Entry> m_queue; // a heap: lowest level, then URL order, on top
    std::vector<Host> m_hosts;
    std::unordered_map<std::string, std::uint32_t> m_hostIndexes; // by hostKey()
    std::size_t m_asideCount = 0;
    std::vector<Timer> m_timers; // a heap: deferred nodes and parked hosts, earliest on top
    std::unordered_set<const WebNode*> m_deferredNodes;
};

} // namespace corvida
