// SPDX-License-Identifier: MIT
#include "views/StatusPanes.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>

using namespace corvida;

class StatusPanesTest : public QObject {
    Q_OBJECT

private slots:
    void panesSitInOrderAndMessagesShowAsElidedPlainText() {
        QMainWindow window;
        window.resize(700, 300);
        StatusPanes panes(*window.statusBar());
        panes.setProgress(40);
        panes.setCounts(3, 10, 42);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int barWidth = window.statusBar()->width();

        // The panes outlive a menu's temporary prompt.
        window.statusBar()->showMessage(QStringLiteral("a menu's prompt"));
        QVERIFY(panes.messageLabel()->isVisible());
        QVERIFY(panes.dispatchLabel()->isVisible());
        QVERIFY(panes.messageLabel()->x() < panes.progressBar()->x());
        QVERIFY(panes.progressBar()->x() < panes.dispatchLabel()->x());
        QVERIFY(panes.dispatchLabel()->x() < panes.webProgressLabel()->x());
        QCOMPARE(panes.progressBar()->width(), StatusPanes::kProgressWidth);
        // The message takes the room the other panes leave.
        QVERIFY(panes.messageLabel()->width() > window.width() / 3);
        const QFontMetrics metrics(panes.dispatchLabel()->font());
        QVERIFY(panes.dispatchLabel()->width() >= metrics.horizontalAdvance(QStringLiteral("Dispatch")));
        QVERIFY(panes.webProgressLabel()->width() >= metrics.horizontalAdvance(QStringLiteral("Web Progress")));

        const QString markup = QStringLiteral("<b>Completed</b> http://example.org/");
        panes.setMessage(markup);
        QCOMPARE(panes.messageLabel()->text(), markup);
        QCOMPARE(panes.messageLabel()->textFormat(), Qt::PlainText);
        const QString longText = QStringLiteral("http://example.org/") + QString(400, QLatin1Char('x'));
        panes.setMessage(longText);
        QCOMPARE(panes.message(), longText);
        QVERIFY(panes.messageLabel()->text().endsWith(QChar(0x2026)));
        QCOMPARE(window.statusBar()->width(), barWidth);
        QVERIFY(panes.messageLabel()->toolTip().contains(QStringLiteral("example.org")));
    }

    void countsAndProgressShowAndClear() {
        QMainWindow window;
        StatusPanes panes(*window.statusBar());
        window.show();
        QCOMPARE(panes.dispatchLabel()->text(), QString());
        panes.setCounts(3, 10, 4000000000u);
        QCOMPARE(panes.dispatchLabel()->text(), QStringLiteral("3"));
        QCOMPARE(panes.webProgressLabel()->text(), QStringLiteral("10 of 4000000000"));
        panes.clearCounts();
        QCOMPARE(panes.dispatchLabel()->text() + panes.webProgressLabel()->text(), QString());

        QVERIFY(!panes.progressBar()->isVisible());
        panes.setProgress(55);
        QVERIFY(panes.progressBar()->isVisible());
        QCOMPARE(panes.progressBar()->value(), 55);
        panes.setProgress(250);
        QCOMPARE(panes.progressBar()->value(), 100);
        panes.setProgress(-3);
        QVERIFY(!panes.progressBar()->isVisible());
    }
};

QTEST_MAIN(StatusPanesTest)
#include "StatusPanesTest.moc"
