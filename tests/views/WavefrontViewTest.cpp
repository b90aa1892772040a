// SPDX-License-Identifier: MIT
// The Wavefront map in project windows under the offscreen platform: what a batch repaints,
// the selection shared with the window's list but not with another window, the chooser of
// overlapping icons, menus, tooltips, keys, and the map of the bundled sample site with
// everything dropped when the document's contents go.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolTip>

#include "drawing/ThumbnailCache.h"
#include "drawing/WavefrontPainter.h"
#include "support/CrawlToEnd.h"
#include "views/ProjectWindow.h"
#include "views/UrlListPane.h"
#include "views/ViewTestSupport.h"
#include "views/WavefrontView.h"

using namespace corvida;

namespace {

constexpr std::uint32_t kPage = kFlagHttp | kFlagDocument | kFlagFetchStarted | kFlagFetched | kFlagProcessed;

struct Project : test::ViewProject {
    void insert(DocumentView& master, const std::vector<WebNode*>& batch) {
        std::vector<InsertRecord> records;
        for (WebNode* each : batch) {
            records.push_back({each, &master, false});
        }
        document.updateAllViews(
            {.hint = DocumentView::Hint::Insert, .master = &master, .records = records, .nodes = {}});
    }
    // Nodes page0..page(count-1) of level, handed to master's views in batches of 20.
    std::vector<WebNode*> feed(DocumentView& master, int level, int count) {
        std::vector<WebNode*> made;
        for (int number = 0; number < count; ++number) {
            made.push_back(
                node("http://127.0.0.1/" + std::to_string(level) + "/" + std::to_string(number), kPage, level));
        }
        for (auto first = made.begin(); first != made.end();
             first += std::min<std::ptrdiff_t>(20, made.end() - first)) {
            insert(master, {first, first + std::min<std::ptrdiff_t>(20, made.end() - first)});
        }
        return made;
    }
};

// A shown project window of 900 x 700.
std::unique_ptr<ProjectWindow> openWindow(Project& project) {
    auto window = std::make_unique<ProjectWindow>(project.document, project.filters, project.settings.columns);
    window->resize(900, 700);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) {
        return nullptr;
    }
    return window;
}

// The viewport point of the centre of node's icon.
QPoint centreOf(const WavefrontView& map, const WebNode* node) {
    const auto index = map.nodes().indexOf(node);
    return index ? WavefrontLayout::toDevice(map.layout().iconCentre(*index), map.viewport()->size()) : QPoint();
}

bool isSelectedOn(const WavefrontView& map, const WebNode* node) {
    const auto index = map.nodes().indexOf(node);
    return index && map.nodes().isSelected(*index);
}

} // namespace

class WavefrontViewTest : public QObject {
    Q_OBJECT

private slots:
    void aBatchRepaintsOnlyItsAnnulus() {
        Project project;
        auto window = openWindow(project);
        QVERIFY(window != nullptr);
        WavefrontView& map = *window->wavefront();
        project.feed(window->master(), 0, 1);
        project.feed(window->master(), 1, 6);
        project.feed(window->master(), 2, 12);

        QRegion repainted;
        map.setRepaintHook([&](const QRegion& region) { repainted += region; });
        project.feed(window->master(), 2, 20);
        const WavefrontPainter painter(map.nodes(), WavefrontColours::fromPalette(map.palette()));
        const QPoint origin = WavefrontLayout::toDevice(QPoint(0, 0), map.viewport()->size());
        QCOMPARE(repainted, painter.bandRegion(3, 3, QRect(-origin, map.viewport()->size())).translated(origin));
        QVERIFY(!repainted.contains(origin));
        QVERIFY(repainted.contains(centreOf(map, project.nodes.back().get())));
    }

    void selectionIsSharedWithinAWindowOnly() {
        Project project;
        auto first = openWindow(project);
        auto second = openWindow(project);
        QVERIFY(first != nullptr && second != nullptr);
        const std::vector<WebNode*> nodes = project.feed(first->master(), 1, 5);
        project.insert(second->master(), nodes);
        WavefrontView& map = *first->wavefront();
        QTRY_COMPARE(first->urlList()->listModel().rowCount(), 5);

        // A click on the map selects the node in its window's list, not in the other window.
        QTest::mouseClick(map.viewport(), Qt::LeftButton, {}, centreOf(map, nodes[2]));
        QCOMPARE(first->master().selectedNode(), nodes[2]);
        QCOMPARE(first->urlList()->selectedNode(), nodes[2]);
        QVERIFY(isSelectedOn(map, nodes[2]));
        QCOMPARE(second->master().selectedNode(), nullptr);
        QVERIFY(!isSelectedOn(*second->wavefront(), nodes[2]));

        // A row picked in the list moves the map's selection.
        first->urlList()->selectRow(first->urlList()->listModel().rowOf(nodes[4]));
        QCOMPARE(first->master().selectedNode(), nodes[4]);
        QVERIFY(isSelectedOn(map, nodes[4]));
        QVERIFY(!isSelectedOn(map, nodes[2]));

        // A click on empty space pans and leaves the selection.
        const QPoint corner(20, 20);
        QTest::mousePress(map.viewport(), Qt::LeftButton, {}, corner);
        QTest::mouseMove(map.viewport(), corner + QPoint(30, 10));
        QTest::mouseRelease(map.viewport(), Qt::LeftButton, {}, corner + QPoint(30, 10));
        QCOMPARE(first->master().selectedNode(), nodes[4]);
    }

