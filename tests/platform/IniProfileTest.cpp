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

Settings loadFrom(const std::string& path) {
    Settings s;
    s.load(IniProfile(path), "/default");
    return s;
}

// The file's own format has its tests; here the record reaches the file and comes back whole,
// bytes that are not UTF-8 and texts that INI files treat specially included, and a file that
// cannot be written fails the save.
TEST(IniProfileTest, ChangedRecordRoundTripsThroughTheFile) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("config/Corvida/Corvida.conf").toStdString();
    Settings defaults;
    defaults.workingDirectory = "/default";
    EXPECT_EQ(loadFrom(path), defaults);
    EXPECT_FALSE(std::filesystem::exists(path));

    Settings saved;
    saved.changed = true;
    saved.editorProgram = "/opt/My Caf\xE9/edit"; // Latin-1
    saved.editorArguments = "-n \"$LOCALFILE\" ; $URL, again";
    saved.workingDirectory = "/home/ren\xC3\xA9/sites";
    saved.columns[3].caption = "  a=b [c] \\ d\n";
    IniProfile profile(path);
    ASSERT_TRUE(saved.save(profile).isOk());
    EXPECT_EQ(loadFrom(path), saved);

    const std::string blocker = folder.filePath("file").toStdString();
    std::ofstream(blocker) << "not a folder";
    IniProfile unwritable(blocker + "/Corvida/Corvida.conf");
    saved.changed = true;
    const Status failed = saved.save(unwritable);
    EXPECT_NE(failed.message().find(blocker), std::string::npos) << failed.message();
    EXPECT_TRUE(saved.changed);
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
