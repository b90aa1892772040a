// SPDX-License-Identifier: MIT
#include "drawing/WavefrontPainter.h"

#include <algorithm>
#include <unordered_map>

#include <QPainter>
#include <QPen>

#include "drawing/NodeIcons.h"
#include "model/WebNode.h"
#include "viewlogic/NodeGlyph.h"

namespace corvida {

namespace {

// Arcs of the etched rings, in sixteenths of a degree: the upper-left half runs
// counter-clockwise from the upper right (45 degrees) to the lower left.
constexpr int kUpperLeftStart = 45 * 16;
constexpr int kLowerRightStart = 225 * 16;
constexpr int kHalfCircle = 180 * 16;
// How far an icon's pixels reach from its point on the circle: half the diagonal of a small or
// a large icon, plus the diagonal pixel by which its truncated position may stand off, rounded up.
constexpr int kSmallIconReach = 13;
constexpr int kLargeIconReach = 25;
// Bands wider than this are not cut out as ellipses; the rectangle they touch is used.
constexpr int kLargestExactBand = 4096;

QRect circleBox(QPoint centre, int radius) {
    return QRect(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
}

// Whether the ring of points between inner and outer round centre meets clip. A batch's clip
// is an annulus made of many thin rectangles, so its bounding rectangle would take in every
// circle inside it.
bool annulusMeetsRegion(QPoint centre, int inner, int outer, const QRegion& clip) {
    return std::any_of(clip.begin(), clip.end(), [&](const QRect& rect) {
        return WavefrontLayout::annulusMeetsRect(centre, inner, outer, rect);
    });
}

// Whether every pixel of image is either opaque or clear, so that drawing it twice at one place
// leaves what drawing it once leaves. The node icons are few and live as long as the program.
bool opaqueOrClear(const QImage& image) {
    static std::unordered_map<qint64, bool> known;
    const auto [entry, added] = known.try_emplace(image.cacheKey(), true);
    if (added) {
        for (int y = 0; y < image.height() && entry->second; ++y) {
            for (int x = 0; x < image.width() && entry->second; ++x) {
                const int alpha = qAlpha(image.pixel(x, y));
                entry->second = alpha == 0 || alpha == 255;
            }
        }
    }
    return entry->second;
}

} // namespace

WavefrontColours WavefrontColours::fromPalette(const QPalette& palette) {
    return {palette.color(QPalette::Button), palette.color(QPalette::Dark), palette.color(QPalette::Highlight)};
}

WavefrontPainter::WavefrontPainter(const WavefrontNodes& nodes, const WavefrontColours& colours,
                                   ThumbnailDrawer thumbnails)
    : m_nodes(nodes), m_colours(colours), m_thumbnails(std::move(thumbnails)) {}

void WavefrontPainter::paint(QPainter& painter, const QRegion& clip) const {
    const QRect bounds = clip.boundingRect();
    if (bounds.isEmpty()) {
        return;
    }
    painter.save();
    painter.setClipRegion(clip, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    painter.fillRect(bounds, m_colours.buttonFace);
    paintRings(painter, clip);

    const WavefrontLayout& layout = m_nodes.layout();
    const int step = layout.ringStep();
    const int reach = iconReach();
    for (int level = 0; level < layout.levelCount() && layout.isShown(level); ++level) {
        // A level whose icons all stay away from the clip is left alone.
        const int radius = level * step;
        if (!annulusMeetsRegion(layout.centre(), radius - reach - 1, radius + reach + 1, clip)) {
            continue;
        }
        LastIcon last;
        for (const Index index : layout.levelNodes(level)) {
            if (layout.iconRect(index).intersects(bounds)) {
                paintNode(painter, index, last);
            }
        }
    }
    paintLinks(painter);
    painter.restore();
}

void WavefrontPainter::paintRings(QPainter& painter, const QRegion& clip) const {
    const WavefrontLayout& layout = m_nodes.layout();
    const QPoint centre = layout.centre();
    // A ring is drawn where its circle, two pixels wide, runs through the clip.
    const auto ringMeetsClip = [&](int radius) { return annulusMeetsRegion(centre, radius - 2, radius + 2, clip); };
    painter.setBrush(Qt::NoBrush);
    const QPen light(Qt::white, 1);
    const QPen dark(m_colours.shadow, 1);
    if (clip.intersects(layout.centreIconRect())) {
        painter.drawImage(layout.centreIconRect().topLeft(), NodeIcons::centreIcon());
    }
    for (int level = 1; level < layout.levelCount() && layout.isShown(level); ++level) {
        const int radius = level * layout.ringStep();
        if (!ringMeetsClip(radius)) {
            continue;
        }
        const QRect outer = circleBox(centre, radius);
        const QRect inner = outer.adjusted(1, 1, -1, -1);
        painter.setPen(light);
        painter.drawArc(outer, kUpperLeftStart, kHalfCircle);
        painter.drawArc(inner, kLowerRightStart, kHalfCircle);
        painter.setPen(dark);
        painter.drawArc(inner, kUpperLeftStart, kHalfCircle);
        painter.drawArc(outer, kLowerRightStart, kHalfCircle);
    }
    if (layout.hasHiddenLevels()) {
        const int radius = layout.hiddenMarkerRadius();
        if (ringMeetsClip(radius)) {
            painter.setPen(QPen(Qt::black, 1, Qt::DashDotLine));
            painter.drawEllipse(circleBox(centre, radius));
        }
    }
}

int WavefrontPainter::iconReach() const {
    return m_nodes.thumbnails() ? kLargeIconReach : kSmallIconReach;
}

void WavefrontPainter::paintNode(QPainter& painter, Index index, LastIcon& last) const {
    const WavefrontLayout& layout = m_nodes.layout();
    const WebNode& node = m_nodes.node(index);
    const QRect box = layout.iconRect(index);
    const NodeGlyph glyph = NodeGlyph::of(node, m_nodes.thumbnailFlag(index));
    if (glyph.kind == NodeGlyph::Kind::Thumbnail && m_thumbnails && m_thumbnails(painter, node, box)) {
        last = {};
        return;
    }
    const QImage& icon = NodeIcons::image(glyph);
    // A large box without its picture shows the icon in its middle.
    const QPoint at = box.topLeft() + QPoint((box.width() - icon.width()) / 2, (box.height() - icon.height()) / 2);
    if (m_nodes.isSelected(index)) {
        painter.drawImage(at, NodeIcons::selected(icon, m_colours.highlight));
        last = {};
        return;
    }
    // Thousands of nodes on one circle stand a fraction of a pixel apart: runs of them share a
    // place and a picture.
    if (last.image == &icon && last.at == at) {
        return;
    }
    painter.drawImage(at, icon);
    last = LastIcon{opaqueOrClear(icon) ? &icon : nullptr, at};
}

void WavefrontPainter::paintLinks(QPainter& painter) const {
    const WavefrontLayout& layout = m_nodes.layout();
    const auto drawLines = [&](Index from, const NeighbourList& neighbours, QRgb colour) {
        painter.setPen(QPen(QColor::fromRgb(colour), 1));
        painter.setBrush(QColor::fromRgb(colour));
        const QPoint start = layout.iconCentre(from);
        for (const WebNode* neighbour : neighbours.sorted()) {
            // Lists read from a damaged project file may hold empty entries.
            if (neighbour == nullptr) {
                continue;
            }
            const auto to = m_nodes.indexOf(neighbour);
            if (!to) {
                continue;
            }
            const QPoint end = layout.iconCentre(*to);
            painter.drawLine(start, end);
            painter.drawEllipse(end, kLinkDotRadius, kLinkDotRadius);
        }
    };
    for (const Index index : m_nodes.linkedNodes()) {
        if (!layout.isShown(layout.level(index))) {
            continue;
        }
        const WebNode& node = m_nodes.node(index);
        if (m_nodes.inLinksShown(index)) {
            drawLines(index, node.inNeighbours(), kInLinkColour);
        }
        if (m_nodes.outLinksShown(index)) {
            drawLines(index, node.outNeighbours(), kOutLinkColour);
        }
    }
}

QRegion WavefrontPainter::bandRegion(int firstRing, int lastRing, const QRect& within) const {
    const WavefrontLayout& layout = m_nodes.layout();
    const QPoint centre = layout.centre();
    // Widened where an icon reaches beyond half a ring step (large icons, small zooms), so that
    // the icons on the band's edge circles repaint whole; no wider, so that the icons of the
    // levels next to the band are left alone.
    const int widening = std::max(iconReach() - layout.ringStep() / 2, 0);
    const int outer = layout.bandOuterRadius(firstRing, lastRing) + widening;
    const int inner = std::max(layout.bandInnerRadius(firstRing, lastRing) - widening, 0);
    if (!WavefrontLayout::annulusMeetsRect(centre, inner, outer + 1, within)) {
        return {};
    }
    if (outer > kLargestExactBand) {
        return QRegion(within);
    }
    QRegion band(circleBox(centre, outer).adjusted(0, 0, 1, 1), QRegion::Ellipse);
    if (inner > 0) {
        band -= QRegion(circleBox(centre, inner).adjusted(0, 0, 1, 1), QRegion::Ellipse);
    }
    return band & within;
}

} // namespace corvida
