// SPDX-License-Identifier: MIT
#include "net/NetworkTransferFactory.h"

#include "net/HttpTransfer.h"

namespace corvida {

std::unique_ptr<Transfer> NetworkTransferFactory::create(int bufferSize) {
    return std::make_unique<HttpTransfer>(bufferSize, m_timeout);
}

} // namespace corvida
