// SPDX-License-Identifier: MIT
#include <QLabel>
#include <QPointer>
#include <QtTest>

#include "WidgetDriver.h"
#include "doc/IdleDriver.h"
#include "gui/AuthorizationDialog.h"

using namespace corvida;

namespace {

using Answer = AuthorizationDialog::Answer;

// What the caller saw when the dialog answered.
struct Seen {
    int answers = 0;
    Answer answer = Answer::Ok;
    QString user;
    bool heldWhenAnswered = true;
};

QPointer<AuthorizationDialog> openDialog(Seen& seen, const QString& realm = QStringLiteral("Members")) {
    auto* dialog = new AuthorizationDialog(QStringLiteral("http://example.com/private/"), realm);
    QObject::connect(dialog, &AuthorizationDialog::answered, dialog, [&seen, dialog] {
        ++seen.answers;
        seen.answer = dialog->answer();
        seen.user = dialog->user();
        seen.heldWhenAnswered = IdleDriver::isHeld();
    });
    dialog->open();
    return dialog;
}

} // namespace

class AuthorizationDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsSiteTextsPlainAndRefusesOverlongCredentials() {
        Seen seen;
        QPointer<AuthorizationDialog> dialog = openDialog(seen, QStringLiteral("<b>x</b>"));
        QCOMPARE(child<QLabel>(*dialog, "realmLabel").text(), "<b>x</b>");
        QCOMPARE(child<QLabel>(*dialog, "realmLabel").textFormat(), Qt::PlainText);
        QCOMPARE(child<QLabel>(*dialog, "urlLabel").textFormat(), Qt::PlainText);
        auto& password = child<QLineEdit>(*dialog, "passwordEdit");
        QCOMPARE(password.echoMode(), QLineEdit::Password);
        // Two bytes each in UTF-8: the 256th character would make 512 bytes.
        for (int i = 0; i < 256; ++i) {
            QTest::sendKeyEvent(QTest::Click, &password, Qt::Key_unknown, QString(QChar(0x00E9)), Qt::NoModifier);
        }
        QCOMPARE(dialog->password().toUtf8().size(), 510);
        type(*dialog, "userEdit", QString(600, QLatin1Char('u')));
        QCOMPARE(dialog->user().size(), AuthorizationDialog::kMaximumBytes);
        QDir().mkpath(QStringLiteral(CORVIDA_ARTIFACTS));
        dialog->grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/authorization.png"));
        dialog->close();
        QTRY_VERIFY(dialog.isNull());
    }

    void eachWayOutAnswersOnceReleasesIdleWorkAndDeletesTheDialog() {
        for (const auto& [button, expected] :
             {std::pair{"okButton", Answer::Ok}, std::pair{"skipRealmButton", Answer::SkipRealm},
              std::pair{"cancelButton", Answer::Cancel}, std::pair{"", Answer::Cancel}}) {
            Seen seen;
            QPointer<AuthorizationDialog> dialog = openDialog(seen);
            QVERIFY(IdleDriver::isHeld());
            type(*dialog, "userEdit", "anna");
            if (*button == '\0') {
                QTest::keyClick(dialog.data(), Qt::Key_Escape);
            } else {
                click(*dialog, button);
            }
            QCOMPARE(seen.answer, expected);
            QCOMPARE(seen.user, "anna");
            QVERIFY(!seen.heldWhenAnswered);
            QTRY_VERIFY(dialog.isNull());
            QCOMPARE(seen.answers, 1);
        }
    }
};

QTEST_MAIN(AuthorizationDialogTest)
#include "AuthorizationDialogTest.moc"
