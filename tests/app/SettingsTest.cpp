// SPDX-License-Identifier: MIT
#include "app/Settings.h"

#include <limits>
#include <map>
#include <utility>

#include <gtest/gtest.h>

#include "app/Profile.h"

namespace corvida {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// An in-memory profile that counts its syncs and can fail them on purpose.
class MemoryProfile : public Profile {
public:
    std::optional<std::string> value(std::string_view section, std::string_view key) const override {
        const auto found = values.find({std::string(section), std::string(key)});
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void setValue(std::string_view section, std::string_view key, std::string_view text) override {
        values[{std::string(section), std::string(key)}] = std::string(text);
    }
    bool sync(std::string& error) override {
        ++syncs;
        error = failSync ? "disk full" : "";
        return !failSync;
    }

    std::string at(const std::string& section, const std::string& key) const { return values.at({section, key}); }

    std::map<std::pair<std::string, std::string>, std::string> values;
    bool failSync = false;
    int syncs = 0;
};

Settings loadOne(const std::string& section, const std::string& key, const std::string& text) {
    MemoryProfile profile;
    profile.setValue(section, key, text);
    Settings s;
    s.load(profile, "/default");
    return s;
}

TEST(SettingsTest, ReadsEachKindOfValueWithItsConversion) {
    for (const char* text : {"yes", "YES", "Yes ", "1"}) {
        EXPECT_FALSE(loadOne("Application", "UseProxy", text).useProxy) << text;
    }
    EXPECT_TRUE(loadOne("Application", "UseProxy", "Yes").useProxy);

    const std::pair<const char*, std::int32_t> numbers[] = {
        {"  17 slots", 17},
        {"+8", 8},
        {"-3", -3},
        {"lots", 0},
        {"0x10", 0},
        {"2147483648", kMax},
        {"-99999999999999999999", kMin},
    };
    for (const auto& [text, expected] : numbers) {
        EXPECT_EQ(loadOne("Application", "NumberOfConnections", text).numberOfConnections, expected) << text;
    }

    const std::pair<const char*, BrowserKind> browsers[] = {
        {"netscape NAVIGATOR", BrowserKind::NetscapeNavigator},
        {"internet explorer", BrowserKind::InternetExplorer},
        {"Netscape", BrowserKind::None},
    };
    for (const auto& [name, expected] : browsers) {
        EXPECT_EQ(loadOne("Programs", "Browser", name).browser, expected) << name;
    }

    for (const char* text : {"None", "none", "", "0"}) {
        EXPECT_EQ(loadOne("Project", "MaximumLevel", text).maximumLevel, 0) << text;
    }
    EXPECT_EQ(loadOne("Project", "MaximumLevel", "6").maximumLevel, 6);
}

TEST(SettingsTest, LongTextsAreCutWithoutSplittingCharacters) {
    // The two-byte "é" would straddle the limit, so it goes whole; bytes that are not UTF-8
    // are cut where the limit falls.
    EXPECT_EQ(loadOne("Application", "UserAgent", std::string(300, 'a')).userAgent, std::string(260, 'a'));
    EXPECT_EQ(loadOne("Application", "EmailAddress", std::string(259, 'b') + "\xC3\xA9z").emailAddress,
              std::string(259, 'b'));
    EXPECT_EQ(loadOne("Programs", "EditorProgram", std::string(300, '\x80')).editorProgram, std::string(260, '\x80'));
    EXPECT_EQ(loadOne("URL list header", "Caption0", std::string(38, 'c') + "\xE2\x82\xAC").columns[0].caption,
              std::string(38, 'c'));
}

TEST(SettingsTest, ColumnTableMustShowEachContentOnce) {
    MemoryProfile profile;
    profile.setValue("URL list header", "Index0", "8");
    profile.setValue("URL list header", "Index8", "0");
    profile.setValue("URL list header", "Width3", "99");
    Settings s;
    s.load(profile, "");
    EXPECT_EQ(s.columns[0].columnId, 8);
    EXPECT_EQ(s.columns[8].columnId, 0);
    EXPECT_EQ(s.columns[3].width, 99);

    for (const char* badId : {"42", "-1", "1", "9"}) {
        profile.setValue("URL list header", "Index0", badId);
        s.load(profile, "");
        EXPECT_EQ(s.columns, defaultColumnTable()) << badId;
    }
}

TEST(SettingsTest, SavesEveryKeyOnlyWhenChangedAndRetriesAfterAFailure) {
    MemoryProfile profile;
    Settings s;
    s.maximumLevel = 4;
    std::string error;
    EXPECT_TRUE(s.save(profile, error));
    EXPECT_EQ(profile.syncs, 0);
    EXPECT_TRUE(profile.values.empty());

    s.changed = true;
    s.useProxy = true;
    s.browser = static_cast<BrowserKind>(17);
    s.columns[2].caption = "Mime";
    profile.failSync = true;
    EXPECT_FALSE(s.save(profile, error));
    EXPECT_EQ(error, "disk full");
    EXPECT_TRUE(s.changed);

    profile.failSync = false;
    EXPECT_TRUE(s.save(profile, error));
    EXPECT_FALSE(s.changed);
    EXPECT_EQ(profile.values.size(), 9u * 5u + 8u + 7u + 8u);
    EXPECT_EQ(profile.at("Application", "UseProxy"), "Yes");
    EXPECT_EQ(profile.at("Programs", "Browser"), "None");
    EXPECT_EQ(profile.at("Project", "MaximumLevel"), "4");
    EXPECT_EQ(profile.at("URL list header", "Caption2"), "Mime");
    EXPECT_EQ(profile.at("URL list header", "Index4"), "5");
}

TEST(SettingsTest, NewProjectsCopyTheProjectChoices) {
    Settings s;
    s.maximumLevel = 4;
    s.downloadPictures = true;
    s.autoSiteImage = true;
    const ProjectOptions options = s.projectOptions();
    EXPECT_EQ(options.startUrl, kNoStartUrl);
    EXPECT_EQ(options.maximumLevel, 4u);
    EXPECT_TRUE(options.getPictures && options.autoLocalSite);
    EXPECT_FALSE(options.checkExternal || options.getDocuments || options.getAudio || options.getVideo ||
                 options.autoReport);

    s.maximumLevel = -2;
    EXPECT_EQ(s.projectOptions().maximumLevel, 0u);
}

TEST(SettingsTest, ConnectionAndProjectPageRules) {
    Settings s;
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

    s.setNetworkBufferKiB(kMax);
    EXPECT_GT(s.networkBufferSize, 0);

    s.applyMaximumLevelText("8");
    EXPECT_EQ(s.maximumLevel, 8);
    s.applyMaximumLevelText("junk");
    EXPECT_EQ(s.maximumLevel, 8);
    s.applyMaximumLevelText("NONE");
    EXPECT_EQ(s.maximumLevelText(), "None");
}

} // namespace
} // namespace corvida
