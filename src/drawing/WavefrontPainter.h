// SPDX-License-Identifier: MIT
#pragma once

// WavefrontPainter paints a Wavefront map (a WavefrontNodes list and its layout) into a QPainter
// that is already translated so that drawing coordinates map onto the device: the button-face
// background, the etched rings of the shown levels, the centre icon, the node icons, the
// dash-dot circle where hidden levels begin, and the red and green lines to the in- and
// out-neighbours of nodes whose link flags are set. It holds references only; the list must
// outlive it.

#include <functional>

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QRegion>

#include "viewlogic/WavefrontNodes.h"

class QPainter;

namespace corvida {

class WebNode;

// The colours the map takes from its surroundings.
struct WavefrontColours {
    QColor buttonFace = QColor(240, 240, 240);
    QColor shadow = QColor(160, 160, 160);
    QColor highlight = QColor(48, 140, 198);

    // The palette's Button, Dark and Highlight colours.
    static WavefrontColours fromPalette(const QPalette& palette);
};

// Draws the node's picture fitted into box; returns false when it has none to draw (the node
// is then drawn as an icon).
using ThumbnailDrawer = std::function<bool(QPainter& painter, const WebNode& node, const QRect& box)>;

class WavefrontPainter {
public:
    using Index = WavefrontNodes::Index;

    static constexpr QRgb kInLinkColour = 0xffff0000;
    static constexpr QRgb kOutLinkColour = 0xff00ff00;
    static constexpr int kLinkDotRadius = 3;

    WavefrontPainter(const WavefrontNodes& nodes, const WavefrontColours& colours, ThumbnailDrawer thumbnails = {});

    // Paints everything that meets clip (drawing coordinates): the background, rings, centre
    // icon, nodes of shown levels and link lines. Painting outside clip is left to the
    // painter's own clip.
    void paint(QPainter& painter, const QRegion& clip) const;
    // The region (drawing coordinates) of the annulus holding rings firstRing..lastRing (ring
    // number = level + 1), widened so that the icons on its edge circles lie inside it, and cut
    // to within (the viewport): what an insert batch must repaint. Very wide bands give the
    // part of within that they touch.
    QRegion bandRegion(int firstRing, int lastRing, const QRect& within) const;

private:
    // The icon drawn last, and where: the next node's icon is left out when it is the same
    // picture at the same place, as drawing it again would change no pixel.
    struct LastIcon {
        const QImage* image = nullptr;
        QPoint at;
    };
    // Draws one node's picture at its place (no background).
    void paintNode(QPainter& painter, Index index, LastIcon& last) const;
    void paintRings(QPainter& painter, const QRegion& clip) const;
    // How far an icon's pixels may reach from its point on its circle.
    int iconReach() const;
    void paintLinks(QPainter& painter) const;

    const WavefrontNodes& m_nodes;
    WavefrontColours m_colours;
    ThumbnailDrawer m_thumbnails;
};

} // namespace corvida
