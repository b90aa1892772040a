// SPDX-License-Identifier: MIT
#include "views/LinkTreePane.h"

#include <string>

#include <QSignalSpy>
#include <QTest>

#include "model/LinkTree.h"
#include "support/CrawlToEnd.h"
#include "views/ViewTestSupport.h"

using namespace corvida;

namespace {

constexpr std::uint32_t kShown = kFlagDocument | kFlagFetchStarted | kFlagFetched | kFlagProcessed;

// A document told of nodes from a graph of its own.
struct Project : test::ViewProject {
    // A node reached from source (nullptr: the start page), with flags already set.
    WebNode* reach(const std::string& name, WebNode* source, std::uint32_t flags = kShown) {
        WebNode* node = graph.findOrAddNode(CUrl("http://h/" + name));
        node->setFlags(flags);
        document.nodeAdded(node, true, source);
        return node;
    }
    // Sets flags on node and tells the views, in idle time, that it changed.
    void process(WebNode* node, std::uint32_t flags = kShown) {
        node->setFlags(flags);
        document.nodeProcessed(node, false);
        drain();
    }
    void drain() {
        for (int guard = 0; guard < 10000 && document.runIdle(); ++guard) {
        }
    }
    const LinkTreeEntry* entry(const WebNode* node) const { return document.linkTree().primaryEntry(node); }
};

QString textOf(const QModelIndex& index) {
    return index.data(Qt::DisplayRole).toString();
}

// Clicks the pane at point (viewport coordinates) with the left button.
void click(LinkTreePane& pane, QPoint point) {
    QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, point);
}

QPoint labelOf(const LinkTreePane& pane, const QModelIndex& index) {
    return QPoint(pane.iconRect(index).right() + 12, pane.visualRect(index).center().y());
}

} // namespace

class LinkTreePaneTest : public QObject {
    Q_OBJECT

private slots:
    void showsFetchedProcessedDocumentsOnceWhereFirstReached() {
        Project project;
        WebNode* root = project.reach("index.htm", nullptr);
        WebNode* a = project.reach("a.htm", root);
        WebNode* b = project.reach("b.htm", root, 0);
        project.reach("picture.gif", root, kFlagPicture | kFlagFetchStarted | kFlagFetched | kFlagProcessed);
        WebNode* failed = project.reach("failed.htm", root, kFlagDocument | kFlagFetchStarted | kFlagProcessed);
        WebNode* shared = project.reach("shared.htm", a, 0);
        project.document.nodeAdded(shared, true, b); // reached again from b: a repeat under b
        project.drain();

        // Filled from the root at first; b and shared follow when they are processed.
        LinkTreePane pane(project.document, project.master);
        QCOMPARE(pane.model()->rowCount(), 1);
        const QModelIndex rootIndex = pane.indexOf(project.entry(root));
        QCOMPARE(pane.model()->rowCount(rootIndex), 1);
        project.process(b);
        project.process(shared);
        project.process(failed, kShown & ~kFlagFetched);

        QCOMPARE(pane.model()->rowCount(rootIndex), 2);
        const QModelIndex aIndex = pane.model()->index(0, 0, rootIndex);
        const QModelIndex bIndex = pane.model()->index(1, 0, rootIndex);
        QCOMPARE(textOf(aIndex), QStringLiteral("http://h/a.htm"));
        QCOMPARE(textOf(bIndex), QStringLiteral("http://h/b.htm"));
        QCOMPARE(pane.model()->rowCount(aIndex), 1);
        QCOMPARE(pane.model()->rowCount(bIndex), 0);
        const QModelIndex sharedIndex = pane.model()->index(0, 0, aIndex);
        QCOMPARE(pane.entryOf(sharedIndex), project.entry(shared));
        QCOMPARE(pane.model()->rowCount(sharedIndex), 0);

        // The window shows the whole site at first: the root is selected with the flag on.
        QCOMPARE(pane.currentIndex(), rootIndex);
        QVERIFY(pane.subtreeFlag());
        QVERIFY(pane.showsSubtreeIcon(rootIndex));
        QVERIFY(!pane.showsSubtreeIcon(aIndex));
    }

