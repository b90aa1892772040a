// SPDX-License-Identifier: MIT
#include "support/FakeTransfers.h"

#include <algorithm>
#include <fstream>

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
        return begin(listener, "GET", url, headers);
    }

    TransferStart head(TransferListener& listener, std::string_view url, const HttpRequestHeaders& headers,
                       std::string_view /*proxy*/) override {
        m_path.clear();
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

    FakeTransfers& m_owner;
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
