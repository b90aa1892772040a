// SPDX-License-Identifier: MIT
// The profile file: its INI format, read leniently and written so that every text reads back,
// and the settings record that reaches the file through it.
#include "platform/IniProfile.h"
#include "platform/IniFormat.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <QBuffer>
#include <QByteArray>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>

#include "app/Settings.h"

namespace corvida {
namespace {

QSettings::SettingsMap readText(QByteArray text) {
    QBuffer buffer(&text);
    QSettings::SettingsMap map;
    EXPECT_TRUE(buffer.open(QIODevice::ReadOnly) && IniFormat::read(buffer, map));
    return map;
}

QByteArray writeText(const QSettings::SettingsMap& map) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    EXPECT_TRUE(buffer.open(QIODevice::WriteOnly) && IniFormat::write(buffer, map));
    return bytes;
}

TEST(IniFormatTest, ReadsLinesLeniently) {
    const QByteArray text = "\xEF\xBB\xBF"
                            "Loose = before any section\n"
                            "  ; comment=1\n# comment=2\n\n   \nno equals sign here\n= no key\n"
                            "[ URL list header ] trailing words\n"
                            "Caption1=Na,me ; not a comment\n"
                            "\tWidth1 =  77px  \n"
                            "Eq==a=b\n"
                            "Path=C:\\new\\dir\\\n"
                            "[Application\n"
                            "UserAgent=Mozilla/5.0 (X11; Linux x86_64)\n"
                            "[]\n"
                            "Again=first\nAgain=second\n"
                            "[URL list header]\n"
                            "Shown1=0";
    const QSettings::SettingsMap expected{
        {"Loose", QByteArray("before any section")},
        {"URL list header/Caption1", QByteArray("Na,me ; not a comment")},
        {"URL list header/Width1", QByteArray("77px")},
        {"URL list header/Eq", QByteArray("=a=b")},
        {"URL list header/Path", QByteArray("C:\\new\\dir\\")},
        {"URL list header/Shown1", QByteArray("0")},
        {"Application/UserAgent", QByteArray("Mozilla/5.0 (X11; Linux x86_64)")},
        {"Again", QByteArray("second")},
    };
    EXPECT_EQ(readText(text), expected);

    QByteArray crlf = text;
    crlf.replace("\n", "\r\n");
    EXPECT_EQ(readText(crlf), expected);

    // Names QSettings could not give back whole: with '/', or cut in the middle of a character.
    EXPECT_EQ(readText("a/b=1\n[s/t]\nc=2\n[u]\n\xCE=3\n"), (QSettings::SettingsMap{{"u/\uFFFD", QByteArray("3")}}));
}

TEST(IniFormatTest, WritesOrdinaryValuesAsTheyAreAndEscapesOnlyWhatWouldNotReadBack) {
    const QSettings::SettingsMap map{
        {"Top", QByteArray("x")},
        {"URL list header/Caption1", QByteArray("a\\b, \"c\"; #d=e")},
        {"URL list header/Caption2", QByteArray("line\nbreak\\n")},
        {"URL list header/Caption3", QByteArray("  padded \t ")},
        {"URL list header/Caption4", QByteArray("\\starts")},
        {"Application/UserAgent", QStringLiteral("Mozilla/5.0 (X11; Linux) r\u00E9")},
        {"Application/Empty", QByteArray()},
    };
    EXPECT_EQ(writeText(map), "Top=x\n"
                              "\n[Application]\nEmpty=\nUserAgent=Mozilla/5.0 (X11; Linux) r\xC3\xA9\n"
                              "\n[URL list header]\n"
                              "Caption1=a\\b, \"c\"; #d=e\n"
                              "Caption2=\\line\\nbreak\\\\n\n"
                              "Caption3=\\  padded \\t\\s\n"
                              "Caption4=\\\\\\starts\n");
}

TEST(IniFormatTest, EveryByteTextRoundTrips) {
    // Texts drawn from the bytes that matter to the format, plus bytes that are not UTF-8; a
    // name that begins with a byte order mark keeps it.
    constexpr char kBytes[] = "\\nrst \t\r\n=;#[]\"a\x00\xFF\xC3";
    const QByteArray alphabet(kBytes, sizeof(kBytes) - 1);
    std::mt19937 random(7);
    QSettings::SettingsMap map{{"\uFEFFkey", QByteArray("v")}};
    for (int i = 0; i < 2000; ++i) {
        QByteArray value;
        const int length = static_cast<int>(random() % 8);
        for (int j = 0; j < length; ++j) {
            value += alphabet[static_cast<qsizetype>(random() % alphabet.size())];
        }
        map.insert(QStringLiteral("S%1/K%2").arg(i % 3).arg(i), value);
    }
    EXPECT_EQ(readText(writeText(map)), map);
}

Settings loadFrom(const std::string& path) {
    Settings s;
    s.load(IniProfile(path), "/default");
    return s;
}

// The format has its tests above; here the record reaches the file and comes back whole,
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
