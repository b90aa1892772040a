// SPDX-License-Identifier: MIT
#pragma once

// FilterCriteria are what a user-defined filter is compiled from: the major types a node may
// have, a link state and an optional size threshold.

#include <cstdint>
#include <vector>

namespace corvida {

struct FilterCriteria {
    // Link options.
    static constexpr std::int32_t kLinkGood = 0; // only nodes that are not broken
    static constexpr std::int32_t kLinkBad = 1;  // only broken nodes
    static constexpr std::int32_t kLinkAll = 2;  // no link test

    std::int32_t useSize = 0; // 1: apply the size threshold
    std::int32_t size = 0;    // a node passes only if its size is strictly greater
    std::int32_t linkOption = kLinkAll;
    std::vector<std::uint32_t> types; // major type indexes; a node passes with any of them

    friend bool operator==(const FilterCriteria&, const FilterCriteria&) = default;
};

} // namespace corvida
