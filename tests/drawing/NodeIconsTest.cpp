// SPDX-License-Identifier: MIT
#include "drawing/NodeIcons.h"

#include <vector>

#include <QPainter>
#include <QtTest>

namespace corvida {

class NodeIconsTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureIsDistinctAndOfItsSize() {
        using Kind = NodeGlyph::Kind;
        using Overlay = NodeGlyph::Overlay;
        std::vector<QImage> all;
        for (int major = 0; major < NodeGlyph::kMajorTypes; ++major) {
            all.push_back(NodeIcons::image({Kind::Type, major, Overlay::None}));
            all.push_back(NodeIcons::image({Kind::Unprocessed, major, Overlay::None}));
            all.push_back(NodeIcons::image({Kind::Type, major, Overlay::ExternalOk}));
            all.push_back(NodeIcons::image({Kind::Type, major, Overlay::ExternalBroken}));
        }
        for (int scheme = 0; scheme < NodeGlyph::kSchemeIcons; ++scheme) {
            all.push_back(NodeIcons::image({Kind::Scheme, scheme, Overlay::None}));
        }
        for (std::size_t i = 0; i < all.size(); ++i) {
            QCOMPARE(all[i].size(), QSize(16, 16));
            for (std::size_t j = i + 1; j < all.size(); ++j) {
                QVERIFY2(all[i] != all[j], qPrintable(QStringLiteral("icons %1 and %2").arg(i).arg(j)));
            }
        }
        QCOMPARE(NodeIcons::centreIcon().size(), QSize(32, 32));
        // A sheet of every picture, four times enlarged, to look at.
        QImage sheet(4 * 20 * 8, 4 * 20 * 6, QImage::Format_ARGB32_Premultiplied);
        sheet.fill(QColor(240, 240, 240));
        QPainter painter(&sheet);
        painter.scale(4, 4);
        for (std::size_t i = 0; i < all.size(); ++i) {
            painter.drawImage(static_cast<int>(i % 4) * 20 + (i >= 24 ? 80 : 0), static_cast<int>(i / 4 % 6) * 20,
                              all[i]);
        }
        painter.drawImage(100, 60, NodeIcons::centreIcon());
        painter.end();
        QVERIFY(sheet.save(QStringLiteral(CORVIDA_ARTIFACTS "/node-icons.png")));
        // Icon numbers out of range take icon 0 rather than reading past the pictures.
        QCOMPARE(NodeIcons::typeIcon(6), NodeIcons::typeIcon(0));
        QCOMPARE(NodeIcons::schemeIcon(-1), NodeIcons::schemeIcon(0));
    }

    void overlaysAndSelectionShowInTheirColours() {
        const QImage ok = NodeIcons::overlay(NodeGlyph::Overlay::ExternalOk);
        const QImage broken = NodeIcons::overlay(NodeGlyph::Overlay::ExternalBroken);
        QVERIFY(NodeIcons::overlay(NodeGlyph::Overlay::None).isNull());
        QVERIFY(qGreen(ok.pixel(5, 9)) > 150 && qRed(ok.pixel(5, 9)) < 50);
        QVERIFY(qRed(broken.pixel(4, 10)) > 150 && qGreen(broken.pixel(4, 10)) < 50);

        const QImage page = NodeIcons::typeIcon(1);
        const QImage selected = NodeIcons::selected(page, Qt::blue);
        QCOMPARE(qAlpha(selected.pixel(0, 0)), 0); // transparent stays transparent
        QVERIFY(qBlue(selected.pixel(7, 11)) > qRed(selected.pixel(7, 11)) + 60);
        QCOMPARE(qRed(page.pixel(7, 11)), qBlue(page.pixel(7, 11)));
    }
};

} // namespace corvida

QTEST_MAIN(corvida::NodeIconsTest)
#include "NodeIconsTest.moc"
