// SPDX-License-Identifier: MIT
#include "model/Thumbnailer.h"

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
    struct Case {
        std::int32_t width, height, thumbnailWidth, thumbnailHeight;
    };
    const Case cases[] = {
        {64, 16, 32, 8},  {16, 64, 8, 32},  {20, 10, 20, 10}, {32, 32, 32, 32}, {1, 1, 1, 1},
        {40, 40, 32, 32}, {33, 33, 32, 32}, {100, 1, 32, 2},  {1, 100, 2, 32},  {32, 1, 32, 1},
        {48, 36, 32, 24}, {64, 17, 32, 9},  {64, 15, 32, 8},  {48, 40, 32, 27}, {2000000000, 3, 32, 2},
    };
    for (const Case& c : cases) {
        const Thumbnailer::Size size = Thumbnailer::thumbnailSize(c.width, c.height);
        EXPECT_EQ(size.width, c.thumbnailWidth) << c.width << "x" << c.height;
        EXPECT_EQ(size.height, c.thumbnailHeight) << c.width << "x" << c.height;
    }
}

class ThumbnailerFixture : public testing::Test {
protected:
    ThumbnailerFixture() : node(CUrl("http://h/p.gif")) { node.setFlags(kFlagPicture | kFlagFetched); }

    Result make(bool writeFile = true) { return Thumbnailer(imaging).make(node, "p.gif", "t.gif", writeFile); }

    FakeImagingLibrary imaging;
    WebNode node;
};

TEST_F(ThumbnailerFixture, TrueColourPictureIsShrunkReducedAndSaved) {
    imaging.addPicture("p.gif", {64, 16, 24});
    EXPECT_EQ(make(), Result::FileWritten);
    EXPECT_EQ(imaging.calls(), (Calls{"load p.gif", "resize 32x8", "reduce", "save t.gif", "release 0"}));
    EXPECT_EQ(node.pictureWidth(), 64);
    EXPECT_EQ(node.pictureHeight(), 16);
    EXPECT_EQ(node.pictureDepth(), 24);
    EXPECT_EQ(node.thumbnailWidth(), 32);
    EXPECT_EQ(node.thumbnailHeight(), 8);
    EXPECT_EQ(node.thumbnailDepth(), 8);
    EXPECT_EQ(node.flags(), kFlagPicture | kFlagFetched | kFlagPictureCopy | kFlagThumbnail);
    EXPECT_EQ(imaging.savedFiles().count("t.gif"), 1u);
}

TEST_F(ThumbnailerFixture, SmallPicturesKeepTheirSizeAndReachEightBits) {
    imaging.addPicture("p.gif", {20, 10, 1});
    EXPECT_EQ(make(), Result::FileWritten);
    EXPECT_EQ(imaging.calls(), (Calls{"load p.gif", "raise", "save t.gif", "release 0"}));
    EXPECT_EQ(node.thumbnailWidth(), 20);
    EXPECT_EQ(node.thumbnailHeight(), 10);
    EXPECT_EQ(node.thumbnailDepth(), 8);

    // An 8-bit picture is neither raised nor reduced.
    FakeImagingLibrary eightBit;
    eightBit.addPicture("p.gif", {32, 32, 8});
    WebNode other(CUrl("http://h/q.gif"));
    EXPECT_EQ(Thumbnailer(eightBit).make(other, "p.gif", "t.gif", true), Result::FileWritten);
    EXPECT_EQ(eightBit.calls(), (Calls{"load p.gif", "save t.gif", "release 0"}));
}

TEST_F(ThumbnailerFixture, WithoutTheFileOptionOnlyTheSizesAreRecorded) {
    imaging.addPicture("p.gif", {100, 1, 4});
    EXPECT_EQ(make(false), Result::Thumbnail);
    EXPECT_EQ(imaging.calls(), (Calls{"load p.gif", "resize 32x2", "raise", "release 0"}));
    EXPECT_EQ(node.thumbnailWidth(), 32);
    EXPECT_EQ(node.thumbnailHeight(), 2);
    EXPECT_TRUE(node.hasAllFlags(kFlagPictureCopy));
    EXPECT_FALSE(node.hasAnyFlag(kFlagThumbnail));
    EXPECT_TRUE(imaging.savedFiles().empty());
}

TEST_F(ThumbnailerFixture, UnreadablePicturesLeaveTheNodeUnchanged) {
    // A missing file never gets a handle, so there is nothing to release.
    EXPECT_EQ(make(), Result::NotLoaded);
    EXPECT_EQ(imaging.calls(), (Calls{"load p.gif"}));

    imaging.addPicture("p.gif", {64, 16, 24});
    imaging.failOn(Operation::Info);
    EXPECT_EQ(make(), Result::NotLoaded);
    EXPECT_EQ(imaging.openHandles(), 0u);

    FakeImagingLibrary empty;
    empty.addPicture("p.gif", {0, 16, 24});
    EXPECT_EQ(Thumbnailer(empty).make(node, "p.gif", "t.gif", true), Result::NotLoaded);
    EXPECT_EQ(empty.openHandles(), 0u);

    EXPECT_EQ(node.flags(), kFlagPicture | kFlagFetched);
    EXPECT_EQ(node.pictureWidth(), 0);
    EXPECT_EQ(node.thumbnailWidth(), 0);
}

TEST_F(ThumbnailerFixture, FailedResizeOrDepthChangeSkipsTheThumbnail) {
    struct Case {
        Operation failing;
        FakeImagingLibrary::Info picture;
    };
    for (const Case& c : {Case{Operation::Resize, {64, 16, 24}}, Case{Operation::Reduce, {64, 16, 24}},
                          Case{Operation::Raise, {20, 10, 1}}}) {
        FakeImagingLibrary failing;
        failing.addPicture("p.gif", c.picture);
        failing.failOn(c.failing);
        WebNode picture(CUrl("http://h/p.gif"));
        EXPECT_EQ(Thumbnailer(failing).make(picture, "p.gif", "t.gif", true), Result::NoThumbnail);
        EXPECT_EQ(picture.pictureWidth(), c.picture.width);
        EXPECT_EQ(picture.flags(), kFlagPictureCopy);
        EXPECT_EQ(picture.thumbnailWidth(), 0);
        EXPECT_EQ(picture.thumbnailDepth(), 0);
        EXPECT_EQ(failing.openHandles(), 0u);
        EXPECT_TRUE(failing.savedFiles().empty());
    }
}

TEST_F(ThumbnailerFixture, FailedSaveClearsTheThumbnailFlag) {
    imaging.addPicture("p.gif", {64, 16, 24});
    imaging.failOn(Operation::Save);
    // The node had a thumbnail file from an earlier crawl; a failed save removes it.
    node.setFlags(kFlagThumbnail);
    EXPECT_EQ(make(), Result::FileFailed);
    EXPECT_FALSE(node.hasAnyFlag(kFlagThumbnail));
    EXPECT_TRUE(node.hasAnyFlag(kFlagPictureCopy));
    EXPECT_EQ(node.thumbnailWidth(), 32);
    EXPECT_EQ(imaging.openHandles(), 0u);
}

} // namespace
} // namespace corvida
