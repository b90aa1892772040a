// SPDX-License-Identifier: MIT
#include "views/ColumnsDialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace corvida;

namespace {

QStringList texts(const QListWidget* list) {
    QStringList result;
    for (int row = 0; row < list->count(); ++row) {
        result << list->item(row)->text();
    }
    return result;
}

} // namespace

class ColumnsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void movesRemovesAddsAndSetsWidths() {
        ColumnsDialog dialog(defaultColumnTable());
        QCOMPARE(dialog.shownList()->count(), 9);
        QCOMPARE(dialog.availableList()->count(), 0);
        QVERIFY(!dialog.addButton()->isEnabled());
        QVERIFY(dialog.removeButton()->isEnabled());

        // The seventh shown column becomes the first and stays selected.
        dialog.shownList()->setCurrentRow(6);
        QCOMPARE(dialog.shownList()->currentItem()->text(), QStringLiteral("# In Links"));
        QCOMPARE(dialog.widthBox()->value(), 70);
        dialog.moveUpButton()->click();
        QCOMPARE(dialog.shownList()->item(0)->text(), QStringLiteral("# In Links"));
        QCOMPARE(dialog.shownList()->currentRow(), 0);
        QVERIFY(!dialog.moveUpButton()->isEnabled());
        QVERIFY(dialog.moveDownButton()->isEnabled());
        QCOMPARE(dialog.table()[0].caption, std::string("# In Links"));

        // Width applies as typed, to the selected column only.
        dialog.widthBox()->setValue(321);
        QCOMPARE(dialog.table()[0].width, 321);
        QCOMPARE(dialog.table()[1].width, 30);

        // Remove and Add through the lists.
        dialog.shownList()->setCurrentRow(dialog.shownList()->count() - 1); // Title
        QVERIFY(!dialog.moveDownButton()->isEnabled());
        dialog.removeButton()->click();
        dialog.shownList()->setCurrentRow(1); // Type
        dialog.removeButton()->click();
        QCOMPARE(texts(dialog.availableList()), (QStringList{"Title", "Type"}));
        QVERIFY(dialog.addButton()->isEnabled());
        dialog.availableList()->setCurrentRow(1);
        dialog.addButton()->click();
        QCOMPARE(dialog.shownList()->currentItem()->text(), QStringLiteral("Type"));
        QCOMPARE(texts(dialog.availableList()), QStringList{"Title"});

        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.table()[8].caption, std::string("Title"));
        QCOMPARE(dialog.table()[8].shown, 0);
        QCOMPARE(dialog.table()[1].shown, 1);

        dialog.resetButton()->click();
        QCOMPARE(dialog.table(), defaultColumnTable());
    }

    void repeatedCaptionsStayApartAndRemovingAllIsAllowed() {
        ColumnTable table = defaultColumnTable();
        table[2].caption = "Name";
        ColumnsDialog dialog(table);
        dialog.shownList()->setCurrentRow(2);
        dialog.removeButton()->click();
        QCOMPARE(dialog.table()[1].shown, 1);
        QCOMPARE(dialog.table()[2].shown, 0);

        while (dialog.shownList()->count() > 0) {
            QVERIFY(dialog.removeButton()->isEnabled());
            dialog.removeButton()->click();
        }
        QVERIFY(!dialog.removeButton()->isEnabled());
        QVERIFY(!dialog.widthBox()->isEnabled());
        QVERIFY(!dialog.moveUpButton()->isEnabled());
        QCOMPARE(dialog.availableList()->count(), 9);
    }
};

QTEST_MAIN(ColumnsDialogTest)
#include "ColumnsDialogTest.moc"
