// SPDX-License-Identifier: MIT
#include "app/InternetShortcut.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>

#include "platform/IniFormat.h"

namespace corvida {

namespace {

constexpr char kWindowsSection[] = "InternetShortcut";
constexpr char kDesktopEntry[] = "Desktop Entry/";
constexpr char kUrlKey[] = "URL";
constexpr char kDelete = 0x7F;

// The value of "section/key" in map, the names matched without regard to letter case;
// an empty array when there is none.
QByteArray valueIgnoringCase(const QSettings::SettingsMap& map, const QString& name) {
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0) {
            return it.value().toByteArray();
        }
    }
    return {};
}

QByteArray shortcutUrl(const QSettings::SettingsMap& map) {
    QByteArray url = valueIgnoringCase(map, QString::fromLatin1(kWindowsSection) + '/' + kUrlKey);
    if (url.isEmpty() && map.value(QString::fromLatin1(kDesktopEntry) + "Type").toByteArray() == "Link") {
        url = map.value(QString::fromLatin1(kDesktopEntry) + kUrlKey).toByteArray();
    }
    return url;
}

bool hasControlCharacter(const QByteArray& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == kDelete) {
            return true;
        }
    }
    return false;
}

} // namespace

Status InternetShortcut::read(const std::string& path, std::string& url) {
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    // Only a regular file: a FIFO or device would block or never end.
    if (!info.isFile()) {
        return Status::notFound("Not a file: " + path);
    }
    if (info.size() > static_cast<qint64>(kMaxBytes)) {
        return Status::invalidArgument("Too large for an Internet shortcut: " + path);
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        return Status::notFound("Cannot read " + path + ": " + file.errorString().toStdString());
    }
    // The file may have grown since its size was checked.
    QByteArray bytes = file.read(static_cast<qint64>(kMaxBytes) + 1);
    if (bytes.size() > static_cast<qsizetype>(kMaxBytes)) {
        return Status::invalidArgument("Too large for an Internet shortcut: " + path);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QSettings::SettingsMap map;
    IniFormat::read(buffer, map);

    const QByteArray value = shortcutUrl(map);
    if (value.isEmpty()) {
        return Status::corrupt("No Internet shortcut URL in " + path);
    }
    if (hasControlCharacter(value)) {
        return Status::corrupt("The Internet shortcut URL is not one line of text in " + path);
    }
    url = value.toStdString();
    return Status::ok();
}

} // namespace corvida
