// SPDX-License-Identifier: MIT
#include "platform/IniFormat.h"

#include <random>

#include <QBuffer>
#include <QByteArray>
#include <QVariant>
#include <gtest/gtest.h>

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

} // namespace
} // namespace corvida
