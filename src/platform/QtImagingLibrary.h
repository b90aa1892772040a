// SPDX-License-Identifier: MIT
#pragma once

// The desktop's ImagingLibrary: pictures are read with QImageReader (every format the
// installed Qt image plugins read: GIF, JPEG, PNG, BMP, ...) and held as QImages; GIF files
// are written with giflib, since Qt reads GIF but cannot write it. It needs no display: a
// QCoreApplication is enough. Install one with ImagingLibrary::install() at start-up.

#include <cstddef>
#include <unordered_map>

#include <QImage>

#include "model/ImagingLibrary.h"

namespace corvida {

class QtImagingLibrary : public ImagingLibrary {
public:
    QtImagingLibrary() = default;
    QtImagingLibrary(const QtImagingLibrary&) = delete;
    QtImagingLibrary& operator=(const QtImagingLibrary&) = delete;

    // The format is recognised from the file's content, not its name. Multi-frame pictures
    // give their first frame; GIF pictures keep a palette the size of the file's colour map.
    // Pictures beyond Qt's allocation limit are refused.
    Handle load(const std::string& path) override;
    // Bits per pixel as the picture's colours need them: 1 for two-colour pictures, the
    // palette's bit count for indexed ones (4 for 16 colours), 24 for opaque true colour,
    // 32 with an alpha channel.
    bool info(Handle handle, Info& info) const override;
    // Scales with smooth (bilinear) filtering.
    bool resize(Handle handle, std::int32_t width, std::int32_t height) override;
    // Both convert to an 8-bit indexed picture with a palette of 256 entries; true-colour
    // pictures of more than 256 colours are dithered.
    bool reduceTo8Bits(Handle handle) override;
    bool raiseTo8Bits(Handle handle) override;
    // Writes a GIF89a file of one image whose global colour map holds the palette entries that
    // the pixels use; a mostly transparent palette colour becomes the transparent colour. A
    // picture that is not indexed yet is converted first. On failure a file that was begun
    // is removed.
    bool saveGif(Handle handle, const std::string& path) override;
    void release(Handle handle) override;

    // The picture of handle, or nullptr for an unknown handle. The pointer stays valid until
    // the handle is released or its picture changed.
    const QImage* image(Handle handle) const;
    // How many pictures are held.
    std::size_t pictureCount() const { return m_pictures.size(); }

    // Bits per pixel of picture, as info() reports them.
    static std::int32_t bitsPerPixel(const QImage& picture);

private:
    bool convertTo8Bits(Handle handle);
    Handle newHandle();

    std::unordered_map<Handle, QImage> m_pictures;
    Handle m_nextHandle = 0;
};

} // namespace corvida
