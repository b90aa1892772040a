// SPDX-License-Identifier: MIT
#pragma once

// An AttributeToken reads one property of the node under test: its major type, MIME type,
// size, neighbour counts or broken state. The codes are fixed numbers of the filter program.

#include <cstdint>

#include "model/OperandToken.h"

namespace corvida {

enum class FilterAttribute : std::int32_t {
    MajorType = 0, // major type index of the node's MIME type
    MimeType = 1,  // the node's MIME type index
    Size = 2,      // the node's size in bytes
    InCount = 3,   // number of in-neighbours
    OutCount = 4,  // number of out-neighbours
    Broken = 5,    // 1 when a fetch or test was started without success, else 0
};

class AttributeToken : public OperandToken {
public:
    explicit AttributeToken(FilterAttribute attribute) : m_attribute(attribute) {}

    FilterAttribute attribute() const { return m_attribute; }
    // Boolean for Broken, Number for the size and the counts, else the type class.
    FilterValueType valueType() const override;
    // Counts beyond the 32-bit range read as the largest value.
    std::int32_t value(const WebNode& node) const override;

private:
    FilterAttribute m_attribute;
};

} // namespace corvida
