// SPDX-License-Identifier: MIT
#include "viewlogic/NodeGlyph.h"

#include <gtest/gtest.h>

#include "model/CUrl.h"
#include "model/WebNode.h"

namespace corvida {
namespace {

using Kind = NodeGlyph::Kind;
using Overlay = NodeGlyph::Overlay;

TEST(NodeGlyphTest, HttpAndFileNodesShowTheirMajorTypeAndHealth) {
    WebNode page(CUrl("http://example.test/a.html"));
    page.setFlags(kFlagHttp);
    EXPECT_EQ(NodeGlyph::of(page, false), (NodeGlyph{Kind::Unprocessed, 1, Overlay::None}));
    page.setFlags(kFlagProcessed | kFlagLocalServer);
    EXPECT_EQ(NodeGlyph::of(page, false), (NodeGlyph{Kind::Type, 1, Overlay::None}));
    page.clearFlags(kFlagLocalServer);
    page.setFlags(kFlagFetchStarted | kFlagFetched);
    EXPECT_EQ(NodeGlyph::of(page, false), (NodeGlyph{Kind::Type, 1, Overlay::ExternalOk}));
    page.clearFlags(kFlagFetched); // fetch started, no success
    EXPECT_EQ(NodeGlyph::of(page, false).overlay, Overlay::ExternalBroken);
    page.assignFlags(kFlagHttp | kFlagProcessed | kFlagTestStarted); // test started, no success
    EXPECT_EQ(NodeGlyph::of(page, false).overlay, Overlay::ExternalBroken);
    page.setFlags(kFlagLocalServer); // broken on the local server: no overlay
    EXPECT_EQ(NodeGlyph::of(page, false).overlay, Overlay::None);

    WebNode file(CUrl("file:///tmp/b.gif"));
    file.setFlags(kFlagFile | kFlagProcessed | kFlagLocalServer);
    EXPECT_EQ(NodeGlyph::of(file, false), (NodeGlyph{Kind::Type, 2, Overlay::None}));
}

TEST(NodeGlyphTest, MajorTypesWithoutAnIconTakeTheUnknownIcon) {
    WebNode world(CUrl("http://example.test/w.wrl"));
    world.url().setMimeIndexByServer("x-world/x-vrml");
    world.setFlags(kFlagHttp | kFlagProcessed | kFlagLocalServer);
    EXPECT_EQ(NodeGlyph::majorIcon(world), 0);
    EXPECT_EQ(NodeGlyph::of(world, false).icon, 0);
    WebNode added(CUrl("http://example.test/n.new"));
    added.url().setMimeIndexByServer("brandnew/kind");
    EXPECT_EQ(NodeGlyph::majorIcon(added), 0);
    EXPECT_EQ(NodeGlyph::listIcon(added), (NodeGlyph{Kind::Type, 0, Overlay::None}));
}

TEST(NodeGlyphTest, OtherSchemesShowTheirSchemeIcon) {
    const std::pair<std::uint32_t, int> schemes[] = {{kFlagMail, NodeGlyph::kMailIcon},
                                                     {kFlagFtp, NodeGlyph::kFtpIcon},
                                                     {kFlagGopher, NodeGlyph::kGopherIcon},
                                                     {kFlagOther, NodeGlyph::kOtherSchemeIcon}};
    for (const auto& [flag, icon] : schemes) {
        WebNode node(CUrl("news:example"));
        node.setFlags(flag | kFlagProcessed);
        EXPECT_EQ(NodeGlyph::of(node, true), (NodeGlyph{Kind::Scheme, icon, Overlay::None})) << flag;
    }
    WebNode mail(CUrl("mailto:someone@example.test"));
    EXPECT_EQ(NodeGlyph::listIcon(mail), (NodeGlyph{Kind::Scheme, NodeGlyph::kMailIcon, Overlay::None}));
    WebNode ftp(CUrl("ftp://example.test/f.zip"));
    EXPECT_EQ(NodeGlyph::listIcon(ftp), (NodeGlyph{Kind::Scheme, NodeGlyph::kFtpIcon, Overlay::None}));
    WebNode gopher(CUrl("gopher://example.test/"));
    EXPECT_FALSE(NodeGlyph::listIcon(gopher).has_value());
}

TEST(NodeGlyphTest, ThumbnailsNeedAFetchedPictureWithASize) {
    WebNode picture(CUrl("http://example.test/p.jpg"));
    picture.setFlags(kFlagHttp | kFlagProcessed | kFlagLocalServer | kFlagPicture | kFlagFetchStarted);
    picture.setSize(10);
    EXPECT_FALSE(NodeGlyph::hasThumbnail(picture));
    picture.setFlags(kFlagFetched);
    EXPECT_TRUE(NodeGlyph::hasThumbnail(picture));
    EXPECT_EQ(NodeGlyph::of(picture, true).kind, Kind::Thumbnail);
    EXPECT_EQ(NodeGlyph::of(picture, false).kind, Kind::Type);
    picture.setSize(0);
    EXPECT_FALSE(NodeGlyph::hasThumbnail(picture));
    EXPECT_EQ(NodeGlyph::of(picture, true), (NodeGlyph{Kind::Type, 2, Overlay::None}));
}

} // namespace
} // namespace corvida
