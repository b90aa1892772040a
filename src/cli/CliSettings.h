// SPDX-License-Identifier: MIT
#pragma once

// CliSettings holds corvida-cli's settings record: read once at start from the profile
// (the user's Corvida.conf, or the file given with --config) before a command runs. Commands
// take their defaults from it.

#include <iosfwd>
#include <string>

#include "app/Settings.h"

namespace corvida {

class CliSettings {
public:
    // Reads the profile at path (empty: the user's default profile). A missing file gives the
    // defaults.
    static void load(const std::string& path);
    // The profile file that load() read.
    static const std::string& path();
    // The record as loaded.
    static const Settings& settings();
};

} // namespace corvida
