// SPDX-License-Identifier: MIT
// corvida-cli map on a project crawled from the sample site.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include "cli/ProjectMap.h"
#include "drawing/NodeIcons.h"
#include "drawing/ThumbnailCache.h"
#include "model/FilterSet.h"
#include "model/WebNode.h"
#include "support/CliRunner.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

// The start page of the sample site in examples/.
QString samplePage() {
    return QDir::cleanPath(QString::fromStdString(test::dataPath("../../examples/site/index.htm")));
}

class MapCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_project = m_folder.filePath("site.zpj");
        const test::CliResult crawl =
            test::runCli({"--config", m_folder.filePath("c.conf"), "crawl", samplePage(), "--dir",
                          m_folder.filePath("files"), "--html", "--pictures", "--project", m_project, "--quiet"});
        ASSERT_EQ(crawl.exitCode, 0) << crawl.err;
    }

    QTemporaryDir m_folder;
    QString m_project;
};

TEST_F(MapCommandTest, DrawsTheCentreIconAndEveryNodeWhereTheWindowPutsIt) {
    const QString png = m_folder.filePath("map.png");
    const test::CliResult result = test::runCli({"map", m_project, "-o", png});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const QImage image(png);
    ASSERT_FALSE(image.isNull());

    ProjectMap map;
    ASSERT_TRUE(map.load(m_project.toStdString(), FilterSet::kAllSlot).isOk());
    const WavefrontNodes& nodes = map.nodes();
    const WavefrontLayout& layout = nodes.layout();
    ASSERT_GE(nodes.size(), 4u);
    EXPECT_EQ(image.size(), QSize(map.imageSide(), map.imageSide()));
    const QPoint origin = map.origin();
    EXPECT_EQ(layout.centre() + origin, QPoint(image.width() / 2, image.height() / 2));
    const QRgb face = WavefrontColours().buttonFace.rgb();

    // The centre icon, where no node covers it.
    const QRect centre = layout.centreIconRect().translated(origin);
    const QImage& centreIcon = NodeIcons::centreIcon();
    int centrePixels = 0;
    for (int y = 0; y < centre.height(); ++y) {
        for (int x = 0; x < centre.width(); ++x) {
            const QPoint drawing = layout.centreIconRect().topLeft() + QPoint(x, y);
            if (!layout.hits(drawing).empty() || qAlpha(centreIcon.pixel(x, y)) != 255) {
                continue;
            }
            EXPECT_EQ(image.pixel(centre.topLeft() + QPoint(x, y)), centreIcon.pixel(x, y));
            ++centrePixels;
        }
    }
    EXPECT_GT(centrePixels, 200);

    // Every node has its icon at its place: its rectangle is not all background.
    for (WavefrontNodes::Index i = 0; i < nodes.size(); ++i) {
        const QRect rect = layout.iconRect(i).translated(origin);
        ASSERT_TRUE(image.rect().contains(rect)) << nodes.node(i).url().url();
        int drawn = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                drawn += image.pixel(x, y) != face ? 1 : 0;
            }
        }
        EXPECT_GT(drawn, 40) << nodes.node(i).url().url();
    }
    // The margin around the map is background (the painter's own tests place its rings).
    EXPECT_EQ(image.pixel(0, 0), face);
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), face);
}

TEST_F(MapCommandTest, DrawsFetchedPicturesInTheirBoxesWithThumbnails) {
    const QString png = m_folder.filePath("thumbnails.png");
    const test::CliResult result = test::runCli({"map", m_project, "-o", png, "--thumbnails"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const QImage image(png);
    ASSERT_FALSE(image.isNull());

    ProjectMap map;
    map.nodes().setThumbnails(true);
    ASSERT_TRUE(map.load(m_project.toStdString(), FilterSet::kAllSlot).isOk());
    ThumbnailCache pictures(map.workingDirectory());
    int boxes = 0;
    for (WavefrontNodes::Index i = 0; i < map.nodes().size(); ++i) {
        const QRect box = map.nodes().layout().iconRect(i);
        if (box.width() != WavefrontLayout::kLargeIcon) {
            continue;
        }
        // The box holds the picture as the cache draws it, not an icon.
        QImage expected(box.size(), QImage::Format_RGB32);
        expected.fill(WavefrontColours().buttonFace);
        QPainter painter(&expected);
        ASSERT_TRUE(pictures.draw(painter, map.nodes().node(i), QRect(QPoint(0, 0), box.size())));
        painter.end();
        // Other icons may overlap the box's edge.
        const QImage drawn = image.copy(box.translated(map.origin())).convertToFormat(QImage::Format_RGB32);
        int same = 0;
        for (int y = 0; y < box.height(); ++y) {
            for (int x = 0; x < box.width(); ++x) {
                same += drawn.pixel(x, y) == expected.pixel(x, y) ? 1 : 0;
            }
        }
        EXPECT_GT(same, box.width() * box.height() * 9 / 10);
        ++boxes;
    }
    EXPECT_EQ(boxes, 3); // the sample site's three pictures
}

TEST_F(MapCommandTest, WritesSvgAndRefusesUnknownLinkUrls) {
    const QString svg = m_folder.filePath("map.svg");
    const test::CliResult result =
        test::runCli({"map", m_project, "-o", svg, "--zoom", "150", "--links", samplePage().prepend("file://")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    int elements = 0;
    bool svgRoot = false;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            svgRoot = svgRoot || (elements == 0 && xml.name() == QLatin1String("svg"));
            ++elements;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(svgRoot);
    EXPECT_GT(elements, 10);

    const test::CliResult unknown =
        test::runCli({"map", m_project, "-o", m_folder.filePath("x.png"), "--links", "http://127.0.0.1/none"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("http://127.0.0.1/none"), std::string::npos);
    EXPECT_FALSE(QFile::exists(m_folder.filePath("x.png")));
    EXPECT_EQ(test::runCli({"map", m_project, "-o", m_folder.filePath("y.png"), "--zoom", "10"}).exitCode, 2);
    EXPECT_EQ(test::runCli({"map", m_project}).exitCode, 2);
    EXPECT_EQ(test::runCli({"map", m_folder.filePath("none.zpj"), "-o", m_folder.filePath("z.png")}).exitCode, 1);
}

} // namespace
} // namespace corvida
