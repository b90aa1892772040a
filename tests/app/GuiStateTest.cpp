// SPDX-License-Identifier: MIT
#include "app/GuiState.h"

#include <map>
#include <utility>

#include <gtest/gtest.h>

#include "platform/Profile.h"
#include "support/MemoryProfile.h"

namespace corvida {
namespace {

using Files = std::vector<std::string>;

TEST(GuiStateTest, RecentFilesAreUniqueMostRecentFirstAndAtMostFour) {
    GuiState state;
    for (const char* file : {"/a.zpj", "/b.zpj", "/c.zpj", "/a.zpj", "/d.zpj", "/e.zpj", ""}) {
        state.addRecentFile(file);
    }
    EXPECT_EQ(state.recentFiles(), (Files{"/e.zpj", "/d.zpj", "/a.zpj", "/c.zpj"}));
    state.removeRecentFile("/a.zpj");
    EXPECT_EQ(state.recentFiles(), (Files{"/e.zpj", "/d.zpj", "/c.zpj"}));
}

TEST(GuiStateTest, SavesOnlyWhenChangedAndReadsBackWhatItSaved) {
    MemoryProfile profile;
    GuiState state;
    EXPECT_TRUE(state.save(profile).isOk());
    EXPECT_EQ(profile.syncs, 0);

    state.addRecentFile("/old.zpj");
    state.addRecentFile("/home/me/new site.zpj");
    const std::string binary("\0\xff\n[x]=\r", 8);
    state.setWindowState(binary);
    state.setStatusBarVisible(false);
    profile.failure = "disk full";
    EXPECT_EQ(state.save(profile).code(), Status::Code::IoError);
    EXPECT_TRUE(state.changed());
    profile.failure.clear();
    EXPECT_TRUE(state.save(profile).isOk());
    EXPECT_FALSE(state.changed());
    EXPECT_EQ((profile.values[{"Window", "StatusBar"}]), "No");

    // A place the list no longer fills reads back empty, and duplicates or bad base64 from a
    // hand-edited profile are dropped.
    state.removeRecentFile("/old.zpj");
    EXPECT_TRUE(state.save(profile).isOk());
    profile.setValue("Recent File List", "File4", "/home/me/new site.zpj");
    profile.setValue("Window", "Geometry", "not base64 !");
    GuiState loaded;
    loaded.addRecentFile("/stale.zpj");
    loaded.load(profile);
    EXPECT_FALSE(loaded.changed());
    EXPECT_EQ(loaded.recentFiles(), Files{"/home/me/new site.zpj"});
    EXPECT_EQ(loaded.windowState(), binary);
    EXPECT_EQ(loaded.windowGeometry(), "");
    EXPECT_FALSE(loaded.statusBarVisible());
}

} // namespace
} // namespace corvida
