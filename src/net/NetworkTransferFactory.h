// SPDX-License-Identifier: MIT
#pragma once

// The NetworkTransferFactory makes the crawl's transfers over real sockets, each with the
// same time limit for a transfer that makes no progress and the same TLS context, so that
// https connections resume the sessions of those before them.

#include <chrono>
#include <memory>
#include <utility>

#include "net/HttpConnection.h"
#include "net/TransferFactory.h"

namespace corvida {

class NetworkTransferFactory : public TransferFactory {
public:
    explicit NetworkTransferFactory(std::chrono::milliseconds timeout = HttpConnection::kDefaultTimeout)
        : m_timeout(timeout) {}

    std::unique_ptr<Transfer> create(int bufferSize) override;

    // The TLS context of the https transfers made from now on (see TlsTrust).
    void setTlsContext(std::shared_ptr<TlsContext> context) { m_tlsContext = std::move(context); }

private:
    std::chrono::milliseconds m_timeout;
    // Null: the program's default (the system's CAs, checked).
    std::shared_ptr<TlsContext> m_tlsContext;
};

} // namespace corvida
