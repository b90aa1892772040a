// SPDX-License-Identifier: MIT
// The URL list of a project window, fed through the document's hints like in the program:
// rows from its own master's Insert records, emptied by Reset and ContentsGone, sorted by a
// header click, searched, and tied to the master's selection. The last case shows the list
// over a crawl of the bundled sample site.

#include <vector>

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include "support/CrawlToEnd.h"
#include "views/UrlListPane.h"
#include "views/ViewTestSupport.h"

using namespace corvida;

namespace {

struct Window : test::ViewProject {
    WebNode* node(const std::string& url, std::int32_t size, std::uint32_t flags = kFlagProcessed) {
        return ViewProject::node(url, flags, 0, size);
    }
    void insert(UrlListPane& pane, std::vector<InsertRecord> records) {
        pane.update({.hint = DocumentView::Hint::Insert, .master = nullptr, .records = records, .nodes = {}});
    }
};

std::vector<std::int32_t> sizes(const UrlListPane& pane) {
    std::vector<std::int32_t> result;
    for (const WebNode* node : pane.rows()) {
        result.push_back(node->size());
    }
    return result;
}

} // namespace

class UrlListPaneTest : public QObject {
    Q_OBJECT

private slots:
    void rowsComeNewestFirstFromTheOwnMastersRecordsOnly() {
        Window window;
        MasterView other(window.document, window.filters);
        UrlListPane pane(window.document, window.master, window.settings.columns);
        WebNode* a = window.node("http://h/a.htm", 1);
        WebNode* b = window.node("http://h/b.htm", 2);
        WebNode* c = window.node("http://h/c.htm", 3);
        window.insert(pane, {{a, &window.master, false}, {b, &window.master, false}, {c, &other, false}});
        window.insert(pane, {{c, &window.master, false}});
        QTRY_COMPARE(pane.listModel().rowCount(), 3);
        QCOMPARE(pane.rows(), (std::vector<WebNode*>{c, b, a}));
        QCOMPARE(pane.listModel().data(pane.listModel().index(2, 1), Qt::DisplayRole).toString(),
                 QStringLiteral("http://h/a.htm"));

        // A redraw-only record redraws its row; a repeated record makes no second row.
        QSignalSpy changed(&pane.listModel(), &QAbstractItemModel::dataChanged);
        b->setSize(20);
        window.insert(pane, {{b, &window.master, true}, {a, &window.master, false}});
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed[0][0].toModelIndex().row(), 1);
        QTest::qWait(2 * UrlListModel::kFlushIntervalMs);
        QCOMPARE(pane.listModel().rowCount(), 3);

