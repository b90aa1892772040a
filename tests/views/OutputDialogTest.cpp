// SPDX-License-Identifier: MIT
#include "views/OutputDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace corvida;

class OutputDialogTest : public QObject {
    Q_OBJECT

private slots:
    void typeAndFileNameFollowEachOther() {
        OutputDialog dialog(QStringLiteral("/home/me/sites"));
        QCOMPARE(dialog.destination(), OutputDialog::Destination::HtmlFile);
        QCOMPARE(dialog.columns(), UrlListExport::Columns::OnlyVisible);
        QCOMPARE(dialog.filePath(), QStringLiteral("/home/me/sites/table.htm"));

        dialog.commaSeparatedButton()->click();
        QCOMPARE(dialog.filePath(), QStringLiteral("/home/me/sites/table.csv"));
        QCOMPARE(dialog.destination(), OutputDialog::Destination::CommaSeparatedFile);
        dialog.htmlButton()->click();
        QCOMPARE(dialog.filePath(), QStringLiteral("/home/me/sites/table.htm"));

        // A typed name with a known extension selects its type; others leave it.
        dialog.fileEdit()->clear();
        QTest::keyClicks(dialog.fileEdit(), QStringLiteral("/tmp/list.CSV"));
        QVERIFY(dialog.commaSeparatedButton()->isChecked());
        QTest::keyClicks(dialog.fileEdit(), QStringLiteral(".txt"));
        QVERIFY(dialog.commaSeparatedButton()->isChecked());

        // A name from the save dialog follows the same rule.
        dialog.setFileChooser([](const QString& current) {
            return current == QStringLiteral("/tmp/list.CSV.txt") ? QStringLiteral("/tmp/out.htm") : QString();
        });
        dialog.browseButton()->click();
        QCOMPARE(dialog.filePath(), QStringLiteral("/tmp/out.htm"));
        QCOMPARE(dialog.destination(), OutputDialog::Destination::HtmlFile);
        dialog.browseButton()->click(); // cancelled: the name stays
        QCOMPARE(dialog.filePath(), QStringLiteral("/tmp/out.htm"));

        QCOMPARE(OutputDialog::withTypeExtension(QStringLiteral("a.txt"), false), QStringLiteral("a.txt"));
        QCOMPARE(OutputDialog::withTypeExtension(QStringLiteral("a.HTM"), false), QStringLiteral("a.csv"));
    }

    void clipboardHidesTheFileControls() {
        OutputDialog dialog(QStringLiteral("/w"));
        dialog.clipboardButton()->click();
        QCOMPARE(dialog.destination(), OutputDialog::Destination::Clipboard);
        QVERIFY(dialog.fileEdit()->isHidden());
        QVERIFY(dialog.htmlButton()->parentWidget()->isHidden());
        QVERIFY(dialog.browseButton()->isHidden());
        dialog.allButton()->click();
        QCOMPARE(dialog.columns(), UrlListExport::Columns::All);

        // A file needs a name; the clipboard does not.
        dialog.fileEdit()->clear();
        QVERIFY(dialog.okButton()->isEnabled());
        dialog.fileButton()->click();
        QVERIFY(!dialog.fileEdit()->isHidden());
        QVERIFY(!dialog.okButton()->isEnabled());
        QCOMPARE(dialog.destination(), OutputDialog::Destination::HtmlFile);
    }
};

QTEST_MAIN(OutputDialogTest)
#include "OutputDialogTest.moc"
