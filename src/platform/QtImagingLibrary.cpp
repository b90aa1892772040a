// SPDX-License-Identifier: MIT
#include "platform/QtImagingLibrary.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <unordered_map>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <gif_lib.h>

namespace corvida {

namespace {

// GIF stores sizes in 16 bits.
constexpr std::int32_t kGifMaximumSide = 0xffff;
// Palette colours with less alpha than this are written as the transparent colour.
constexpr int kTransparentBelowAlpha = 128;
// Graphics control extension: "transparent colour given" bit, then the block's length.
constexpr GifByteType kGraphicsControlTransparent = 0x01;
constexpr int kGraphicsControlLength = 4;
// Entries of an 8-bit palette.
constexpr qsizetype kFullPalette = 256;

struct ColorMapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColorMap = std::unique_ptr<ColorMapObject, ColorMapDeleter>;

// Bits needed to number count colours (at least 1, at most 8).
int paletteBits(int count) {
    int bits = 1;
    while (bits < 8 && (1 << bits) < count) {
        ++bits;
    }
    return bits;
}

// An 8-bit copy of picture whose palette holds its colours exactly, padded to paletteSize
// entries; pixels that are mostly transparent share one transparent colour. A null image
// when the picture has more than 256 colours.
QImage exactlyIndexed(const QImage& picture, qsizetype paletteSize) {
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QImage indexed(source.size(), QImage::Format_Indexed8);
    if (source.isNull() || indexed.isNull()) {
        return {};
    }
    QList<QRgb> colors;
    std::unordered_map<QRgb, uchar> indexes;
    for (int y = 0; y < source.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* target = indexed.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            const QRgb color = qAlpha(line[x]) < kTransparentBelowAlpha ? qRgba(0, 0, 0, 0) : (line[x] | 0xff000000u);
            auto it = indexes.find(color);
            if (it == indexes.end()) {
                if (colors.size() == kFullPalette) {
                    return {};
                }
                it = indexes.emplace(color, static_cast<uchar>(colors.size())).first;
                colors.push_back(color);
            }
            target[x] = it->second;
        }
    }
    if (colors.size() < paletteSize) {
        colors.resize(std::min(paletteSize, kFullPalette), qRgb(0, 0, 0));
    }
    indexed.setColorTable(colors);
    return indexed;
}

// Bits per pixel of the global colour map of the GIF file at path, or 0 when it has none.
int gifColorMapBits(const std::string& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) {
        return 0;
    }
    const int bits = gif->SColorMap != nullptr ? gif->SColorMap->BitsPerPixel : 0;
    DGifCloseFile(gif, &error);
    return bits;
}

// Writes picture (Format_Indexed8 with a colour table) to an open GIF file. Returns false on
// any error; the caller closes the file.
bool writeGifImage(GifFileType* gif, const QImage& picture) {
    // The colour map holds only as many entries as the pixels use, so a thumbnail of few
    // colours stays small even when its palette was padded to 256 entries.
    int highestIndex = 0;
    for (int y = 0; y < picture.height(); ++y) {
        const uchar* line = picture.constScanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            highestIndex = std::max<int>(highestIndex, line[x]);
        }
    }
    const int bits = paletteBits(highestIndex + 1);
    const QList<QRgb> colors = picture.colorTable();
    // Indexes beyond the colour table (possible in damaged pictures) are written as black.
    std::vector<GifColorType> entries(std::size_t{1} << bits, GifColorType{0, 0, 0});
    int transparentIndex = -1;
    for (qsizetype i = 0; i < colors.size() && i < static_cast<qsizetype>(entries.size()); ++i) {
        const QRgb color = colors[i];
        entries[static_cast<std::size_t>(i)] =
            GifColorType{static_cast<GifByteType>(qRed(color)), static_cast<GifByteType>(qGreen(color)),
                         static_cast<GifByteType>(qBlue(color))};
        if (transparentIndex < 0 && qAlpha(color) < kTransparentBelowAlpha) {
            transparentIndex = static_cast<int>(i);
        }
    }
    const ColorMap map(GifMakeMapObject(static_cast<int>(entries.size()), entries.data()));
    if (!map) {
        return false;
    }
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, picture.width(), picture.height(), bits, 0, map.get()) != GIF_OK) {
        return false;
    }
    if (transparentIndex >= 0) {
        GifByteType control[kGraphicsControlLength] = {kGraphicsControlTransparent, 0, 0,
                                                       static_cast<GifByteType>(transparentIndex)};
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, kGraphicsControlLength, control) != GIF_OK) {
            return false;
        }
    }
    if (EGifPutImageDesc(gif, 0, 0, picture.width(), picture.height(), false, nullptr) != GIF_OK) {
        return false;
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(picture.width()));
    for (int y = 0; y < picture.height(); ++y) {
        const uchar* source = picture.constScanLine(y);
        std::copy(source, source + picture.width(), line.begin());
        if (EGifPutLine(gif, line.data(), picture.width()) != GIF_OK) {
            return false;
        }
    }
    return true;
}

