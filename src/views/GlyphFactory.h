// SPDX-License-Identifier: MIT
#pragma once

// GlyphFactory draws the program's pictures in code: the 16 x 16 toolbar glyphs of the
// commands and the application's icon, each as crisp pixmaps for ordinary and high-density
// screens. Nothing is read from files or from the desktop's icon theme, so the program looks
// the same everywhere, the offscreen platform included.

#include <QIcon>

#include "viewlogic/Command.h"

namespace corvida {

class GlyphFactory {
public:
    // The side of a toolbar glyph in device-independent pixels.
    static constexpr int kGlyphSize = 16;

    // Returns command's toolbar glyph at kGlyphSize for device pixel ratios 1 and 2, or a null
    // icon for a command that has no toolbar button.
    static QIcon icon(Command command);
    // Returns the application's icon (rings around a centre, with dots on them) at the usual
    // icon sizes from 16 to 256 pixels.
    static QIcon applicationIcon();
    // Returns the icon of a link-tree item at kGlyphSize for device pixel ratios 1 and 2: a
    // page with its direct link targets, or with subtree a page with everything below it.
    static QIcon linkTreeIcon(bool subtree);
};

} // namespace corvida