        // Another window's reset leaves the rows; this window's reset and ContentsGone empty them.
        pane.update({.hint = DocumentView::Hint::Reset, .master = &other, .records = {}, .nodes = {}});
        QCOMPARE(pane.listModel().rowCount(), 3);
        pane.update({.hint = DocumentView::Hint::Reset, .master = &window.master, .records = {}, .nodes = {}});
        QCOMPARE(pane.listModel().rowCount(), 0);
        window.insert(pane, {{a, &window.master, false}});
        QTRY_COMPARE(pane.listModel().rowCount(), 1);
        pane.update({.hint = DocumentView::Hint::ContentsGone, .master = nullptr, .records = {}, .nodes = {}});
        QCOMPARE(pane.listModel().rowCount(), 0);
        QVERIFY(pane.rows().empty());
    }

    void headerClicksSortThenReverseAndKeepTheSelection() {
        Window window;
        UrlListPane pane(window.document, window.master, window.settings.columns);
        std::vector<InsertRecord> records;
        for (std::int32_t size : {30, 10, 20, 10, 40}) {
            records.push_back({window.node("http://h/" + std::to_string(records.size()), size), &window.master, false});
        }
        window.insert(pane, records);
        QTRY_COMPARE(pane.listModel().rowCount(), 5);
        WebNode* picked = records[2].node;
        window.master.selectNode(picked);
        QCOMPARE(pane.selectedNode(), picked);

        const int sizeColumn = 3;
        QCOMPARE(pane.listModel().columns()[sizeColumn].caption, std::string("Size"));
        pane.sortByHeader(sizeColumn);
        QCOMPARE(sizes(pane), (std::vector<std::int32_t>{10, 10, 20, 30, 40}));
        const std::vector<WebNode*> ascending = pane.rows();
        QCOMPARE(pane.horizontalHeader()->sortIndicatorSection(), sizeColumn);
        QCOMPARE(pane.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
        pane.sortByHeader(sizeColumn);
        // Reversed, not sorted again: the two 10s swap places.
        QCOMPARE(pane.rows(), (std::vector<WebNode*>(ascending.rbegin(), ascending.rend())));
        QCOMPARE(pane.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        pane.sortByHeader(sizeColumn);
        QCOMPARE(pane.rows(), ascending);
        QCOMPARE(pane.selectedNode(), picked);
        QCOMPARE(window.master.selectedNode(), picked);

        // A new row still arrives at the top of a sorted list.
        WebNode* late = window.node("http://h/late", 25);
        window.insert(pane, {{late, &window.master, false}});
        QTRY_COMPARE(pane.listModel().rowCount(), 6);
        QCOMPARE(pane.listModel().node(0), late);
        QCOMPARE(pane.selectedNode(), picked);

        // Rebuilt columns keep the rows and the selection, and forget the sort.
        pane.update({.hint = DocumentView::Hint::Columns, .master = nullptr, .records = {}, .nodes = {}});
        QCOMPARE(pane.listModel().node(0), late);
        QCOMPARE(pane.selectedNode(), picked);
        QCOMPARE(pane.order().sortColumn(), UrlListOrder::kNoColumn);
    }

    void findWrapsAndTheSelectionFollowsTheMaster() {
        Window window;
        UrlListPane pane(window.document, window.master, window.settings.columns);
        WebNode* first = window.node("http://h/match-1.htm", 1);
        WebNode* other = window.node("http://h/other.htm", 2);
        WebNode* second = window.node("http://h/MATCH-2.htm", 3);
        window.insert(
            pane, {{first, &window.master, false}, {other, &window.master, false}, {second, &window.master, false}});
        QTRY_COMPARE(pane.listModel().rowCount(), 3);

        UrlListFind::Result result = pane.findNext(QStringLiteral("match"));
        QVERIFY(result.found);
        QCOMPARE(window.master.selectedNode(), second);
        QVERIFY(pane.findNext(QStringLiteral("match")).found);
        QCOMPARE(window.master.selectedNode(), first);
        result = pane.findNext(QStringLiteral("match"));
        QVERIFY(!result.found);
        QVERIFY(result.wrapped);
        // Starts over at the selected row.
        QVERIFY(pane.findNext(QStringLiteral("match")).found);
        QCOMPARE(window.master.selectedNode(), first);
        // A case-sensitive search, upward from the end.
        pane.clearSelection();
        QVERIFY(pane.findNext(QStringLiteral("MATCH"), true, UrlListFind::Direction::Up).found);
        QCOMPARE(window.master.selectedNode(), second);
    }

    void clicksSelectInTheMasterAndTheHeaderRestoresTableWidths() {
        Window window;
        UrlListPane pane(window.document, window.master, window.settings.columns);
        WebNode* a = window.node("http://h/a.htm", 1);
        WebNode* b = window.node("http://h/b.htm", 2);
        window.insert(pane, {{a, &window.master, false}, {b, &window.master, false}});
        pane.resize(700, 200);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        QTRY_COMPARE(pane.listModel().rowCount(), 2);

        std::vector<WebNode*> activated;
        connect(&pane, &UrlListPane::nodeActivated, this, [&](WebNode* node) { activated.push_back(node); });
        const QRect cell = pane.visualRect(pane.listModel().index(1, 1));
        QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(window.master.selectedNode(), a);
        // Keys move the row, and the master follows.
        QTest::keyClick(&pane, Qt::Key_Up);
        QCOMPARE(window.master.selectedNode(), b);
        QTest::keyClick(&pane, Qt::Key_End);
        QCOMPARE(window.master.selectedNode(), a);
        QCOMPARE(pane.currentIndex().column(), 1);
        QTest::mouseDClick(pane.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(activated, std::vector<WebNode*>{a});
        // The master's selection from elsewhere moves the row.
        window.master.selectNode(b);
        QCOMPARE(pane.selectedNode(), b);
        window.master.selectNode(nullptr);
        QCOMPARE(pane.selectedNode(), nullptr);

        // The table's 150 pixels, at least, in proportion to the list's font.
        QHeaderView* header = pane.horizontalHeader();
        const int tableWidth = header->sectionSize(1);
        QVERIFY(tableWidth >= 150);
        header->resizeSection(1, 400);
        emit header->sectionHandleDoubleClicked(1);
        QCOMPARE(header->sectionSize(1), tableWidth);

        // A click on a caption sorts by that column.
        const QPoint sizeCaption(header->sectionViewportPosition(3) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sizeCaption);
        QCOMPARE(pane.rows(), (std::vector<WebNode*>{a, b}));
        QCOMPARE(header->sortIndicatorSection(), 3);
    }

    void rowsShowTheirStateAndSiteTextSafely() {
        Window window;
        UrlListPane pane(window.document, window.master, window.settings.columns);
        WebNode* done = window.node("http://h/ok.htm", 1);
        WebNode* waiting = window.node("http://h/later.htm", 1, 0);
        WebNode* broken = window.node("http://h/gone.htm", 1, kFlagProcessed | kFlagFetchStarted);
        done->setTitle("<b>bold</b> & co");
        window.insert(
            pane, {{done, &window.master, false}, {waiting, &window.master, false}, {broken, &window.master, false}});
        QTRY_COMPARE(pane.listModel().rowCount(), 3);
        const UrlListModel& model = pane.listModel();
        const auto look = [&](int row) { return model.data(model.index(row, 1), UrlListModel::RowLookRole).toInt(); };
        QCOMPARE(look(0), static_cast<int>(UrlListModel::RowLook::Broken));
        QCOMPARE(look(1), static_cast<int>(UrlListModel::RowLook::Unprocessed));
        QCOMPARE(look(2), static_cast<int>(UrlListModel::RowLook::Normal));
        QCOMPARE(model.data(model.index(0, 1), Qt::ForegroundRole).value<QColor>(), UrlListModel::kBrokenText);
        QCOMPARE(model.data(model.index(1, 1), Qt::ForegroundRole).value<QColor>(),
                 pane.palette().color(QPalette::Disabled, QPalette::Text));
        QVERIFY(!model.data(model.index(2, 1), Qt::ForegroundRole).isValid());
        QCOMPARE(model.data(model.index(2, 8), Qt::ToolTipRole).toString(),
                 QStringLiteral("&lt;b&gt;bold&lt;/b&gt; &amp; co"));
    }

    void showsACrawledSite() {
        Window window;
        auto pane = std::make_unique<UrlListPane>(window.document, window.master, window.settings.columns);
        window.document.startViewPass(&window.master, CTamsoDoc::kNewViewStatus);
        QVERIFY(window.document.startProcessing("file://" CORVIDA_EXAMPLES "/site/index.htm"));
        QVERIFY(test::crawlToEnd(window.document));
        QTRY_VERIFY(pane->listModel().rowCount() > 10);
        pane->resize(900, 420);
        pane->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane.get()));
        window.master.selectNode(pane->listModel().node(2));
        QVERIFY(pane->grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/url-list.png")));
        window.document.closeDocument();
        QCOMPARE(pane->listModel().rowCount(), 0);
    }
};

QTEST_MAIN(UrlListPaneTest)
#include "UrlListPaneTest.moc"
