// SPDX-License-Identifier: MIT
#include "app/Settings.h"

#include <limits>
#include <map>
#include <utility>

#include <gtest/gtest.h>

#include "platform/Profile.h"
#include "support/MemoryProfile.h"

namespace corvida {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

Settings loadOne(const std::string& section, const std::string& key, const std::string& text) {
    MemoryProfile profile;
    profile.setValue(section, key, text);
    Settings s;
    s.load(profile, "/default");
    return s;
}

TEST(SettingsTest, ReadsEachKindOfValueWithItsConversion) {
    EXPECT_FALSE(loadOne("Application", "UseProxy", "yes").useProxy);
    EXPECT_TRUE(loadOne("Application", "UseProxy", "Yes").useProxy);
    const std::pair<const char*, std::int32_t> numbers[] = {
        {"  17 slots", 17}, {"lots", 0}, {"2147483648", kMax}, {"-99999999999999999999", kMin}};
    for (const auto& [text, expected] : numbers) {
        EXPECT_EQ(loadOne("Application", "NumberOfConnections", text).numberOfConnections, expected) << text;
    }
    EXPECT_EQ(loadOne("Programs", "Browser", "netscape NAVIGATOR").browser, BrowserKind::NetscapeNavigator);
    EXPECT_EQ(loadOne("Programs", "Browser", "Netscape").browser, BrowserKind::None);
    EXPECT_EQ(loadOne("Project", "MaximumLevel", "None").maximumLevel, 0);
    EXPECT_EQ(loadOne("Project", "MaximumLevel", "6").maximumLevel, 6);
    EXPECT_EQ(loadOne("Programs", "BrowserCommand", "chromium --incognito").browserCommand, "chromium --incognito");
    for (const auto& [text, expected] : {std::pair{"9333", 9333}, {"65535", 65535}, {"0", 9222}, {"65536", 9222}}) {
        EXPECT_EQ(loadOne("Programs", "BrowserDebugPort", text).browserDebugPort, expected) << text;
    }

    // Long texts: a two-byte "é" that would straddle the limit goes whole; bytes that are
    // not UTF-8 are cut where the limit falls.
    EXPECT_EQ(loadOne("Application", "EmailAddress", std::string(259, 'b') + "\xC3\xA9z").emailAddress,
              std::string(259, 'b'));
    EXPECT_EQ(loadOne("Programs", "EditorProgram", std::string(300, '\x80')).editorProgram, std::string(260, '\x80'));
}

TEST(SettingsTest, ColumnTableMustShowEachContentOnce) {
    MemoryProfile profile;
    profile.setValue("URL list header", "Index0", "8");
    profile.setValue("URL list header", "Index8", "0");
    Settings s;
    s.load(profile, "");
    EXPECT_EQ(s.columns[0].columnId, 8);
    EXPECT_EQ(s.columns[8].columnId, 0);
    for (const char* badId : {"9", "-1", "1"}) {
        profile.setValue("URL list header", "Index0", badId);
        s.load(profile, "");
        EXPECT_EQ(s.columns, defaultColumnTable()) << badId;
    }
}

TEST(SettingsTest, SavesEveryKeyOnlyWhenChangedAndRetriesAfterAFailure) {
    MemoryProfile profile;
    Settings s;
    EXPECT_TRUE(s.save(profile).isOk());
    EXPECT_EQ(profile.syncs, 0);
    EXPECT_TRUE(profile.values.empty());

    s.changed = true;
    s.useProxy = true;
    s.browser = static_cast<BrowserKind>(17);
    profile.failure = "disk full";
    const Status failed = s.save(profile);
    EXPECT_EQ(failed.code(), Status::Code::IoError);
    EXPECT_EQ(failed.message(), "disk full");
    EXPECT_TRUE(s.changed);

    profile.failure.clear();
    EXPECT_TRUE(s.save(profile).isOk());
    EXPECT_FALSE(s.changed);
    EXPECT_EQ(profile.values.size(), 9u * 5u + 12u + 9u + 8u);
    EXPECT_EQ((profile.values[{"Programs", "Browser"}]), "None");
    EXPECT_EQ((profile.values[{"Application", "ConnectionsPerHost"}]), "4");
    EXPECT_EQ((profile.values[{"Application", "HostDelay"}]), "0");
    EXPECT_EQ((profile.values[{"Application", "InsecureTls"}]), "No");
    EXPECT_EQ((profile.values[{"Application", "UseProxy"}]), "Yes");
    EXPECT_EQ((profile.values[{"Programs", "BrowserDebugPort"}]), "9222");
}

TEST(SettingsTest, OutOfRangeChoicesAreClampedOrIgnored) {
    Settings s;
    s.maximumLevel = -2;
    EXPECT_EQ(s.projectOptions().maximumLevel, 0u);
    s.setNetworkBufferKiB(kMax);
    EXPECT_GT(s.networkBufferSize, 0);
    s.proxyServer = "hostonly";
    EXPECT_EQ(s.proxyPort(), 0);
    s.applyMaximumLevelText("8");
    s.applyMaximumLevelText("junk");
    EXPECT_EQ(s.maximumLevel, 8);
}

} // namespace
} // namespace corvida
