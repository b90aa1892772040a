// SPDX-License-Identifier: MIT
#pragma once

// IniProfile is the user's profile as an INI file read and written through QSettings in the
// plain format of IniFormat: "[Section]" headers with the names as they are and "Key=value"
// lines whose values are the texts as they stand, so the file can be edited by hand. Texts are
// kept as bytes and written as they are (UTF-8 where they are text). Writes are held in memory
// until sync().

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Profile.h"

class QSettings;

namespace corvida {

class IniProfile : public Profile {
public:
    // Opens the profile in the INI file at path. A missing file reads as an empty profile;
    // the file and its folders are made on the first sync().
    explicit IniProfile(const std::string& path);
    ~IniProfile() override;

    IniProfile(const IniProfile&) = delete;
    IniProfile& operator=(const IniProfile&) = delete;

    std::optional<std::string> value(std::string_view section, std::string_view key) const override;
    void setValue(std::string_view section, std::string_view key, std::string_view text) override;
    Status sync() override;

    // The path given to the constructor.
    const std::string& path() const { return m_path; }

    // The profile file of this user: $XDG_CONFIG_HOME (else ~/.config) + "/Corvida/Corvida.conf".
    static std::string defaultConfigPath();

    // The default parent of project working directories: $XDG_DATA_HOME (else
    // ~/.local/share) + "/Corvida/files".
    static std::string defaultWorkingDirectory();

private:
    std::string m_path;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace corvida
