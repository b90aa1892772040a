// SPDX-License-Identifier: MIT
#include "platform/IniProfile.h"

#include <QByteArray>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QVariant>

#include "platform/IniFormat.h"

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
    : m_path(path), m_settings(std::make_unique<QSettings>(QString::fromStdString(path), IniFormat::format())) {}

IniProfile::~IniProfile() = default;

std::optional<std::string> IniProfile::value(std::string_view section, std::string_view key) const {
    const QString name = settingsKey(section, key);
    if (!m_settings->contains(name)) {
        return std::nullopt;
    }
    // The format keeps values as bytes, which are the texts as the file holds them.
    return m_settings->value(name).toByteArray().toStdString();
}

void IniProfile::setValue(std::string_view section, std::string_view key, std::string_view text) {
    m_settings->setValue(settingsKey(section, key), QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

Status IniProfile::sync() {
    m_settings->sync();
    // Reading the plain format never fails, so any error is one of access: the changes did not
    // reach the file.
    if (m_settings->status() != QSettings::NoError) {
        return Status::ioError("cannot write the settings file " + m_path);
    }
    return Status::ok();
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
