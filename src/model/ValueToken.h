// SPDX-License-Identifier: MIT
#pragma once

// A ValueToken is a constant operand: a value of a given class, the same for every node.

#include <cstdint>

#include "model/OperandToken.h"

namespace corvida {

class ValueToken : public OperandToken {
public:
    ValueToken(std::int32_t value, FilterValueType type) : m_value(value), m_type(type) {}

    FilterValueType valueType() const override { return m_type; }
    std::int32_t value(const WebNode&) const override { return m_value; }

private:
    std::int32_t m_value;
    FilterValueType m_type;
};

} // namespace corvida
