// SPDX-License-Identifier: MIT
#pragma once

// A FetchSlot is one of a crawl's parallel request places: the node it works on, whether the
// request only tests (HEAD), the host it went to, the status of the answer so far, a pending
// Basic challenge, how long the server asked to wait before the next try, and the transfers
// it uses. It hears its transfer as a TransferListener and hands every report
// to its Crawler. A finished transfer is kept until the slot's next transfer starts, so that no
// transfer is destroyed inside its own report.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "net/Transfer.h"
#include "net/TransferListener.h"

namespace corvida {

class Crawler;
class WebNode;

class FetchSlot : public TransferListener {
public:
    // crawler must outlive the slot.
    FetchSlot(Crawler& crawler, int index) : m_crawler(crawler), m_index(index) {}
    FetchSlot(const FetchSlot&) = delete;
    FetchSlot& operator=(const FetchSlot&) = delete;
    ~FetchSlot() override;

    int index() const { return m_index; }
    bool busy() const { return m_busy; }
    WebNode* node() const { return m_node; }
    bool testingOnly() const { return m_testingOnly; }
    int status() const { return m_status; }
    const std::string& reason() const { return m_reason; }
    const std::string& challenge() const { return m_challenge; }

    // Takes node into the slot for a new request: busy, no host, no status yet (-1), no
    // challenge, no wait. A slot busy without a node fetches the crawl's robots.txt.
    void begin(WebNode* node, bool testingOnly);
    // The file a GET writes into (empty for a HEAD).
    const std::string& target() const { return m_target; }
    void setTarget(std::string target) { m_target = std::move(target); }
    // The host the request went to (CrawlQueue::hostKey), empty when none was set.
    const std::string& host() const { return m_host; }
    void setHost(std::string host) { m_host = std::move(host); }
    // The seconds the answer's Retry-After asked to wait, when it gave a usable value.
    std::optional<std::int64_t> retryAfter() const { return m_retryAfter; }
    void setRetryAfter(std::optional<std::int64_t> seconds) { m_retryAfter = seconds; }
    // Records the answer's status line and Basic challenge (empty when none).
    void setAnswer(int status, std::string_view reason, std::string_view challenge);
    // The slot is free again.
    void finish();
    // A new transfer for the next request; the one before it is kept until then.
    Transfer& newTransfer(std::unique_ptr<Transfer> transfer);
    // The body of the transfer that just ended when it stayed in memory (Transfer::takeBody).
    std::optional<std::string> takeBody() { return m_current ? m_current->takeBody() : std::nullopt; }
    // Stops the running transfer without a report and frees the slot.
    void stop();

    void statusText(std::string_view text) override;
    void percent(int value) override;
    void headers(int statusCode, std::string_view reason, const HttpReplyHeaders& reply,
                 const HttpEntityHeaders& entity) override;
    void end(bool success, int stringNumber, int errorCode) override;

private:
    Crawler& m_crawler;
    int m_index;
    WebNode* m_node = nullptr;
    bool m_busy = false;
    bool m_testingOnly = false;
    int m_status = -1;
    std::string m_reason;
    std::string m_challenge;
    std::string m_target;
    std::string m_host;
    std::optional<std::int64_t> m_retryAfter;
    std::unique_ptr<Transfer> m_current;
    std::unique_ptr<Transfer> m_previous;
};

} // namespace corvida
