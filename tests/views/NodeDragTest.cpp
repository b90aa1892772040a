// SPDX-License-Identifier: MIT
// What a node dragged out of a window offers: its address as text and URI, and an Internet
// shortcut with its file name.

#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "model/CUrl.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "views/NodeDrag.h"

using namespace corvida;

class NodeDragTest : public QObject {
    Q_OBJECT

private slots:
    void offersTheAddressAndAShortcutOnceOutsideThePressSquare() {
        Web web;
        WebNode* node = web.findOrAddNode(CUrl("http://example.com/a/b.htm"));
        const std::unique_ptr<QMimeData> data(NodeDrag::mimeData(*node));
        QCOMPARE(data->text(), QString("http://example.com/a/b.htm"));
        QCOMPARE(data->urls(), QList<QUrl>{QUrl("http://example.com/a/b.htm")});
        QCOMPARE(data->data(NodeDrag::kShortcutType),
                 QByteArray("[InternetShortcut]\r\nURL=http://example.com/a/b.htm\0", 51));
        QCOMPARE(data->data(NodeDrag::kShortcutNameType), QByteArray("Shortcut to b.htm.URL"));
        node->setTitle("Site: main/index");
        QCOMPARE(std::unique_ptr<QMimeData>(NodeDrag::mimeData(*node))->data(NodeDrag::kShortcutNameType),
                 QByteArray("Shortcut to Site.URL"));

        // A drag starts only outside the square around the press.
        QVERIFY(!NodeDrag::beyondStart({10, 10}, {14, 6}));
        QVERIFY(NodeDrag::beyondStart({10, 10}, {15, 10}));
        QVERIFY(NodeDrag::beyondStart({10, 10}, {10, 5}));
    }
};

QTEST_MAIN(NodeDragTest)
#include "NodeDragTest.moc"