    void clicksRestrictTheWindowAndTheSelectedIconTogglesTheFlag() {
        Project project;
        WebNode* root = project.reach("index.htm", nullptr);
        WebNode* a = project.reach("a.htm", root);
        WebNode* picture = project.reach("a.gif", a, kFlagPicture | kFlagFetchStarted | kFlagFetched);
        WebNode* deep = project.reach("deep.htm", a);
        WebNode* b = project.reach("b.htm", root);
        WebNode* below = project.reach("below.htm", deep);
        project.drain();
        LinkTreePane pane(project.document, project.master);
        pane.resize(300, 300);
        pane.expandAll();
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        const QModelIndex rootIndex = pane.indexOf(project.entry(root));
        const QModelIndex aIndex = pane.indexOf(project.entry(a));
        const QModelIndex bIndex = pane.indexOf(project.entry(b));

        // The label of another item: restricted with the current flag, which stays.
        click(pane, labelOf(pane, aIndex));
        QCOMPARE(project.master.restriction().entry(), project.entry(a));
        QVERIFY(project.master.restriction().subtree());
        QCOMPARE(project.master.selectedNode(), a);
        QCOMPARE(pane.currentIndex(), aIndex);
        QVERIFY(project.master.shows(*below));
        QVERIFY(!project.master.shows(*b));
        // The label of the selected item does not toggle either.
        click(pane, labelOf(pane, aIndex));
        QVERIFY(pane.subtreeFlag());

        // Its icon does: a and its direct targets, pictures included, nothing further down.
        click(pane, pane.iconRect(aIndex).center());
        QVERIFY(!pane.subtreeFlag());
        QVERIFY(!pane.showsSubtreeIcon(aIndex));
        QCOMPARE(project.master.restriction().entry(), project.entry(a));
        QVERIFY(!project.master.restriction().subtree());
        QVERIFY(project.master.shows(*a) && project.master.shows(*picture) && project.master.shows(*deep));
        QVERIFY(!project.master.shows(*below));
        // Again: the flag and the icon come back.
        click(pane, pane.iconRect(aIndex).center());
        QVERIFY(pane.subtreeFlag());
        QVERIFY(pane.showsSubtreeIcon(aIndex));
        QVERIFY(project.master.restriction().subtree());
        QVERIFY(project.master.shows(*below));

        // The icon of an item that is not selected only selects it; the root's icon shows
        // what it last showed.
        click(pane, pane.iconRect(bIndex).center());
        QVERIFY(pane.subtreeFlag());
        QVERIFY(!pane.showsSubtreeIcon(bIndex));
        QCOMPARE(project.master.restriction().entry(), project.entry(b));
        QCOMPARE(project.master.selectedNode(), b);
        QVERIFY(pane.showsSubtreeIcon(rootIndex));

        // A press on the branch lines left of an item is no click on it.
        const QRect cell = pane.visualRect(aIndex);
        click(pane, QPoint(cell.left() - 4, cell.center().y()));
        QCOMPARE(project.master.restriction().entry(), project.entry(b));
        QCOMPARE(project.master.selectedNode(), b);
    }

    void rootIsReTitledOtherHintsAreIgnoredAndContentsGoneEmpties() {
        Project project;
        WebNode* root = project.reach("index.htm", nullptr, 0);
        project.drain();
        LinkTreePane pane(project.document, project.master);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        const QModelIndex rootIndex = pane.indexOf(project.entry(root));
        QCOMPARE(textOf(rootIndex), QStringLiteral("http://h/index.htm"));
        QSignalSpy changed(pane.model(), &QAbstractItemModel::dataChanged);

        // Hints that do not concern the tree leave it alone.
        WebNode* const selected[] = {root};
        project.document.updateAllViews(
            {.hint = DocumentView::Hint::Reset, .master = &project.master, .records = {}, .nodes = {}});
        project.document.updateAllViews(
            {.hint = DocumentView::Hint::Select, .master = &project.master, .records = {}, .nodes = selected});
        QCOMPARE(changed.count(), 0);
        QCOMPARE(pane.currentIndex(), rootIndex);

        root->setTitle("Home <b>of</b> h");
        WebNode* page = project.reach("page.htm", root);
        project.process(root);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), rootIndex);
        QCOMPARE(textOf(rootIndex), QStringLiteral("Home <b>of</b> h"));
        project.process(page); // new and changed: added once
        QCOMPARE(pane.model()->rowCount(rootIndex), 1);

        // A restart or a close: every item goes, and the flag is back to the whole site.
        click(pane, pane.iconRect(rootIndex).center());
        QVERIFY(!pane.subtreeFlag());
        project.document.deleteContents();
        QCOMPARE(pane.model()->rowCount(), 0);
        QVERIFY(!pane.currentIndex().isValid());
        QVERIFY(pane.subtreeFlag());
    }

    void crawledSiteScreenshot() {
        Project project;
        project.document.options().getDocuments = project.document.options().getPictures = true;
        LinkTreePane pane(project.document, project.master);
        QVERIFY(project.document.startProcessing("file://" CORVIDA_EXAMPLES "/site/index.htm"));
        QVERIFY(test::crawlToEnd(project.document));
        project.drain();

        const QModelIndex rootIndex = pane.indexOf(project.document.linkTree().root());
        QVERIFY(rootIndex.isValid());
        QVERIFY(pane.model()->rowCount(rootIndex) >= 3);
        QCOMPARE(textOf(rootIndex), QStringLiteral("Corvida sample site")); // the title came later
        // The pane began empty: the root, added later, is selected for the whole site.
        QCOMPARE(pane.currentIndex(), rootIndex);
        QVERIFY(pane.subtreeFlag() && pane.showsSubtreeIcon(rootIndex));
        pane.resize(320, 420);
        pane.expandAll();
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        QVERIFY(pane.grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/link-tree.png")));
    }
};

QTEST_MAIN(LinkTreePaneTest)
#include "LinkTreePaneTest.moc"