    void overlappingIconsAskWhichOneAndCancelSelectsNothing() {
        Project project;
        auto window = openWindow(project);
        QVERIFY(window != nullptr);
        WavefrontView& map = *window->wavefront();
        // Forty icons on the first ring lie over each other.
        const std::vector<WebNode*> nodes = project.feed(window->master(), 1, 40);
        std::vector<WebNode*> offered;
        WebNode* answer = nullptr;
        map.setNodeChooser([&](std::span<WebNode* const> choices) {
            offered.assign(choices.begin(), choices.end());
            return answer;
        });
        const QPoint point = centreOf(map, nodes[0]);
        QTest::mouseClick(map.viewport(), Qt::LeftButton, {}, point);
        QVERIFY(offered.size() >= 2);
        QCOMPARE(offered.front(), nodes[0]);
        QCOMPARE(window->master().selectedNode(), nullptr);

        answer = nodes[1];
        QTest::mouseClick(map.viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(window->master().selectedNode(), nodes[1]);
        QVERIFY(isSelectedOn(map, nodes[1]));

        // The list emptied while the chooser is open: the answer is dropped, not looked up.
        map.setNodeChooser([&](std::span<WebNode* const> choices) {
            project.document.updateAllViews(
                {.hint = DocumentView::Hint::Reset, .master = &window->master(), .records = {}, .nodes = {}});
            return choices.back();
        });
        QTest::mouseClick(map.viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(map.nodes().size(), std::size_t{0});
        QCOMPARE(window->master().selectedNode(), nodes[1]);
    }

    void menusAndToolTipsOnNodesAndOnEmptySpace() {
        Project project;
        auto window = openWindow(project);
        QVERIFY(window != nullptr);
        WavefrontView& map = *window->wavefront();
        const std::vector<WebNode*> nodes = project.feed(window->master(), 1, 4);
        int shown = 0;
        int pickIndex = -1;
        map.setMenuRunner([&](QMenu& menu, const QPoint&) {
            ++shown;
            return pickIndex >= 0 ? menu.actions().at(pickIndex) : nullptr;
        });
        QSignalSpy nodeMenu(window.get(), &ProjectWindow::nodeMenuRequested);
        QSignalSpy filter(&map, &WavefrontView::filterRequested);

        // On a node: it is selected and the window's node menu is asked for.
        QContextMenuEvent onNode(QContextMenuEvent::Mouse, centreOf(map, nodes[3]),
                                 map.viewport()->mapToGlobal(centreOf(map, nodes[3])));
        QApplication::sendEvent(map.viewport(), &onNode);
        QCOMPARE(nodeMenu.size(), 1);
        QCOMPARE(window->master().selectedNode(), nodes[3]);
        QCOMPARE(shown, 0);

        const QPoint empty(10, 10);
        QContextMenuEvent onMap(QContextMenuEvent::Mouse, empty, map.viewport()->mapToGlobal(empty));
        pickIndex = 0; // Zoom In
        QApplication::sendEvent(map.viewport(), &onMap);
        QCOMPARE(map.zoom(), 125);
        pickIndex = 3; // Filter
        QApplication::sendEvent(map.viewport(), &onMap);
        QCOMPARE(filter.size(), 1);

        // A tooltip is cut and escaped, and goes away off the nodes.
        const std::string address = "http://127.0.0.1/<b>" + std::string(200, 'x') + "</b>";
        project.insert(window->master(), {project.node(address, kPage)});
        const QPoint point = centreOf(map, project.nodes.back().get());
        QHelpEvent help(QEvent::ToolTip, point, map.viewport()->mapToGlobal(point));
        QApplication::sendEvent(map.viewport(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText(),
                 QString::fromStdString(address).left(WavefrontView::kMaxToolTipLength));
        QHelpEvent away(QEvent::ToolTip, empty, map.viewport()->mapToGlobal(empty));
        QApplication::sendEvent(map.viewport(), &away);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void keysActOnlyWhenTheMapHasTheFocus() {
        Project project;
        auto window = openWindow(project);
        QVERIFY(window != nullptr);
        WavefrontView& map = *window->wavefront();
        project.feed(window->master(), 0, 1);
        project.feed(window->master(), 3, 8);
        QSignalSpy changed(&map, &WavefrontView::optionsChanged);

        window->urlList()->setFocus();
        QTRY_VERIFY(window->urlList()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Plus, {}, '+');
        QCOMPARE(map.zoom(), 100);

        map.setFocus();
        QTRY_VERIFY(map.hasFocus());
        const int canvas = map.layout().canvas();
        const QPoint centre = map.layout().centre();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Plus, {}, '+');
        QCOMPARE(map.zoom(), 125);
        QCOMPARE(changed.size(), 1);
        // The canvas grows with the map and the scroll bars cover all of it; the centre stays.
        QVERIFY(map.layout().canvas() > canvas);
        QCOMPARE(map.horizontalScrollBar()->maximum(), map.layout().canvas());
        QCOMPARE(map.layout().centre(), centre);

        // A line, then a pan well past the canvas: the position is kept, not snapped back.
        const QPoint before = map.layout().scrollPosition();
        QTest::keyClick(&map, Qt::Key_Down);
        QCOMPARE(map.layout().scrollPosition(), before + QPoint(0, map.layout().lineStep()));
        for (int page = 0; page < 12; ++page) {
            QTest::keyClick(&map, Qt::Key_PageDown);
        }
        const int far = map.layout().scrollPosition().y();
        QVERIFY(far > map.layout().canvas());
        QCOMPARE(map.verticalScrollBar()->value(), far);
        map.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(map.layout().scrollPosition(), QPoint(before.x() + map.layout().lineStep(), far));
    }

    void mapsTheSampleSiteAndLetsGoOfItsNodes() {
        Project project;
        project.document.options().getPictures = true;
        MasterView& master = project.master;
        auto map = std::make_unique<WavefrontView>(project.document, master);
        map->resize(640, 520);
        map->show();
        QVERIFY(QTest::qWaitForWindowExposed(map.get()));
        for (int round = 0; round < 2; ++round) {
            // The second start of the completed project frees the first crawl's nodes.
            project.document.startViewPass(&master, CTamsoDoc::kNewViewStatus);
            QVERIFY(project.document.startProcessing("file://" CORVIDA_EXAMPLES "/site/index.htm"));
            QVERIFY(test::crawlToEnd(project.document));
            QVERIFY(map->nodes().size() > 10);
        }
        master.selectNode(&map->nodes().node(3));
        map->setOutLinksShown(true);
        WavefrontPropertiesDialog::Values options = map->properties();
        options.thumbnails = true;
        map->applyProperties(options);
        const QImage shot = map->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(shot.save(QStringLiteral(CORVIDA_ARTIFACTS "/wavefront.png")));

        // Fetched pictures stand in their 32 x 32 boxes as the cache draws them. Link lines and
        // other icons may cross a box; a box drawn as an icon would match in its blank half only.
        ThumbnailCache pictures(project.document.workingDirectory());
        const QPoint origin = WavefrontLayout::toDevice(QPoint(0, 0), map->viewport()->size()) + map->viewport()->pos();
        int boxes = 0;
        for (WavefrontNodes::Index i = 0; i < map->nodes().size(); ++i) {
            const QRect box = map->layout().iconRect(i);
            if (box.width() != WavefrontLayout::kLargeIcon) {
                continue;
            }
            QImage expected(box.size(), QImage::Format_RGB32);
            expected.fill(map->palette().color(QPalette::Button));
            QPainter painter(&expected);
            QVERIFY(pictures.draw(painter, map->nodes().node(i), QRect(QPoint(0, 0), box.size())));
            painter.end();
            const QImage drawn = shot.copy(box.translated(origin));
            int same = 0;
            for (int pixel = 0; pixel < box.width() * box.height(); ++pixel) {
                const QPoint at(pixel % box.width(), pixel / box.width());
                same += drawn.pixel(at) == expected.pixel(at) ? 1 : 0;
            }
            QVERIFY2(same > box.width() * box.height() * 3 / 4, qPrintable(QString::number(same)));
            ++boxes;
        }
        QCOMPARE(boxes, 3); // the sample site has three pictures

        // Closing: the map holds no node, and paints without one.
        project.document.closeDocument();
        QCOMPARE(map->nodes().size(), std::size_t{0});
        QVERIFY(!map->grab().isNull());
    }
};

QTEST_MAIN(WavefrontViewTest)
#include "WavefrontViewTest.moc"
