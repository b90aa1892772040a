// SPDX-License-Identifier: MIT
#pragma once

// A TransferFactory makes the crawl's transfers; the program installs the network's, tests
// may install their own.

#include <memory>

#include "net/Transfer.h"

namespace corvida {

class TransferFactory {
public:
    virtual ~TransferFactory() = default;

    // A new idle transfer that reads at most bufferSize bytes at once (bufferSize > 0).
    virtual std::unique_ptr<Transfer> create(int bufferSize) = 0;
};

} // namespace corvida
