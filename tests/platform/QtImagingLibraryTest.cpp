// SPDX-License-Identifier: MIT
#include "platform/QtImagingLibrary.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <QColor>
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
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    std::string path(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }

    // Writes picture to the temporary folder in the given format and returns its path.
    std::string write(const QImage& picture, const char* name, const char* format) const {
        const std::string file = path(name);
        EXPECT_TRUE(picture.save(QString::fromStdString(file), format)) << name;
        return file;
    }

    // A true-colour picture with a different colour in every pixel.
    static QImage gradient(int width, int height) {
        QImage picture(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                picture.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x + y) % 256));
            }
        }
        return picture;
    }

    static QImage readBack(const std::string& file) {
        QImageReader reader(QString::fromStdString(file));
        EXPECT_EQ(reader.format(), "gif") << file;
        return reader.read();
    }

    static std::string firstBytes(const std::string& file, std::size_t count) {
        std::ifstream in(file, std::ios::binary);
        std::string bytes(count, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(count));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        return bytes;
    }

    QTemporaryDir dir;
    QtImagingLibrary imaging;
};

TEST_F(QtImagingLibraryTest, PicturesOfEachKindGetEightBitGifThumbnails) {
    QImage mono(100, 1, QImage::Format_Mono);
    mono.fill(0);
    for (int x = 0; x < 100; x += 3) {
        mono.setPixel(x, 0, 1);
    }
    QImage translucent(40, 40, QImage::Format_ARGB32);
    translucent.fill(Qt::transparent);
    for (int y = 10; y < 30; ++y) {
        for (int x = 10; x < 30; ++x) {
            translucent.setPixel(x, y, qRgba(200, 30, 30, 255));
        }
    }
    struct Case {
        std::string picture;
        int width, height, depth, thumbnailWidth, thumbnailHeight;
    };
    const Case cases[] = {
        {write(gradient(64, 16), "wide.png", "PNG"), 64, 16, 24, 32, 8},
        {write(gradient(20, 10), "small.jpg", "JPEG"), 20, 10, 24, 20, 10},
        {write(mono, "line.png", "PNG"), 100, 1, 1, 32, 2},
        {write(translucent, "square.png", "PNG"), 40, 40, 32, 32, 32},
    };
    int number = 0;
    for (const Case& c : cases) {
        WebNode node(CUrl("http://h/p.png"));
        const std::string thumbnail = path(("t" + std::to_string(number++) + ".gif").c_str());
        EXPECT_EQ(Thumbnailer(imaging).make(node, c.picture, thumbnail, true), Result::FileWritten) << c.picture;
        EXPECT_EQ(node.pictureWidth(), c.width) << c.picture;
        EXPECT_EQ(node.pictureHeight(), c.height) << c.picture;
        EXPECT_EQ(node.pictureDepth(), c.depth) << c.picture;
        EXPECT_EQ(node.thumbnailWidth(), c.thumbnailWidth) << c.picture;
        EXPECT_EQ(node.thumbnailHeight(), c.thumbnailHeight) << c.picture;
        EXPECT_EQ(node.thumbnailDepth(), 8);
        EXPECT_TRUE(node.hasAllFlags(kFlagPictureCopy | kFlagThumbnail));
        EXPECT_EQ(firstBytes(thumbnail, 6), "GIF89a");
        const QImage back = readBack(thumbnail);
        EXPECT_EQ(back.width(), c.thumbnailWidth) << c.picture;
        EXPECT_EQ(back.height(), c.thumbnailHeight) << c.picture;
    }
    EXPECT_EQ(imaging.pictureCount(), 0u);
}

TEST_F(QtImagingLibraryTest, GifRoundTripKeepsColoursAndTransparency) {
    QImage picture(12, 5, QImage::Format_ARGB32);
    const QRgb colours[] = {qRgba(0, 0, 0, 0), qRgb(255, 0, 0), qRgb(0, 128, 255), qRgb(250, 250, 10)};
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixel(x, y, colours[(x + 2 * y) % 4]);
        }
    }
    const std::string source = write(picture, "four.png", "PNG");
    const ImagingLibrary::Handle handle = imaging.load(source);
    ASSERT_GE(handle, 0);
    ASSERT_TRUE(imaging.reduceTo8Bits(handle));
    ImagingLibrary::Info info;
    ASSERT_TRUE(imaging.info(handle, info));
    EXPECT_EQ(info.bitsPerPixel, 8);
    const std::string gif = path("four.gif");
    ASSERT_TRUE(imaging.saveGif(handle, gif));
    imaging.release(handle);

    const QImage back = readBack(gif);
    ASSERT_EQ(back.size(), picture.size());
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb expected = picture.pixel(x, y);
            const QRgb actual = back.pixel(x, y);
            if (qAlpha(expected) == 0) {
                EXPECT_EQ(qAlpha(actual), 0) << x << "," << y;
            } else {
                EXPECT_EQ(actual, expected) << x << "," << y;
            }
        }
    }

    // Four colours need two bits; the file's name does not matter, its content does.
    const std::string renamed = path("four.jpg");
    std::filesystem::copy_file(gif, renamed);
    const ImagingLibrary::Handle again = imaging.load(renamed);
    ASSERT_GE(again, 0);
    ASSERT_TRUE(imaging.info(again, info));
    EXPECT_EQ(info.bitsPerPixel, 2);
    EXPECT_EQ(info.width, 12);
    imaging.release(again);

    // Too many colours for an exact palette: dithered, but transparent pixels stay transparent.
    QImage many = gradient(64, 64).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            many.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
    }
    const ImagingLibrary::Handle dithered = imaging.load(write(many, "many.png", "PNG"));
    ASSERT_GE(dithered, 0);
    ASSERT_TRUE(imaging.info(dithered, info));
    EXPECT_EQ(info.bitsPerPixel, 32);
    ASSERT_TRUE(imaging.saveGif(dithered, path("many.gif")));
    imaging.release(dithered);
    const QImage manyBack = readBack(path("many.gif"));
    EXPECT_EQ(qAlpha(manyBack.pixel(5, 5)), 0);
    EXPECT_EQ(qAlpha(manyBack.pixel(5, 50)), 255);
}

