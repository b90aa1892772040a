// SPDX-License-Identifier: MIT
#include "report/ReportGroups.h"

#include <algorithm>
#include <limits>

#include "model/Web.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr std::int64_t kHighestGroup = std::numeric_limits<std::int32_t>::max();

std::int32_t levelOf(const WebNode& node) {
    return std::max(node.level(), 0);
}

// Which count a node takes its place in: pictures and documents fill groups; any other
// kind joins its level's first group.
enum class Counted { Picture, Document, Neither };

Counted countedAs(const WebNode& node) {
    if (node.hasAnyFlag(kFlagPicture)) {
        return Counted::Picture;
    }
    return node.hasAnyFlag(kFlagDocument) ? Counted::Document : Counted::Neither;
}

struct Level {
    std::size_t documents = 0;
    std::size_t pictures = 0;
    std::int64_t firstGroup = 0;
};

std::int64_t groupsFor(std::size_t count) {
    return static_cast<std::int64_t>((count + ReportGroups::kGroupSize - 1) / ReportGroups::kGroupSize);
}

} // namespace

ReportGroups::ReportGroups(const Web& web) {
    const std::vector<WebNode*>& nodes = web.nodes();
    std::map<std::int32_t, Level> levels;
    for (const WebNode* node : nodes) {
        Level& level = levels[levelOf(*node)];
        switch (countedAs(*node)) {
        case Counted::Picture:
            ++level.pictures;
            break;
        case Counted::Document:
            ++level.documents;
            break;
        case Counted::Neither:
            break;
        }
    }

    // Group numbers stay within 32 bits even for absurd levels read from a file: groups
    // past the highest number share it, which merges their pages but loses no profile.
    std::int64_t nextFree = 0;
    for (auto& [number, level] : levels) {
        level.firstGroup = std::min(std::max<std::int64_t>(number, nextFree), kHighestGroup);
        const std::int64_t count = std::max<std::int64_t>({1, groupsFor(level.documents), groupsFor(level.pictures)});
        nextFree = level.firstGroup + count;
        for (std::int64_t later = level.firstGroup + 1; later < nextFree && later <= kHighestGroup; ++later) {
            m_firstOfLevel.emplace(static_cast<std::int32_t>(later), static_cast<std::int32_t>(level.firstGroup));
        }
        // From here on the two counts number the level's nodes as they are met.
        level.documents = 0;
        level.pictures = 0;
    }

    m_groups.reserve(nodes.size());
    for (const WebNode* node : nodes) {
        Level& level = levels[levelOf(*node)];
        std::size_t index = 0;
        switch (countedAs(*node)) {
        case Counted::Picture:
            index = level.pictures++;
            break;
        case Counted::Document:
            index = level.documents++;
            break;
        case Counted::Neither:
            break;
        }
        const std::int64_t group = level.firstGroup + static_cast<std::int64_t>(index / kGroupSize);
        m_groups.push_back(static_cast<std::int32_t>(std::min(group, kHighestGroup)));
    }
}

void ReportGroups::apply(Web& web) const {
    const std::vector<WebNode*>& nodes = web.nodes();
    for (std::size_t i = 0; i < nodes.size() && i < m_groups.size(); ++i) {
        nodes[i]->setGroupNumber(m_groups[i]);
    }
}

std::vector<std::int32_t> ReportGroups::numbers() const {
    std::vector<std::int32_t> numbers = m_groups;
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

std::int32_t ReportGroups::firstOfLevel(std::int32_t group) const {
    const auto found = m_firstOfLevel.find(group);
    return found != m_firstOfLevel.end() ? found->second : group;
}

} // namespace corvida
