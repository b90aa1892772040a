// SPDX-License-Identifier: MIT
#pragma once

// A FilterToken is one step of a filter's postfix program: an operator, or an operand (a fixed
// value or an attribute read from the node under test). A Filter owns the tokens of its
// program; evaluating the program never changes or frees them.

namespace corvida {

class OperandToken;
class OperatorToken;

class FilterToken {
public:
    FilterToken() = default;
    FilterToken(const FilterToken&) = delete;
    FilterToken& operator=(const FilterToken&) = delete;
    virtual ~FilterToken() = default;

    // This token as an operand, or nullptr for an operator.
    virtual const OperandToken* asOperand() const { return nullptr; }
    // This token as an operator, or nullptr for an operand.
    virtual const OperatorToken* asOperator() const { return nullptr; }
};

} // namespace corvida
