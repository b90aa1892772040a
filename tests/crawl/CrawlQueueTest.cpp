// SPDX-License-Identifier: MIT
#include "crawl/CrawlQueue.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/CUrl.h"
#include "model/WebNode.h"

namespace corvida {
namespace {

using std::chrono::milliseconds;

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

} // namespace
} // namespace corvida
