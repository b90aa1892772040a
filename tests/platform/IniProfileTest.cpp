// SPDX-License-Identifier: MIT
#include "platform/IniProfile.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/Settings.h"

namespace corvida {
namespace {

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(IniProfileTest, ChangedRecordRoundTripsThroughTheFile) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("config/Corvida/Corvida.conf").toStdString();

    Settings saved;
    saved.changed = true;
    saved.editorProgram = "/opt/My Editor/bin/edit";
    saved.editorArguments = "-n \"$LOCALFILE\" ; $URL, again";
    saved.browser = BrowserKind::NetscapeNavigator;
    saved.useSound = true;
    saved.checkLowDiskSpace = true;
    saved.diskSpaceLimit = 250;
    saved.workingDirectory = "/home/ren\xC3\xA9/sites";
    saved.columns[0].caption = "Kind, icon";
    saved.columns[1].caption = "@Name";
    saved.columns[2].caption = "  padded  ";
    saved.columns[3].caption = "";
    saved.columns[4].caption = "a=b [c] \\ d";
    std::swap(saved.columns[5].columnId, saved.columns[6].columnId);
    saved.columns[7].shown = 0;
    saved.columns[8].width = 400;
    saved.columns[8].format = ColumnEntry::kCentre;
    saved.userAgent = Settings::kDefaultUserAgent;
    saved.proxyServer = "proxy.local:3128";
    saved.emailAddress = "first, last <x@y.example>";
    saved.useProxy = true;
    saved.networkBufferSize = 65536;
    saved.numberOfConnections = 8;
    saved.askForPassword = true;
    saved.useRobotExclusion = true;
    saved.maximumLevel = 3;
    saved.checkExternal = true;
    saved.downloadHtml = true;
    saved.downloadPictures = true;
    saved.downloadAudio = true;
    saved.downloadVideo = true;
    saved.autoReport = true;
    saved.autoSiteImage = true;
    {
        IniProfile profile(path);
        std::string error;
        ASSERT_TRUE(saved.save(profile, error)) << error;
    }
    EXPECT_FALSE(saved.changed);

    Settings loaded;
    loaded.load(IniProfile(path), "/default");
    EXPECT_EQ(loaded, saved);

    // Level 0 is stored as an empty text and comes back as no limit.
    saved.changed = true;
    saved.maximumLevel = 0;
    {
        IniProfile profile(path);
        std::string error;
        ASSERT_TRUE(saved.save(profile, error)) << error;
        EXPECT_EQ(profile.value("Project", "MaximumLevel"), "");
    }
    loaded.load(IniProfile(path), "/default");
    EXPECT_EQ(loaded, saved);

    const std::string text = readFile(path);
    EXPECT_NE(text.find("[Application]\n"), std::string::npos);
    EXPECT_NE(text.find("UseProxy=Yes\n"), std::string::npos);
    EXPECT_NE(text.find("MaximumLevel=\n"), std::string::npos);
}

TEST(IniProfileTest, MissingFileReadsAsDefaultsAndIsNotMade) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("none/Corvida.conf").toStdString();
    IniProfile profile(path);
    EXPECT_EQ(profile.value("Application", "UserAgent"), std::nullopt);

    Settings loaded;
    loaded.load(profile, "/data/Corvida/files");
    Settings expected;
    expected.workingDirectory = "/data/Corvida/files";
    EXPECT_EQ(loaded, expected);

    std::string error;
    EXPECT_TRUE(loaded.save(profile, error));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(IniProfileTest, HandEditedFileWithOddValuesLoadsWithoutHarm) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("Corvida.conf").toStdString();
    writeFile(path, "[Application]\n"
                    "UseProxy=yes\n"
                    "ProxyServer=a,b\n"
                    "EmailAddress=x,  y ,z\n"
                    "UserAgent=\"Quoted; agent, 1.0\"\n"
                    "NetworkBufferSize=lots\n"
                    "NumberOfConnections=99999999999999999999\n"
                    "AskForPassword=Yes\n"
                    "this line is no key\n"
                    "[Programs]\n"
                    "Browser=netscape NAVIGATOR\n"
                    "DiskSpaceLimit=-5\n"
                    "EditorProgram=\n"
                    "[Project]\n"
                    "MaximumLevel=None\n"
                    "DownloadHtml=Yes\n"
                    "[URL list header]\n"
                    "Caption1=Na,me\n"
                    "Width1=  77px\n"
                    "Index2=2\n");
    Settings s;
    s.load(IniProfile(path), "/default");
    EXPECT_FALSE(s.useProxy);
    EXPECT_EQ(s.proxyServer, "a, b");
    EXPECT_EQ(s.emailAddress, "x, y, z");
    EXPECT_EQ(s.userAgent, "Quoted; agent, 1.0");
    EXPECT_EQ(s.networkBufferSize, 0);
    EXPECT_EQ(s.numberOfConnections, 2147483647);
    EXPECT_TRUE(s.askForPassword);
    EXPECT_EQ(s.browser, BrowserKind::NetscapeNavigator);
    EXPECT_EQ(s.diskSpaceLimit, -5);
    EXPECT_EQ(s.editorProgram, "");
    EXPECT_EQ(s.workingDirectory, "/default");
    EXPECT_EQ(s.maximumLevel, 0);
    EXPECT_TRUE(s.downloadHtml);
    EXPECT_EQ(s.columns[1].caption, "Na, me");
    EXPECT_EQ(s.columns[1].width, 77);
    EXPECT_EQ(s.columns[0], defaultColumnTable()[0]);

    // Saving rewrites the file in a form that reads back the same.
    s.changed = true;
    IniProfile profile(path);
    std::string error;
    ASSERT_TRUE(s.save(profile, error)) << error;
    Settings reloaded;
    reloaded.load(IniProfile(path), "/other");
    EXPECT_EQ(reloaded, s);
}

TEST(IniProfileTest, UnwritableFileFailsTheSync) {
    QTemporaryDir folder;
    const std::string blocker = folder.filePath("file").toStdString();
    writeFile(blocker, "not a folder");
    IniProfile profile(blocker + "/Corvida/Corvida.conf");
    Settings s;
    s.changed = true;
    std::string error;
    EXPECT_FALSE(s.save(profile, error));
    EXPECT_NE(error.find(blocker), std::string::npos) << error;
    EXPECT_TRUE(s.changed);
}

TEST(IniProfileTest, DefaultPathsFollowTheXdgFolders) {
    const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const bool hadData = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/corvida-xdg/config");
    qputenv("XDG_DATA_HOME", "/tmp/corvida-xdg/data");
    EXPECT_EQ(IniProfile::defaultConfigPath(), "/tmp/corvida-xdg/config/Corvida/Corvida.conf");
    EXPECT_EQ(IniProfile::defaultWorkingDirectory(), "/tmp/corvida-xdg/data/Corvida/files");
    hadConfig ? qputenv("XDG_CONFIG_HOME", oldConfig) : qunsetenv("XDG_CONFIG_HOME");
    hadData ? qputenv("XDG_DATA_HOME", oldData) : qunsetenv("XDG_DATA_HOME");
}

} // namespace
} // namespace corvida
