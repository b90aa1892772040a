// SPDX-License-Identifier: MIT
#include <QLabel>
#include <QtTest>

#include "WidgetDriver.h"
#include "gui/AboutDialog.h"

using namespace corvida;

class AboutDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsReleaseAndQtVersionAndOkCloses() {
        AboutDialog dialog;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), "About Corvida");
        QCOMPARE(child<QLabel>(dialog, "releaseLabel").text(), "Corvida - Release 1.01");
        QVERIFY(child<QLabel>(dialog, "qtVersionLabel").text().contains(QString::fromLatin1(qVersion())));
        click(dialog, "okButton");
        QCOMPARE(dialog.result(), QDialog::Accepted);
    }
};

QTEST_MAIN(AboutDialogTest)
#include "AboutDialogTest.moc"
