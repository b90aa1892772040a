// SPDX-License-Identifier: MIT
// The desktop's document UI: messages that never wait, questions and credential dialogs that
// hold the idle drivers while they are open, and site texts shown as plain text. The crawl
// runs against a scripted server on 127.0.0.1 that protects its pages with a realm.

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/Settings.h"
#include "doc/IdleDriver.h"
#include "gui/AuthorizationDialog.h"
#include "gui/ProjectDocument.h"
#include "net/NetworkTransferFactory.h"
#include "support/ScriptedServer.h"
#include "views/DisplayText.h"

using namespace corvida;
using corvida::test::Script;
using corvida::test::ScriptedServer;

class GuiDocumentUiTest : public QObject {
    Q_OBJECT

private slots:
    void messagesShowSiteTextPlainAndNeverWait() {
        GuiDocumentUi ui;
        ui.showMessage("URL <img src=x>\nError: 404", DocumentUi::Icon::Warning);
        auto* box = shown<QMessageBox>("DocumentMessage");
        QVERIFY(box != nullptr);
        QCOMPARE(box->text(), QString("URL <img src=x>\nError: 404"));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->icon(), QMessageBox::Warning);
        box->button(QMessageBox::Ok)->click();

        // Bytes that are not UTF-8 are shown as Latin-1, not dropped.
        QCOMPARE(DisplayText::fromBytes("caf\xe9"), QString::fromLatin1("caf\xe9"));
        QCOMPARE(DisplayText::fromBytes("caf\xc3\xa9"), QString::fromUtf8("caf\xc3\xa9"));
    }

    void questionsHoldTheIdleDrivers() {
        GuiDocumentUi ui;
        bool heldWhileOpen = false;
        QTimer::singleShot(50, [&] {
            heldWhileOpen = IdleDriver::isHeld();
            shown<QMessageBox>("DocumentQuestion")->button(QMessageBox::Ok)->click();
        });
        QVERIFY(ui.askOkCancel("URL has not changed.\nDo you want to start processing again?"));
        QVERIFY(heldWhileOpen);
        QVERIFY(!IdleDriver::isHeld());
    }

    void credentialsReachTheCrawlLater() {
        ScriptedServer server;
        server.setResponder([](std::string_view request) {
            if (request.find("Authorization: Basic dXNlcjpzZWNyZXQ=") != std::string_view::npos) {
                return Script::reply("HTTP/1.0 200 OK", {"Content-Type: text/html"}, "<title>In</title>");
            }
            return Script::reply("HTTP/1.0 401 Unauthorized",
                                 {"WWW-Authenticate: Basic realm=\"<b>staff</b>\"", "Content-Type: text/html"}, "no");
        });
        QTemporaryDir dir;
        Settings settings;
        settings.askForPassword = true;
        settings.workingDirectory = dir.path().toStdString() + "/";
        NetworkTransferFactory transfers;
        ProjectDocument project(settings, transfers, nullptr);
        QVERIFY(project.start(server.url("/"), {}));

        AuthorizationDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = shown<AuthorizationDialog>()) != nullptr);
        QVERIFY(IdleDriver::isHeld());
        dialog->findChild<QLineEdit*>("userEdit")->setText("user");
        dialog->findChild<QLineEdit*>("passwordEdit")->setText("secret");
        dialog->findChild<QPushButton*>("okButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(project.document().state() == CTamsoDoc::State::Complete, 10000);
        QVERIFY(!IdleDriver::isHeld());
        QVERIFY(server.request(server.connectionCount() - 1).find("Authorization: Basic") != std::string::npos);
        project.document().keepWorkingFiles();
    }

    // A crawl that runs out of disk space keeps what it found in its project file, when it has
    // one.
    void aCrawlOutOfDiskSpaceIsSavedIntoItsFile() {
        QTemporaryDir dir;
        Settings settings;
        settings.workingDirectory = dir.path().toStdString() + "/";
        settings.checkLowDiskSpace = true;
        NetworkTransferFactory transfers;
        ProjectDocument project(settings, transfers, nullptr);
        int roomyChecks = 2;
        project.document().setFreeSpaceProbe([&](const std::string&) {
            return std::optional<std::uint64_t>(roomyChecks-- > 0 ? std::uint64_t{1} << 40 : 0);
        });
        QVERIFY(project.start("file://" CORVIDA_EXAMPLES "/site/index.htm", {}));
        // Without a file, the project waits for the person to save it.
        QTRY_VERIFY(project.document().suspendedForDiskSpace());
        QTest::qWait(50);
        QVERIFY(project.path().empty());

        const std::string path = dir.path().toStdString() + "/site.zpj";
        QVERIFY(project.save(path).isOk());
        const auto fileBytes = [&path] {
            QFile file(QString::fromStdString(path));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray saved = fileBytes();
        QVERIFY(!saved.isEmpty());
        roomyChecks = 2;
        project.document().resume();
        QTRY_VERIFY(project.document().suspendedForDiskSpace());
        // The nodes processed since are in the file.
        QTRY_VERIFY(fileBytes() != saved);
        QVERIFY(!project.document().isModified());
        while (QMessageBox* box = shown<QMessageBox>()) {
            box->close();
        }
    }

private:
    // The shown top-level Window, of name unless that is empty.
    template <typename Window>
    static Window* shown(const char* name = "") {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<Window*>(widget);
                window != nullptr && window->isVisible() && (*name == '\0' || window->objectName() == name)) {
                return window;
            }
        }
        return nullptr;
    }
};

QTEST_MAIN(GuiDocumentUiTest)
#include "GuiDocumentUiTest.moc"
