// SPDX-License-Identifier: MIT
#pragma once

// The MainWindow is the desktop program's frame and the one place that wires it together:
// the settings and what the program keeps between runs, the program's filters, the browser
// client, the open projects with their windows in an MDI area, the menus, toolbars and status
// bar, dropped files and links, and the program's commands. Each project window belongs to
// one ProjectDocument; a document lives while it has a window.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>

#include "app/BrowserClient.h"
#include "app/GuiState.h"
#include "app/HistoryList.h"
#include "app/Settings.h"
#include "model/FilterSet.h"
#include "net/NetworkTransferFactory.h"
#include "platform/EventSoundPlayer.h"
#include "viewlogic/Command.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMimeData;
class QToolBar;

namespace corvida {

class Profile;
class ProjectDocument;
class ProjectWindow;
class StatusPanes;
class UrlBar;
class UrlPropertiesWindow;
class UrlSelectionDialog;
class WavefrontView;
class WebNode;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // Loads the settings and the window's state from profile, which must outlive the window;
    // workingDirectory is the default parent of new projects' folders.
    MainWindow(Profile& profile, const std::string& defaultWorkingDirectory, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs a command line (arguments without the program name) given in workingDirectory:
    // opens its project files and takes its browser choice. At start-up a browser client made
    // from the settings keeps precedence over the command line's.
    void runCommandLine(const QStringList& arguments, const QString& workingDirectory, bool atStartUp);
    // Brings the window to the front after another start handed over its command line.
    void bringToFront();

    // Starts a project at what a person typed, dropped or chose; blank text starts nothing.
    bool newProjectFromUrl(const QString& text);
    // Opens the project file at path, or shows its window when it is open already.
    bool openProject(const QString& path);
    // Starts or opens a project for each dropped file or link.
    void dropData(const QMimeData& data);

    QAction* action(Command command) const { return m_actions[static_cast<std::size_t>(command)]; }
    const std::vector<ProjectDocument*>& documents() const { return m_documents; }
    ProjectDocument* activeDocument() const;
    ProjectWindow* activeProjectWindow() const;
    QMdiArea* mdiArea() const { return m_mdi; }
    StatusPanes& statusPanes() const { return *m_panes; }
    UrlBar* urlBar() const { return m_urlBar; }
    UrlPropertiesWindow* urlProperties() const { return m_urlProperties; }
    Settings& settings() { return m_settings; }
    const std::string& currentStartUrl() const { return m_currentStartUrl; }

    // Test seams: where pages go instead of the browser, and what the project file dialogs answer.
    void setPageOpener(std::function<void(const std::string& url)> opener) { m_pageOpener = std::move(opener); }
    void setProjectFileChooser(std::function<QString(bool forSaving, const QString& suggestion)> chooser) {
        m_chooseProjectFile = std::move(chooser);
    }

    // Re-reads every command's enabled and checked state.
    void updateActions();
    // The toolbars' pop-up menu: File, Filters, Project, URL and View.
    QMenu* createPopupMenu() override;

signals:
    // A project file was opened (its absolute path).
    void projectOpened(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createToolBars();
    void rebuildMenus();
    void rebuildWindowMenu();
    void rebuildRecentFiles();
    void run(Command command);
    void runMapCommand(WavefrontView& map, Command command);

    ProjectDocument* addDocument();
    void removeDocument(ProjectDocument* project);
    void openWindow(ProjectDocument* project);
    std::vector<QMdiSubWindow*> windowsOf(const ProjectDocument* project) const;
    ProjectDocument* documentOf(const QMdiSubWindow* window) const;
    // Closes every window of project; false when the person kept it open.
    bool closeDocument(ProjectDocument* project, bool ask);
    // Asks to save a modified project; false for Cancel or a failed save.
    bool confirmClose(ProjectDocument* project);
    bool save(ProjectDocument* project, bool asNewFile);
    void deleteProject(ProjectDocument* project);
    void subWindowActivated();
    void showActiveStatus();
    void refreshCounts();
    void startFromBrowser();
    void startFromClipboard();
    void runEditor(const std::string& url, const std::string& localFile);
    WebNode* selectedNode() const;
    // Opens the selected node's local copy, or the node itself, in the browser.
    void viewSelectedNode();
    // Shows the URL Properties window with the active window's selected node.
    void showUrlProperties();
    // Points a shown URL Properties window at the active window's selected node.
    void refreshUrlProperties();
    void showNodeMenu(const QPoint& globalPosition);
    void customize();
    // Gives the transfers the https trust of the settings (CA file, no check); returns why the
    // CA file could not be read, if it could not.
    std::optional<std::string> applyTlsTrust();
    void openPage(const std::string& url);
    void showMessage(const QString& text, QMessageBox::Icon icon);
    // A modal box titled "Corvida" named name, with plain text, while the idle drivers are held.
    QMessageBox::StandardButton ask(const QString& name, QMessageBox::Icon icon, const QString& text,
                                    QMessageBox::StandardButtons buttons);
    QString chooseProjectFile(bool forSaving, const QString& suggestion);
    void makeBrowserClient();
    void editFilters(int slot);
    void showFilterNames();
    void showUrlSelection();
    void customizeColumns();
    void findInList(ProjectWindow& window);
    void outputList(ProjectWindow& window, ProjectDocument& project);
    void saveState();

    Profile& m_profile;
    Settings m_settings;
    GuiState m_guiState;
    FilterSet m_filters;
    NetworkTransferFactory m_transfers;
    EventSoundPlayer m_sounds;
    std::unique_ptr<BrowserClient> m_browser;
    bool m_browserPending = false;
    std::string m_currentStartUrl;
    std::vector<std::string> m_extraUrls;
    HistoryList m_findHistory; // the Find box's texts, for the run of the program

    std::vector<ProjectDocument*> m_documents;
    ProjectDocument* m_closing = nullptr; // its windows close without asking
    bool m_quitting = false;

    QMdiArea* m_mdi = nullptr;
    std::unique_ptr<StatusPanes> m_panes;
    UrlBar* m_urlBar = nullptr;
    std::array<QAction*, kAllCommands.size()> m_actions{};
    std::array<QAction*, GuiState::kMaxRecentFiles> m_recentActions{};
    QAction* m_statusLineAction = nullptr;
    std::vector<QToolBar*> m_toolBars;
    QMenu* m_windowMenu = nullptr;
    UrlSelectionDialog* m_urlSelection = nullptr;   // modeless, made when first shown
    UrlPropertiesWindow* m_urlProperties = nullptr; // the tool window, made hidden with this window
    bool m_menusWithProject = true;                 // forces the first build
    QTimer m_countsTimer;

    std::function<void(const std::string&)> m_pageOpener;
    std::function<QString(bool, const QString&)> m_chooseProjectFile;
};

} // namespace corvida
