// SPDX-License-Identifier: MIT
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "WidgetDriver.h"
#include "gui/OpenUrlDialog.h"

using namespace corvida;

class OpenUrlDialogTest : public QObject {
    Q_OBJECT

private slots:
    void urlBoxTakesPresetOrChosenFileAndBlankTextCannotBeConfirmed() {
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

        type(dialog, "urlEdit", "   ");
        QVERIFY(!child<QPushButton>(dialog, "okButton").isEnabled());
        QTest::keyClick(&child<QLineEdit>(dialog, "urlEdit"), Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        type(dialog, "urlEdit", " www.example.org ");
        click(dialog, "okButton");
        QCOMPARE(dialog.result(), QDialog::Accepted);
        QCOMPARE(dialog.url(), "www.example.org");
    }

    void advancedShowsTheExtraListWhereAddAppendsNonBlankText() {
        OpenUrlDialog dialog(QString{});
        dialog.show();
        auto& toggle = child<QPushButton>(dialog, "advancedButton");
        auto& extra = child<QWidget>(dialog, "extraPanel");
        const int basicHeight = dialog.height();
        QVERIFY(toggle.text() == "&Advanced" && !extra.isVisible());
        click(dialog, "advancedButton");
        QVERIFY(toggle.text() == "&Basic" && extra.isVisible() && dialog.height() > basicHeight);
        QCOMPARE(child<QLabel>(dialog, "extraLabel").text(), "Also follow links from the following:");
        for (const char* text : {"http://a.example/", "   ", "http://b.example/x"}) {
            type(dialog, "extraEdit", QString::fromLatin1(text));
            click(dialog, "addButton");
            QVERIFY(child<QLineEdit>(dialog, "extraEdit").text().isEmpty());
        }
        QCOMPARE(dialog.extraUrls(), (std::vector<std::string>{"http://a.example/", "http://b.example/x"}));
        click(dialog, "advancedButton");
        QVERIFY(toggle.text() == "&Advanced" && !extra.isVisible());
        QCOMPARE(dialog.height(), basicHeight);
    }
};

QTEST_MAIN(OpenUrlDialogTest)
#include "OpenUrlDialogTest.moc"
