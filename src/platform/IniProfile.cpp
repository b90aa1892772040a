// SPDX-License-Identifier: MIT
#include "platform/IniProfile.h"

#include <QByteArray>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace corvida {

namespace {

QString fromBytes(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toBytes(const QString& text) {
    return text.toUtf8().toStdString();
}

QString settingsKey(std::string_view section, std::string_view key) {
    return fromBytes(section) + u'/' + fromBytes(key);
}

} // namespace

IniProfile::IniProfile(const std::string& path)
    : m_path(path), m_settings(std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat)) {}

IniProfile::~IniProfile() = default;

std::optional<std::string> IniProfile::value(std::string_view section, std::string_view key) const {
    const QString name = settingsKey(section, key);
    if (!m_settings->contains(name)) {
        return std::nullopt;
    }
    const QVariant stored = m_settings->value(name);
    switch (stored.typeId()) {
    case QMetaType::QStringList:
        // QSettings splits an unquoted value at its commas (and drops the blanks after
        // them); what we write is quoted, so this is a hand-edited text. Give it back whole.
        return toBytes(stored.toStringList().join(QStringLiteral(", ")));
    case QMetaType::QByteArray:
        return stored.toByteArray().toStdString();
    default:
        return toBytes(stored.toString());
    }
}

void IniProfile::setValue(std::string_view section, std::string_view key, std::string_view text) {
    m_settings->setValue(settingsKey(section, key), fromBytes(text));
}

bool IniProfile::sync(std::string& error) {
    m_settings->sync();
    // QSettings keeps the first error it met. A FormatError comes from reading a malformed
    // file, which QSettings still reads as far as it can and rewrites whole on sync, so only
    // an AccessError says that the changes did not reach the file.
    if (m_settings->status() == QSettings::AccessError) {
        error = "cannot write the settings file " + m_path;
        return false;
    }
    return true;
}

std::string IniProfile::defaultConfigPath() {
    return toBytes(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                   QStringLiteral("/Corvida/Corvida.conf"));
}

std::string IniProfile::defaultWorkingDirectory() {
    return toBytes(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                   QStringLiteral("/Corvida/files"));
}

} // namespace corvida
