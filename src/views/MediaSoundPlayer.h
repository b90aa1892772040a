// SPDX-License-Identifier: MIT
#pragma once

// A MediaSoundPlayer plays sound files through Qt Multimedia on the default audio output.
// It exists when the program is built with Qt Multimedia.

#ifdef CORVIDA_HAVE_MULTIMEDIA

#include <QAudioOutput>
#include <QMediaPlayer>

#include "views/SoundPlayer.h"

namespace corvida {

class MediaSoundPlayer : public SoundPlayer {
public:
    MediaSoundPlayer();

    bool play(const QString& file) override;
    void stop() override;

private:
    QMediaPlayer m_player;
    QAudioOutput m_output;
    bool m_stopping = false; // stop() asked for the end now coming
};

} // namespace corvida

#endif
