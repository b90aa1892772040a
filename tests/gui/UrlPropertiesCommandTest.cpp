// SPDX-License-Identifier: MIT
// The URL Properties command of the main window: the window shows the active project window's
// selected node, follows that selection and the window activation while shown, hides when it
// loses activation unless pinned, and lets go of the nodes of a project that closes.

#include <memory>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "gui/MainWindow.h"
#include "gui/ProjectDocument.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "platform/IniProfile.h"
#include "views/ProjectWindow.h"
#include "views/UrlPropertiesWindow.h"

using namespace corvida;

namespace {

const QString kSampleIndex = QStringLiteral(CORVIDA_EXAMPLES "/site/index.htm");

// Presses button of the next modal box whose object name is name, once it shows.
void answerBox(const QString& name, QMessageBox::StandardButton button) {
    QTimer::singleShot(20, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box->objectName() != name) {
            answerBox(name, button);
            return;
        }
        box->button(button)->click();
    });
}

} // namespace

class UrlPropertiesCommandTest : public QObject {
    Q_OBJECT

private slots:
    void showsAndFollowsTheActiveWindowsSelection() {
        QTemporaryDir directory;
        IniProfile profile(directory.filePath(QStringLiteral("Corvida.conf")).toStdString());
        MainWindow main(profile, directory.filePath(QStringLiteral("work/")).toStdString());
        main.resize(1000, 700);
        main.show();
        UrlPropertiesWindow& properties = *main.urlProperties();
        QAction* command = main.action(Command::UrlProperties);
        QVERIFY(!command->isEnabled());

        QVERIFY(main.newProjectFromUrl(kSampleIndex));
        CTamsoDoc& document = main.activeDocument()->document();
        QTRY_VERIFY_WITH_TIMEOUT(document.state() == CTamsoDoc::State::Complete, 30000);
        ProjectWindow* first = main.activeProjectWindow();
        WebNode* start = document.web()->startNode();
        first->master().selectNode(start);
        QTRY_VERIFY(command->isEnabled());

        command->trigger();
        QVERIFY(properties.isVisible());
        QVERIFY(command->isChecked());
        QCOMPARE(properties.node(), start);

        // While shown it follows the selection of the active window...
        WebNode* other = start->out(0);
        first->master().selectNode(other);
        QCOMPARE(properties.node(), other);
        // ...and the activation of another window, which has no selection yet.
        main.action(Command::NewWindow)->trigger();
        QCOMPARE(properties.node(), nullptr);
        main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        QCOMPARE(properties.node(), other);

        // Losing activation hides it and clears the check mark, unless it is pinned.
        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(&properties, &deactivate);
        QVERIFY(properties.isHidden());
        QVERIFY(!command->isChecked());
        command->trigger();
        properties.setPinned(true);
        QCoreApplication::sendEvent(&properties, &deactivate);
        QVERIFY(properties.isVisible());

        // Closing the project leaves no node of it behind.
        answerBox(QStringLiteral("SaveChangesQuestion"), QMessageBox::No);
        main.action(Command::Close)->trigger();
        QTRY_VERIFY(main.documents().empty());
        QCOMPARE(properties.node(), nullptr);
        QCOMPARE(properties.document(), nullptr);
        QVERIFY(!command->isEnabled());
    }
};

QTEST_MAIN(UrlPropertiesCommandTest)
#include "UrlPropertiesCommandTest.moc"
