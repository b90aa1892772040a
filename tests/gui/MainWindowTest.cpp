// SPDX-License-Identifier: MIT
// The main window under the offscreen platform: its menus with and without a project, the
// project windows and their titles, drops, the URL bar, the close prompt of a modified
// project, the URL Properties window and the status panes during a crawl of the bundled
// sample site.

#include <memory>
#include <set>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "gui/MainWindow.h"
#include "gui/ProjectDocument.h"
#include "gui/UrlBar.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "platform/IniProfile.h"
#include "views/OutputDialog.h"
#include "views/ProjectWindow.h"
#include "views/StatusPanes.h"
#include "views/UrlListPane.h"
#include "views/UrlPropertiesWindow.h"

using namespace corvida;

namespace {

const QString kSampleIndex = QStringLiteral(CORVIDA_EXAMPLES "/site/index.htm");

QStringList menuTitles(const QMainWindow& window) {
    QStringList titles;
    for (const QAction* menu : window.menuBar()->actions()) {
        titles << menu->text();
    }
    return titles;
}

QStringList entries(const QMainWindow& window, const QString& title) {
    QStringList texts;
    for (const QAction* menu : window.menuBar()->actions()) {
        if (menu->text() == title) {
            for (const QAction* entry : menu->menu()->actions()) {
                if (!entry->isSeparator() && entry->isVisible()) {
                    texts << entry->text();
                }
            }
        }
    }
    return texts;
}

// Presses button of the next modal box whose object name is name, once it shows.
void answerBox(const QString& name, QMessageBox::StandardButton button, bool* seen = nullptr) {
    QTimer::singleShot(20, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box->objectName() != name) {
            answerBox(name, button, seen);
            return;
        }
        if (seen != nullptr) {
            *seen = true;
        }
        box->button(button)->click();
    });
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_profile = std::make_unique<IniProfile>(m_dir->filePath(QStringLiteral("Corvida.conf")).toStdString());
        m_window = std::make_unique<MainWindow>(*m_profile, m_dir->filePath(QStringLiteral("work/")).toStdString());
        m_window->setPageOpener([this](const std::string& url) { m_opened.push_back(url); });
        m_window->resize(1000, 700);
        m_window->show();
    }

    void cleanup() {
        // Unsaved projects close without a prompt at the end of each test.
        for (ProjectDocument* project : m_window->documents()) {
            project->document().keepWorkingFiles();
        }
        m_window.reset();
        m_profile.reset();
        m_dir.reset();
        m_opened.clear();
    }

    void menusFollowTheActiveProject() {
        QCOMPARE(menuTitles(*m_window), (QStringList{"&File", "&Tools", "&Help"}));
        QCOMPARE(entries(*m_window, "&File"),
                 (QStringList{"&New Project...", "Start from &Browser", "&Open Site Map...", "E&xit"}));
        QCOMPARE(m_window->action(Command::OpenSiteMap)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(m_window->action(Command::NewProject)->statusTip(), QString("Start a new project with a URL or File"));
        QCOMPARE(m_window->action(Command::NewProject)->toolTip(), QString("New Project"));
        // The toolbars' popup lists them in order; a filter button's tooltip is its filter's name.
        std::unique_ptr<QMenu> popup(m_window->createPopupMenu());
        QStringList bars;
        for (const QAction* entry : popup->actions()) {
            bars << entry->text();
        }
        QCOMPARE(bars, (QStringList{"&File", "F&ilters", "&Project", "&URL", "View"}));
        QCOMPARE(m_window->action(Command::FilterAll)->toolTip(), QString("All"));

        QVERIFY(m_window->newProjectFromUrl(kSampleIndex));
        QCOMPARE(menuTitles(*m_window),
                 (QStringList{"&File", "&Project", "&URL", "&Tools", "&View", "&Window", "&Help"}));
        QCOMPARE(entries(*m_window, "&URL"), (QStringList{"&Copy", "&View", "&Edit", "&Properties..."}));
        QCOMPARE(entries(*m_window, "&View"),
                 (QStringList{"&Properties", "Zoom &In\t+", "Zoom &Out\t-", "&Toolbars", "&Status Line"}));
        // The node commands wait for a selected node; Copy's keys stay with the window.
        QVERIFY(!m_window->action(Command::UrlCopy)->isEnabled());
        QVERIFY(m_window->action(Command::UrlCopy)->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Insert)));

        answerBox("SaveChangesQuestion", QMessageBox::No);
        m_window->mdiArea()->closeAllSubWindows();
        QTRY_VERIFY(m_window->documents().empty());
        QCOMPARE(menuTitles(*m_window), (QStringList{"&File", "&Tools", "&Help"}));
        QCOMPARE(m_window->windowTitle(), QString("Corvida"));
    }

    void mapCommandsReachTheMapWhicheverPaneHasTheFocus() {
        QVERIFY(m_window->newProjectFromUrl(kSampleIndex));
        ProjectWindow* window = m_window->activeProjectWindow();
        QVERIFY(window != nullptr && window->wavefront() != nullptr);
        QCOMPARE(window->wavefrontPane()->objectName(), QStringLiteral("WavefrontPane"));
        window->urlList()->setFocus();
        QVERIFY(m_window->action(Command::ZoomIn)->isEnabled());
        QVERIFY(m_window->action(Command::ZoomOut)->isEnabled());
        m_window->action(Command::ZoomIn)->trigger();
        QCOMPARE(window->wavefront()->zoom(), 125);
        for (int step = 0; step < 3; ++step) {
            m_window->action(Command::ZoomOut)->trigger();
        }
        QCOMPARE(window->wavefront()->zoom(), 50);
        m_window->action(Command::ZoomOut)->trigger();
        QVERIFY(!m_window->action(Command::ZoomOut)->isEnabled());

        // In Links is checked while the map draws them; F7 is its key.
        QVERIFY(m_window->action(Command::InLinks)->isCheckable());
        QCOMPARE(m_window->action(Command::InLinks)->shortcut(), QKeySequence(Qt::Key_F7));
        m_window->action(Command::InLinks)->trigger();
        QVERIFY(window->wavefront()->inLinksShown());
        QVERIFY(m_window->action(Command::InLinks)->isChecked());
        m_window->action(Command::OutLinks)->trigger();
        m_window->action(Command::OutLinks)->trigger();
        QVERIFY(!window->wavefront()->outLinksShown());
        QVERIFY(!m_window->action(Command::OutLinks)->isChecked());
        // '+' typed in the URL bar stays there.
        QTest::keyClick(m_window->urlBar()->comboBox(), Qt::Key_Plus, {}, '+');
        QCOMPARE(window->wavefront()->zoom(), 25);
    }

    void projectWindowFollowsItsCrawl() {
        QVERIFY(m_window->newProjectFromUrl(kSampleIndex));
        const QString url = "file://" + kSampleIndex;
        QCOMPARE(m_window->currentStartUrl(), url.toStdString());
        QCOMPARE(m_window->windowTitle(), "Corvida - noname1 - " + url);
        ProjectWindow* window = m_window->activeProjectWindow();
        QVERIFY(window != nullptr);
        // The tree takes a third of the width; the Wavefront and the list share the height.
        const int treeWidth = window->navigationPane()->width();
        QVERIFY(qAbs(treeWidth * 3 - window->width()) < 30);
        QVERIFY(qAbs(window->wavefrontPane()->height() - window->listPane()->height()) < 10);
        // Resume is pressed while the crawl runs; Make Report waits for its end.
        QVERIFY(m_window->action(Command::Resume)->isChecked());
        QVERIFY(!m_window->action(Command::MakeReport)->isEnabled());

        CTamsoDoc& document = m_window->activeDocument()->document();
        QTRY_VERIFY_WITH_TIMEOUT(document.state() == CTamsoDoc::State::Complete, 30000);
        QTRY_VERIFY(m_window->action(Command::MakeReport)->isEnabled());
        QVERIFY(!m_window->action(Command::Resume)->isChecked());
        QTRY_COMPARE(m_window->statusPanes().webProgressLabel()->text(),
                     QString("%1 of %2").arg(document.web()->processedCount()).arg(document.web()->nodeCount()));

        // The window's list shows every node; its tree, the fetched pages from the root.
        QTRY_COMPARE(window->urlList()->model()->rowCount(), static_cast<int>(document.web()->nodeCount()));
        QVERIFY(window->navigationPane()->findChild<QObject*>() != nullptr);
        QVERIFY(m_window->grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/main-window.png")));

        m_window->action(Command::MakeReport)->trigger();
        QTRY_VERIFY(m_window->action(Command::ViewReport)->isEnabled());
        m_window->action(Command::ViewReport)->trigger();
        QVERIFY(!m_opened.empty());
        QVERIFY(QString::fromStdString(m_opened.back()).endsWith("report/overview.htm"));
        QVERIFY(QString::fromStdString(m_opened.back()).startsWith("file:///"));
    }

    void nodeCommandsActOnTheWindowsSelectedNode() {
        QVERIFY(m_window->newProjectFromUrl(kSampleIndex));
        CTamsoDoc& document = m_window->activeDocument()->document();
        QTRY_VERIFY_WITH_TIMEOUT(document.state() == CTamsoDoc::State::Complete, 30000);
        ProjectWindow* first = m_window->activeProjectWindow();
        QVERIFY(!m_window->action(Command::UrlCopy)->isEnabled());

        // A second window on the document has its own selection.
        m_window->action(Command::NewWindow)->trigger();
        ProjectWindow* second = m_window->activeProjectWindow();
        QVERIFY(second != first);
        m_window->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        WebNode* start = document.web()->startNode();
        first->master().selectNode(start);
        QVERIFY(second->master().selectedNode() == nullptr);
        QTRY_VERIFY(m_window->action(Command::UrlCopy)->isEnabled());

        m_window->action(Command::UrlCopy)->trigger();
        QCOMPARE(QApplication::clipboard()->text(), "file://" + kSampleIndex);
        m_window->action(Command::UrlView)->trigger();
        QCOMPARE(m_opened.back(), ("file://" + kSampleIndex).toStdString());
        // Once the local site is made, View opens the node's copy in it.
        m_window->action(Command::MakeLocalSite)->trigger();
        QTRY_VERIFY(document.options().localSiteMade);
        m_window->action(Command::UrlView)->trigger();
        const QString opened = QString::fromStdString(m_opened.back());
        QVERIFY2(opened.startsWith("file:///") && opened.endsWith("/docs/index.htm"), qPrintable(opened));

        // Output writes the window's list as comma-separated text.
        const QString table = m_dir->filePath("table.csv");
        QTimer::singleShot(20, [&] {
            auto* dialog = qobject_cast<OutputDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            dialog->commaSeparatedButton()->click();
            dialog->fileEdit()->setText(table);
            dialog->okButton()->click();
        });
        m_window->action(Command::OutputFile)->trigger();
        QFile csv(table);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QByteArray written = csv.readAll();
        // The title, the caption and the header, then a line per row.
        QCOMPARE(written.count('\n'), static_cast<qsizetype>(document.web()->nodeCount() + 3));
        QVERIFY(written.contains(("file://" + kSampleIndex).toUtf8()));
    }

    void windowsOfOneProjectKeepTheirOwnRowsThroughFiltersAndARestart() {
        QVERIFY(m_window->newProjectFromUrl(kSampleIndex));
        CTamsoDoc& document = m_window->activeDocument()->document();
        QTRY_VERIFY_WITH_TIMEOUT(document.state() == CTamsoDoc::State::Complete, 30000);
        ProjectWindow* first = m_window->activeProjectWindow();
        m_window->action(Command::NewWindow)->trigger();
        ProjectWindow* second = m_window->activeProjectWindow();
        const int nodes = static_cast<int>(document.web()->nodeCount());
        QTRY_COMPARE(second->urlList()->model()->rowCount(), nodes);
        QTRY_COMPARE(first->urlList()->model()->rowCount(), nodes);

        // A filter pass in one window neither drops nor doubles the other's rows.
        second->master().setFilterSlot(1);
        first->master().selectNode(document.web()->startNode());
        QTRY_VERIFY(document.pendingRecordCount() == 0 && !document.hasIdleWork());
        QTest::qWait(100);
        const auto distinct = [](const std::vector<WebNode*>& rows) {
            return std::set<WebNode*>(rows.begin(), rows.end()).size() == rows.size();
        };
        QCOMPARE(first->urlList()->model()->rowCount(), nodes);
        QVERIFY(distinct(first->urlList()->rows()));
        QVERIFY(second->urlList()->model()->rowCount() < nodes);
        QVERIFY(distinct(second->urlList()->rows()));
        QVERIFY(second->master().selectedNode() == nullptr);

        // Starting the completed crawl again frees every node: no window keeps one.
        answerBox("DocumentQuestion", QMessageBox::Ok);
        QVERIFY(document.startProcessing(document.startUrl()));
        QVERIFY(first->master().selectedNode() == nullptr);
        QCOMPARE(first->urlList()->model()->rowCount(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(document.state() == CTamsoDoc::State::Complete, 30000);
        QTRY_COMPARE(first->urlList()->model()->rowCount(), nodes);
        first->urlList()->selectRow(0);
        QVERIFY(first->master().selectedNode() != nullptr);
    }

    void dropsStartProjectsAndIgnoreBadShortcuts() {
        const QString shortcut = m_dir->filePath("news.url");
        QFile file(shortcut);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[InternetShortcut]\r\nURL=" + QUrl::fromLocalFile(CORVIDA_EXAMPLES "/site/news.htm").toEncoded() +
                   "\r\n");
        file.close();
        const QString bad = m_dir->filePath("bad.url");
        QFile badFile(bad);
        QVERIFY(badFile.open(QIODevice::WriteOnly));
        badFile.write("[Other]\nURL=http://example.invalid/\n");
        badFile.close();

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(kSampleIndex), QUrl::fromLocalFile(shortcut), QUrl::fromLocalFile(bad),
                      QUrl("javascript:alert(1)")});
        m_window->dropData(data);
        QCOMPARE(m_window->documents().size(), std::size_t(2));
        QCOMPARE(m_window->documents()[0]->document().startUrl(), ("file://" + kSampleIndex).toStdString());
        QVERIFY(QString::fromStdString(m_window->documents()[1]->document().startUrl()).endsWith("/site/news.htm"));
        QVERIFY(!m_window->statusPanes().message().isEmpty());
    }

    void urlBarStartsProjectsAndKeepsItsKeys() {
        QComboBox* combo = m_window->urlBar()->comboBox();
        combo->setFocus();
        QTest::keyClicks(combo, "   ");
        QTest::keyClick(combo, Qt::Key_Return);
        QVERIFY(m_window->documents().empty());

        combo->setFocus();
        QTest::keyClicks(combo, kSampleIndex);
        // Ctrl+C in the field copies the field's text, not a node's address.
        combo->lineEdit()->selectAll();
        QTest::keyClick(combo->lineEdit(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), kSampleIndex);
        QTest::keyClick(combo, Qt::Key_Return);
        QCOMPARE(m_window->documents().size(), std::size_t(1));
        QCOMPARE(m_window->documents()[0]->document().startUrl(), ("file://" + kSampleIndex).toStdString());
        QVERIFY(combo->currentText().isEmpty());
        QCOMPARE(combo->count(), 1);
    }

    void closingAModifiedProjectAsksToSave() {
        QVERIFY(m_window->newProjectFromUrl(kSampleIndex));
        ProjectDocument* project = m_window->activeDocument();
        QTRY_VERIFY_WITH_TIMEOUT(project->document().state() == CTamsoDoc::State::Complete, 30000);
        QVERIFY(project->document().isModified());

        bool asked = false;
        answerBox("SaveChangesQuestion", QMessageBox::Cancel, &asked);
        m_window->action(Command::Close)->trigger();
        QVERIFY(asked);
        QCOMPARE(m_window->documents().size(), std::size_t(1));

        const QString path = m_dir->filePath("saved.zpj");
        m_window->setProjectFileChooser([&](bool forSaving, const QString&) { return forSaving ? path : QString(); });
        answerBox("SaveChangesQuestion", QMessageBox::Yes);
        m_window->action(Command::Close)->trigger();
        QTRY_VERIFY(m_window->documents().empty());
        QVERIFY(QFileInfo::exists(path));

        // The saved project opens again, once, however often it is asked for.
        QVERIFY(m_window->openProject(path));
        QVERIFY(m_window->openProject(path));
        QCOMPARE(m_window->documents().size(), std::size_t(1));
        QCOMPARE(m_window->windowTitle(), "Corvida - saved - file://" + kSampleIndex);
        // Maximized, the window's title goes in brackets after the program's.
        m_window->mdiArea()->activeSubWindow()->showMaximized();
        QCOMPARE(m_window->windowTitle(), "Corvida - [saved - file://" + kSampleIndex + "]");
    }

    // The URL Properties window shows the active window's selected node while it is shown, hides
    // when it loses activation unless pinned, and lets go of the nodes of a project that closes.
    void urlPropertiesFollowTheActiveWindowsSelection() {
        UrlPropertiesWindow& properties = *m_window->urlProperties();
        QAction* command = m_window->action(Command::UrlProperties);
        QVERIFY(!command->isEnabled());
        QVERIFY(m_window->newProjectFromUrl(kSampleIndex));
        CTamsoDoc& document = m_window->activeDocument()->document();
        QTRY_VERIFY_WITH_TIMEOUT(document.state() == CTamsoDoc::State::Complete, 30000);
        ProjectWindow* first = m_window->activeProjectWindow();
        WebNode* start = document.web()->startNode();
        first->master().selectNode(start);
        QTRY_VERIFY(command->isEnabled());
        command->trigger();
        QVERIFY(properties.isVisible() && command->isChecked());
        QCOMPARE(properties.node(), start);

        first->master().selectNode(start->out(0));
        QCOMPARE(properties.node(), start->out(0));
        // Another window has no selection yet.
        m_window->action(Command::NewWindow)->trigger();
        QCOMPARE(properties.node(), nullptr);
        m_window->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        QCOMPARE(properties.node(), start->out(0));

        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(&properties, &deactivate);
        QVERIFY(properties.isHidden() && !command->isChecked());
        command->trigger();
        properties.setPinned(true);
        QCoreApplication::sendEvent(&properties, &deactivate);
        QVERIFY(properties.isVisible());

        answerBox("SaveChangesQuestion", QMessageBox::No);
        m_window->action(Command::Close)->trigger();
        QTRY_VERIFY(m_window->documents().empty());
        QCOMPARE(properties.node(), nullptr);
        QCOMPARE(properties.document(), nullptr);
        QVERIFY(!command->isEnabled());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<IniProfile> m_profile;
    std::unique_ptr<MainWindow> m_window;
    std::vector<std::string> m_opened;
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
