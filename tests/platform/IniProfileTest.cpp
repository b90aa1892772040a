// SPDX-License-Identifier: MIT
#include "platform/IniProfile.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/Settings.h"

namespace corvida {
namespace {

Settings loadFrom(const std::string& path) {
    Settings s;
    s.load(IniProfile(path), "/default");
    return s;
}

bool saveTo(const std::string& path, Settings& s) {
    IniProfile profile(path);
    std::string error;
    const bool saved = s.save(profile, error);
    EXPECT_TRUE(saved) << error;
    return saved;
}

TEST(IniProfileTest, ChangedRecordRoundTripsThroughTheFile) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("config/Corvida/Corvida.conf").toStdString();
    Settings defaults;
    defaults.workingDirectory = "/default";
    EXPECT_EQ(loadFrom(path), defaults);
    EXPECT_FALSE(std::filesystem::exists(path));

    // Every field differs from its default; the texts hold what INI files treat specially.
    Settings saved;
    saved.changed = true;
    saved.editorProgram = "/opt/My Caf\xE9/edit"; // Latin-1, not UTF-8
    saved.editorArguments = "-n \"$LOCALFILE\" ; $URL, again";
    saved.browser = BrowserKind::NetscapeNavigator;
    saved.useSound = saved.checkLowDiskSpace = saved.useProxy = saved.askForPassword = true;
    saved.useRobotExclusion = saved.checkExternal = saved.downloadHtml = saved.downloadPictures = true;
    saved.downloadAudio = saved.downloadVideo = saved.autoReport = saved.autoSiteImage = true;
    saved.diskSpaceLimit = 250;
    saved.workingDirectory = "/home/ren\xC3\xA9/sites";
    saved.columns[3].caption = "  a=b [c] \\ d\n";
    std::swap(saved.columns[5].columnId, saved.columns[6].columnId);
    saved.columns[7].shown = 0;
    saved.columns[8].width = 400;
    saved.columns[8].format = ColumnEntry::kCentre;
    saved.proxyServer = "proxy.local:3128";
    saved.emailAddress = "first, last <x@y.example>";
    saved.networkBufferSize = 65536;
    saved.numberOfConnections = 8;
    saved.maximumLevel = 3;
    ASSERT_TRUE(saveTo(path, saved));
    EXPECT_EQ(loadFrom(path), saved);

    saved.changed = true;
    saved.maximumLevel = 0;
    ASSERT_TRUE(saveTo(path, saved));
    EXPECT_EQ(IniProfile(path).value("Project", "MaximumLevel"), "");
    EXPECT_EQ(loadFrom(path), saved);
}

// The conversions of each kind of value have their own tests; here a hand-edited file with
// CRLF lines, comments and blanks around '=' must reach the record and be written back plainly.
TEST(IniProfileTest, HandEditedFileReadsAndIsRewrittenPlainly) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("Corvida.conf").toStdString();
    std::ofstream(path) << "; written by hand\r\n[Application]\r\n"
                           "UserAgent=Mozilla/5.0 (X11; Linux x86_64)\r\nProxyServer=a,b\r\n"
                           "EmailAddress = \"first, last\" <x@y.example>  \r\nthis line is no key\r\n"
                           "[Programs]\r\nEditorCommand==\"$LOCALFILE\" # not a comment\r\n"
                           "[Project]\r\nDownloadHtml=Yes\r\n[URL list header]\r\nCaption1=Na,me\r\nWidth1=  77px\r\n";
    Settings s = loadFrom(path);
    EXPECT_EQ(s.userAgent, "Mozilla/5.0 (X11; Linux x86_64)");
    EXPECT_EQ(s.proxyServer, "a,b");
    EXPECT_EQ(s.emailAddress, "\"first, last\" <x@y.example>");
    EXPECT_EQ(s.editorArguments, "=\"$LOCALFILE\" # not a comment");
    EXPECT_EQ(s.workingDirectory, "/default");
    EXPECT_TRUE(s.downloadHtml);
    EXPECT_EQ(s.columns[1].caption, "Na,me");
    EXPECT_EQ(s.columns[1].width, 77);

    s.changed = true;
    ASSERT_TRUE(saveTo(path, s));
    EXPECT_EQ(loadFrom(path), s);
    std::ostringstream written;
    written << std::ifstream(path).rdbuf();
    EXPECT_NE(written.str().find("\n[URL list header]\nCaption0=Type\nCaption1=Na,me\n"), std::string::npos);
    EXPECT_NE(written.str().find("\nEditorCommand==\"$LOCALFILE\" # not a comment\n"), std::string::npos);
}

TEST(IniProfileTest, UnwritableFileFailsTheSave) {
    QTemporaryDir folder;
    const std::string blocker = folder.filePath("file").toStdString();
    std::ofstream(blocker) << "not a folder";
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
