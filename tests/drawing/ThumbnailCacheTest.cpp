// SPDX-License-Identifier: MIT
#include "drawing/ThumbnailCache.h"

#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "model/LocalNames.h"
#include "model/Web.h"

using namespace corvida;

namespace {

constexpr std::uint32_t kPictureFlags = kFlagPicture | kFlagFetchStarted | kFlagFetched | kFlagProcessed;

// A GIF of one pixel on a logical screen of width x height: decoders make an image of the
// whole screen.
QByteArray gifFile(quint16 width, quint16 height) {
    QByteArray gif("GIF89a");
    const auto little = [&gif](quint16 value) {
        gif.append(static_cast<char>(value & 0xff));
        gif.append(static_cast<char>(value >> 8));
    };
    little(width);
    little(height);
    gif.append("\x80\x00\x00", 3);             // a global table of two colours
    gif.append("\xff\x00\x00\x00\x00\xff", 6); // red, blue
    gif.append("\x2c\x00\x00\x00\x00", 5);     // image at 0,0
    little(1);                                 // 1 x 1
    little(1);
    gif.append("\x00\x02\x02\x44\x01\x00\x3b", 7); // clear, colour 0, end; trailer
    return gif;
}

// The largest this process has been, in kilobytes.
long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QImage whiteBox(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

class ThumbnailCacheTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    Web m_web;
    int m_nextNumber = 1;

    std::string workingDirectory() const { return m_directory.path().toStdString() + "/"; }

    // A processed picture node whose working copy is a width x height picture of colour.
    WebNode* pictureNode(QSize size, QColor colour = Qt::red, const char* extension = "png") {
        WebNode* node = addNode(extension);
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        const bool saved = picture.save(QString::fromStdString(workingDirectory() + LocalNames::workingCopy(*node)));
        Q_ASSERT(saved);
        return node;
    }

    WebNode* addNode(const char* extension) {
        const int number = m_nextNumber++;
        WebNode* node = m_web.findOrAddNode(CUrl("http://127.0.0.1/p" + std::to_string(number) + "." + extension));
        node->setNumber(number);
        node->setFlags(kPictureFlags);
        node->setSize(100);
        return node;
    }

    void writeFile(const std::string& name, const QByteArray& bytes) {
        QFile file(QString::fromStdString(workingDirectory() + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_directory.isValid());
        QVERIFY(QDir(m_directory.path()).mkpath(QStringLiteral("images")));
    }

    void picturesAreFittedCentredAndKeptPerBoxSize() {
        WebNode* node = pictureNode(QSize(200, 100));
        ThumbnailCache cache(workingDirectory());
        QImage box = whiteBox(QSize(40, 40));
        {
            QPainter painter(&box);
            QVERIFY(cache.draw(painter, *node, QRect(4, 4, 32, 32)));
        }
        // 32 x 16, 8 pixels below the box's top.
        QCOMPARE(box.pixelColor(20, 11), QColor(Qt::white));
        QCOMPARE(box.pixelColor(4, 12), QColor(Qt::red));
        QCOMPARE(box.pixelColor(35, 27), QColor(Qt::red));
        QCOMPARE(box.pixelColor(20, 28), QColor(Qt::white));
        QCOMPARE(cache.loadCount(), std::size_t{1});

        // The same size again is drawn from the cache; another size reads the file, and both
        // sizes stay.
        QImage other = whiteBox(QSize(80, 80));
        QPainter painter(&other);
        QVERIFY(cache.draw(painter, *node, QRect(0, 0, 32, 32)));
        QCOMPARE(cache.loadCount(), std::size_t{1});
        QCOMPARE(cache.picture(*node, QSize(53, 71)).size(), QSize(53, 26));
        QVERIFY(cache.draw(painter, *node, QRect(0, 0, 32, 32)));
        QCOMPARE(cache.loadCount(), std::size_t{2});
        QVERIFY(!cache.draw(painter, *node, QRect(0, 0, 0, 32)));

        // A JPEG is decoded straight at the small size.
        QCOMPARE(cache.picture(*pictureNode(QSize(400, 100), Qt::blue, "jpg"), QSize(32, 32)).size(), QSize(32, 8));
    }

    void leastRecentlyDrawnPicturesMakeRoom() {
        WebNode* first = pictureNode(QSize(64, 64));
        WebNode* second = pictureNode(QSize(64, 64), Qt::green);
        WebNode* third = pictureNode(QSize(64, 64), Qt::blue);
        const QSize box(32, 32);
        ThumbnailCache probe(workingDirectory());
        const auto pictureBytes = static_cast<std::size_t>(probe.picture(*first, box).sizeInBytes());
        ThumbnailCache cache(workingDirectory(), 2 * pictureBytes + pictureBytes / 2);
        // The loads after each draw: the third picture makes the least recently drawn one go.
        const std::pair<WebNode*, std::size_t> draws[] = {{first, 1}, {second, 2}, {first, 2},
                                                          {third, 3}, {first, 3},  {second, 4}};
        for (const auto& [node, loads] : draws) {
            QVERIFY(!cache.picture(*node, box).isNull());
            QCOMPARE(cache.loadCount(), loads);
        }
        QCOMPARE(cache.size(), std::size_t{2});
        QVERIFY(cache.byteCount() <= cache.budget());
        cache.clear();
        QCOMPARE(cache.byteCount(), std::size_t{0});
    }

    void missingWorkingCopyFallsBackToTheThumbnail() {
        WebNode* node = addNode("jpg");
        ThumbnailCache cache(workingDirectory());
        QImage box = whiteBox(QSize(32, 32));
        QPainter painter(&box);
        // No file at all: nothing drawn, nothing read.
        QVERIFY(!cache.draw(painter, *node, box.rect()));
        QCOMPARE(cache.loadCount(), std::size_t{0});

        // A thumbnail is drawn only when the node says it made one.
        writeFile(LocalNames::thumbnail(*node), gifFile(4, 2));
        QVERIFY(!cache.draw(painter, *node, box.rect()));
        node->setFlags(kFlagThumbnail);
        QVERIFY(cache.draw(painter, *node, box.rect()));
        QCOMPARE(cache.picture(*node, box.size()).size(), QSize(32, 16));
        QVERIFY(box.pixelColor(0, 8).red() > 200 && box.pixelColor(0, 8).green() < 60); // the GIF's red
        QCOMPARE(box.pixelColor(0, 7), QColor(Qt::white));

        // A working copy that is no picture falls back too.
        WebNode* broken = addNode("gif");
        broken->setFlags(kFlagThumbnail);
        writeFile(LocalNames::workingCopy(*broken), "GIF89a and then nothing sensible");
        writeFile(LocalNames::thumbnail(*broken), gifFile(2, 2));
        QVERIFY(cache.draw(painter, *broken, box.rect()));

        // A picture that cannot be read is read once, not on every paint, until its node changes.
        WebNode* garbage = addNode("gif");
        writeFile(LocalNames::workingCopy(*garbage), "not a picture");
        const std::size_t loads = cache.loadCount();
        QVERIFY(!cache.draw(painter, *garbage, box.rect()));
        QVERIFY(!cache.draw(painter, *garbage, box.rect()));
        QCOMPARE(cache.loadCount(), loads + 1);
    }

    void hugePicturesAreNeverDecodedWhole() {
        WebNode* node = addNode("gif");
        writeFile(LocalNames::workingCopy(*node), gifFile(30000, 30000));
        WebNode* small = addNode("gif");
        writeFile(LocalNames::workingCopy(*small), gifFile(3000, 1500));

        ThumbnailCache cache(workingDirectory());
        const long before = peakKilobytes();
        const QImage picture = cache.picture(*node, QSize(32, 32));
        // Refused, or decoded at the box's size; in no case the 3.6 gigabytes of the whole.
        QVERIFY(picture.isNull() || picture.size() == QSize(32, 32));
        QVERIFY2(peakKilobytes() - before < 256 * 1024, qPrintable(QString::number(peakKilobytes() - before)));
        // The same writer's smaller picture decodes, so the refusal is for the size alone;
        // its reader announces the frame's size, yet the screen's proportions are kept.
        QCOMPARE(cache.picture(*small, QSize(32, 32)).size(), QSize(32, 16));
    }
};

QTEST_MAIN(ThumbnailCacheTest)
#include "ThumbnailCacheTest.moc"
