// SPDX-License-Identifier: MIT
#pragma once

// Transfers that never start, for benchmarks that feed a project document by hand; its UI is
// the tests' QuietUi.

#include <memory>

#include "net/TransferFactory.h"

namespace corvida::bench {

class NoTransfers : public TransferFactory {
public:
    std::unique_ptr<Transfer> create(int /*bufferSize*/) override { return nullptr; }
};

} // namespace corvida::bench
