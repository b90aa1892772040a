// SPDX-License-Identifier: MIT
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "WidgetDriver.h"
#include "gui/OpenUrlDialog.h"

using namespace corvida;

class OpenUrlDialogTest : public QObject {
    Q_OBJECT

private slots:
    void presetFillsTheUrlBoxAndBlankTextDisablesOk() {
        OpenUrlDialog dialog(QStringLiteral("http://example.com/"));
        dialog.show();
        QCOMPARE(dialog.windowTitle(), "Open URL");
        QCOMPARE(dialog.url(), "http://example.com/");
        auto& ok = child<QPushButton>(dialog, "okButton");
        QVERIFY(ok.isEnabled());
        type(dialog, "urlEdit", "   ");
        QVERIFY(!ok.isEnabled());
        QTest::keyClick(&child<QLineEdit>(dialog, "urlEdit"), Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        type(dialog, "urlEdit", " www.example.org ");
        click(dialog, "okButton");
        QCOMPARE(dialog.result(), QDialog::Accepted);
        QCOMPARE(dialog.url(), "www.example.org");
    }

    void advancedShowsTheExtraListAndBasicHidesIt() {
        OpenUrlDialog dialog(QString{});
        dialog.show();
        auto& toggle = child<QPushButton>(dialog, "advancedButton");
        auto& extra = child<QWidget>(dialog, "extraPanel");
        const int basicHeight = dialog.height();
        QCOMPARE(toggle.text(), "&Advanced");
        QVERIFY(!extra.isVisible());
        click(dialog, "advancedButton");
        QCOMPARE(toggle.text(), "&Basic");
        QVERIFY(extra.isVisible());
        QCOMPARE(child<QLabel>(dialog, "extraLabel").text(), "Also follow links from the following:");
        QVERIFY(dialog.height() > basicHeight);
        QDir().mkpath(QStringLiteral(CORVIDA_ARTIFACTS));
        dialog.grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/open-url-advanced.png"));
        click(dialog, "advancedButton");
        QCOMPARE(toggle.text(), "&Advanced");
        QVERIFY(!extra.isVisible());
        QCOMPARE(dialog.height(), basicHeight);
    }

    void addAppendsNonBlankTextInOrderAndClearsTheEdit() {
        OpenUrlDialog dialog(QString{});
        dialog.show();
        click(dialog, "advancedButton");
        for (const char* text : {"http://a.example/", "   ", "http://b.example/x"}) {
            type(dialog, "extraEdit", QString::fromLatin1(text));
            click(dialog, "addButton");
            QVERIFY(child<QLineEdit>(dialog, "extraEdit").text().isEmpty());
        }
        QCOMPARE(child<QListWidget>(dialog, "extraList").count(), 2);
        QCOMPARE(dialog.extraUrls(), (std::vector<std::string>{"http://a.example/", "http://b.example/x"}));
    }

    void useFilePutsTheFileUrlOfTheAbsolutePathIntoTheBox() {
        OpenUrlDialog dialog(QStringLiteral("http://example.com/"));
        QString chosen;
        dialog.setFileChooser([&] { return chosen; });
        dialog.show();
        click(dialog, "useFileButton"); // cancelled: the box keeps its text
        QCOMPARE(dialog.url(), "http://example.com/");
        chosen = QStringLiteral("/srv/site/a:b.html");
        click(dialog, "useFileButton");
        QCOMPARE(dialog.url(), "file:///srv/site/a:b.html");
        chosen = QStringLiteral("page.htm");
        click(dialog, "useFileButton");
        QCOMPARE(dialog.url(), "file://" + QDir::currentPath() + "/page.htm");
    }
};

QTEST_MAIN(OpenUrlDialogTest)
#include "OpenUrlDialogTest.moc"
