// SPDX-License-Identifier: MIT
#include "crawl/FetchSlot.h"

#include "crawl/Crawler.h"
#include "model/Web.h"
#include "net/StringTable.h"

namespace corvida {

FetchSlot::~FetchSlot() {
    if (m_current) {
        m_current->stop();
    }
}

void FetchSlot::begin(WebNode* node, bool testingOnly) {
    m_node = node;
    m_busy = true;
    m_testingOnly = testingOnly;
    m_status = -1;
    m_reason.clear();
    m_challenge.clear();
    m_target.clear();
    m_host.clear();
    m_retryAfter.reset();
}

void FetchSlot::setAnswer(int status, std::string_view reason, std::string_view challenge) {
    m_status = status;
    m_reason = reason;
    m_challenge = challenge;
}

void FetchSlot::finish() {
    m_busy = false;
    m_node = nullptr;
}

Transfer& FetchSlot::newTransfer(std::unique_ptr<Transfer> transfer) {
    m_previous = std::move(m_current);
    m_current = std::move(transfer);
    return *m_current;
}

void FetchSlot::stop() {
    if (m_current) {
        m_current->stop();
    }
    finish();
}

void FetchSlot::statusText(std::string_view text) {
    // The robots.txt request (no node) works unseen.
    if (m_node != nullptr) {
        m_crawler.web().listener().slotText(text, m_index);
    }
}

void FetchSlot::percent(int value) {
    if (m_node != nullptr) {
        m_crawler.web().listener().slotProgress(value, m_index);
    }
}

void FetchSlot::headers(int statusCode, std::string_view reason, const HttpReplyHeaders& reply,
                        const HttpEntityHeaders& entity) {
    m_crawler.headersArrived(*this, statusCode, reason, reply, entity);
}

void FetchSlot::end(bool success, int stringNumber, int /*errorCode*/) {
    // A failure's text may carry details (a TLS reason) that only the transfer knows.
    const std::string text =
        success || !m_current ? std::string(StringTable::text(stringNumber)) : m_current->failureText();
    m_crawler.transferFinished(*this, success, text);
}

} // namespace corvida
