// SPDX-License-Identifier: MIT
#include "viewlogic/PictureFit.h"

#include <algorithm>

namespace corvida {

std::optional<PictureFit::Placement> PictureFit::fit(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || boxWidth <= 0 || boxHeight <= 0) {
        return std::nullopt;
    }
    const float ratio = static_cast<float>(pictureHeight) / static_cast<float>(pictureWidth);
    const float boxRatio = static_cast<float>(boxHeight) / static_cast<float>(boxWidth);
    Placement placement;
    if (ratio <= boxRatio) {
        placement.width = boxWidth;
        placement.height = static_cast<int>(ratio * static_cast<float>(boxWidth));
    } else {
        placement.width = static_cast<int>(static_cast<float>(boxHeight) / ratio);
        placement.height = boxHeight;
    }
    // A very wide or very tall picture still shows as a line rather than vanishing.
    placement.width = std::clamp(placement.width, 1, boxWidth);
    placement.height = std::clamp(placement.height, 1, boxHeight);
    placement.x = (boxWidth - placement.width) / 2;
    placement.y = (boxHeight - placement.height) / 2;
    return placement;
}

} // namespace corvida
