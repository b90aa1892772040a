// SPDX-License-Identifier: MIT
#pragma once

// A DesktopSoundPlayer hands sound files to the desktop's player (the application the desktop
// opens the file's type with). The program cannot stop such a sound.

#include "views/SoundPlayer.h"

namespace corvida {

class DesktopSoundPlayer : public SoundPlayer {
public:
    // Opens file with the desktop's player; always false, as it cannot be stopped from here.
    bool play(const QString& file) override;
    void stop() override {}
};

} // namespace corvida
