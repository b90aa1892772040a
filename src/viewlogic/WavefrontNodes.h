// SPDX-License-Identifier: MIT
#pragma once

// WavefrontNodes is the node list of one Wavefront map: which WebNode each index stands for,
// the reverse map, and per node the selected, in-links, out-links and thumbnail flags, over the
// WavefrontLayout that places them. It applies the document's insert batches. The nodes belong
// to the document; the list holds references that a reset (clear) drops.

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <unordered_map>
#include <vector>

#include "doc/InsertRecord.h"
#include "viewlogic/WavefrontLayout.h"

namespace corvida {

class DocumentView;
class WebNode;

class WavefrontNodes {
public:
    using Index = WavefrontLayout::Index;

    // What one insert batch changed.
    struct InsertResult {
        bool added = false;        // new nodes were appended
        int firstLevel = 0;        // levels laid out again (valid when added or relaid)
        int lastLevel = -1;        // empty range: firstLevel > lastLevel
        std::vector<Index> redraw; // nodes already present to draw again in place
        int canvasChange = 0;      // change of the canvas side (see WavefrontLayout)
        // Ring numbers (level + 1) of the annulus to repaint, empty when lastRing < firstRing.
        int firstRing() const { return firstLevel + 1; }
        int lastRing() const { return lastLevel + 1; }
    };

    WavefrontNodes() = default;
    WavefrontNodes(const WavefrontNodes&) = delete;
    WavefrontNodes& operator=(const WavefrontNodes&) = delete;

    // Applies a batch: records of another master than master are skipped; a node already here
    // (redraw-only or not) is only drawn again, never given a second icon; a node with a
    // negative or excessive level is skipped; new nodes are laid out with their levels, and the
    // canvas is updated. Nodes must outlive the list or be dropped by clear().
    InsertResult insert(std::span<const InsertRecord> records, const DocumentView* master);
    // Forgets every node (a reset); layout settings, canvas and scroll positions stay.
    void clear();

    std::size_t size() const { return m_nodes.size(); }
    // Requires index < size().
    WebNode& node(Index index) const { return *m_nodes[index]; }
    std::optional<Index> indexOf(const WebNode* node) const;

    const WavefrontLayout& layout() const { return m_layout; }
    // Layout changes that the list must follow; each returns whether anything changed.
    bool setZoom(int zoom) { return m_layout.setZoom(zoom); }
    bool setMaxLevel(int maxLevel) { return m_layout.setMaxLevel(maxLevel); }
    void pan(QPoint delta) { m_layout.pan(delta); }
    void scrollBy(Qt::Orientation orientation, int d) { m_layout.scrollBy(orientation, d); }

    bool thumbnails() const { return m_thumbnails; }
    // Turns thumbnails on or off: recomputes every node's thumbnail flag and icon size and lays
    // every level out again. Returns whether the option changed.
    bool setThumbnails(bool on);
    // The node's thumbnail flag: thumbnails are on and the node is an image.
    bool thumbnailFlag(Index index) const { return (m_flags[index] & kThumbnailBit) != 0; }

    bool isSelected(Index index) const { return (m_flags[index] & kSelectedBit) != 0; }
    bool inLinksShown(Index index) const { return (m_flags[index] & kInLinksBit) != 0; }
    bool outLinksShown(Index index) const { return (m_flags[index] & kOutLinksBit) != 0; }
    void setSelected(Index index, bool on) { setBit(index, kSelectedBit, on); }
    void setInLinksShown(Index index, bool on) { setBit(index, kInLinksBit, on); }
    void setOutLinksShown(Index index, bool on) { setBit(index, kOutLinksBit, on); }
    // The nodes whose in-links or out-links flag is set, in node-list order.
    const std::set<Index>& linkedNodes() const { return m_linked; }

private:
    static constexpr std::uint8_t kSelectedBit = 0x1;
    static constexpr std::uint8_t kInLinksBit = 0x2;
    static constexpr std::uint8_t kOutLinksBit = 0x4;
    static constexpr std::uint8_t kThumbnailBit = 0x8;

    void setBit(Index index, std::uint8_t bit, bool on);
    bool wantsThumbnail(const WebNode& node) const;
    bool isLargeIcon(Index index) const;

    WavefrontLayout m_layout;
    std::vector<WebNode*> m_nodes;
    std::vector<std::uint8_t> m_flags;
    std::unordered_map<const WebNode*, Index> m_index;
    std::set<Index> m_linked;
    bool m_thumbnails = false;
};

} // namespace corvida
