// SPDX-License-Identifier: MIT
#include "views/GlyphFactory.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace corvida;

namespace {

const Command kToolbarCommands[] = {
    Command::NewProject,    Command::OpenSiteMap,      Command::Save,          Command::HelpTopics,
    Command::FilterAll,     Command::Filter1,          Command::Filter2,       Command::Filter3,
    Command::Filter4,       Command::FilterSelection,  Command::InLinks,       Command::OutLinks,
    Command::CenterOnNode,  Command::ZoomIn,           Command::ZoomOut,       Command::Resume,
    Command::Suspend,       Command::MakeReport,       Command::MakeLocalSite, Command::ViewReport,
    Command::ViewLocalSite, Command::StartFromBrowser,
};

// Pixels at least as opaque as alpha.
int coveredPixels(const QPixmap& pixmap, int alpha = 255) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) >= alpha ? 1 : 0;
        }
    }
    return count;
}

// The pixmap at its own pixel size, whatever its device pixel ratio.
QImage physical(const QPixmap& pixmap) {
    QImage image = pixmap.toImage();
    image.setDevicePixelRatio(1.0);
    return image;
}

} // namespace

class GlyphFactoryTest : public QObject {
    Q_OBJECT

private slots:
    void everyToolbarCommandHasACrispGlyphOfItsOwnAtBothRatios() {
        QList<QImage> seen;
        for (Command command : kToolbarCommands) {
            const QByteArray name(commandName(command).data(), static_cast<qsizetype>(commandName(command).size()));
            const QIcon icon = GlyphFactory::icon(command);
            QVERIFY2(!icon.isNull(), name.constData());
            const QPixmap normal = icon.pixmap(QSize(16, 16), 1.0);
            const QPixmap dense = icon.pixmap(QSize(16, 16), 2.0);
            QCOMPARE(normal.size(), QSize(16, 16));
            QCOMPARE(dense.size(), QSize(32, 32));
            QVERIFY2(coveredPixels(normal) >= 8, name.constData());
            QVERIFY2(coveredPixels(dense) >= 32, name.constData());
            // A glyph drawn at the wrong scale covers its whole square.
            QVERIFY2(coveredPixels(normal, 1) < 16 * 16, name.constData());
            QVERIFY2(!seen.contains(physical(normal)), name.constData());
            seen.append(physical(normal));
        }
    }

    void applicationIconComesInEverySize() {
        const QIcon icon = GlyphFactory::applicationIcon();
        for (int side : {16, 32, 48, 256}) {
            const QPixmap pixmap = icon.pixmap(QSize(side, side), 1.0);
            QCOMPARE(pixmap.size(), QSize(side, side));
            QVERIFY(coveredPixels(pixmap, 128) > side * side / 8);
        }
    }

    // A contact sheet to look at, in two columns of name, 1x, 2x, 1x enlarged four times and
    // 1x on a dark bar; the application icon below.
    void writeContactSheet() {
        const int rowHeight = 70;
        const int columnWidth = 400;
        const int rows = (static_cast<int>(std::size(kToolbarCommands)) + 1) / 2;
        QImage sheet(2 * columnWidth, rowHeight * rows + 140, QImage::Format_ARGB32);
        sheet.fill(QColor(0xf0, 0xf0, 0xf0));
        QPainter painter(&sheet);
        int index = 0;
        for (Command command : kToolbarCommands) {
            const int x = (index / rows) * columnWidth;
            const int y = (index % rows) * rowHeight + 4;
            ++index;
            const QIcon icon = GlyphFactory::icon(command);
            const QImage normal = physical(icon.pixmap(QSize(16, 16), 1.0));
            painter.setPen(Qt::black);
            painter.drawText(QRect(x + 4, y, 130, 32), Qt::AlignVCenter, QString::fromLatin1(commandName(command)));
            painter.drawImage(x + 140, y + 8, normal);
            painter.drawImage(x + 170, y, physical(icon.pixmap(QSize(16, 16), 2.0)));
            painter.drawImage(QRect(x + 215, y, 64, 64), normal);
            painter.fillRect(QRect(x + 300, y, 40, 32), QColor(0x30, 0x30, 0x30));
            painter.drawImage(x + 312, y + 8, normal);
        }
        int x = 4;
        for (int side : {16, 32, 64, 128}) {
            painter.drawImage(x, rowHeight * rows + 4, physical(GlyphFactory::applicationIcon().pixmap(side, side)));
            x += side + 12;
        }
        painter.end();
        QDir().mkpath(QStringLiteral(CORVIDA_ARTIFACTS));
        QVERIFY(sheet.save(QStringLiteral(CORVIDA_ARTIFACTS "/glyphs.png")));
    }
};

QTEST_MAIN(GlyphFactoryTest)
#include "GlyphFactoryTest.moc"
