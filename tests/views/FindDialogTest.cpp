// SPDX-License-Identifier: MIT
#include "views/FindDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "app/HistoryList.h"

using namespace corvida;

class FindDialogTest : public QObject {
    Q_OBJECT

private slots:
    void findNextFillsTheSharedHistory() {
        HistoryList history;
        history.add("older");
        FindDialog dialog(history);
        QCOMPARE(dialog.findBox()->currentText(), QStringLiteral("older"));
        QVERIFY(dialog.downButton()->isChecked());
        QVERIFY(!dialog.searchUp());
        QVERIFY(!dialog.matchCase());

        QSignalSpy found(&dialog, &FindDialog::findNext);
        dialog.findBox()->setEditText(QStringLiteral("needle"));
        dialog.findNextButton()->click();
        dialog.findNextButton()->click();
        QCOMPARE(found.size(), 2);
        QCOMPARE(found.back().front().toString(), QStringLiteral("needle"));
        QCOMPARE(history.entries(), (std::vector<std::string>{"needle", "older"}));
        QCOMPARE(dialog.findBox()->count(), 2);
        QCOMPARE(dialog.findBox()->itemText(0), QStringLiteral("needle"));
        QCOMPARE(dialog.findBox()->currentText(), QStringLiteral("needle"));

        // A second dialog shares the history; an empty text cannot be searched for.
        FindDialog second(history);
        QCOMPARE(second.findBox()->count(), 2);
        second.findBox()->setEditText(QString());
        QVERIFY(!second.findNextButton()->isEnabled());

        dialog.upButton()->setChecked(true);
        dialog.matchCaseBox()->setChecked(true);
        QVERIFY(dialog.searchUp());
        QVERIFY(dialog.matchCase());
    }

    void messagesEmptyTheFoundColumn() {
        HistoryList history;
        FindDialog dialog(history);
        QStringList messages;
        dialog.setMessageSink([&messages](const QString& text) { messages << text; });
        QVERIFY(dialog.foundColumnBox()->isReadOnly());
        dialog.setFoundColumn(QStringLiteral("Content Type"));
        QCOMPARE(dialog.foundColumnBox()->text(), QStringLiteral("Content Type"));
        dialog.showWrapped();
        QCOMPARE(dialog.foundColumnBox()->text(), QString());
        dialog.setFoundColumn(QStringLiteral("Name"));
        dialog.showNotFound();
        QCOMPARE(dialog.foundColumnBox()->text(), QString());
        QCOMPARE(messages, (QStringList{"There is no more matches!", "There is no more matches!"}));
    }
};

QTEST_MAIN(FindDialogTest)
#include "FindDialogTest.moc"
