// SPDX-License-Identifier: MIT
#pragma once

// An ImagingLibrary loads picture files and works on them through integer handles: it reads
// a picture's size and bits per pixel, resizes it, brings it to 8 bits per pixel and saves it
// as a GIF file. The crawl uses it for thumbnails and the views for drawing; nodes keep the
// views' handles as plain numbers, which is why handles are integers and not objects.
//
// The library owns every loaded picture until release() is called with its handle. The
// desktop implementation lives in src/platform (QtImagingLibrary); the program installs one
// at start-up with install(), and code that finds none installed makes no thumbnails.

#include <cstdint>
#include <string>

namespace corvida {

class ImagingLibrary {
public:
    using Handle = std::int32_t;
    static constexpr Handle kNoHandle = -1;

    // Size and colour depth of a loaded picture.
    struct Info {
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::int32_t bitsPerPixel = 0;
    };

    virtual ~ImagingLibrary() = default;

    // Loads the picture file at path (any format the library reads). Returns a handle of 0 or
    // more, or a negative number when the file is missing, unreadable or not a picture.
    virtual Handle load(const std::string& path) = 0;
    // Fills info for a loaded picture. Returns false for an unknown handle.
    virtual bool info(Handle handle, Info& info) const = 0;
    // Scales the picture to width x height pixels (both at least 1). Returns false on failure,
    // leaving the picture as it was.
    virtual bool resize(Handle handle, std::int32_t width, std::int32_t height) = 0;
    // Brings a deeper picture down to 8 bits per pixel (a palette of at most 256 colours).
    virtual bool reduceTo8Bits(Handle handle) = 0;
    // Brings a picture of fewer bits per pixel up to 8 bits per pixel.
    virtual bool raiseTo8Bits(Handle handle) = 0;
    // Writes the picture to path as a GIF file, replacing any file there. Returns false on
    // failure; a file that was begun is then removed, so no partial GIF file is left.
    virtual bool saveGif(Handle handle, const std::string& path) = 0;
    // Frees the picture; the handle becomes unknown. Unknown handles are ignored.
    virtual void release(Handle handle) = 0;

    // The library installed for the whole process, or nullptr.
    static ImagingLibrary* installed();
    // Installs library (not owned; it must outlive every use) or, with nullptr, none.
    static void install(ImagingLibrary* library);
};

} // namespace corvida
