// SPDX-License-Identifier: MIT
#include "crawl/Thumbnailer.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/FakeImagingLibrary.h"
#include "model/WebNode.h"

namespace corvida {
namespace {

using Calls = std::vector<std::string>;
using Operation = FakeImagingLibrary::Operation;
using Result = Thumbnailer::Result;

TEST(ThumbnailerTest, SizeFitsTheLongerSideToThirtyTwo) {
    const std::int32_t cases[][4] = {
        {64, 16, 32, 8}, {16, 64, 8, 32}, {20, 10, 20, 10}, {33, 33, 32, 32},
        {100, 1, 32, 2}, {64, 17, 32, 9}, {48, 40, 32, 27}, {2000000000, 3, 32, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Thumbnailer::thumbnailSize(c[0], c[1]), (Thumbnailer::Size{c[2], c[3]})) << c[0] << "x" << c[1];
    }
}

TEST(ThumbnailerTest, ShrinksToEightBitsAndSavesWhenAsked) {
    struct Case {
        ImagingLibrary::Info picture;
        bool writeFile;
        Result result;
        Calls calls;
    };
    const Case cases[] = {
        {{64, 16, 24}, true, Result::FileWritten, {"load p", "resize 32x8", "reduce", "save t", "release 0"}},
        {{20, 10, 1}, true, Result::FileWritten, {"load p", "raise", "save t", "release 0"}},
        {{32, 32, 8}, true, Result::FileWritten, {"load p", "save t", "release 0"}},
        {{100, 1, 4}, false, Result::Thumbnail, {"load p", "resize 32x2", "raise", "release 0"}},
    };
    for (const Case& c : cases) {
        FakeImagingLibrary imaging;
        imaging.pictures["p"] = c.picture;
        WebNode node(CUrl("http://h/p.gif"));
        node.setFlags(kFlagPicture);
        EXPECT_EQ(Thumbnailer(imaging).make(node, "p", "t", c.writeFile), c.result);
        EXPECT_EQ(imaging.calls, c.calls);
        EXPECT_EQ(node.pictureDepth(), c.picture.bitsPerPixel);
        EXPECT_EQ(node.thumbnailDepth(), 8);
        EXPECT_EQ(node.flags(), kFlagPicture | kFlagPictureCopy | (c.writeFile ? kFlagThumbnail : 0));
        EXPECT_EQ(imaging.saved.size(), c.writeFile ? 1u : 0u);
    }
}

TEST(ThumbnailerTest, FailuresSkipTheThumbnailAndReleaseThePicture) {
    struct Case {
        Operation failing;
        ImagingLibrary::Info picture;
        Result result;
        std::uint32_t flags;
        std::int32_t thumbnailWidth;
    };
    const Case cases[] = {
        {Operation::Load, {64, 16, 24}, Result::NotLoaded, kFlagThumbnail, 0},
        {Operation::Info, {64, 16, 24}, Result::NotLoaded, kFlagThumbnail, 0},
        {Operation::Save, {0, 16, 24}, Result::NotLoaded, kFlagThumbnail, 0}, // an empty picture
        {Operation::Resize, {64, 16, 24}, Result::NoThumbnail, kFlagThumbnail | kFlagPictureCopy, 0},
        {Operation::Raise, {20, 10, 1}, Result::NoThumbnail, kFlagThumbnail | kFlagPictureCopy, 0},
        // A failed save leaves no file, so the thumbnail of an earlier crawl is gone too.
        {Operation::Save, {64, 16, 24}, Result::FileFailed, kFlagPictureCopy, 32},
    };
    for (const Case& c : cases) {
        FakeImagingLibrary imaging;
        imaging.pictures["p"] = c.picture;
        imaging.failing.insert(c.failing);
        WebNode node(CUrl("http://h/p.gif"));
        node.setFlags(kFlagThumbnail);
        EXPECT_EQ(Thumbnailer(imaging).make(node, "p", "t", true), c.result);
        EXPECT_EQ(node.flags(), c.flags);
        EXPECT_EQ(node.pictureWidth(), c.result == Result::NotLoaded ? 0 : c.picture.width);
        EXPECT_EQ(node.thumbnailWidth(), c.thumbnailWidth);
        EXPECT_TRUE(imaging.open.empty());
        EXPECT_TRUE(imaging.saved.empty());
    }
}

} // namespace
} // namespace corvida
