// SPDX-License-Identifier: MIT
#include "model/NodeTally.h"

#include "model/WebNode.h"

namespace corvida {

std::size_t NodeTally::isProcessed(std::uint32_t flags) {
    return (flags & kFlagProcessed) != 0 ? 1 : 0;
}

std::size_t NodeTally::isBroken(std::uint32_t flags) {
    const bool fetchFailed = (flags & (kFlagFetched | kFlagFetchStarted)) == kFlagFetchStarted;
    const bool testFailed = (flags & (kFlagTested | kFlagTestStarted)) == kFlagTestStarted;
    return fetchFailed || testFailed ? 1 : 0;
}

} // namespace corvida