// Writes picture to path as a GIF file; removes what it began on failure.
bool writeGifFile(const QImage& picture, const std::string& path) {
    if (picture.format() != QImage::Format_Indexed8 || picture.width() < 1 || picture.height() < 1 ||
        picture.width() > kGifMaximumSide || picture.height() > kGifMaximumSide) {
        return false;
    }
    // Opened here rather than by giflib so that the file gets the usual permissions.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    int error = 0;
    GifFileType* gif = EGifOpenFileHandle(fd, &error);
    if (gif == nullptr) {
        ::close(fd);
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        return false;
    }
    const bool written = writeGifImage(gif, picture);
    // Closing flushes the file, so it can fail too; it frees gif either way.
    const bool closed = EGifCloseFile(gif, &error) == GIF_OK;
    if (!written || !closed) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        return false;
    }
    return true;
}

// picture as an 8-bit indexed picture: exact when it has at most 256 colours, else
// dithered by Qt (to a colour cube with one transparent colour when it has an alpha channel).
QImage toIndexed(const QImage& picture) {
    if (picture.format() == QImage::Format_Indexed8) {
        return picture;
    }
    QImage indexed = exactlyIndexed(picture, 0);
    if (!indexed.isNull()) {
        return indexed;
    }
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32)
        .convertToFormat(QImage::Format_Indexed8);
}

} // namespace

std::int32_t QtImagingLibrary::bitsPerPixel(const QImage& picture) {
    switch (picture.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    case QImage::Format_Indexed8:
        return paletteBits(static_cast<int>(picture.colorCount()));
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGBX8888:
        return 24;
    default:
        return picture.depth();
    }
}

QtImagingLibrary::Handle QtImagingLibrary::newHandle() {
    // Handles count up and wrap around past the largest one, skipping those still in use.
    while (m_pictures.contains(m_nextHandle)) {
        m_nextHandle = m_nextHandle == std::numeric_limits<Handle>::max() ? 0 : m_nextHandle + 1;
    }
    const Handle handle = m_nextHandle;
    m_nextHandle = m_nextHandle == std::numeric_limits<Handle>::max() ? 0 : m_nextHandle + 1;
    return handle;
}

QtImagingLibrary::Handle QtImagingLibrary::load(const std::string& path) {
    QImageReader reader(QFile::decodeName(QByteArray::fromStdString(path)));
    reader.setDecideFormatFromContent(true);
    // The reader forgets the format once it has read the picture.
    const bool isGif = reader.format() == "gif";
    QImage picture = reader.read();
    if (picture.isNull()) {
        return kNoHandle;
    }
    if (isGif) {
        // Qt decodes GIF pictures to true colour; the file's colour map tells their real depth.
        const int bits = gifColorMapBits(path);
        QImage indexed = exactlyIndexed(picture, bits > 0 ? qsizetype{1} << bits : 0);
        if (!indexed.isNull()) {
            picture = std::move(indexed);
        }
    }
    const Handle handle = newHandle();
    m_pictures.emplace(handle, std::move(picture));
    return handle;
}

bool QtImagingLibrary::info(Handle handle, Info& info) const {
    const QImage* picture = image(handle);
    if (picture == nullptr) {
        return false;
    }
    info = Info{picture->width(), picture->height(), bitsPerPixel(*picture)};
    return true;
}

bool QtImagingLibrary::resize(Handle handle, std::int32_t width, std::int32_t height) {
    const auto it = m_pictures.find(handle);
    if (it == m_pictures.end() || width < 1 || height < 1) {
        return false;
    }
    QImage scaled = it->second.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (scaled.isNull()) {
        return false;
    }
    it->second = std::move(scaled);
    return true;
}

bool QtImagingLibrary::convertTo8Bits(Handle handle) {
    const auto it = m_pictures.find(handle);
    if (it == m_pictures.end()) {
        return false;
    }
    QImage converted = toIndexed(it->second);
    if (converted.isNull()) {
        return false;
    }
    // A full palette makes the picture report 8 bits per pixel, whatever colours it uses.
    QList<QRgb> colors = converted.colorTable();
    if (colors.size() < kFullPalette) {
        colors.resize(kFullPalette, qRgb(0, 0, 0));
        converted.setColorTable(colors);
    }
    it->second = std::move(converted);
    return true;
}

bool QtImagingLibrary::reduceTo8Bits(Handle handle) {
    return convertTo8Bits(handle);
}

bool QtImagingLibrary::raiseTo8Bits(Handle handle) {
    return convertTo8Bits(handle);
}

bool QtImagingLibrary::saveGif(Handle handle, const std::string& path) {
    const QImage* picture = image(handle);
    if (picture == nullptr) {
        return false;
    }
    return writeGifFile(toIndexed(*picture), path);
}

void QtImagingLibrary::release(Handle handle) {
    m_pictures.erase(handle);
}

const QImage* QtImagingLibrary::image(Handle handle) const {
    const auto it = m_pictures.find(handle);
    return it == m_pictures.end() ? nullptr : &it->second;
}

} // namespace corvida
