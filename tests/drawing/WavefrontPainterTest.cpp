// SPDX-License-Identifier: MIT
#include "drawing/WavefrontPainter.h"

#include <cmath>
#include <memory>
#include <vector>

#include <QPainter>
#include <QtTest>

#include "doc/DocumentView.h"
#include "drawing/NodeIcons.h"
#include "model/CUrl.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

class Master : public DocumentView {
public:
    void update(const Update&) override {}
};

constexpr int kSide = 400;
const WavefrontColours kColours{QColor(200, 200, 200), QColor(100, 100, 100), QColor(0, 0, 255)};

// The map painted into a kSide square image whose centre is drawing (0, 0).
QImage render(const WavefrontNodes& nodes) {
    QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    painter.translate(kSide / 2, kSide / 2);
    WavefrontPainter(nodes, kColours).paint(painter, QRegion(-kSide / 2, -kSide / 2, kSide, kSide));
    return image;
}

QRgb at(const QImage& image, QPoint drawing) {
    return image.pixel(drawing + QPoint(kSide / 2, kSide / 2));
}

bool nearColour(const QImage& image, QPoint drawing, QRgb colour) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if ((at(image, drawing + QPoint(dx, dy)) & 0xffffff) == (colour & 0xffffff)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class WavefrontPainterTest : public QObject {
    Q_OBJECT

private:
    // Inserts one node of each of levels into nodes, in one batch.
    std::vector<WebNode*> insert(WavefrontNodes& nodes, const std::vector<int>& levels) {
        std::vector<WebNode*> made;
        std::vector<InsertRecord> records;
        for (const int level : levels) {
            m_nodes.push_back(
                std::make_unique<WebNode>(CUrl("http://example.test/p" + std::to_string(m_nodes.size()) + ".html")));
            m_nodes.back()->setLevel(level);
            m_nodes.back()->setFlags(kFlagHttp | kFlagProcessed | kFlagLocalServer);
            made.push_back(m_nodes.back().get());
            records.push_back({made.back(), &m_master, false});
        }
        nodes.insert(records, &m_master);
        return made;
    }

    Master m_master;
    std::vector<std::unique_ptr<WebNode>> m_nodes;

private slots:
    void anEmptyMapShowsTheCentreIconOnTheButtonFace() {
        WavefrontNodes nodes;
        const QImage image = render(nodes);
        QCOMPARE(at(image, {150, 60}), kColours.buttonFace.rgb());
        QImage expected(32, 32, QImage::Format_ARGB32_Premultiplied);
        expected.fill(kColours.buttonFace);
        QPainter(&expected).drawImage(0, 0, NodeIcons::centreIcon());
        QCOMPARE(image.copy(kSide / 2 - 16, kSide / 2 - 16, 32, 32), expected);
    }

    void linkLinesAreRedInAndGreenOut() {
        WavefrontNodes nodes;
        const std::vector<WebNode*> ring = insert(nodes, {3, 3, 3, 3}); // above, left, below, right
        WebNode& above = *ring[0];
        above.linkIn(ring[2]);
        above.linkOut(ring[3]);
        above.appendLoadedOut(nullptr); // as a damaged project file leaves them
        WebNode outsider(CUrl("http://example.test/filtered-out.html"));
        above.linkIn(&outsider);
        nodes.setSelected(0, true);
        nodes.setInLinksShown(0, true);
        nodes.setOutLinksShown(0, true);
        const QImage image = render(nodes);
        const WavefrontLayout& layout = nodes.layout();
        const QPoint from = layout.iconCentre(0);
        QVERIFY(nearColour(image, (from + layout.iconCentre(2)) / 2, WavefrontPainter::kInLinkColour));
        QVERIFY(nearColour(image, (from + layout.iconCentre(3)) / 2, WavefrontPainter::kOutLinkColour));
        // No line toward the left node, which is no neighbour.
        QVERIFY(!nearColour(image, (from + layout.iconCentre(1)) / 2, WavefrontPainter::kInLinkColour));

        // Without the flags there are no lines.
        nodes.setInLinksShown(0, false);
        nodes.setOutLinksShown(0, false);
        const QImage plain = render(nodes);
        QVERIFY(!nearColour(plain, (from + layout.iconCentre(2)) / 2, WavefrontPainter::kInLinkColour));
    }

    void hiddenLevelsAreMarkedByADashDotCircle() {
        WavefrontNodes nodes;
        insert(nodes, {0, 1, 2, 3, 4});
        nodes.setMaxLevel(2);
        const QImage image = render(nodes);
        const WavefrontLayout& layout = nodes.layout();
        const int marker = layout.hiddenMarkerRadius();
        // Shown: the level-1 ring (white on its upper left) and the level-1 icon.
        QCOMPARE(at(image, {-23, -23}) & 0xffffff, 0xffffffu);
        QVERIFY(at(image, layout.iconCentre(1)) != kColours.buttonFace.rgb());
        // The marker: black dashes on its radius, nothing just inside or outside it.
        int onCircle = 0;
        for (int degree = 0; degree < 360; ++degree) {
            const double angle = degree * M_PI / 180;
            const auto point = [&](int radius) {
                return QPoint(static_cast<int>(std::lround(std::cos(angle) * radius)),
                              static_cast<int>(std::lround(std::sin(angle) * radius)));
            };
            const QPoint onMarker = point(marker);
            if (at(image, onMarker) == qRgb(0, 0, 0) || nearColour(image, onMarker, qRgb(0, 0, 0))) {
                ++onCircle;
            }
            QCOMPARE(at(image, point(marker + 4)), kColours.buttonFace.rgb());
            if (degree % 90 > 20 && degree % 90 < 70) { // away from the node icons
                QCOMPARE(at(image, point(marker - 4)), kColours.buttonFace.rgb());
                // No rings of the hidden levels 3 and 4.
                QCOMPARE(at(image, point(96)), kColours.buttonFace.rgb());
                QCOMPARE(at(image, point(128)), kColours.buttonFace.rgb());
            }
        }
        QVERIFY2(onCircle > 180, qPrintable(QString::number(onCircle)));
        // No icons of hidden levels.
        for (WavefrontNodes::Index hidden : {3u, 4u}) {
            const QRect rect = layout.iconRect(hidden);
            QCOMPARE(image.copy(rect.translated(kSide / 2, kSide / 2)),
                     image.copy(rect.translated(kSide / 2 - 40, kSide / 2)));
        }
    }

    void aBandCoversTheIconsOfItsRings() {
        WavefrontNodes nodes;
        insert(nodes, std::vector<int>(12, 2));
        nodes.setZoom(25);
        const WavefrontPainter painter(nodes, kColours);
        const QRect viewport(-200, -200, 400, 400);
        const QRegion band = painter.bandRegion(3, 3, viewport);
        for (WavefrontNodes::Index i = 0; i < nodes.size(); ++i) {
            const QRect icon = nodes.layout().iconRect(i);
            QVERIFY((QRegion(icon) - band).isEmpty());
        }
        nodes.setZoom(100);
        QVERIFY(!painter.bandRegion(3, 3, viewport).contains(nodes.layout().centre()));
        QVERIFY(painter.bandRegion(3, 3, QRect(150, 150, 40, 40)).isEmpty());
    }
};

} // namespace corvida

QTEST_MAIN(corvida::WavefrontPainterTest)
#include "WavefrontPainterTest.moc"
