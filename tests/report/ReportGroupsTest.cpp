// SPDX-License-Identifier: MIT
// Group numbers of the report: one group per link level while a level is small, several
// numbered one after another once a level holds more documents or pictures than one group
// takes, and the later levels moved up past them.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Web.h"
#include "report/ReportGroups.h"

namespace corvida {
namespace {

class ReportGroupsTest : public ::testing::Test {
protected:
    // count nodes named PREFIXn.EXTENSION at level.
    std::vector<WebNode*> add(const std::string& prefix, const std::string& extension, int count, int level) {
        std::vector<WebNode*> nodes;
        for (int i = 0; i < count; ++i) {
            WebNode* node =
                m_web.findOrAddNode(CUrl("http://127.0.0.1/" + prefix + std::to_string(i) + "." + extension));
            node->setLevel(level);
            nodes.push_back(node);
        }
        return nodes;
    }

    // The group numbers of the nodes that start with prefix, in URL order (the node array's).
    std::vector<std::int32_t> groupsOf(const std::string& prefix) const {
        std::vector<std::int32_t> groups;
        for (const WebNode* node : m_web.nodes()) {
            if (node->url().url().starts_with("http://127.0.0.1/" + prefix)) {
                groups.push_back(node->groupNumber());
            }
        }
        return groups;
    }

    Web m_web;
};

TEST_F(ReportGroupsTest, CrowdedLevelSplitsInUrlOrderAndLaterLevelsMoveUp) {
    add("home", "htm", 1, 0);
    add("page", "htm", 2 * ReportGroups::kGroupSize + 1, 1);
    const std::vector<WebNode*> pictures = add("picture", "gif", ReportGroups::kGroupSize, 1);
    const std::vector<WebNode*> archive = add("archive", "zip", 1, 1);
    const std::vector<WebNode*> second = add("second", "htm", 1, 2);
    const std::vector<WebNode*> far = add("far", "htm", 1, 9);
    ReportGroups(m_web).apply(m_web);
    const ReportGroups groups(m_web);

    std::vector<std::int32_t> expected(ReportGroups::kGroupSize, 1);
    expected.resize(2 * ReportGroups::kGroupSize, 2);
    expected.push_back(3);
    EXPECT_EQ(groupsOf("page"), expected);
    // Pictures fill their own groups; other kinds go with the level's first group.
    EXPECT_EQ(pictures.back()->groupNumber(), 1);
    EXPECT_EQ(archive[0]->groupNumber(), 1);
    // Level 2 takes the next free number; level 9 is still free.
    EXPECT_EQ(second[0]->groupNumber(), 4);
    EXPECT_EQ(far[0]->groupNumber(), 9);
    EXPECT_EQ(groups.numbers(), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 9}));
    EXPECT_EQ(std::vector<std::int32_t>(
                  {groups.firstOfLevel(1), groups.firstOfLevel(2), groups.firstOfLevel(3), groups.firstOfLevel(4)}),
              std::vector<std::int32_t>({1, 1, 1, 4}));
}

TEST_F(ReportGroupsTest, LevelsAtTheTopOfTheRangeShareTheHighestGroup) {
    const std::int32_t highest = 2147483647;
    add("top", "htm", ReportGroups::kGroupSize + 1, highest - 1);
    add("beyond", "htm", ReportGroups::kGroupSize + 1, highest);
    ReportGroups(m_web).apply(m_web);
    std::vector<std::int32_t> top(ReportGroups::kGroupSize, highest - 1);
    top.push_back(highest);
    EXPECT_EQ(groupsOf("top"), top);
    EXPECT_EQ(groupsOf("beyond"), std::vector<std::int32_t>(ReportGroups::kGroupSize + 1, highest));
}

} // namespace
} // namespace corvida
