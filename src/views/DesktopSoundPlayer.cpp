// SPDX-License-Identifier: MIT
#include "views/DesktopSoundPlayer.h"

#include <QDesktopServices>
#include <QUrl>

namespace corvida {

bool DesktopSoundPlayer::play(const QString& file) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    return false;
}

} // namespace corvida
