// SPDX-License-Identifier: MIT
#include "net/NetworkTransferFactory.h"

#include "net/NetworkTransfer.h"

namespace corvida {

std::unique_ptr<Transfer> NetworkTransferFactory::create(int bufferSize) {
    return std::make_unique<NetworkTransfer>(bufferSize, m_timeout);
}

} // namespace corvida
