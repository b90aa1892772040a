// SPDX-License-Identifier: MIT
#include "crawl/CrawlQueue.h"

#include <algorithm>

#include "base/Ascii.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr std::string_view kAuthorityMark = "://";

} // namespace

bool CrawlQueue::EntryLater::operator()(const Entry& a, const Entry& b) const {
    if (a.level != b.level) {
        return a.level > b.level;
    }
    return a.node->url().compare(b.node->url()) > 0;
}

void CrawlQueue::setLimits(int perHost, std::chrono::milliseconds interval) {
    m_perHost = std::clamp(perHost, 1, kMaxPerHost);
    m_interval = std::clamp(interval, std::chrono::milliseconds::zero(), kMaxInterval);
    for (Host& host : m_hosts) {
        host.interval = std::max(host.interval, m_interval);
    }
}

std::string CrawlQueue::hostKey(std::string_view url) {
    const std::size_t mark = url.find(kAuthorityMark);
    if (mark == std::string_view::npos) {
        return {};
    }
    const std::string scheme = toLowerAscii(url.substr(0, mark));
    if (scheme == "file") {
        return {};
    }
    std::string_view authority = url.substr(mark + kAuthorityMark.size());
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        authority = authority.substr(at + 1);
    }
    if (authority.empty()) {
        return {};
    }
    std::string key = toLowerAscii(authority);
    // The port follows the last ':' unless that ':' is inside an IPv6 address in brackets;
    // "host:" names the usual port.
    const std::size_t colon = key.rfind(':');
    const std::size_t bracket = key.rfind(']');
    bool hasPort = colon != std::string::npos && (bracket == std::string::npos || colon > bracket);
    if (hasPort && colon + 1 == key.size()) {
        key.pop_back();
        hasPort = false;
    }
    if (!hasPort) {
        key += ':';
        key += scheme == "https" ? "443" : scheme == "http" ? "80" : scheme;
    }
    return key;
}

std::uint32_t CrawlQueue::hostIndex(const std::string& key) {
    const auto [it, added] = m_hostIndexes.try_emplace(key, static_cast<std::uint32_t>(m_hosts.size()));
    if (added) {
        m_hosts.emplace_back().interval = m_interval;
    }
    return it->second;
}

bool CrawlQueue::isStale(const Entry& entry) const {
    return entry.node->hasAnyFlag(kFlagProcessed) || entry.level != entry.node->level() ||
           m_deferredNodes.contains(entry.node);
}

bool CrawlQueue::mayStart(const Host& host, TimePoint now) const {
    return host.running < m_perHost && (!host.lastStart || now >= *host.lastStart + host.interval);
}

void CrawlQueue::push(WebNode* node) {
    if (node->hasAnyFlag(kFlagProcessed) || m_deferredNodes.contains(node)) {
        return;
    }
    m_queue.push_back(Entry{node->level(), node, 0});
    std::push_heap(m_queue.begin(), m_queue.end(), EntryLater{});
}

void CrawlQueue::bringBack(std::uint32_t index) {
    Host& host = m_hosts[index];
    if (host.aside.empty()) {
        return;
    }
    std::pop_heap(host.aside.begin(), host.aside.end(), EntryLater{});
    Entry entry = host.aside.back();
    host.aside.pop_back();
    --m_asideCount;
    entry.origin = index + 1;
    m_queue.push_back(entry);
    std::push_heap(m_queue.begin(), m_queue.end(), EntryLater{});
}

void CrawlQueue::recheck(std::uint32_t index, TimePoint now) {
    Host& host = m_hosts[index];
    if (!host.parked) {
        return;
    }
    if (mayStart(host, now)) {
        host.parked = false;
        bringBack(index);
    } else if (host.running < m_perHost) {
        m_timers.push_back(Timer{*host.lastStart + host.interval, nullptr, index});
        std::push_heap(m_timers.begin(), m_timers.end(), TimerLater{});
    }
}

void CrawlQueue::releaseDue(TimePoint now) {
    while (!m_timers.empty() && m_timers.front().due <= now) {
        std::pop_heap(m_timers.begin(), m_timers.end(), TimerLater{});
        const Timer timer = m_timers.back();
        m_timers.pop_back();
        if (timer.node == nullptr) {
            recheck(timer.host, now);
        } else if (m_deferredNodes.erase(timer.node) > 0) {
            push(timer.node);
        }
    }
}

