// SPDX-License-Identifier: MIT
#pragma once

// The NetworkTransferFactory makes the crawl's transfers over real sockets, each with the
// same time limit for a transfer that makes no progress and the same TLS configuration.

#include <chrono>
#include <optional>

#include <QSslConfiguration>

#include "net/HttpConnection.h"
#include "net/TransferFactory.h"

namespace corvida {

class NetworkTransferFactory : public TransferFactory {
public:
    explicit NetworkTransferFactory(std::chrono::milliseconds timeout = HttpConnection::kDefaultTimeout)
        : m_timeout(timeout) {}

    std::unique_ptr<Transfer> create(int bufferSize) override;

    // The TLS configuration of the https transfers made from now on (see TlsTrust).
    void setTlsConfiguration(const QSslConfiguration& configuration) { m_tlsConfiguration = configuration; }

private:
    std::chrono::milliseconds m_timeout;
    // Unset: Qt's default (looked at only when an https request is made).
    std::optional<QSslConfiguration> m_tlsConfiguration;
};

} // namespace corvida
