// SPDX-License-Identifier: MIT
#include "app/GuiState.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include <QByteArray>

#include "platform/Profile.h"

namespace corvida {

namespace {

constexpr std::string_view kRecentSection = "Recent File List";
constexpr std::string_view kRecentKeyPrefix = "File";
constexpr std::string_view kWindowSection = "Window";
constexpr std::string_view kStateKey = "State";
constexpr std::string_view kGeometryKey = "Geometry";
constexpr std::string_view kStatusBarKey = "StatusBar";
constexpr std::string_view kYes = "Yes";
constexpr std::string_view kNo = "No";

std::string recentKey(std::size_t index) {
    return std::string(kRecentKeyPrefix) + std::to_string(index + 1);
}

std::string fromBase64(const std::optional<std::string>& text) {
    if (!text) {
        return {};
    }
    const auto decoded =
        QByteArray::fromBase64Encoding(QByteArray::fromStdString(*text), QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? decoded.decoded.toStdString() : std::string();
}

std::string toBase64(const std::string& bytes) {
    return QByteArray::fromStdString(bytes).toBase64().toStdString();
}

} // namespace

void GuiState::load(const Profile& profile) {
    m_recentFiles.clear();
    for (std::size_t i = 0; i < kMaxRecentFiles; ++i) {
        const std::optional<std::string> file = profile.value(kRecentSection, recentKey(i));
        if (file && !file->empty() &&
            std::find(m_recentFiles.begin(), m_recentFiles.end(), *file) == m_recentFiles.end()) {
            m_recentFiles.push_back(*file);
        }
    }
    m_windowState = fromBase64(profile.value(kWindowSection, kStateKey));
    m_windowGeometry = fromBase64(profile.value(kWindowSection, kGeometryKey));
    m_statusBarVisible = profile.value(kWindowSection, kStatusBarKey) != kNo;
    m_changed = false;
}

Status GuiState::save(Profile& profile) {
    if (!m_changed) {
        return Status::ok();
    }
    for (std::size_t i = 0; i < kMaxRecentFiles; ++i) {
        profile.setValue(kRecentSection, recentKey(i), i < m_recentFiles.size() ? m_recentFiles[i] : std::string());
    }
    profile.setValue(kWindowSection, kStateKey, toBase64(m_windowState));
    profile.setValue(kWindowSection, kGeometryKey, toBase64(m_windowGeometry));
    profile.setValue(kWindowSection, kStatusBarKey, m_statusBarVisible ? kYes : kNo);
    if (Status synced = profile.sync(); !synced.isOk()) {
        return synced;
    }
    m_changed = false;
    return Status::ok();
}

void GuiState::addRecentFile(const std::string& absolutePath) {
    if (absolutePath.empty() || (!m_recentFiles.empty() && m_recentFiles.front() == absolutePath)) {
        return;
    }
    std::erase(m_recentFiles, absolutePath);
    m_recentFiles.insert(m_recentFiles.begin(), absolutePath);
    if (m_recentFiles.size() > kMaxRecentFiles) {
        m_recentFiles.resize(kMaxRecentFiles);
    }
    m_changed = true;
}

void GuiState::removeRecentFile(const std::string& path) {
    if (std::erase(m_recentFiles, path) > 0) {
        m_changed = true;
    }
}

void GuiState::setWindowState(std::string bytes) {
    if (bytes != m_windowState) {
        m_windowState = std::move(bytes);
        m_changed = true;
    }
}

void GuiState::setWindowGeometry(std::string bytes) {
    if (bytes != m_windowGeometry) {
        m_windowGeometry = std::move(bytes);
        m_changed = true;
    }
}

void GuiState::setStatusBarVisible(bool visible) {
    if (visible != m_statusBarVisible) {
        m_statusBarVisible = visible;
        m_changed = true;
    }
}

} // namespace corvida
