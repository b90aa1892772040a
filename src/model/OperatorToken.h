// SPDX-License-Identifier: MIT
#pragma once

// An OperatorToken combines the operands on top of the evaluation stack into a boolean. The
// codes are fixed numbers of the filter program.

#include <cstdint>

#include "model/FilterToken.h"

namespace corvida {

enum class FilterOperation : std::int32_t {
    And = 0,     // two booleans
    Or = 1,      // two booleans
    Not = 2,     // one boolean
    Less = 3,    // two numbers: left < right
    Greater = 4, // two numbers: left > right
    Equal = 5,   // two operands of the same class
};

class OperatorToken : public FilterToken {
public:
    explicit OperatorToken(FilterOperation operation) : m_operation(operation) {}

    const OperatorToken* asOperator() const override { return this; }
    FilterOperation operation() const { return m_operation; }
    // How many operands the operation pops: 1 for Not, else 2.
    int operandCount() const { return m_operation == FilterOperation::Not ? 1 : 2; }

private:
    FilterOperation m_operation;
};

} // namespace corvida