WebNode* CrawlQueue::pop(std::uint32_t kindMask, TimePoint now) {
    releaseDue(now);
    std::vector<Entry> passedOver;
    WebNode* picked = nullptr;
    while (!m_queue.empty() && picked == nullptr) {
        std::pop_heap(m_queue.begin(), m_queue.end(), EntryLater{});
        Entry entry = m_queue.back();
        m_queue.pop_back();
        WebNode* node = entry.node;
        if (isStale(entry)) {
            if (entry.origin != 0) {
                bringBack(entry.origin - 1); // the next node set aside takes its place
            }
            continue;
        }
        if (!node->hasAnyFlag(kindMask)) {
            passedOver.push_back(entry);
            continue;
        }
        // The host of the node's request now, which a redirect may have changed since the
        // node was set aside.
        // The host asked: where the node's redirects led, else its own.
        const std::string key = hostKey(node->address());
        if (key.empty()) {
            picked = node;
        } else if (const std::uint32_t index = hostIndex(key); !mayStart(m_hosts[index], now)) {
            Host& host = m_hosts[index];
            if (entry.origin != 0 && entry.origin != index + 1) {
                bringBack(entry.origin - 1);
            }
            entry.origin = 0;
            host.aside.push_back(entry);
            std::push_heap(host.aside.begin(), host.aside.end(), EntryLater{});
            ++m_asideCount;
            if (!host.parked) {
                host.parked = true;
                recheck(index, now);
            }
            continue;
        } else if (m_hosts[index].parked) {
            // The host may start again before anything told the queue so (its limits were
            // raised): its first node set aside may come before this one.
            m_hosts[index].parked = false;
            bringBack(index);
            m_queue.push_back(entry);
            std::push_heap(m_queue.begin(), m_queue.end(), EntryLater{});
            continue;
        } else {
            picked = node;
        }
        if (entry.origin != 0) {
            bringBack(entry.origin - 1);
        }
    }
    for (const Entry& entry : passedOver) {
        m_queue.push_back(entry);
        std::push_heap(m_queue.begin(), m_queue.end(), EntryLater{});
    }
    return picked;
}

void CrawlQueue::requestStarted(const std::string& key, TimePoint now) {
    if (key.empty()) {
        return;
    }
    Host& host = m_hosts[hostIndex(key)];
    ++host.running;
    host.lastStart = now;
}

void CrawlQueue::requestEnded(const std::string& key, TimePoint now) {
    if (key.empty()) {
        return;
    }
    const std::uint32_t index = hostIndex(key);
    m_hosts[index].running = std::max(m_hosts[index].running - 1, 0);
    recheck(index, now);
}

void CrawlQueue::slowDown(const std::string& key) {
    if (key.empty()) {
        return;
    }
    Host& host = m_hosts[hostIndex(key)];
    if (host.interval < kMaxSlowDown) {
        host.interval = host.interval == std::chrono::milliseconds::zero() ? kFirstSlowDown
                                                                           : std::min(host.interval * 2, kMaxSlowDown);
    }
}

std::chrono::milliseconds CrawlQueue::interval(const std::string& key) const {
    const auto it = m_hostIndexes.find(key);
    return it != m_hostIndexes.end() ? m_hosts[it->second].interval : m_interval;
}

void CrawlQueue::defer(WebNode* node, TimePoint due) {
    m_deferredNodes.insert(node);
    m_timers.push_back(Timer{due, node, 0});
    std::push_heap(m_timers.begin(), m_timers.end(), TimerLater{});
}

std::vector<WebNode*> CrawlQueue::takeDeferred() {
    std::vector<Timer> timers = std::move(m_timers);
    m_timers.clear();
    std::sort(timers.begin(), timers.end(), [](const Timer& a, const Timer& b) { return a.due < b.due; });
    std::vector<WebNode*> nodes;
    for (const Timer& timer : timers) {
        if (timer.node == nullptr) {
            m_timers.push_back(timer);
        } else if (m_deferredNodes.erase(timer.node) > 0) {
            nodes.push_back(timer.node);
        }
    }
    std::make_heap(m_timers.begin(), m_timers.end(), TimerLater{});
    return nodes;
}

std::optional<CrawlQueue::TimePoint> CrawlQueue::nextDue() const {
    if (m_timers.empty()) {
        return std::nullopt;
    }
    return m_timers.front().due;
}

} // namespace corvida
