// SPDX-License-Identifier: MIT
#include "support/FakeTransfers.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <utility>

#include "net/HttpEntityHeaders.h"
#include "net/HttpReplyHeaders.h"
#include "net/HttpRequestHeaders.h"
#include "net/StringTable.h"
#include "net/TransferListener.h"

namespace corvida::test {

class FakeTransfers::FakeTransfer : public Transfer {
public:
    explicit FakeTransfer(FakeTransfers& owner) : m_owner(owner) {}
    ~FakeTransfer() override { stop(); }

    TransferStart getIntoFile(TransferListener& listener, std::string_view url, const std::string& filePath,
                              const HttpRequestHeaders& headers, std::string_view /*proxy*/) override {
        if (!std::ofstream(filePath, std::ios::binary)) {
            return TransferStart::FileNotCreated;
        }
        m_path = filePath;
        m_memory.reset();
        return begin(listener, "GET", url, headers);
    }

    TransferStart getIntoMemory(TransferListener& listener, std::string_view url, std::size_t memoryLimit,
                                const std::string& spillPath, const HttpRequestHeaders& headers,
                                std::string_view /*proxy*/) override {
        m_path.clear();
        m_memory = Memory{memoryLimit, spillPath, std::nullopt};
        ++m_owner.memoryRequests;
        return begin(listener, "GET", url, headers);
    }

    std::optional<std::string> takeBody() override {
        return m_memory ? std::exchange(m_memory->body, std::nullopt) : std::nullopt;
    }

    TransferStart head(TransferListener& listener, std::string_view url, const HttpRequestHeaders& headers,
                       std::string_view /*proxy*/) override {
        m_path.clear();
        m_memory.reset();
        return begin(listener, "HEAD", url, headers);
    }

    void stop() override {
        auto& running = m_owner.m_running;
        running.erase(std::remove(running.begin(), running.end(), this), running.end());
    }

    void finish() {
        stop();
        auto it = m_owner.replies.find(m_method + " " + m_url);
        if (it == m_owner.replies.end()) {
            it = m_owner.replies.find(m_url);
        }
        FakeTransfers::Reply reply;
        if (it != m_owner.replies.end()) {
            reply = it->second;
        } else {
            reply.status = 404;
            reply.reason = "Not Found";
        }
        if (reply.status == 0) {
            m_failure = kStringConnectionRefused;
            m_listener->end(false, kStringConnectionRefused, 111);
            return;
        }
        HttpReplyHeaders replyHeaders;
        HttpEntityHeaders entity;
        if (!reply.location.empty()) {
            replyHeaders.location = reply.location;
        }
        if (!reply.wwwAuthenticate.empty()) {
            replyHeaders.wwwAuthenticate = reply.wwwAuthenticate;
        }
        if (!reply.retryAfter.empty()) {
            replyHeaders.retryAfter = reply.retryAfter;
        }
        entity.contentType = reply.contentType;
        entity.contentLength = static_cast<std::int32_t>(reply.body.size());
        m_listener->headers(reply.status, reply.reason, replyHeaders, entity);
        if (!m_path.empty()) {
            std::ofstream(m_path, std::ios::binary) << reply.body;
        } else if (m_memory && reply.body.size() <= m_memory->limit) {
            m_memory->body = reply.body;
        } else if (m_memory && !m_memory->spillPath.empty()) {
            std::ofstream(m_memory->spillPath, std::ios::binary) << reply.body;
        }
        m_failure = reply.fail ? kStringClosedBeforeComplete : kStringNone;
        m_listener->end(!reply.fail, reply.fail ? kStringClosedBeforeComplete : kStringTransferComplete, 0);
    }

    std::string failureText() const override { return std::string(StringTable::text(m_failure)); }

private:
    TransferStart begin(TransferListener& listener, std::string method, std::string_view url,
                        const HttpRequestHeaders& headers) {
        m_listener = &listener;
        m_method = std::move(method);
        m_url = url;
        m_owner.requests.push_back(m_method + " " + m_url);
        m_owner.authorizations.push_back(headers.authorization.value_or(""));
        m_owner.m_running.push_back(this);
        return TransferStart::Started;
    }

    struct Memory {
        std::size_t limit;
        std::string spillPath;
        std::optional<std::string> body;
    };

    FakeTransfers& m_owner;
    std::optional<Memory> m_memory; // set for a GET into memory
    TransferListener* m_listener = nullptr;
    std::string m_method;
    std::string m_url;
    std::string m_path;
    int m_failure = kStringNone;
};

std::unique_ptr<Transfer> FakeTransfers::create(int /*bufferSize*/) {
    return std::make_unique<FakeTransfer>(*this);
}

bool FakeTransfers::finishNext() {
    if (m_running.empty()) {
        return false;
    }
    m_running.front()->finish();
    return true;
}

} // namespace corvida::test
