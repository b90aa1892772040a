// SPDX-License-Identifier: MIT
#pragma once

// A NodeTally counts the processed and the broken nodes of one Web as their flags change, so
// that progress panes and counters read two numbers instead of walking every node. The Web
// owns it; each of its nodes reports every change of its flags.

#include <cstddef>
#include <cstdint>

namespace corvida {

struct NodeTally {
    std::size_t processed = 0;
    std::size_t broken = 0;

    // A node's flags change from before to after (a new node counts from no flags).
    void change(std::uint32_t before, std::uint32_t after) {
        processed += isProcessed(after);
        processed -= isProcessed(before);
        broken += isBroken(after);
        broken -= isBroken(before);
    }

    static std::size_t isProcessed(std::uint32_t flags);
    // A fetch or a test was started and did not succeed.
    static std::size_t isBroken(std::uint32_t flags);
};

} // namespace corvida
