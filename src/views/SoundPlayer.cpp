// SPDX-License-Identifier: MIT
#include "views/SoundPlayer.h"

#include "views/DesktopSoundPlayer.h"
#include "views/MediaSoundPlayer.h"

namespace corvida {

std::unique_ptr<SoundPlayer> SoundPlayer::create() {
#ifdef CORVIDA_HAVE_MULTIMEDIA
    return std::make_unique<MediaSoundPlayer>();
#else
    return std::make_unique<DesktopSoundPlayer>();
#endif
}

} // namespace corvida
