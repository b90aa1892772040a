// SPDX-License-Identifier: MIT
// The report's GIF pictures: their form, their sizes, transparency, and the files written.

#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/Web.h"
#include "report/ReportContext.h"
#include "report/ReportPictures.h"

namespace corvida {
namespace {

// What the blocks of a single-image GIF89a say about it.
struct GifLayout {
    bool valid = false;
    int screenWidth = 0;
    int screenHeight = 0;
    std::string globalTable; // the colour table's bytes; empty when there is none
    int transparentIndex = -1;
    int imageCount = 0;
    int imageWidth = 0;
    int imageHeight = 0;
    bool interlaced = false;
    bool localTable = false;
};

int word(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8;
}

// Skips data sub-blocks from at; returns the index after the terminator, or npos.
std::size_t skipSubBlocks(std::string_view bytes, std::size_t at) {
    while (at < bytes.size()) {
        const std::size_t length = static_cast<std::uint8_t>(bytes[at]);
        at += 1 + length;
        if (length == 0) {
            return at;
        }
    }
    return std::string_view::npos;
}

GifLayout parseGif(std::string_view bytes) {
    GifLayout gif;
    if (bytes.size() < 13 || bytes.substr(0, 6) != "GIF89a") {
        return gif;
    }
    gif.screenWidth = word(bytes, 6);
    gif.screenHeight = word(bytes, 8);
    const auto packed = static_cast<std::uint8_t>(bytes[10]);
    std::size_t at = 13;
    if ((packed & 0x80) != 0) {
        const std::size_t tableSize = 3u << ((packed & 7) + 1);
        gif.globalTable = std::string(bytes.substr(at, tableSize));
        at += tableSize;
    }
    while (at < bytes.size()) {
        const auto introducer = static_cast<std::uint8_t>(bytes[at]);
        if (introducer == 0x3B) {
            gif.valid = at + 1 == bytes.size();
            return gif;
        }
        if (introducer == 0x21 && at + 1 < bytes.size()) {
            if (static_cast<std::uint8_t>(bytes[at + 1]) == 0xF9 && (bytes[at + 3] & 1) != 0) {
                gif.transparentIndex = static_cast<std::uint8_t>(bytes[at + 6]);
            }
            at = skipSubBlocks(bytes, at + 2);
        } else if (introducer == 0x2C && at + 10 < bytes.size()) {
            ++gif.imageCount;
            gif.imageWidth = word(bytes, at + 5);
            gif.imageHeight = word(bytes, at + 7);
            gif.interlaced = (bytes[at + 9] & 0x40) != 0;
            gif.localTable = (bytes[at + 9] & 0x80) != 0;
            at = skipSubBlocks(bytes, at + 11);
        } else {
            return gif;
        }
    }
    return gif;
}

QImage decode(std::string_view bytes) {
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "gif");
    return reader.read();
}

int countTransparent(const QImage& image) {
    int count = 0;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            count += qAlpha(argb.pixel(x, y)) == 0 ? 1 : 0;
        }
    }
    return count;
}

TEST(ReportPicturesTest, EveryPictureIsAnInterlacedGifWithOneTransparentColour) {
    const std::map<std::string, std::pair<int, int>> iconSizes = {
        {"global.gif", {12, 12}}, {"local.gif", {12, 12}},    {"logo.gif", {175, 127}},
        {"site.gif", {19, 19}},   {"newimage.gif", {14, 16}},
    };
    std::string spacerTable;
    int spacers = 0;
    for (const ReportPictures::Picture& picture : ReportPictures::all()) {
        SCOPED_TRACE(std::string(picture.fileName));
        const GifLayout gif = parseGif(picture.bytes);
        ASSERT_TRUE(gif.valid);
        EXPECT_EQ(gif.imageCount, 1);
        EXPECT_TRUE(gif.interlaced);
        EXPECT_FALSE(gif.localTable);
        ASSERT_FALSE(gif.globalTable.empty());
        ASSERT_GE(gif.transparentIndex, 0);
        EXPECT_LT(static_cast<std::size_t>(gif.transparentIndex) * 3, gif.globalTable.size());

        const QImage image = decode(picture.bytes);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), gif.screenWidth);
        EXPECT_EQ(image.height(), gif.screenHeight);

        const std::string name(picture.fileName);
        if (name.rfind("space", 0) == 0) {
            ++spacers;
            EXPECT_EQ(name, "space" + std::to_string(spacers) + ".gif");
            EXPECT_EQ(gif.screenWidth, 4);
            EXPECT_EQ(gif.screenHeight, 6);
            EXPECT_EQ(gif.imageWidth, spacers);
            EXPECT_EQ(gif.imageHeight, 6);
            EXPECT_EQ(gif.globalTable.size(), 16u * 3);
            EXPECT_EQ(gif.transparentIndex, 15);
            EXPECT_EQ(countTransparent(image), image.width() * image.height());
            if (spacerTable.empty()) {
                spacerTable = gif.globalTable;
            }
            EXPECT_EQ(gif.globalTable, spacerTable);
            continue;
        }
        const auto size = iconSizes.find(name);
        ASSERT_NE(size, iconSizes.end());
        EXPECT_EQ(std::make_pair(gif.screenWidth, gif.screenHeight), size->second);
        EXPECT_EQ(std::make_pair(gif.imageWidth, gif.imageHeight), size->second);
        // The round and the cut-out pictures let the page show through; none is blank.
        const int transparent = countTransparent(image);
        if (name == "global.gif" || name == "local.gif" || name == "logo.gif") {
            EXPECT_GT(transparent, 0);
        }
        EXPECT_LT(transparent, image.width() * image.height() * 9 / 10);
    }
    EXPECT_EQ(spacers, ReportPictures::kSpacerCount);
    EXPECT_EQ(ReportPictures::all().size(), iconSizes.size() + std::size_t{ReportPictures::kSpacerCount});
}

TEST(ReportPicturesTest, EveryPictureIsWrittenToItsFile) {
    QTemporaryDir folder;
    Web web;
    const std::string directory = folder.path().toStdString() + "/";
    ReportContext context(web, directory);
    ReportPictures::write(context);
    EXPECT_TRUE(context.failures().empty());
    for (const ReportPictures::Picture& picture : ReportPictures::all()) {
        std::ifstream in(directory + std::string(picture.fileName), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        EXPECT_EQ(bytes.str(), picture.bytes) << picture.fileName;
    }
}

} // namespace
} // namespace corvida
