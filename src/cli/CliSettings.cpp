// SPDX-License-Identifier: MIT
#include "cli/CliSettings.h"

#include "platform/IniProfile.h"

namespace corvida {

namespace {

struct Loaded {
    std::string path;
    Settings settings;
};

Loaded& loaded() {
    static Loaded instance;
    return instance;
}

} // namespace

void CliSettings::load(const std::string& path) {
    Loaded& state = loaded();
    state.path = path.empty() ? IniProfile::defaultConfigPath() : path;
    const IniProfile profile(state.path);
    state.settings.load(profile, IniProfile::defaultWorkingDirectory());
}

const std::string& CliSettings::path() {
    return loaded().path;
}

const Settings& CliSettings::settings() {
    return loaded().settings;
}

} // namespace corvida
