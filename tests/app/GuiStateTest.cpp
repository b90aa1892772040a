// SPDX-License-Identifier: MIT
#include "app/GuiState.h"

#include <map>
#include <utility>

#include <gtest/gtest.h>

#include "platform/Profile.h"

namespace corvida {
namespace {

class MemoryProfile : public Profile {
public:
    std::optional<std::string> value(std::string_view section, std::string_view key) const override {
        const auto found = values.find({std::string(section), std::string(key)});
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void setValue(std::string_view section, std::string_view key, std::string_view text) override {
        values[{std::string(section), std::string(key)}] = std::string(text);
    }
    Status sync() override {
        ++syncs;
        return failSync ? Status::ioError("disk full") : Status::ok();
    }

    std::map<std::pair<std::string, std::string>, std::string> values;
    bool failSync = false;
    int syncs = 0;
};

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
    profile.failSync = true;
    EXPECT_EQ(state.save(profile).code(), Status::Code::IoError);
    EXPECT_TRUE(state.changed());
    profile.failSync = false;
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
