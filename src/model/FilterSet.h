// SPDX-License-Identifier: MIT
#pragma once

// The FilterSet holds the program's five filters: slot 0 "All", which lets every node through,
// and the user-editable slots 1 to 4 with their built-in definitions. Filters are not stored:
// every run of the program starts with this set.

#include <array>
#include <cstddef>

#include "model/Filter.h"

namespace corvida {

class FilterSet {
public:
    static constexpr std::size_t kSlotCount = 5;
    static constexpr std::size_t kAllSlot = 0;

    // The five built-in filters, compiled.
    FilterSet();

    // The filter of slot (0 to 4).
    Filter& at(std::size_t slot) { return m_filters.at(slot); }
    const Filter& at(std::size_t slot) const { return m_filters.at(slot); }
    std::size_t size() const { return m_filters.size(); }

private:
    std::array<Filter, kSlotCount> m_filters;
};

} // namespace corvida
