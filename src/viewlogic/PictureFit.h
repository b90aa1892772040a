// SPDX-License-Identifier: MIT
#pragma once

// PictureFit places a picture in a box: scaled to fit with its proportions kept, and centred.
// The thumbnails of the Wavefront map and the picture of the URL Properties window are placed
// this way, so the same picture gets the same size in both wherever the box has that size.

#include <optional>

namespace corvida {

class PictureFit {
public:
    // Where the picture goes, relative to the box's top left corner.
    struct Placement {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;

        bool operator==(const Placement&) const = default;
    };

    // The placement of a pictureWidth x pictureHeight picture in a boxWidth x boxHeight box.
    // With the ratios r = pictureHeight / pictureWidth and q = boxHeight / boxWidth, taken in
    // single precision, the picture is boxWidth wide and trunc(r * boxWidth) high when
    // r <= q, else trunc(boxHeight / r) wide and boxHeight high; a side is never less than one
    // pixel. It sits centred, the halves of the spare room rounded toward zero. std::nullopt
    // when a side of the picture or of the box is not positive: there is nothing to draw.
    static std::optional<Placement> fit(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);
};

} // namespace corvida
