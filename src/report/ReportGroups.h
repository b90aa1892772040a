// SPDX-License-Identifier: MIT
#pragma once

// ReportGroups gives every node the group number that the report files it under. A group
// holds the nodes of one link level (a node without a level counts as level 0), and at most
// kGroupSize documents and kGroupSize pictures of it, taken in URL order; a level with more
// of either gets as many groups as it needs, numbered one after another. Each document and
// picture profile page holds one group, so no page grows with the size of the site.
//
// The group numbers follow the levels: a level's first group is the level itself unless an
// earlier level took that number for one of its later groups, in which case it is the next
// free one. A project that has no level larger than kGroupSize thus keeps group number =
// level and the same page names as ever (docs0.htm, docs1.htm, ...).
//
// Nodes that are neither documents nor pictures go with the first group of their level. The
// list pages draw one ruler per level, not per group: firstOfLevel() tells which groups
// belong together.

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace corvida {

class Web;

class ReportGroups {
public:
    // The most documents, and the most pictures, that one group holds.
    static constexpr std::size_t kGroupSize = 2000;

    // No grouping: every group number stands for a level of its own.
    ReportGroups() = default;
    // The groups of web's nodes as they are now. web is only read, and not referred to later.
    explicit ReportGroups(const Web& web);

    // Sets every node's group number. web must be the Web these groups were made from, with
    // the same nodes.
    void apply(Web& web) const;

    // Every group number given, ascending, each once.
    std::vector<std::int32_t> numbers() const;
    // The first group number of the level that group belongs to: group itself unless group
    // is a later group of a split level. A number these groups never gave stands for itself.
    std::int32_t firstOfLevel(std::int32_t group) const;

private:
    std::vector<std::int32_t> m_groups;                  // by node, in node-array order
    std::map<std::int32_t, std::int32_t> m_firstOfLevel; // a later group of a split level: its first
};

} // namespace corvida
