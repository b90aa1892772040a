// SPDX-License-Identifier: MIT
#pragma once

// A Filter decides which nodes a project window shows. It holds a name, the criteria it was
// compiled from (none for a hand-made program such as "All") and a postfix program of tokens
// that a stack machine evaluates against each node. The program is compiled once when the
// criteria change, not per node.
//
// Evaluation is forgiving: a program that is short of operands, mixes operand classes or
// does not reduce to one operand yields -1, and callers let every non-zero result through.
// A filter with no type selected tests only its link and size criteria; with none of them
// either, its program is empty and every node passes.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/AttributeToken.h"
#include "model/FilterCriteria.h"
#include "model/FilterToken.h"
#include "model/OperatorToken.h"
#include "model/ValueToken.h"

namespace corvida {

class WebNode;

class Filter {
public:
    explicit Filter(std::string name = {}) : m_name(std::move(name)) {}
    Filter(Filter&&) = default;
    Filter& operator=(Filter&&) = default;

    const std::string& name() const { return m_name; }
    void setName(std::string_view name) { m_name = name; }

    // The criteria the program was compiled from, or nullptr when there are none.
    const FilterCriteria* criteria() const { return m_criteria ? &*m_criteria : nullptr; }
    // Copies criteria and compiles them into a new program.
    void setCriteria(const FilterCriteria& criteria);
    // Replaces the program with one compiled from the criteria:
    //   (type = t1 OR ... OR type = tn) AND [NOT broken | broken] AND [size threshold < size]
    // leaving out the clauses that test nothing (the type clause when no type is selected).
    // Without criteria the program is left as it is.
    void compile();

    // Runs the program for node: 1 pass, 0 fail, -1 a program that cannot be evaluated. A
    // program that ends in a single operand gives that operand's value.
    std::int32_t evaluate(const WebNode& node) const;
    // Whether node passes: evaluate() is not 0, so errors let the node through.
    bool passes(const WebNode& node) const { return evaluate(node) != 0; }

    void clearProgram() { m_program.clear(); }
    void appendOperator(FilterOperation operation);
    // Appends token to the program; a null token is left out.
    void appendToken(std::unique_ptr<FilterToken> token);
    const std::vector<std::unique_ptr<FilterToken>>& program() const { return m_program; }

private:
    std::string m_name;
    std::optional<FilterCriteria> m_criteria;
    std::vector<std::unique_ptr<FilterToken>> m_program;
};

} // namespace corvida
