// SPDX-License-Identifier: MIT
#pragma once

// The NetworkTransferFactory makes the crawl's transfers over real sockets, each with the
// same time limit for a transfer that makes no progress.

#include <chrono>

#include "net/HttpConnection.h"
#include "net/TransferFactory.h"

namespace corvida {

class NetworkTransferFactory : public TransferFactory {
public:
    explicit NetworkTransferFactory(std::chrono::milliseconds timeout = HttpConnection::kDefaultTimeout)
        : m_timeout(timeout) {}

    std::unique_ptr<Transfer> create(int bufferSize) override;

private:
    std::chrono::milliseconds m_timeout;
};

} // namespace corvida
