// SPDX-License-Identifier: MIT
#include "platform/QtImagingLibrary.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/Thumbnailer.h"
#include "model/WebNode.h"

namespace corvida {
namespace {

using Result = Thumbnailer::Result;

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

    static QImage readGif(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::string signature(6, '\0');
        in.read(signature.data(), 6);
        EXPECT_EQ(signature, "GIF89a") << file;
        QImageReader reader(QString::fromStdString(file));
        EXPECT_EQ(reader.format(), "gif") << file;
        return reader.read();
    }

    QTemporaryDir dir;
    QtImagingLibrary imaging;
};

TEST_F(QtImagingLibraryTest, PicturesOfEachKindGetEightBitGifThumbnails) {
    QImage mono(100, 1, QImage::Format_Mono);
    mono.fill(0);
    mono.setPixel(50, 0, 1);
    QImage translucent(40, 40, QImage::Format_ARGB32);
    translucent.fill(Qt::transparent);
    translucent.setPixel(20, 20, qRgb(200, 30, 30));
    struct Case {
        std::string picture;
        int width, height, depth, thumbnailWidth, thumbnailHeight;
    };
    const Case cases[] = {
        {write(gradient(64, 16), "wide.png"), 64, 16, 24, 32, 8},
        {write(gradient(20, 10), "small.jpg"), 20, 10, 24, 20, 10},
        {write(mono, "line.png"), 100, 1, 1, 32, 2},
        {write(translucent, "square.png"), 40, 40, 32, 32, 32},
    };
    for (const Case& c : cases) {
        WebNode node(CUrl("http://h/p.png"));
        const std::string thumbnail = c.picture + ".gif";
        EXPECT_EQ(Thumbnailer(imaging).make(node, c.picture, thumbnail, true), Result::FileWritten) << c.picture;
        EXPECT_EQ(node.pictureWidth(), c.width) << c.picture;
        EXPECT_EQ(node.pictureHeight(), c.height) << c.picture;
        EXPECT_EQ(node.pictureDepth(), c.depth) << c.picture;
        EXPECT_EQ(node.thumbnailDepth(), 8);
        EXPECT_TRUE(node.hasAllFlags(kFlagPictureCopy | kFlagThumbnail));
        EXPECT_EQ(readGif(thumbnail).size(), QSize(c.thumbnailWidth, c.thumbnailHeight)) << c.picture;
    }
    EXPECT_EQ(imaging.pictureCount(), 0u);
}

TEST_F(QtImagingLibraryTest, GifFilesKeepColoursTransparencyAndDepth) {
    QImage picture(12, 5, QImage::Format_ARGB32);
    const QRgb colours[] = {qRgba(0, 0, 0, 0), qRgb(255, 0, 0), qRgb(0, 128, 255), qRgb(250, 250, 10)};
    for (int i = 0; i < 60; ++i) {
        picture.setPixel(i % 12, i / 12, colours[(i % 12 + 2 * (i / 12)) % 4]);
    }
    // Saved under a JPEG name: the content decides the format when it is read back.
    const std::string gif = path("four.jpg");
    ImagingLibrary::Handle handle = imaging.load(write(picture, "four.png"));
    ASSERT_TRUE(imaging.reduceTo8Bits(handle));
    ASSERT_TRUE(imaging.saveGif(handle, gif));
    imaging.release(handle);
    const QImage back = readGif(gif).convertToFormat(QImage::Format_ARGB32);
    for (int i = 0; i < 60; ++i) {
        const QRgb expected = picture.pixel(i % 12, i / 12);
        EXPECT_EQ(back.pixel(i % 12, i / 12), qAlpha(expected) == 0 ? 0u : expected) << i;
    }
    handle = imaging.load(gif);
    ImagingLibrary::Info info;
    ASSERT_TRUE(imaging.info(handle, info));
    EXPECT_EQ(info.bitsPerPixel, 2); // four colours
    imaging.release(handle);

    // Too many colours for an exact palette: dithered, but transparent pixels stay transparent.
    handle = imaging.load(write(gradient(64, 64, QImage::Format_ARGB32), "many.png"));
    ASSERT_TRUE(imaging.saveGif(handle, path("many.gif")));
    imaging.release(handle);
    const QImage manyBack = readGif(path("many.gif"));
    EXPECT_EQ(qAlpha(manyBack.pixel(5, 5)), 0);
    EXPECT_EQ(qAlpha(manyBack.pixel(5, 50)), 255);
}

TEST_F(QtImagingLibraryTest, FailuresLeaveNoThumbnailAndNoFile) {
    const std::string garbage = path("garbage.gif");
    std::ofstream(garbage, std::ios::binary) << "GIF89a\x10\x00\x10\x00 this is not a picture";
    const std::string cut = write(gradient(64, 64), "cut.png");
    std::filesystem::resize_file(cut, 40);
    for (const std::string& picture : {path("missing.gif"), garbage, cut, dir.path().toStdString()}) {
        WebNode node(CUrl("http://h/p.gif"));
        EXPECT_EQ(Thumbnailer(imaging).make(node, picture, path("t.gif"), true), Result::NotLoaded) << picture;
        EXPECT_EQ(node.flags(), 0u);
    }
    EXPECT_FALSE(std::filesystem::exists(path("t.gif")));

    // Unwritable thumbnail paths: a missing folder, or a folder in the file's place.
    const std::string picture = write(gradient(64, 16), "wide.png");
    std::filesystem::create_directory(path("folder.gif"));
    for (const std::string& thumbnail : {path("nowhere/t.gif"), path("folder.gif")}) {
        WebNode node(CUrl("http://h/p.png"));
        EXPECT_EQ(Thumbnailer(imaging).make(node, picture, thumbnail, true), Result::FileFailed) << thumbnail;
        EXPECT_FALSE(node.hasAnyFlag(kFlagThumbnail));
        EXPECT_EQ(node.thumbnailWidth(), 32);
    }
    EXPECT_FALSE(std::filesystem::exists(path("nowhere")));
    EXPECT_TRUE(std::filesystem::is_directory(path("folder.gif")));

    // Too wide for a GIF file: refused before a file is begun.
    const ImagingLibrary::Handle handle = imaging.load(picture);
    ASSERT_TRUE(imaging.resize(handle, 70000, 1));
    EXPECT_FALSE(imaging.saveGif(handle, path("wide.gif")));
    EXPECT_FALSE(std::filesystem::exists(path("wide.gif")));
    imaging.release(handle);
    EXPECT_FALSE(imaging.saveGif(handle, path("wide.gif")));
    EXPECT_EQ(imaging.pictureCount(), 0u);
}

} // namespace
} // namespace corvida
