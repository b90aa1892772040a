// SPDX-License-Identifier: MIT
// The Wavefront map's two dialogs: the properties round trip, with a zoom that is none of the
// list's steps, and the chooser of overlapping nodes.

#include <memory>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include "model/CUrl.h"
#include "model/WebNode.h"
#include "views/SelectNodeDialog.h"
#include "views/WavefrontPropertiesDialog.h"

using namespace corvida;

class WavefrontDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void propertiesRoundTripKeepsAZoomThatIsNoStep() {
        WavefrontPropertiesDialog::Values values;
        values.zoom = 450;
        values.maxLevel = 1234;
        values.inLinks = true;
        WavefrontPropertiesDialog dialog(values);
        QCOMPARE(dialog.maxLevelBox()->minimum(), 1);
        QCOMPARE(dialog.maxLevelBox()->maximum(), 32767);
        QCOMPARE(dialog.values(), values);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/wavefront-properties.png")));

        // Changing only Thumbnails keeps the zoom the map had.
        dialog.thumbnailsBox()->setChecked(true);
        WavefrontPropertiesDialog::Values expected = values;
        expected.thumbnails = true;
        QCOMPARE(dialog.values(), expected);
        QStringList entries;
        for (int index = 0; index < dialog.zoomBox()->count(); ++index) {
            entries << dialog.zoomBox()->itemText(index);
        }
        QCOMPARE(entries, QStringList({"25", "50", "75", "100", "125", "150", "175", "200", "300", "400", "450"}));

        // A kept zoom between two steps stands in its place; picking a step gives the step.
        values.zoom = 110;
        WavefrontPropertiesDialog between(values);
        QCOMPARE(between.zoomBox()->itemText(4), QStringLiteral("110"));
        QCOMPARE(between.zoomBox()->currentText(), QStringLiteral("110"));
        between.zoomBox()->setCurrentIndex(0);
        QCOMPARE(between.values().zoom, 25);
        QCOMPARE(between.zoomBox()->count(), 11);

        // A listed zoom adds no entry.
        values.zoom = 100;
        WavefrontPropertiesDialog listed(values);
        QCOMPARE(listed.zoomBox()->count(), 10);
        QCOMPARE(listed.zoomBox()->currentText(), QStringLiteral("100"));
    }

    void chooserListsAddressesAndCancelChoosesNothing() {
        std::vector<std::unique_ptr<WebNode>> owned;
        owned.push_back(std::make_unique<WebNode>(CUrl("http://127.0.0.1/a.htm")));
        owned.push_back(std::make_unique<WebNode>(CUrl("http://127.0.0.1/<b>bold</b>.htm")));
        owned[1]->setText(WebNode::Text::RequestUrl, "http://127.0.0.1/asked-for");
        std::vector<WebNode*> nodes{owned[0].get(), owned[1].get()};

        SelectNodeDialog dialog(nodes);
        QCOMPARE(dialog.list()->topLevelItemCount(), 2);
        QCOMPARE(dialog.list()->topLevelItem(0)->text(0), QStringLiteral("http://127.0.0.1/a.htm"));
        QCOMPARE(dialog.list()->topLevelItem(1)->text(0), QStringLiteral("http://127.0.0.1/asked-for"));

        dialog.list()->setCurrentItem(dialog.list()->topLevelItem(1));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/select-node.png")));
        dialog.reject();
        QCOMPARE(dialog.chosenNode(), nullptr);
        dialog.accept();
        QCOMPARE(dialog.chosenNode(), nodes[1]);

        // OK without a row chosen answers none.
        SelectNodeDialog empty(nodes);
        empty.accept();
        QCOMPARE(empty.chosenNode(), nullptr);
    }
};

QTEST_MAIN(WavefrontDialogsTest)
#include "WavefrontDialogsTest.moc"
