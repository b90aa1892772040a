// SPDX-License-Identifier: MIT
// The report's GIF pictures: their form, their sizes and their transparency.

#include <cstdint>
#include <map>
#include <string>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

#include "report/ReportPictures.h"

namespace corvida {
namespace {

int transparentPixels(const QImage& image) {
    int count = 0;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            count += qAlpha(argb.pixel(x, y)) == 0 ? 1 : 0;
        }
    }
    return count;
}

// Every picture is a single interlaced GIF89a image with a global colour table and a
// transparent colour given right after it; the spacers are N x 6 and wholly transparent, the
// round and cut-out icons let the page show through, and none is blank.
TEST(ReportPicturesTest, EveryPictureIsAnInterlacedGifWithOneTransparentColour) {
    const std::map<std::string, QSize> iconSizes = {{"global.gif", {12, 12}},
                                                    {"local.gif", {12, 12}},
                                                    {"logo.gif", {175, 127}},
                                                    {"site.gif", {19, 19}},
                                                    {"newimage.gif", {14, 16}}};
    int spacers = 0;
    for (const ReportPictures::Picture& picture : ReportPictures::all()) {
        SCOPED_TRACE(std::string(picture.fileName));
        const std::string_view bytes = picture.bytes;
        ASSERT_EQ(bytes.substr(0, 6), "GIF89a");
        const auto packed = static_cast<std::uint8_t>(bytes[10]);
        ASSERT_NE(packed & 0x80, 0); // a global colour table of 2^(n+1) entries
        const std::size_t control = 13 + (3u << ((packed & 7) + 1));
        ASSERT_EQ(bytes.substr(control, 3), "\x21\xF9\x04");
        EXPECT_EQ(bytes[control + 3] & 1, 1); // a transparent colour
        ASSERT_EQ(bytes[control + 8], '\x2C');
        EXPECT_EQ(bytes[control + 8 + 9] & 0xC0, 0x40); // interlaced, no local table

        QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
        QBuffer buffer(&data);
        QImageReader reader(&buffer, "gif");
        EXPECT_EQ(reader.imageCount(), 1);
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull());
        const int transparent = transparentPixels(image);
        const std::string name(picture.fileName);
        if (name.starts_with("space")) {
            ++spacers;
            EXPECT_EQ(name, "space" + std::to_string(spacers) + ".gif");
            EXPECT_EQ(image.size(), QSize(4, 6)); // the image is spacers wide on a 4 x 6 screen
            EXPECT_EQ(bytes[control + 8 + 5], spacers);
            EXPECT_EQ(transparent, image.width() * image.height());
            continue;
        }
        ASSERT_EQ(iconSizes.count(name), 1u);
        EXPECT_EQ(image.size(), iconSizes.at(name));
        EXPECT_TRUE(transparent > 0 || (name != "global.gif" && name != "local.gif" && name != "logo.gif"));
        EXPECT_LT(transparent, image.width() * image.height() * 9 / 10);
    }
    EXPECT_EQ(spacers, ReportPictures::kSpacerCount);
    EXPECT_EQ(ReportPictures::all().size(), iconSizes.size() + std::size_t{ReportPictures::kSpacerCount});
}

} // namespace
} // namespace corvida
