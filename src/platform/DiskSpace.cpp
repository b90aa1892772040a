// SPDX-License-Identifier: MIT
#include "platform/DiskSpace.h"

#include <QFile>
#include <QStorageInfo>

namespace corvida {

std::optional<std::uint64_t> DiskSpace::available(const std::string& directory) {
    const QStorageInfo storage(QFile::decodeName(QByteArray::fromStdString(directory)));
    if (!storage.isValid() || !storage.isReady() || storage.bytesAvailable() < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(storage.bytesAvailable());
}

} // namespace corvida
