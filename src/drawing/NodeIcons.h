// SPDX-License-Identifier: MIT
#pragma once

// NodeIcons draws the pictures that stand for nodes, in code and into QImages, so that they look
// the same on every desktop and need no display: a page with a coloured band per major type, the
// same page faded for nodes not yet processed, scheme icons (envelope, folder, gopher, globe),
// the two overlays for pages of other servers, and the map's 32 x 32 centre icon. Each picture
// is made once per process, on first use; call from one thread (the UI thread, or the command
// line's only thread).

#include <QColor>
#include <QImage>

#include "viewlogic/NodeGlyph.h"

namespace corvida {

class NodeIcons {
public:
    static constexpr int kIconSize = 16;
    static constexpr int kCentreIconSize = 32;

    // The 16 x 16 icon of a glyph (Type, Unprocessed or Scheme) with its overlay drawn over
    // it. A Thumbnail glyph gets the type icon of an image. Icon numbers out of range take
    // icon 0.
    static const QImage& image(const NodeGlyph& glyph);
    // The pieces, for the URL list and for tests.
    static const QImage& typeIcon(int major);
    static const QImage& unprocessedIcon(int major);
    static const QImage& schemeIcon(int scheme);
    static const QImage& overlay(NodeGlyph::Overlay overlay); // a null image for None
    static const QImage& centreIcon();
    // A copy of icon blended half-way with colour where it is opaque: the selected look.
    static QImage selected(const QImage& icon, const QColor& colour);
};

} // namespace corvida
