// SPDX-License-Identifier: MIT
#include "net/NetworkTransferFactory.h"

#include "net/HttpTransfer.h"

namespace corvida {

std::unique_ptr<Transfer> NetworkTransferFactory::create(int bufferSize) {
    auto transfer = std::make_unique<HttpTransfer>(bufferSize, m_timeout);
    if (m_tlsContext) {
        transfer->setTlsContext(m_tlsContext);
    }
    return transfer;
}

} // namespace corvida