TEST_F(QtImagingLibraryTest, MissingOrCorruptPicturesGiveNoThumbnail) {
    const std::string garbage = path("garbage.gif");
    std::ofstream(garbage, std::ios::binary) << "GIF89a\x10\x00\x10\x00 this is not a picture";
    const std::string png = write(gradient(64, 64), "cut.png", "PNG");
    std::filesystem::resize_file(png, 40);
    const std::string empty = path("empty.jpg");
    std::ofstream(empty, std::ios::binary).flush();

    for (const std::string& picture : {path("missing.gif"), garbage, png, empty, dir.path().toStdString()}) {
        WebNode node(CUrl("http://h/p.gif"));
        const std::string thumbnail = path("t.gif");
        EXPECT_EQ(Thumbnailer(imaging).make(node, picture, thumbnail, true), Result::NotLoaded) << picture;
        EXPECT_EQ(node.flags(), 0u);
        EXPECT_FALSE(std::filesystem::exists(thumbnail));
    }
    EXPECT_EQ(imaging.pictureCount(), 0u);
}

TEST_F(QtImagingLibraryTest, UnwritableThumbnailPathLeavesNoFile) {
    const std::string picture = write(gradient(64, 16), "wide.png", "PNG");
    const std::string inMissingFolder = path("nowhere/t.gif");
    WebNode node(CUrl("http://h/p.png"));
    EXPECT_EQ(Thumbnailer(imaging).make(node, picture, inMissingFolder, true), Result::FileFailed);
    EXPECT_FALSE(node.hasAnyFlag(kFlagThumbnail));
    EXPECT_EQ(node.thumbnailWidth(), 32);
    EXPECT_FALSE(std::filesystem::exists(path("nowhere")));

    // A folder in the thumbnail's place is left alone.
    const std::string folder = path("t.gif");
    std::filesystem::create_directory(folder);
    EXPECT_EQ(Thumbnailer(imaging).make(node, picture, folder, true), Result::FileFailed);
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    // A thumbnail too wide for a GIF file is refused before any file is begun.
    const ImagingLibrary::Handle handle = imaging.load(picture);
    ASSERT_TRUE(imaging.resize(handle, 70000, 1));
    EXPECT_FALSE(imaging.saveGif(handle, path("wide.gif")));
    EXPECT_FALSE(std::filesystem::exists(path("wide.gif")));
    imaging.release(handle);
    EXPECT_EQ(imaging.pictureCount(), 0u);
}

TEST_F(QtImagingLibraryTest, SavingReplacesAnOlderThumbnail) {
    const std::string thumbnail = path("t.gif");
    std::ofstream(thumbnail, std::ios::binary) << std::string(5000, 'x');
    WebNode node(CUrl("http://h/p.png"));
    EXPECT_EQ(Thumbnailer(imaging).make(node, write(gradient(8, 8), "p.png", "PNG"), thumbnail, true),
              Result::FileWritten);
    EXPECT_LT(std::filesystem::file_size(thumbnail), 5000u);
    EXPECT_EQ(readBack(thumbnail).size(), QSize(8, 8));
}

TEST_F(QtImagingLibraryTest, UnknownHandlesAreRefused) {
    ImagingLibrary::Info info;
    EXPECT_FALSE(imaging.info(7, info));
    EXPECT_FALSE(imaging.resize(7, 4, 4));
    EXPECT_FALSE(imaging.reduceTo8Bits(7));
    EXPECT_FALSE(imaging.raiseTo8Bits(7));
    EXPECT_FALSE(imaging.saveGif(7, path("t.gif")));
    EXPECT_FALSE(std::filesystem::exists(path("t.gif")));
    imaging.release(7);

    const ImagingLibrary::Handle first = imaging.load(write(gradient(4, 4), "a.png", "PNG"));
    const ImagingLibrary::Handle second = imaging.load(path("a.png"));
    EXPECT_GE(first, 0);
    EXPECT_NE(first, second);
    EXPECT_FALSE(imaging.resize(first, 0, 4));
    imaging.release(first);
    EXPECT_EQ(imaging.image(first), nullptr);
    ASSERT_NE(imaging.image(second), nullptr);
    EXPECT_EQ(imaging.image(second)->size(), QSize(4, 4));
    imaging.release(second);
}

} // namespace
} // namespace corvida
