// SPDX-License-Identifier: MIT
#include "viewlogic/WavefrontNodes.h"

#include <algorithm>
#include <limits>

#include "model/MimeTable.h"
#include "model/WebNode.h"
#include "viewlogic/NodeGlyph.h"

namespace corvida {

WavefrontNodes::InsertResult WavefrontNodes::insert(std::span<const InsertRecord> records, const DocumentView* master) {
    InsertResult result;
    int firstLevel = std::numeric_limits<int>::max();
    int lastLevel = -1;
    const auto touch = [&](int level) {
        firstLevel = std::min(firstLevel, level);
        lastLevel = std::max(lastLevel, level);
    };
    for (const InsertRecord& record : records) {
        if (record.node == nullptr || record.master != master) {
            continue;
        }
        WebNode& node = *record.node;
        if (const auto found = m_index.find(&node); found != m_index.end()) {
            // Redraw-only, or a node offered twice: never a second icon. Its picture may have
            // become a thumbnail since, which changes its size and so its level's layout.
            const Index index = found->second;
            setBit(index, kThumbnailBit, wantsThumbnail(node));
            if (isLargeIcon(index) != m_layout.isLarge(index)) {
                m_layout.setLarge(index, isLargeIcon(index));
                touch(m_layout.level(index));
            }
            if (m_layout.isShown(m_layout.level(index))) {
                result.redraw.push_back(index);
            }
            continue;
        }
        // A negative level (a node never reached, or a damaged project file) has no circle.
        const int level = node.level();
        if (level < 0 || level > WavefrontLayout::kMaxNodeLevel ||
            m_nodes.size() >= std::numeric_limits<Index>::max()) {
            continue;
        }
        const auto index = static_cast<Index>(m_nodes.size());
        m_nodes.push_back(&node);
        m_flags.push_back(wantsThumbnail(node) ? kThumbnailBit : 0);
        m_index.emplace(&node, index);
        m_layout.add(level, isLargeIcon(index));
        result.added = true;
        touch(level);
    }
    if (lastLevel < 0) {
        return result;
    }
    m_layout.layOut(firstLevel, lastLevel);
    result.firstLevel = firstLevel;
    result.lastLevel = lastLevel;
    if (result.added) {
        result.canvasChange = m_layout.updateCanvas();
    }
    return result;
}

void WavefrontNodes::clear() {
    m_layout.clear();
    m_nodes.clear();
    m_flags.clear();
    m_index.clear();
    m_linked.clear();
}

std::optional<WavefrontNodes::Index> WavefrontNodes::indexOf(const WebNode* node) const {
    const auto found = m_index.find(node);
    if (found == m_index.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool WavefrontNodes::setThumbnails(bool on) {
    if (on == m_thumbnails) {
        return false;
    }
    m_thumbnails = on;
    for (Index index = 0; index < m_nodes.size(); ++index) {
        setBit(index, kThumbnailBit, wantsThumbnail(*m_nodes[index]));
        m_layout.setLarge(index, isLargeIcon(index));
    }
    m_layout.layOutAll();
    return true;
}

void WavefrontNodes::setBit(Index index, std::uint8_t bit, bool on) {
    std::uint8_t& flags = m_flags[index];
    flags = static_cast<std::uint8_t>(on ? (flags | bit) : (flags & ~bit));
    if ((flags & (kInLinksBit | kOutLinksBit)) != 0) {
        m_linked.insert(index);
    } else {
        m_linked.erase(index);
    }
}

bool WavefrontNodes::wantsThumbnail(const WebNode& node) const {
    return m_thumbnails && MimeTable::instance().majorOf(node.url().effectiveMimeIndex()) == MimeTable::kMajorImage;
}

bool WavefrontNodes::isLargeIcon(Index index) const {
    return thumbnailFlag(index) && NodeGlyph::hasThumbnail(*m_nodes[index]);
}

} // namespace corvida
