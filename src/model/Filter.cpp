// SPDX-License-Identifier: MIT
#include "model/Filter.h"

#include <utility>

namespace corvida {

namespace {

// One place of the evaluation stack: an operand of the program, or the result of an
// operator (token null), which is a boolean held by value.
struct StackEntry {
    const OperandToken* token = nullptr;
    std::int32_t result = 0;

    FilterValueType valueType() const { return token != nullptr ? token->valueType() : FilterValueType::Boolean; }
    std::int32_t value(const WebNode& node) const { return token != nullptr ? token->value(node) : result; }
};

bool classesFit(FilterOperation operation, FilterValueType left, FilterValueType right) {
    switch (operation) {
    case FilterOperation::And:
    case FilterOperation::Or:
    case FilterOperation::Not:
        return left == FilterValueType::Boolean && right == FilterValueType::Boolean;
    case FilterOperation::Less:
    case FilterOperation::Greater:
        return left == FilterValueType::Number && right == FilterValueType::Number;
    case FilterOperation::Equal:
        return left == right;
    }
    return false;
}

std::int32_t apply(FilterOperation operation, std::int32_t left, std::int32_t right) {
    switch (operation) {
    case FilterOperation::And:
        return left != 0 && right != 0 ? 1 : 0;
    case FilterOperation::Or:
        return left != 0 || right != 0 ? 1 : 0;
    case FilterOperation::Not:
        return right == 0 ? 1 : 0;
    case FilterOperation::Less:
        return left < right ? 1 : 0;
    case FilterOperation::Greater:
        return left > right ? 1 : 0;
    case FilterOperation::Equal:
        return left == right ? 1 : 0;
    }
    return 0;
}

} // namespace

void Filter::setCriteria(const FilterCriteria& criteria) {
    m_criteria = criteria;
    compile();
}

void Filter::compile() {
    if (!m_criteria) {
        return;
    }
    const FilterCriteria& criteria = *m_criteria;
    m_program.clear();
    // Each clause after the first is joined by AND. A filter without types starts with its
    // link or size clause, so those still apply; with no clause at all the empty program
    // lets every node through.
    bool hasClause = false;
    const auto joinClause = [this, &hasClause] {
        if (hasClause) {
            appendOperator(FilterOperation::And);
        }
        hasClause = true;
    };
    for (std::size_t i = 0; i < criteria.types.size(); ++i) {
        appendToken(std::make_unique<AttributeToken>(FilterAttribute::MajorType));
        appendToken(
            std::make_unique<ValueToken>(static_cast<std::int32_t>(criteria.types[i]), FilterValueType::MajorType));
        appendOperator(FilterOperation::Equal);
        if (i > 0) {
            appendOperator(FilterOperation::Or);
        }
    }
    hasClause = !criteria.types.empty();
    if (criteria.linkOption == FilterCriteria::kLinkGood) {
        appendToken(std::make_unique<AttributeToken>(FilterAttribute::Broken));
        appendOperator(FilterOperation::Not);
        joinClause();
    } else if (criteria.linkOption == FilterCriteria::kLinkBad) {
        appendToken(std::make_unique<AttributeToken>(FilterAttribute::Broken));
        joinClause();
    }
    if (criteria.useSize != 0) {
        appendToken(std::make_unique<ValueToken>(criteria.size, FilterValueType::Number));
        appendToken(std::make_unique<AttributeToken>(FilterAttribute::Size));
        appendOperator(FilterOperation::Less);
        joinClause();
    }
}

std::int32_t Filter::evaluate(const WebNode& node) const {
    constexpr std::int32_t kError = -1;
    std::vector<StackEntry> stack;
    stack.reserve(m_program.size());
    for (const std::unique_ptr<FilterToken>& token : m_program) {
        if (const OperandToken* operand = token->asOperand()) {
            stack.push_back(StackEntry{operand, 0});
            continue;
        }
        const OperatorToken* op = token->asOperator();
        if (op == nullptr || stack.size() < static_cast<std::size_t>(op->operandCount())) {
            return kError;
        }
        // The right operand is the one pushed last; NOT has only that one.
        const StackEntry right = stack.back();
        stack.pop_back();
        StackEntry left = right;
        if (op->operandCount() == 2) {
            left = stack.back();
            stack.pop_back();
        }
        if (!classesFit(op->operation(), left.valueType(), right.valueType())) {
            return kError;
        }
        stack.push_back(StackEntry{nullptr, apply(op->operation(), left.value(node), right.value(node))});
    }
    if (stack.size() != 1) {
        return kError;
    }
    return stack.back().value(node);
}

void Filter::appendOperator(FilterOperation operation) {
    m_program.push_back(std::make_unique<OperatorToken>(operation));
}

void Filter::appendToken(std::unique_ptr<FilterToken> token) {
    if (token) {
        m_program.push_back(std::move(token));
    }
}

} // namespace corvida
