// SPDX-License-Identifier: MIT
#include "drawing/ThumbnailCache.h"

#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <system_error>

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QRect>

#include "model/LocalNames.h"
#include "model/WebNode.h"
#include "viewlogic/PictureFit.h"

namespace corvida {

std::size_t ThumbnailCache::KeyHash::operator()(const Key& key) const {
    const std::size_t node = std::hash<const WebNode*>()(key.node);
    const std::size_t size = std::hash<qint64>()((qint64{key.width} << 32) ^ qint64{key.height});
    return node ^ (size + 0x9e3779b97f4a7c15ULL + (node << 6) + (node >> 2));
}

ThumbnailCache::ThumbnailCache(std::string workingDirectory, std::size_t budget)
    : m_workingDirectory(std::move(workingDirectory)), m_budget(budget) {}

bool ThumbnailCache::draw(QPainter& painter, const WebNode& node, const QRect& box) {
    const QImage image = picture(node, box.size());
    if (image.isNull()) {
        return false;
    }
    painter.drawImage(
        QPoint(box.x() + (box.width() - image.width()) / 2, box.y() + (box.height() - image.height()) / 2), image);
    return true;
}

QImage ThumbnailCache::picture(const WebNode& node, QSize boxSize) {
    if (boxSize.width() <= 0 || boxSize.height() <= 0) {
        return {};
    }
    const Key key{&node, boxSize.width(), boxSize.height()};
    if (const auto found = m_index.find(key); found != m_index.end()) {
        // A picture that could not be read is not tried again until the node changes (its
        // fetch ends, or its thumbnail is made), so that a map of broken pictures does not
        // read their files on every paint.
        if (!found->second->image.isNull() || found->second->flags == node.flags()) {
            m_entries.splice(m_entries.begin(), m_entries, found->second);
            return found->second->image;
        }
        drop(found->second);
    }
    QImage image = load(m_workingDirectory + LocalNames::workingCopy(node), boxSize);
    if (image.isNull() && node.hasAnyFlag(kFlagThumbnail)) {
        image = load(m_workingDirectory + LocalNames::thumbnail(node), boxSize);
    }
    keep(key, image, node.flags());
    return image;
}

void ThumbnailCache::clear() {
    m_index.clear();
    m_entries.clear();
    m_bytes = 0;
}

QImage ThumbnailCache::load(const std::string& file, QSize boxSize) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return {};
    }
    ++m_loads;
    QImageReader reader(QFile::decodeName(QByteArray::fromStdString(file)));
    // The name's extension comes from the site's URL and may well be wrong.
    reader.setDecideFormatFromContent(true);
    const QSize full = reader.size();
    if (!full.isValid() || full.isEmpty()) {
        return {};
    }
    if (reader.supportsOption(QImageIOHandler::ScaledSize)) {
        // The decoder makes the small picture itself (JPEG: from a fraction of the data).
        const std::optional<PictureFit::Placement> placement =
            PictureFit::fit(full.width(), full.height(), boxSize.width(), boxSize.height());
        if (placement) {
            reader.setScaledSize(QSize(placement->width, placement->height));
        }
    } else if (qint64{full.width()} * full.height() * 4 > kMaxDecodeBytes) {
        return {};
    }
    const QImage image = reader.read();
    // The picture is fitted by its own size: some readers announce the size of a part only
    // (a GIF that of its first frame, not of its screen).
    const std::optional<PictureFit::Placement> placement =
        image.isNull() ? std::nullopt
                       : PictureFit::fit(image.width(), image.height(), boxSize.width(), boxSize.height());
    if (!placement) {
        return {};
    }
    const QSize scaled(placement->width, placement->height);
    return image.size() == scaled ? image : image.scaled(scaled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

std::size_t ThumbnailCache::costOf(const QImage& image) {
    return image.isNull() ? kFailedEntryBytes : static_cast<std::size_t>(image.sizeInBytes());
}

void ThumbnailCache::keep(const Key& key, const QImage& image, std::uint32_t flags) {
    const std::size_t bytes = costOf(image);
    if (bytes > m_budget) {
        return;
    }
    m_entries.push_front(Entry{key, image, flags});
    m_index.emplace(key, m_entries.begin());
    m_bytes += bytes;
    while (m_bytes > m_budget) {
        drop(std::prev(m_entries.end()));
    }
}

void ThumbnailCache::drop(Entries::iterator entry) {
    m_bytes -= costOf(entry->image);
    m_index.erase(entry->key);
    m_entries.erase(entry);
}

} // namespace corvida
