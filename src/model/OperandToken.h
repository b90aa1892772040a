// SPDX-License-Identifier: MIT
#pragma once

// An OperandToken yields a 32-bit value of one class for a node: a ValueToken always the
// same value, an AttributeToken a value read from the node. Operators check the classes of
// their operands before they read them.

#include <cstdint>

#include "model/FilterToken.h"

namespace corvida {

class WebNode;

// The classes of operand values. Type2 and Type3 have numbers but no token uses them.
enum class FilterValueType : std::int32_t {
    Boolean = 0,
    Number = 1,
    Type2 = 2,
    Type3 = 3,
    MajorType = 4,
    MimeType = 5,
};

class OperandToken : public FilterToken {
public:
    const OperandToken* asOperand() const override { return this; }

    virtual FilterValueType valueType() const = 0;
    // The operand's value for node.
    virtual std::int32_t value(const WebNode& node) const = 0;

    bool isBoolean() const { return valueType() == FilterValueType::Boolean; }
    bool isNumber() const { return valueType() == FilterValueType::Number; }
    bool isMajorType() const { return valueType() == FilterValueType::MajorType; }
    bool isMimeType() const { return valueType() == FilterValueType::MimeType; }
};

} // namespace corvida
