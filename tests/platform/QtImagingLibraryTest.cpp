// SPDX-License-Identifier: MIT
#include "platform/QtImagingLibrary.h"

#include <filesystem>
#include <string>
#include <tuple>

#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "crawl/Thumbnailer.h"
#include "model/WebNode.h"

namespace corvida {
namespace {

using Result = Thumbnailer::Result;
constexpr QImage::Format kAlpha = QImage::Format_ARGB32;

class QtImagingLibraryTest : public testing::Test {
protected:
    std::string path(const std::string& name) const { return dir.filePath(QString::fromStdString(name)).toStdString(); }

    // Writes picture into the temporary folder, in the format its name's suffix gives.
    std::string write(const QImage& picture, const std::string& name) const {
        EXPECT_TRUE(picture.save(QString::fromStdString(path(name)))) << name;
        return path(name);
    }

    // A true-colour picture with a different colour in every pixel; with an alpha channel,
    // its upper half is transparent.
    static QImage gradient(int width, int height, QImage::Format format = QImage::Format_RGB32) {
        QImage picture(width, height, format);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int alpha = picture.hasAlphaChannel() && y < height / 2 ? 0 : 255;
                picture.setPixel(x, y, qRgba(x * 255 / width, y * 255 / height, (x + y) % 256, alpha));
            }
        }
        return picture;
    }

    // Reads file, which must be a GIF whatever its name says.
    static QImage readGif(const std::string& file) {
        QImageReader reader(QString::fromStdString(file));
        EXPECT_EQ(reader.format(), "gif") << file;
        return reader.read();
    }

    QTemporaryDir dir;
    QtImagingLibrary imaging;
};

// Pictures of one, 24 and 32 bits per pixel are raised or reduced to 8 bits for their GIF
// thumbnails.
TEST_F(QtImagingLibraryTest, PicturesOfEachDepthGetGifThumbnails) {
    QImage mono(100, 1, QImage::Format_Mono);
    mono.fill(0);
    mono.setPixel(50, 0, 1);
    const std::tuple<std::string, QImage, int> cases[] = {
        {"line.png", mono, 1}, {"wide.jpg", gradient(64, 16), 24}, {"alpha.png", gradient(40, 40, kAlpha), 32}};
    for (const auto& [name, picture, depth] : cases) {
        WebNode node(CUrl("http://h/p.png"));
        EXPECT_EQ(Thumbnailer(imaging).make(node, write(picture, name), path(name + ".gif"), true), Result::FileWritten)
            << name;
        EXPECT_EQ(node.pictureDepth(), depth) << name;
        EXPECT_EQ(readGif(path(name + ".gif")).width(), 32) << name;
    }
    EXPECT_EQ(imaging.pictureCount(), 0u);
}

TEST_F(QtImagingLibraryTest, GifFilesKeepColoursAndTransparency) {
    QImage picture(12, 5, kAlpha);
    const QRgb colours[] = {qRgba(0, 0, 0, 0), qRgb(255, 0, 0), qRgb(0, 128, 255), qRgb(250, 250, 10)};
    for (int i = 0; i < 60; ++i) {
        picture.setPixel(i % 12, i / 12, colours[(i % 12 + 2 * (i / 12)) % 4]);
    }
    ImagingLibrary::Handle handle = imaging.load(write(picture, "four.png"));
    ASSERT_TRUE(imaging.saveGif(handle, path("four.gif")));
    imaging.release(handle);
    const QImage back = readGif(path("four.gif")).convertToFormat(kAlpha);
    for (int i = 0; i < 60; ++i) {
        const QRgb expected = picture.pixel(i % 12, i / 12);
        EXPECT_EQ(back.pixel(i % 12, i / 12), qAlpha(expected) == 0 ? 0u : expected) << i;
    }
    // Too many colours for an exact palette: dithered, but transparent pixels stay transparent.
    handle = imaging.load(write(gradient(64, 64, kAlpha), "many.png"));
    ASSERT_TRUE(imaging.saveGif(handle, path("many.gif")));
    imaging.release(handle);
    const QImage manyBack = readGif(path("many.gif"));
    EXPECT_EQ(qAlpha(manyBack.pixel(5, 5)), 0);
    EXPECT_EQ(qAlpha(manyBack.pixel(5, 50)), 255);
}

TEST_F(QtImagingLibraryTest, FailuresLeaveNoPictureAndNoFile) {
    // A cut-off picture, which Qt would give in part, and a folder are not pictures.
    const std::string cut = write(gradient(64, 64), "cut.png");
    std::filesystem::resize_file(cut, 40);
    EXPECT_LT(imaging.load(cut), 0);
    EXPECT_LT(imaging.load(dir.path().toStdString()), 0);
    // A folder in the file's place stays; a picture too wide for a GIF file is refused before
    // a file is begun; a released picture is unknown.
    const ImagingLibrary::Handle handle = imaging.load(write(gradient(64, 16), "wide.png"));
    std::filesystem::create_directory(path("folder.gif"));
    EXPECT_FALSE(imaging.saveGif(handle, path("folder.gif")));
    EXPECT_TRUE(std::filesystem::is_directory(path("folder.gif")));
    ASSERT_TRUE(imaging.resize(handle, 70000, 1));
    EXPECT_FALSE(imaging.saveGif(handle, path("wide.gif")));
    EXPECT_FALSE(std::filesystem::exists(path("wide.gif")));
    imaging.release(handle);
    EXPECT_FALSE(imaging.saveGif(handle, path("wide.gif")));
    EXPECT_EQ(imaging.pictureCount(), 0u);
}

} // namespace
} // namespace corvida
