// SPDX-License-Identifier: MIT
#pragma once

// A Thumbnailer makes the small picture that the views and the report show for a fetched
// picture: it reads the picture's size and depth into its node, shrinks it to fit 32 x 32
// pixels, brings it to 8 bits per pixel, records the thumbnail's size on the node and, when
// asked, writes it as a GIF file. Any failure of the imaging library only skips the thumbnail
// or its file; the picture handle is always released.

#include <cstdint>
#include <string>

namespace corvida {

class ImagingLibrary;
class WebNode;

class Thumbnailer {
public:
    // The longest side of a thumbnail, and the shortest side of a shrunk one.
    static constexpr std::int32_t kMaximumSide = 32;
    static constexpr std::int32_t kMinimumSide = 2;
    // Thumbnails always have this many bits per pixel.
    static constexpr std::int32_t kThumbnailDepth = 8;

    struct Size {
        std::int32_t width = 0;
        std::int32_t height = 0;
        bool operator==(const Size&) const = default;
    };

    // What make() did.
    enum class Result {
        NotLoaded,   // the file could not be read as a picture; the node is unchanged
        NoThumbnail, // picture size, depth and kFlagPictureCopy recorded; resizing or the depth change failed
        Thumbnail,   // thumbnail size and depth recorded too; no file was asked for
        FileWritten, // the thumbnail file was written and kFlagThumbnail set
        FileFailed,  // the thumbnail file could not be written; none is left and kFlagThumbnail is clear
    };

    // Works through imaging, which must outlive the Thumbnailer.
    explicit Thumbnailer(ImagingLibrary& imaging) : m_imaging(imaging) {}

    // Makes the thumbnail of the picture file at picturePath for node. With writeFile, the
    // thumbnail is also saved as a GIF file at thumbnailPath (its directory must exist).
    Result make(WebNode& node, const std::string& picturePath, const std::string& thumbnailPath, bool writeFile) const;

    // The thumbnail size of a width x height picture (both at least 1): a picture within
    // 32 x 32 keeps its size; else the longer side becomes 32, the other is scaled in
    // proportion and rounded to the nearest pixel, but not below 2.
    static Size thumbnailSize(std::int32_t width, std::int32_t height);

private:
    ImagingLibrary& m_imaging;
};

} // namespace corvida
