// SPDX-License-Identifier: MIT
#include "app/HelpLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

namespace corvida {

namespace {

constexpr const char* kIndex = "share/corvida/help/index.html";

} // namespace

std::string HelpLocation::indexPath(const std::string& applicationDir) {
    const QString candidates[] = {QString::fromStdString(applicationDir) + "/../" + kIndex,
                                  QStringLiteral(CORVIDA_SOURCE_DIR "/") + kIndex};
    for (const QString& candidate : candidates) {
        // Cleaned first: "bin/.." names the prefix even where the program's directory is gone.
        if (const QFileInfo file(QDir::cleanPath(QFileInfo(candidate).absoluteFilePath())); file.isFile()) {
            return file.filePath().toStdString();
        }
    }
    return {};
}

} // namespace corvida
