// SPDX-License-Identifier: MIT
#pragma once

// FakeTransfers is an in-memory TransferFactory for crawl and document tests: every request is
// recorded and held until the test ends it with finishNext(), which answers with the reply
// scripted for its URL (a 404 when there is none). No sockets and no clocks: a test decides
// exactly when each answer arrives.

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "net/Transfer.h"
#include "net/TransferFactory.h"

namespace corvida::test {

class FakeTransfers : public TransferFactory {
public:
    struct Reply {
        int status = 200;
        std::string reason = "OK";
        std::string contentType = "text/html";
        std::string body;
        std::string location;        // Location header, when not empty
        std::string wwwAuthenticate; // WWW-Authenticate header, when not empty
        std::string retryAfter;      // Retry-After header, when not empty
        bool fail = false;           // the connection fails after the headers (or before, at status 0)
    };

    // Replies by "METHOD url" (GET or HEAD) or by url for both.
    std::map<std::string, Reply> replies;
    // "METHOD url" of every request, in the order they started.
    std::vector<std::string> requests;
    // Authorization header of every request, in the same order ("" when none).
    std::vector<std::string> authorizations;
    // How many GETs asked for their body in memory.
    std::size_t memoryRequests = 0;

    std::unique_ptr<Transfer> create(int bufferSize) override;

    // Ends the request that started first among those still running. False when none runs.
    bool finishNext();
    std::size_t running() const { return m_running.size(); }

    class FakeTransfer;

private:
    friend class FakeTransfer;
    std::deque<FakeTransfer*> m_running;
};

} // namespace corvida::test
