// SPDX-License-Identifier: MIT
#pragma once

// GuiState is what the desktop program keeps between runs beside the settings: the recent-file
// list of the File menu, the main window's dock and toolbar layout and geometry, and whether
// the status line shows. The application owns it, loads it from the user's profile at start-up
// and saves it back at exit. The profile holds the list in section "Recent File List" (keys
// File1 to File4, empty for an unused place) and the window in section "Window": "State" and
// "Geometry" as base64 text of the bytes the window saved, "StatusBar" as "Yes" or "No".

#include <cstddef>
#include <string>
#include <vector>

#include "base/Status.h"

namespace corvida {

class Profile;

class GuiState {
public:
    static constexpr std::size_t kMaxRecentFiles = 4;

    // Replaces the whole state with profile's: the non-empty recent files in key order, each
    // once, at most kMaxRecentFiles; window state and geometry decoded from base64 (empty when
    // missing or not base64); the status line shown unless StatusBar says "No". Leaves
    // changed() false.
    void load(const Profile& profile);

    // When changed(), writes every key and syncs the profile, then clears changed(). OK when
    // there was nothing to save or the save reached the store; on failure changed() stays
    // true, so a later save tries again.
    Status save(Profile& profile);

    // The recent files, most recent first.
    const std::vector<std::string>& recentFiles() const { return m_recentFiles; }
    // Puts absolutePath first, removing it from further down; the oldest beyond
    // kMaxRecentFiles drops out. An empty path changes nothing.
    void addRecentFile(const std::string& absolutePath);
    // Removes path from the list (a file that could not be opened), if it is there.
    void removeRecentFile(const std::string& path);

    // The main window's saved layout and geometry, as raw bytes.
    const std::string& windowState() const { return m_windowState; }
    void setWindowState(std::string bytes);
    const std::string& windowGeometry() const { return m_windowGeometry; }
    void setWindowGeometry(std::string bytes);

    bool statusBarVisible() const { return m_statusBarVisible; }
    void setStatusBarVisible(bool visible);

    // Something differs from what was last loaded or saved.
    bool changed() const { return m_changed; }

private:
    std::vector<std::string> m_recentFiles;
    std::string m_windowState;
    std::string m_windowGeometry;
    bool m_statusBarVisible = true;
    bool m_changed = false;
};

} // namespace corvida
