// SPDX-License-Identifier: MIT
#include "views/MediaSoundPlayer.h"

#ifdef CORVIDA_HAVE_MULTIMEDIA

#include <QUrl>

namespace corvida {

MediaSoundPlayer::MediaSoundPlayer() {
    m_player.setAudioOutput(&m_output);
    QObject::connect(&m_player, &QMediaPlayer::playbackStateChanged, &m_player,
                     [this](QMediaPlayer::PlaybackState state) {
                         if (state == QMediaPlayer::StoppedState && !m_stopping) {
                             finished();
                         }
                     });
    QObject::connect(&m_player, &QMediaPlayer::errorOccurred, &m_player, [this] {
        if (!m_stopping) {
            finished();
        }
    });
}

bool MediaSoundPlayer::play(const QString& file) {
    stop();
    m_player.setSource(QUrl::fromLocalFile(file));
    if (m_player.error() != QMediaPlayer::NoError) {
        return false;
    }
    m_player.play();
    return true;
}

void MediaSoundPlayer::stop() {
    m_stopping = true;
    m_player.stop();
    m_player.setSource(QUrl());
    m_stopping = false;
}

} // namespace corvida

#endif
