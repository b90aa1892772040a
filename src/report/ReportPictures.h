// SPDX-License-Identifier: MIT
#pragma once

// ReportPictures holds the GIF pictures that the report's pages show and writes them into
// the report directory. Every picture is an interlaced GIF89a with a global colour table and
// one transparent colour, kept as bytes in the program so that every report carries the same
// files: the web and local-copy icons, the logo of the banner, the Make Local Site button and
// the image icon of the help page, and the spacers space1.gif to space36.gif (N x 6 pixels,
// every pixel transparent) that line up the entries of the list pages.

#include <cstddef>
#include <string_view>
#include <vector>

namespace corvida {

class ReportContext;

class ReportPictures {
public:
    // The widest spacer: space1.gif to space36.gif exist.
    static constexpr int kSpacerCount = 36;

    struct Picture {
        std::string_view fileName;
        std::string_view bytes;
    };

    // Every picture in the order the report writes them: global.gif, local.gif, space1.gif
    // to space36.gif, logo.gif, site.gif, newimage.gif. The texts refer to static storage.
    static const std::vector<Picture>& all();

    // Writes every picture of all() through context, in that order.
    static void write(ReportContext& context);
};

} // namespace corvida
