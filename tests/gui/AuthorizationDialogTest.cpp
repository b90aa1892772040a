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
    QString password;
    bool heldWhenAnswered = true;
};

QPointer<AuthorizationDialog> openDialog(Seen& seen, const QString& realm = QStringLiteral("Members")) {
    auto* dialog = new AuthorizationDialog(QStringLiteral("http://example.com/private/"), realm);
    QObject::connect(dialog, &AuthorizationDialog::answered, dialog, [&seen, dialog] {
        ++seen.answers;
        seen.answer = dialog->answer();
        seen.user = dialog->user();
        seen.password = dialog->password();
        seen.heldWhenAnswered = IdleDriver::isHeld();
    });
    dialog->open();
    return dialog;
}

} // namespace

class AuthorizationDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsSiteTextsAsPlainText() {
        Seen seen;
        QPointer<AuthorizationDialog> dialog = openDialog(seen, QStringLiteral("<b>x</b>"));
        QCOMPARE(dialog->windowTitle(), "Authorization");
        for (const char* name : {"urlLabel", "realmLabel"}) {
            QCOMPARE(child<QLabel>(*dialog, name).textFormat(), Qt::PlainText);
        }
        QCOMPARE(child<QLabel>(*dialog, "realmLabel").text(), "<b>x</b>");
        QCOMPARE(child<QLineEdit>(*dialog, "passwordEdit").echoMode(), QLineEdit::Password);
        QDir().mkpath(QStringLiteral(CORVIDA_ARTIFACTS));
        dialog->grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/authorization.png"));
        dialog->close();
        QTRY_VERIFY(dialog.isNull());
    }

    void eachButtonAnswersOnceReleasesIdleWorkAndDeletesTheDialog() {
        for (const auto& [button, expected] :
             {std::pair{"okButton", Answer::Ok}, std::pair{"cancelButton", Answer::Cancel},
              std::pair{"skipRealmButton", Answer::SkipRealm}}) {
            Seen seen;
            QPointer<AuthorizationDialog> dialog = openDialog(seen);
            QVERIFY(IdleDriver::isHeld());
            type(*dialog, "userEdit", "anna");
            type(*dialog, "passwordEdit", "s3cret");
            click(*dialog, button);
            QCOMPARE(seen.answers, 1);
            QCOMPARE(seen.answer, expected);
            QCOMPARE(seen.user, "anna");
            QCOMPARE(seen.password, "s3cret");
            QVERIFY(!seen.heldWhenAnswered);
            QTRY_VERIFY(dialog.isNull());
            QCOMPARE(seen.answers, 1);
        }
    }

    void escapeAnswersCancel() {
        Seen seen;
        QPointer<AuthorizationDialog> dialog = openDialog(seen);
        QTest::keyClick(dialog.data(), Qt::Key_Escape);
        QCOMPARE(seen.answers, 1);
        QCOMPARE(seen.answer, Answer::Cancel);
        QTRY_VERIFY(dialog.isNull());
    }

    void credentialsLongerThanTheBuffersAreRefused() {
        Seen seen;
        QPointer<AuthorizationDialog> dialog = openDialog(seen);
        // Two bytes each in UTF-8: the 256th character would make 512 bytes.
        auto& password = child<QLineEdit>(*dialog, "passwordEdit");
        for (int i = 0; i < 256; ++i) {
            QTest::sendKeyEvent(QTest::Click, &password, Qt::Key_unknown, QString(QChar(0x00E9)), Qt::NoModifier);
        }
        QCOMPARE(dialog->password().toUtf8().size(), 510);
        type(*dialog, "userEdit", QString(600, QLatin1Char('u')));
        QCOMPARE(dialog->user().size(), AuthorizationDialog::kMaximumBytes);
        dialog->close();
        QTRY_VERIFY(dialog.isNull());
    }
};

QTEST_MAIN(AuthorizationDialogTest)
#include "AuthorizationDialogTest.moc"
