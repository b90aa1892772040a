// SPDX-License-Identifier: MIT
#include "net/NetworkTransferFactory.h"

#include "net/HttpTransfer.h"

namespace corvida {

std::unique_ptr<Transfer> NetworkTransferFactory::create(int bufferSize) {
    auto transfer = std::make_unique<HttpTransfer>(bufferSize, m_timeout);
    if (m_tlsConfiguration) {
        transfer->setTlsConfiguration(*m_tlsConfiguration);
    }
    return transfer;
}

} // namespace corvida
