// SPDX-License-Identifier: MIT
#include "views/UrlSelectionDialog.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "model/FilterSet.h"

using namespace corvida;

class UrlSelectionDialogTest : public QObject {
    Q_OBJECT

private slots:
    void buttonsFollowTheNamesAndClicksChooseTheirSlot() {
        FilterSet filters;
        UrlSelectionDialog dialog(filters);
        QVERIFY(!dialog.isModal());
        QVERIFY(dialog.windowFlags().testFlag(Qt::Tool));
        QVERIFY(dialog.isHidden());
        QCOMPARE(dialog.button(0)->text(), QStringLiteral("All"));
        QCOMPARE(dialog.button(4)->text(), QStringLiteral("Image and Audio > 10K"));

        filters.at(3).setName("Text & more");
        dialog.refreshNames(filters);
        QCOMPARE(dialog.button(3)->text(), QStringLiteral("Text && more"));

        QSignalSpy chosen(&dialog, &UrlSelectionDialog::slotChosen);
        dialog.setSlot(2);
        QCOMPARE(dialog.slot(), 2);
        QVERIFY(dialog.button(2)->isChecked());
        QCOMPARE(chosen.size(), 0);

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.button(4), Qt::LeftButton);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.front().front().toInt(), 4);
        QCOMPARE(dialog.slot(), 4);

        // No window to act on: nothing checked.
        dialog.setSlot(-1);
        QCOMPARE(dialog.slot(), -1);
        dialog.setSlot(0);
        QVERIFY(dialog.button(0)->isChecked());
    }
};

QTEST_MAIN(UrlSelectionDialogTest)
#include "UrlSelectionDialogTest.moc"
