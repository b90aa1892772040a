// SPDX-License-Identifier: MIT
#include "crawl/Thumbnailer.h"

#include <algorithm>

#include "model/ImagingLibrary.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

// Releases a picture handle when the thumbnail step ends, whichever way it ends.
class HandleGuard {
public:
    HandleGuard(ImagingLibrary& imaging, ImagingLibrary::Handle handle) : m_imaging(imaging), m_handle(handle) {}
    HandleGuard(const HandleGuard&) = delete;
    HandleGuard& operator=(const HandleGuard&) = delete;
    ~HandleGuard() { m_imaging.release(m_handle); }

private:
    ImagingLibrary& m_imaging;
    ImagingLibrary::Handle m_handle;
};

// Scales side by kMaximumSide / longest, rounded half up, never below the minimum side.
std::int32_t scaledSide(std::int32_t side, std::int32_t longest) {
    const double scaled = static_cast<double>(side) * Thumbnailer::kMaximumSide / static_cast<double>(longest);
    return std::max(static_cast<std::int32_t>(scaled + 0.5), Thumbnailer::kMinimumSide);
}

} // namespace

Thumbnailer::Size Thumbnailer::thumbnailSize(std::int32_t width, std::int32_t height) {
    if (width <= kMaximumSide && height <= kMaximumSide) {
        return {width, height};
    }
    if (width == height) {
        return {kMaximumSide, kMaximumSide};
    }
    if (width > height) {
        return {kMaximumSide, scaledSide(height, width)};
    }
    return {scaledSide(width, height), kMaximumSide};
}

Thumbnailer::Result Thumbnailer::make(WebNode& node, const std::string& picturePath, const std::string& thumbnailPath,
                                      bool writeFile) const {
    const ImagingLibrary::Handle handle = m_imaging.load(picturePath);
    if (handle < 0) {
        return Result::NotLoaded;
    }
    const HandleGuard guard(m_imaging, handle);

    ImagingLibrary::Info info;
    if (!m_imaging.info(handle, info) || info.width <= 0 || info.height <= 0) {
        return Result::NotLoaded;
    }
    node.setPicture(info.width, info.height, info.bitsPerPixel);
    node.setFlags(kFlagPictureCopy);

    const Size size = thumbnailSize(info.width, info.height);
    if (size != Size{info.width, info.height} && !m_imaging.resize(handle, size.width, size.height)) {
        return Result::NoThumbnail;
    }
    if (info.bitsPerPixel > kThumbnailDepth && !m_imaging.reduceTo8Bits(handle)) {
        return Result::NoThumbnail;
    }
    if (info.bitsPerPixel < kThumbnailDepth && !m_imaging.raiseTo8Bits(handle)) {
        return Result::NoThumbnail;
    }
    node.setThumbnail(size.width, size.height, kThumbnailDepth);

    if (!writeFile) {
        return Result::Thumbnail;
    }
    if (!m_imaging.saveGif(handle, thumbnailPath)) {
        // A failed save leaves no file, so an older thumbnail of this node is gone as well.
        node.clearFlags(kFlagThumbnail);
        return Result::FileFailed;
    }
    node.setFlags(kFlagThumbnail);
    return Result::FileWritten;
}

} // namespace corvida
