// SPDX-License-Identifier: MIT
#include "app/Settings.h"

#include <limits>
#include <map>
#include <utility>

#include <gtest/gtest.h>

#include "app/Profile.h"

namespace corvida {
namespace {

// An in-memory profile that counts its syncs and can fail them on purpose.
class MemoryProfile : public Profile {
public:
    std::optional<std::string> value(std::string_view section, std::string_view key) const override {
        const auto found = m_values.find({std::string(section), std::string(key)});
        return found == m_values.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void setValue(std::string_view section, std::string_view key, std::string_view text) override {
        m_values[{std::string(section), std::string(key)}] = std::string(text);
    }
    bool sync(std::string& error) override {
        ++syncs;
        if (failSync) {
            error = "disk full";
            return false;
        }
        return true;
    }

    std::string at(const std::string& section, const std::string& key) const { return m_values.at({section, key}); }
    std::size_t size() const { return m_values.size(); }

    bool failSync = false;
    int syncs = 0;

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

// A record in which every field differs from its default.
Settings changedRecord() {
    Settings s;
    s.changed = true;
    s.editorProgram = "/usr/bin/gedit";
    s.editorArguments = "--new $LOCALFILE";
    s.browser = BrowserKind::QuarterdeckMosaic;
    s.useSound = true;
    s.checkLowDiskSpace = true;
    s.diskSpaceLimit = 9999;
    s.workingDirectory = "/srv/corvida";
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        ColumnEntry& column = s.columns[i];
        column.caption = "Column " + std::to_string(i);
        column.columnId = static_cast<std::int32_t>(kColumnCount - 1 - i);
        column.width = 11 + static_cast<std::int32_t>(i);
        column.shown = static_cast<std::int32_t>(i % 2);
        column.format = ColumnEntry::kCentre;
    }
    s.userAgent = "Agent/1.0 (X11; Linux, like nothing)";
    s.proxyServer = "proxy.local:3128";
    s.emailAddress = "a@b.example";
    s.useProxy = true;
    s.networkBufferSize = 131072;
    s.numberOfConnections = 64;
    s.askForPassword = true;
    s.useRobotExclusion = true;
    s.maximumLevel = 7;
    s.checkExternal = true;
    s.downloadHtml = true;
    s.downloadPictures = true;
    s.downloadAudio = true;
    s.downloadVideo = true;
    s.autoReport = true;
    s.autoSiteImage = true;
    return s;
}

TEST(SettingsTest, EmptyProfileGivesEveryDefault) {
    MemoryProfile profile;
    Settings loaded = changedRecord();
    loaded.load(profile, "/home/u/.local/share/Corvida/files");

    Settings expected;
    expected.workingDirectory = "/home/u/.local/share/Corvida/files";
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(loaded.userAgent, "Mozilla/2.0 (compatible; Vantorix 2.0; Windows 95)");
    EXPECT_EQ(loaded.networkBufferSize, 4096);
    EXPECT_EQ(loaded.numberOfConnections, 1);
    EXPECT_EQ(loaded.diskSpaceLimit, 10);
    EXPECT_EQ(loaded.columns, defaultColumnTable());
}

TEST(SettingsTest, ReadsBooleansOnlyFromExactYes) {
    MemoryProfile profile;
    profile.setValue("Application", "UseProxy", "yes");
    profile.setValue("Application", "AskForPassword", "YES");
    profile.setValue("Application", "UseRobotExclusion", "Yes ");
    profile.setValue("Programs", "UseSound", "Yes");
    profile.setValue("Project", "DownloadHtml", "1");
    Settings s;
    s.load(profile, "");
    EXPECT_FALSE(s.useProxy);
    EXPECT_FALSE(s.askForPassword);
    EXPECT_FALSE(s.useRobotExclusion);
    EXPECT_TRUE(s.useSound);
    EXPECT_FALSE(s.downloadHtml);
}

TEST(SettingsTest, ReadsNumbersLikeAtoiAndClampsOverflow) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"42", 42},
        {"  17 connections", 17},
        {"+8", 8},
        {"-3", -3},
        {"lots", 0},
        {"", 0},
        {"0x10", 0},
        {"2147483647", std::numeric_limits<std::int32_t>::max()},
        {"2147483648", std::numeric_limits<std::int32_t>::max()},
        {"99999999999999999999999", std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"-99999999999999999999999", std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& [text, expected] : cases) {
        MemoryProfile profile;
        profile.setValue("Application", "NumberOfConnections", text);
        Settings s;
        s.load(profile, "");
        EXPECT_EQ(s.numberOfConnections, expected) << '"' << text << '"';
    }
}

TEST(SettingsTest, ReadsBrowserByNameInAnyCase) {
    const std::pair<const char*, BrowserKind> cases[] = {
        {"Netscape Navigator", BrowserKind::NetscapeNavigator},
        {"netscape NAVIGATOR", BrowserKind::NetscapeNavigator},
        {"internet explorer", BrowserKind::InternetExplorer},
        {"NCSA Mosaic", BrowserKind::NcsaMosaic},
        {"Lumbra Mosaic", BrowserKind::LumbraMosaic},
        {"Quarterdeck Mosaic", BrowserKind::QuarterdeckMosaic},
        {"Netscape", BrowserKind::None},
        {"Firefox", BrowserKind::None},
        {"", BrowserKind::None},
    };
    for (const auto& [name, expected] : cases) {
        MemoryProfile profile;
        profile.setValue("Programs", "Browser", name);
        Settings s;
        s.browser = BrowserKind::InternetExplorer;
        s.load(profile, "");
        EXPECT_EQ(s.browser, expected) << '"' << name << '"';
    }
}

TEST(SettingsTest, MaximumLevelNoneOrEmptyMeansNoLimit) {
    for (const char* text : {"None", "none", "", "0"}) {
        MemoryProfile profile;
        profile.setValue("Project", "MaximumLevel", text);
        Settings s;
        s.maximumLevel = 5;
        s.load(profile, "");
        EXPECT_EQ(s.maximumLevel, 0) << '"' << text << '"';
    }

    Settings s;
    s.changed = true;
    MemoryProfile profile;
    std::string error;
    ASSERT_TRUE(s.save(profile, error));
    EXPECT_EQ(profile.at("Project", "MaximumLevel"), "");
    s.maximumLevel = 3;
    s.load(profile, "");
    EXPECT_EQ(s.maximumLevel, 0);
}

TEST(SettingsTest, LongTextsAreCutWithoutSplittingCharacters) {
    MemoryProfile profile;
    profile.setValue("Application", "UserAgent", std::string(300, 'a'));
    // "é" is two bytes and would straddle the limit: it goes whole.
    profile.setValue("Application", "EmailAddress", std::string(259, 'b') + "\xC3\xA9" + "tail");
    profile.setValue("URL list header", "Caption0", std::string(38, 'c') + "\xE2\x82\xAC");
    profile.setValue("URL list header", "Caption1", std::string(39, 'd') + "\xE2\x82\xAC");
    // Not UTF-8: the bytes are cut at the limit.
    profile.setValue("Programs", "EditorProgram", std::string(300, '\x80'));
    Settings s;
    s.load(profile, std::string(400, 'w'));
    EXPECT_EQ(s.userAgent, std::string(260, 'a'));
    EXPECT_EQ(s.emailAddress, std::string(259, 'b'));
    EXPECT_EQ(s.columns[0].caption, std::string(38, 'c'));
    EXPECT_EQ(s.columns[1].caption, std::string(39, 'd'));
    EXPECT_EQ(s.editorProgram, std::string(260, '\x80'));
    EXPECT_EQ(s.workingDirectory, std::string(260, 'w'));
}

TEST(SettingsTest, ColumnTableMustShowEachContentOnce) {
    MemoryProfile profile;
    profile.setValue("URL list header", "Index0", "8");
    profile.setValue("URL list header", "Index8", "0");
    profile.setValue("URL list header", "Width3", "99");
    profile.setValue("URL list header", "Shown2", "0");
    Settings s;
    s.load(profile, "");
    EXPECT_EQ(s.columns[0].columnId, 8);
    EXPECT_EQ(s.columns[8].columnId, 0);
    EXPECT_EQ(s.columns[3].width, 99);
    EXPECT_EQ(s.columns[2].shown, 0);
    EXPECT_EQ(s.columns[0].caption, "Type");

    for (const char* badId : {"42", "-1", "1", "9"}) {
        MemoryProfile bad;
        bad.setValue("URL list header", "Width3", "99");
        bad.setValue("URL list header", "Index0", badId);
        s.load(bad, "");
        EXPECT_EQ(s.columns, defaultColumnTable()) << badId;
    }
}

TEST(SettingsTest, SaveWritesEveryKeyOnlyWhenChanged) {
    MemoryProfile profile;
    Settings s = changedRecord();
    s.changed = false;
    std::string error;
    EXPECT_TRUE(s.save(profile, error));
    EXPECT_EQ(profile.size(), 0u);
    EXPECT_EQ(profile.syncs, 0);

    s.changed = true;
    ASSERT_TRUE(s.save(profile, error));
    EXPECT_FALSE(s.changed);
    EXPECT_EQ(profile.syncs, 1);
    EXPECT_EQ(profile.size(), 9u * 5u + 8u + 7u + 8u);
    EXPECT_EQ(profile.at("Application", "UseProxy"), "Yes");
    EXPECT_EQ(profile.at("Application", "NetworkBufferSize"), "131072");
    EXPECT_EQ(profile.at("Programs", "Browser"), "Quarterdeck Mosaic");
    EXPECT_EQ(profile.at("Programs", "EditorCommand"), "--new $LOCALFILE");
    EXPECT_EQ(profile.at("Project", "MaximumLevel"), "7");
    EXPECT_EQ(profile.at("URL list header", "Caption4"), "Column 4");
    EXPECT_EQ(profile.at("URL list header", "Index4"), "4");
    EXPECT_EQ(profile.at("URL list header", "Index0"), "8");
    EXPECT_EQ(profile.at("URL list header", "Shown1"), "1");
    EXPECT_EQ(profile.at("URL list header", "Format8"), "2");

    Settings loaded;
    loaded.load(profile, "/elsewhere");
    s.changed = false;
    EXPECT_EQ(loaded, s);

    s.changed = true;
    s.useProxy = false;
    s.browser = static_cast<BrowserKind>(17);
    ASSERT_TRUE(s.save(profile, error));
    EXPECT_EQ(profile.at("Application", "UseProxy"), "No");
    EXPECT_EQ(profile.at("Programs", "Browser"), "None");
}

TEST(SettingsTest, FailedSaveReportsAndStaysChanged) {
    MemoryProfile profile;
    profile.failSync = true;
    Settings s = changedRecord();
    std::string error;
    EXPECT_FALSE(s.save(profile, error));
    EXPECT_EQ(error, "disk full");
    EXPECT_TRUE(s.changed);

    profile.failSync = false;
    EXPECT_TRUE(s.save(profile, error));
    EXPECT_FALSE(s.changed);
}

TEST(SettingsTest, NewProjectsCopyTheProjectChoices) {
    Settings s;
    s.maximumLevel = 4;
    s.downloadPictures = true;
    s.autoSiteImage = true;
    ProjectOptions options = s.projectOptions();
    EXPECT_EQ(options.startUrl, kNoStartUrl);
    EXPECT_EQ(options.maximumLevel, 4u);
    EXPECT_FALSE(options.checkExternal);
    EXPECT_FALSE(options.getDocuments);
    EXPECT_TRUE(options.getPictures);
    EXPECT_FALSE(options.getAudio);
    EXPECT_FALSE(options.getVideo);
    EXPECT_FALSE(options.autoReport);
    EXPECT_TRUE(options.autoLocalSite);

    options = changedRecord().projectOptions();
    EXPECT_TRUE(options.checkExternal && options.getDocuments && options.getAudio && options.getVideo &&
                options.autoReport);

    s.maximumLevel = -2;
    EXPECT_EQ(s.projectOptions().maximumLevel, 0u);
}

TEST(SettingsTest, ConnectionAndProjectPageRules) {
    Settings s;
    EXPECT_EQ(s.proxyHost(), "");
    EXPECT_EQ(s.proxyPort(), 0);
    s.proxyServer = "cache.example:8080";
    EXPECT_EQ(s.proxyHost(), "cache.example");
    EXPECT_EQ(s.proxyPort(), 8080);
    s.applyProxy("", 99);
    EXPECT_EQ(s.proxyServer, "cache.example:8080");
    s.applyProxy("other", 3128);
    EXPECT_EQ(s.proxyServer, "other:3128");
    s.proxyServer = "hostonly";
    EXPECT_EQ(s.proxyHost(), "");
    EXPECT_EQ(s.proxyPort(), 0);

    EXPECT_EQ(s.networkBufferKiB(), 4);
    s.setNetworkBufferKiB(128);
    EXPECT_EQ(s.networkBufferSize, 131072);
    s.setNetworkBufferKiB(std::numeric_limits<std::int32_t>::max());
    EXPECT_GT(s.networkBufferSize, 0);

    EXPECT_EQ(s.maximumLevelText(), "None");
    s.applyMaximumLevelText("8");
    EXPECT_EQ(s.maximumLevel, 8);
    EXPECT_EQ(s.maximumLevelText(), "8");
    s.applyMaximumLevelText("junk");
    EXPECT_EQ(s.maximumLevel, 8);
    s.applyMaximumLevelText("NONE");
    EXPECT_EQ(s.maximumLevel, 0);
}

} // namespace
} // namespace corvida
