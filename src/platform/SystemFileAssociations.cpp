// SPDX-License-Identifier: MIT
#include "platform/SystemFileAssociations.h"

#include <algorithm>

#include <QMimeDatabase>

namespace corvida {

std::vector<FileAssociation> systemFileAssociations() {
    std::vector<FileAssociation> associations;
    const QMimeDatabase database;
    for (const QMimeType& type : database.allMimeTypes()) {
        const std::string contentType = type.name().toStdString();
        const std::string icon = type.iconName().toStdString();
        for (const QString& suffix : type.suffixes()) {
            // Only single-part suffixes can match a URL's extension ("tar.gz" never does).
            if (suffix.isEmpty() || suffix.contains(QLatin1Char('.'))) {
                continue;
            }
            FileAssociation association;
            association.extension = suffix.toStdString();
            association.contentType = contentType;
            association.texts[0] = icon;
            associations.push_back(std::move(association));
        }
    }
    std::stable_sort(associations.begin(), associations.end(),
                     [](const FileAssociation& a, const FileAssociation& b) { return a.extension < b.extension; });
    return associations;
}

} // namespace corvida
