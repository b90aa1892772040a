// SPDX-License-Identifier: MIT
#include "drawing/NodeIcons.h"

#include <array>
#include <map>
#include <tuple>

#include <QPainter>
#include <QPolygon>

#include "model/MimeTable.h"

namespace corvida {

namespace {

// The band of each major type: unknown, text, image, audio, application, video.
constexpr std::array<QRgb, NodeGlyph::kMajorTypes> kBands = {0xff808080, 0xff0000c0, 0xff009000,
                                                             0xffc08000, 0xff800080, 0xffc00000};

QImage blankImage(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A page with a folded corner, the type's band and two text lines.
QImage paintPage(QRgb band) {
    QImage image = blankImage(NodeIcons::kIconSize);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygon({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(3, 14)}));
    painter.drawLine(10, 1, 10, 4);
    painter.drawLine(10, 4, 13, 4);
    painter.fillRect(5, 5, 7, 3, QColor::fromRgb(band));
    painter.drawLine(5, 10, 11, 10);
    painter.drawLine(5, 12, 9, 12);
    return image;
}

// The page washed out toward light grey, its band still telling the type: known, but not yet
// looked at.
QImage fade(const QImage& icon) {
    constexpr int kWash = 216;
    QImage image = icon.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            line[x] = qRgba((qRed(pixel) + kWash) / 2, (qGreen(pixel) + kWash) / 2, (qBlue(pixel) + kWash) / 2,
                            qAlpha(pixel));
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage paintScheme(int scheme) {
    QImage image = blankImage(NodeIcons::kIconSize);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    switch (scheme) {
    case NodeGlyph::kMailIcon: // an envelope
        painter.setBrush(QColor(255, 255, 224));
        painter.drawRect(1, 4, 13, 8);
        painter.drawLine(1, 4, 8, 9);
        painter.drawLine(14, 4, 8, 9);
        break;
    case NodeGlyph::kFtpIcon: // a folder
        painter.setBrush(QColor(240, 200, 80));
        painter.drawRect(1, 4, 13, 9);
        painter.drawRect(1, 2, 5, 2);
        break;
    case NodeGlyph::kGopherIcon: // a burrow: a mound with a dark hole
        painter.setBrush(QColor(150, 100, 50));
        painter.drawChord(QRect(1, 4, 14, 18), 0, 180 * 16);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QRect(5, 8, 5, 4));
        break;
    default: // a globe
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(120, 180, 240));
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        painter.drawEllipse(QRectF(5.5, 1.5, 5, 13));
        painter.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
        break;
    }
    return image;
}

QImage paintOverlay(NodeGlyph::Overlay overlay) {
    QImage image = blankImage(NodeIcons::kIconSize);
    QPainter painter(&image);
    if (overlay == NodeGlyph::Overlay::ExternalOk) {
        // A green arrow pointing up and out, at the lower left corner.
        painter.setPen(QPen(QColor(0, 96, 0), 1));
        painter.setBrush(QColor(0, 192, 0));
        painter.drawPolygon(QPolygon({QPoint(0, 15), QPoint(0, 12), QPoint(4, 8), QPoint(2, 6), QPoint(8, 6),
                                      QPoint(8, 12), QPoint(6, 10), QPoint(2, 15)}));
    } else {
        // A red cross at the lower left corner.
        painter.setPen(QPen(QColor(208, 0, 0), 3, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(2, 8, 7, 13);
        painter.drawLine(7, 8, 2, 13);
    }
    return image;
}

// The start of the map: a globe with the rings of the map around a bright centre.
QImage paintCentre() {
    QImage image = blankImage(NodeIcons::kCentreIconSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 64, 128), 1.5));
    painter.setBrush(QColor(64, 140, 220));
    painter.drawEllipse(QRectF(2, 2, 28, 28));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(200, 230, 255), 1.5));
    painter.drawEllipse(QRectF(8, 8, 16, 16));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 220, 0));
    painter.drawEllipse(QRectF(12, 12, 8, 8));
    return image;
}

template <std::size_t N>
const QImage& pick(const std::array<QImage, N>& images, int index) {
    return images[index >= 0 && static_cast<std::size_t>(index) < N ? static_cast<std::size_t>(index) : 0];
}

} // namespace

const QImage& NodeIcons::typeIcon(int major) {
    static const std::array<QImage, NodeGlyph::kMajorTypes> icons = [] {
        std::array<QImage, NodeGlyph::kMajorTypes> all;
        for (std::size_t i = 0; i < all.size(); ++i) {
            all[i] = paintPage(kBands[i]);
        }
        return all;
    }();
    return pick(icons, major);
}

const QImage& NodeIcons::unprocessedIcon(int major) {
    static const std::array<QImage, NodeGlyph::kMajorTypes> icons = [] {
        std::array<QImage, NodeGlyph::kMajorTypes> all;
        for (std::size_t i = 0; i < all.size(); ++i) {
            all[i] = fade(typeIcon(static_cast<int>(i)));
        }
        return all;
    }();
    return pick(icons, major);
}

const QImage& NodeIcons::schemeIcon(int scheme) {
    static const std::array<QImage, NodeGlyph::kSchemeIcons> icons = [] {
        std::array<QImage, NodeGlyph::kSchemeIcons> all;
        for (std::size_t i = 0; i < all.size(); ++i) {
            all[i] = paintScheme(static_cast<int>(i));
        }
        return all;
    }();
    return pick(icons, scheme);
}

const QImage& NodeIcons::overlay(NodeGlyph::Overlay overlay) {
    static const QImage none;
    static const QImage ok = paintOverlay(NodeGlyph::Overlay::ExternalOk);
    static const QImage broken = paintOverlay(NodeGlyph::Overlay::ExternalBroken);
    switch (overlay) {
    case NodeGlyph::Overlay::ExternalOk:
        return ok;
    case NodeGlyph::Overlay::ExternalBroken:
        return broken;
    case NodeGlyph::Overlay::None:
        break;
    }
    return none;
}

const QImage& NodeIcons::centreIcon() {
    static const QImage icon = paintCentre();
    return icon;
}

const QImage& NodeIcons::image(const NodeGlyph& glyph) {
    switch (glyph.kind) {
    case NodeGlyph::Kind::Unprocessed:
        return unprocessedIcon(glyph.icon);
    case NodeGlyph::Kind::Scheme:
        return schemeIcon(glyph.icon);
    case NodeGlyph::Kind::Thumbnail:
        return typeIcon(static_cast<int>(MimeTable::kMajorImage));
    case NodeGlyph::Kind::Type:
        break;
    }
    if (glyph.overlay == NodeGlyph::Overlay::None) {
        return typeIcon(glyph.icon);
    }
    // Type icons with an overlay, composed once each.
    static std::map<std::pair<int, int>, QImage> composed;
    const std::pair key(glyph.icon, static_cast<int>(glyph.overlay));
    auto found = composed.find(key);
    if (found == composed.end()) {
        QImage image = typeIcon(glyph.icon).copy();
        QPainter painter(&image);
        painter.drawImage(0, 0, overlay(glyph.overlay));
        painter.end();
        found = composed.emplace(key, image).first;
    }
    return found->second;
}

QImage NodeIcons::selected(const QImage& icon, const QColor& colour) {
    QImage image = icon.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    QColor half = colour;
    half.setAlpha(128);
    painter.fillRect(image.rect(), half);
    return image;
}

} // namespace corvida
