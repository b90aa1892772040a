// SPDX-License-Identifier: MIT
#include "gui/MainWindow.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>
#include <QWhatsThis>

#include "app/CommandLine.h"
#include "app/EditorCommand.h"
#include "app/HelpLocation.h"
#include "app/InternetShortcut.h"
#include "app/NewProjectUrl.h"
#include "doc/IdleDriver.h"
#include "gui/AboutDialog.h"
#include "gui/CustomizeSheet.h"
#include "gui/OpenUrlDialog.h"
#include "gui/ProjectDocument.h"
#include "gui/UrlBar.h"
#include "model/ImagingLibrary.h"
#include "model/LocalNames.h"
#include "model/MimeTable.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "net/TlsTrust.h"
#include "platform/Profile.h"
#include "report/UrlListExport.h"
#include "viewlogic/CommandState.h"
#include "views/ColumnsDialog.h"
#include "views/DisplayText.h"
#include "views/FilterSheet.h"
#include "views/FindDialog.h"
#include "views/GlyphFactory.h"
#include "views/OutputDialog.h"
#include "views/ProjectWindow.h"
#include "views/StatusPanes.h"
#include "views/UrlListPane.h"
#include "views/UrlPropertiesWindow.h"
#include "views/UrlSelectionDialog.h"
#include "views/WavefrontView.h"

namespace corvida {

namespace {

constexpr auto kTitle = "Corvida";
constexpr auto kProjectFilter = "Corvida Files (*.zpj *.ZPJ)";
constexpr auto kProjectSuffix = ".zpj";
constexpr auto kDeleteQuestion = "Are you sure you want to delete project: ";
constexpr auto kNoPageAddress = "No page address in the browser or on the clipboard.";
constexpr int kCountsIntervalMs = 250;

// How the main window shows a command: its menu text with the mnemonic, its keys, and whether
// its action keeps a check mark.
struct CommandLook {
    Command command;
    const char* text;
    QList<QKeySequence> keys;
    bool checkable = false;
};

// The look of command; every command has one.
const CommandLook& lookOf(Command command) {
    static const std::array<CommandLook, kAllCommands.size()> kLooks = {{
        {Command::NewProject, "&New Project...", {QKeySequence(Qt::CTRL | Qt::Key_N)}, false},
        {Command::StartFromBrowser, "Start from &Browser", {}, false},
        {Command::OpenSiteMap, "&Open Site Map...", {QKeySequence(Qt::CTRL | Qt::Key_O)}, false},
        {Command::Close, "&Close", {}, false},
        {Command::Save, "&Save", {QKeySequence(Qt::CTRL | Qt::Key_S)}, false},
        {Command::SaveAs, "Save &As...", {}, false},
        {Command::DeleteProject, "&Delete Project...", {}, false},
        {Command::Exit, "E&xit", {}, false},
        {Command::Resume, "&Resume", {}, true},
        {Command::Suspend, "&Suspend", {}, true},
        {Command::MakeReport, "Make &Report", {}, false},
        {Command::MakeLocalSite, "Make &Local Site", {}, false},
        {Command::ViewReport, "View R&eport", {}, false},
        {Command::ViewLocalSite, "View Local &Site", {}, false},
        {Command::ProjectProperties, "Project &Properties", {}, false},
        {Command::UrlCopy,
         "&Copy",
         {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)},
         false},
        {Command::UrlView, "&View", {}, false},
        {Command::UrlEdit, "&Edit", {}, false},
        {Command::UrlProperties, "&Properties...", {}, true},
        {Command::Find, "&Find...", {QKeySequence(Qt::Key_F3)}, false},
        {Command::OutputFile, "&Output...", {}, false},
        {Command::EditFilters, "Edit &Filters...", {}, false},
        {Command::ShowFilters, "&Show Filters...", {}, false},
        {Command::Customize, "&Customize...", {}, false},
        {Command::CustomizeListUrl, "Customize &List URL...", {}, false},
        {Command::RunBrowser, "Run &Browser", {}, false},
        {Command::RunEditor, "Run &Editor", {}, false},
        {Command::ViewProperties,
         "&Properties",
         {QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)},
         false},
        // '+' and '-' are keys of the Wavefront map itself: the menu shows them without taking them.
        {Command::ZoomIn, "Zoom &In\t+", {}, false},
        {Command::ZoomOut, "Zoom &Out\t-", {}, false},
        {Command::InLinks, "In &Links", {QKeySequence(Qt::Key_F7)}, true},
        {Command::OutLinks, "Out Lin&ks", {}, true},
        {Command::CenterOnNode, "&Center on Node", {}, false},
        {Command::FilterAll, "Show &Everything", {}, true},
        {Command::Filter1, "Filter #&1", {}, true},
        {Command::Filter2, "Filter #&2", {}, true},
        {Command::Filter3, "Filter #&3", {}, true},
        {Command::Filter4, "Filter #&4", {}, true},
        {Command::FilterSelection, "Filter &Selection...", {}, false},
        {Command::NewWindow, "&New Window", {}, false},
        {Command::Cascade, "&Cascade", {}, false},
        {Command::Tile, "&Tile", {}, false},
        {Command::HelpTopics, "&Help Topics", {QKeySequence(Qt::Key_F1)}, false},
        {Command::ContextHelp, "&What's This?", {QKeySequence(Qt::SHIFT | Qt::Key_F1)}, false},
        {Command::HomePage, "Quillmark &Home Page", {}, false},
        {Command::About, "&About Corvida...", {}, false},
        {Command::NextPane, "Next Pane", {QKeySequence(Qt::Key_F6)}, false},
        {Command::PreviousPane, "Previous Pane", {QKeySequence(Qt::SHIFT | Qt::Key_F6)}, false},
    }};
    return *std::find_if(kLooks.begin(), kLooks.end(),
                         [command](const CommandLook& look) { return look.command == command; });
}

Command filterCommand(std::size_t slot) {
    constexpr std::array<Command, FilterSet::kSlotCount> kCommands{
        Command::FilterAll, Command::Filter1, Command::Filter2, Command::Filter3, Command::Filter4};
    return kCommands[slot];
}

std::size_t filterSlotOf(Command command) {
    switch (command) {
    case Command::Filter1:
        return 1;
    case Command::Filter2:
        return 2;
    case Command::Filter3:
        return 3;
    case Command::Filter4:
        return 4;
    default:
        return FilterSet::kAllSlot;
    }
}

// A page address a person may start a project at: one line of http, https or file.
bool isStartableAddress(const QString& text) {
    if (text.isEmpty() || text.contains(QLatin1Char('\n'))) {
        return false;
    }
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("file"));
}

} // namespace

MainWindow::MainWindow(Profile& profile, const std::string& defaultWorkingDirectory, QWidget* parent)
    : QMainWindow(parent), m_profile(profile) {
    m_settings.load(profile, defaultWorkingDirectory);
    m_guiState.load(profile);
    makeBrowserClient();
    if (!m_settings.caFile.empty() || m_settings.insecureTls) {
        // A CA file that cannot be read leaves the system's CAs; https servers it would have
        // vouched for then fail with their certificate's reason.
        static_cast<void>(applyTlsTrust());
    }

    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(GlyphFactory::applicationIcon());
    setAcceptDrops(true);

    m_mdi = new QMdiArea;
    m_mdi->setObjectName(QStringLiteral("MdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::subWindowActivated);

    m_panes = std::make_unique<StatusPanes>(*statusBar());
    m_panes->setMessage(tr("Ready"));

    m_urlProperties = new UrlPropertiesWindow(this);
    connect(m_urlProperties, &UrlPropertiesWindow::visibilityChanged, this, &MainWindow::updateActions);

    createActions();
    createToolBars();
    rebuildMenus();

    if (!m_guiState.windowGeometry().empty()) {
        const std::string& geometry = m_guiState.windowGeometry();
        restoreGeometry(QByteArray(geometry.data(), static_cast<qsizetype>(geometry.size())));
    }
    if (!m_guiState.windowState().empty()) {
        const std::string& state = m_guiState.windowState();
        restoreState(QByteArray(state.data(), static_cast<qsizetype>(state.size())));
    }
    statusBar()->setVisible(m_guiState.statusBarVisible());

    m_countsTimer.setInterval(kCountsIntervalMs);
    connect(&m_countsTimer, &QTimer::timeout, this, &MainWindow::refreshCounts);
    m_countsTimer.start();
    updateActions();
}

MainWindow::~MainWindow() {
    // The windows let go of their documents before the documents go.
    m_quitting = true;
    for (QMdiSubWindow* window : m_mdi->subWindowList()) {
        delete window;
    }
    for (ProjectDocument* project : std::exchange(m_documents, {})) {
        delete project;
    }
    if (m_browser != nullptr) {
        m_browser->exitIfLaunched();
    }
}

void MainWindow::createActions() {
    for (const Command command : kAllCommands) {
        const CommandLook& look = lookOf(command);
        const QString text = QString::fromUtf8(look.text);
        auto* action = new QAction(text, this);
        action->setObjectName(QString::fromLatin1(commandName(command)));
        const QString prompt = QString::fromLatin1(commandPrompt(command));
        const qsizetype tip = prompt.indexOf(QLatin1Char('\n'));
        action->setStatusTip(tip < 0 ? prompt : prompt.left(tip));
        action->setToolTip(tip < 0 ? QString(text).remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0)
                                   : prompt.mid(tip + 1));
        action->setShortcuts(look.keys);
        action->setCheckable(look.checkable);
        action->setIcon(GlyphFactory::icon(command));
        action->setIconVisibleInMenu(false);
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
        // Every shortcut works whichever menus are shown.
        addAction(action);
        m_actions[static_cast<std::size_t>(command)] = action;
    }
    showFilterNames();
    for (std::size_t index = 0; index < m_recentActions.size(); ++index) {
        auto* recent = new QAction(this);
        recent->setObjectName(QStringLiteral("RecentFile%1").arg(index + 1));
        connect(recent, &QAction::triggered, this, [this, index] {
            const auto& files = m_guiState.recentFiles();
            if (index < files.size()) {
                openProject(QString::fromStdString(files[index]));
            }
        });
        m_recentActions[index] = recent;
    }
    m_statusLineAction = new QAction(tr("&Status Line"), this);
    m_statusLineAction->setObjectName(QStringLiteral("StatusLine"));
    m_statusLineAction->setCheckable(true);
    m_statusLineAction->setStatusTip(tr("Show or hide the status bar"));
    connect(m_statusLineAction, &QAction::toggled, this, [this](bool visible) {
        statusBar()->setVisible(visible);
        if (m_guiState.statusBarVisible() != visible) {
            m_guiState.setStatusBarVisible(visible);
        }
    });
}

void MainWindow::createToolBars() {
    const auto makeBar = [this](const QString& title, const QString& name, std::initializer_list<Command> commands) {
        auto* bar = addToolBar(title);
        bar->setObjectName(name);
        bar->setIconSize(QSize(16, 16));
        for (const Command command : commands) {
            if (command == Command::HelpTopics || command == Command::FilterSelection ||
                command == Command::CenterOnNode || command == Command::MakeReport) {
                bar->addSeparator();
            }
            bar->addAction(action(command));
        }
        // Showing or hiding a bar is a change of what the program keeps between runs.
        connect(bar->toggleViewAction(), &QAction::toggled, this, [this] { m_settings.changed = true; });
        m_toolBars.push_back(bar);
        return bar;
    };
    makeBar(tr("&File"), QStringLiteral("FileToolBar"),
            {Command::NewProject, Command::OpenSiteMap, Command::Save, Command::HelpTopics});
    makeBar(tr("F&ilters"), QStringLiteral("FiltersToolBar"),
            {Command::FilterAll, Command::Filter1, Command::Filter2, Command::Filter3, Command::Filter4,
             Command::FilterSelection});
    makeBar(tr("View"), QStringLiteral("ViewToolBar"),
            {Command::InLinks, Command::OutLinks, Command::CenterOnNode, Command::ZoomIn, Command::ZoomOut});
    makeBar(tr("&Project"), QStringLiteral("ProjectToolBar"),
            {Command::Resume, Command::Suspend, Command::MakeReport, Command::MakeLocalSite, Command::ViewReport});
    addToolBarBreak();
    m_urlBar = new UrlBar(this);
    addToolBar(m_urlBar);
    connect(m_urlBar->toggleViewAction(), &QAction::toggled, this, [this] { m_settings.changed = true; });
    connect(m_urlBar, &UrlBar::urlEntered, this, [this](const QString& text) { newProjectFromUrl(text); });
    m_toolBars.push_back(m_urlBar);
}

void MainWindow::rebuildMenus() {
    const bool withProject = activeProjectWindow() != nullptr;
    if (withProject == m_menusWithProject) {
        return;
    }
    m_menusWithProject = withProject;
    QMenuBar* bar = menuBar();
    bar->clear();
    const auto add = [this](QMenu* menu, std::initializer_list<Command> commands) {
        for (const Command command : commands) {
            menu->addAction(action(command));
        }
    };

    QMenu* file = bar->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    add(file, {Command::NewProject, Command::StartFromBrowser, Command::OpenSiteMap});
    if (withProject) {
        add(file, {Command::Close, Command::Save, Command::SaveAs, Command::DeleteProject});
    }
    file->addSeparator();
    for (QAction* recent : m_recentActions) {
        file->addAction(recent);
    }
    file->addSeparator();
    add(file, {Command::Exit});
    rebuildRecentFiles();

    if (withProject) {
        QMenu* project = bar->addMenu(tr("&Project"));
        project->setObjectName(QStringLiteral("ProjectMenu"));
        add(project, {Command::Resume, Command::Suspend});
        project->addSeparator();
        add(project, {Command::MakeReport, Command::MakeLocalSite, Command::ViewReport, Command::ViewLocalSite});
        project->addSeparator();
        add(project, {Command::ProjectProperties});

        QMenu* url = bar->addMenu(tr("&URL"));
        url->setObjectName(QStringLiteral("UrlMenu"));
        add(url, {Command::UrlCopy, Command::UrlView, Command::UrlEdit, Command::UrlProperties});
    }

    QMenu* tools = bar->addMenu(tr("&Tools"));
    tools->setObjectName(QStringLiteral("ToolsMenu"));
    if (withProject) {
        add(tools, {Command::Find, Command::OutputFile});
    }
    add(tools, {Command::EditFilters, Command::ShowFilters});
    tools->addSeparator();
    add(tools, {Command::Customize, Command::CustomizeListUrl, Command::RunBrowser, Command::RunEditor});

    if (withProject) {
        QMenu* view = bar->addMenu(tr("&View"));
        view->setObjectName(QStringLiteral("ViewMenu"));
        add(view, {Command::ViewProperties, Command::ZoomIn, Command::ZoomOut});
        view->addSeparator();
        QMenu* toolBars = view->addMenu(tr("&Toolbars"));
        toolBars->setObjectName(QStringLiteral("ToolbarsMenu"));
        for (QToolBar* toolBar : m_toolBars) {
            QAction* toggle = toolBar->toggleViewAction();
            toggle->setText(toolBar->windowTitle());
            toolBars->addAction(toggle);
        }
        m_statusLineAction->setChecked(statusBar()->isVisible());
        view->addAction(m_statusLineAction);

        m_windowMenu = bar->addMenu(tr("&Window"));
        m_windowMenu->setObjectName(QStringLiteral("WindowMenu"));
        connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::rebuildWindowMenu);
        rebuildWindowMenu();
    } else {
        m_windowMenu = nullptr;
    }

    QMenu* help = bar->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    add(help, {Command::HelpTopics, Command::HomePage});
    help->addSeparator();
    add(help, {Command::About});
}

void MainWindow::rebuildWindowMenu() {
    if (m_windowMenu == nullptr) {
        return;
    }
    m_windowMenu->clear();
    m_windowMenu->addAction(action(Command::NewWindow));
    m_windowMenu->addAction(action(Command::Cascade));
    m_windowMenu->addAction(action(Command::Tile));
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    if (!windows.isEmpty()) {
        m_windowMenu->addSeparator();
    }
    for (qsizetype index = 0; index < windows.size(); ++index) {
        QMdiSubWindow* window = windows[index];
        QAction* entry = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(index + 1).arg(window->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(window == m_mdi->activeSubWindow());
        connect(entry, &QAction::triggered, this, [this, window] { m_mdi->setActiveSubWindow(window); });
    }
}

void MainWindow::rebuildRecentFiles() {
    const auto& files = m_guiState.recentFiles();
    for (std::size_t index = 0; index < m_recentActions.size(); ++index) {
        QAction* recent = m_recentActions[index];
        recent->setVisible(index < files.size());
        if (index < files.size()) {
            const QString path = QString::fromStdString(files[index]);
            recent->setText(QStringLiteral("&%1 %2").arg(index + 1).arg(QFileInfo(path).fileName()));
            recent->setStatusTip(path);
        }
    }
}

ProjectWindow* MainWindow::activeProjectWindow() const {
    QMdiSubWindow* window = m_mdi->activeSubWindow();
    if (window == nullptr && !m_mdi->subWindowList().isEmpty()) {
        // Focus may sit outside the MDI area (a toolbar): the current window still counts.
        window = m_mdi->currentSubWindow();
    }
    return window != nullptr ? qobject_cast<ProjectWindow*>(window->widget()) : nullptr;
}

ProjectDocument* MainWindow::activeDocument() const {
    return documentOf(m_mdi->activeSubWindow() != nullptr ? m_mdi->activeSubWindow() : m_mdi->currentSubWindow());
}

ProjectDocument* MainWindow::documentOf(const QMdiSubWindow* window) const {
    const auto* projectWindow = window != nullptr ? qobject_cast<const ProjectWindow*>(window->widget()) : nullptr;
    if (projectWindow == nullptr) {
        return nullptr;
    }
    for (ProjectDocument* project : m_documents) {
        if (&project->document() == &projectWindow->document()) {
            return project;
        }
    }
    return nullptr;
}

std::vector<QMdiSubWindow*> MainWindow::windowsOf(const ProjectDocument* project) const {
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : m_mdi->subWindowList()) {
        if (documentOf(window) == project) {
            windows.push_back(window);
        }
    }
    return windows;
}

void MainWindow::updateActions() {
    rebuildMenus();
    CommandContext context;
    ProjectWindow* window = activeProjectWindow();
    ProjectDocument* project = activeDocument();
    if (window != nullptr && project != nullptr) {
        const CTamsoDoc& document = project->document();
        context.hasProject = true;
        context.state = document.state();
        context.reportMade = document.options().reportMade;
        context.localSiteMade = document.options().localSiteMade;
        context.nodeSelected = window->master().selectedNode() != nullptr;
        context.filterSlot = static_cast<int>(window->master().filterSlot());
        if (const WavefrontView* map = window->wavefront(); map != nullptr) {
            context.wavefrontReady = true;
            context.zoom = map->zoom();
            context.inLinksShown = map->inLinksShown();
            context.outLinksShown = map->outLinksShown();
        }
    }
    context.browserKind = m_settings.browser;
    context.browserRequestPending = m_browserPending;
    context.editorSet = !m_settings.editorProgram.empty();
    context.statusBarVisible = statusBar()->isVisible();
    context.propertiesReady = true;
    context.propertiesVisible = m_urlProperties->isVisible();
    for (const Command command : kAllCommands) {
        const CommandFlags flags = CommandState::of(command, context);
        QAction* commandAction = action(command);
        commandAction->setEnabled(flags.enabled);
        if (commandAction->isCheckable()) {
            commandAction->setChecked(flags.checked);
        }
    }
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        m_panes->setMessage(
            tip.isEmpty() ? (activeDocument() != nullptr ? activeDocument()->ui().statusText() : tr("Ready")) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        auto* window = qobject_cast<QMdiSubWindow*>(watched);
        ProjectDocument* project = documentOf(window);
        // Closing the last window of a project closes the project: a modified one asks first.
        if (project != nullptr && !m_quitting && m_closing != project && windowsOf(project).size() == 1 &&
            !confirmClose(project)) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

ProjectDocument* MainWindow::addDocument() {
    auto* project = new ProjectDocument(m_settings, m_transfers, ImagingLibrary::installed(), this);
    GuiDocumentUi& ui = project->ui();
    ui.setDialogParent(this);
    ui.setPageOpener([this](const std::string& url) { openPage(url); });
    ui.setSoundPlayer([this](std::string_view name) {
        if (m_settings.useSound) {
            m_sounds.play(name);
        }
    });
    connect(&ui, &GuiDocumentUi::statusTextChanged, this, [this, project](const QString& text) {
        if (project == activeDocument()) {
            m_panes->setMessage(text);
        }
    });
    connect(&ui, &GuiDocumentUi::progressChanged, this, [this, project](int position) {
        if (project == activeDocument()) {
            m_panes->setProgress(position);
        }
    });
    connect(&ui, &GuiDocumentUi::closeRequested, this, [this, project] { closeDocument(project, false); });
    connect(project, &ProjectDocument::changed, this, [this, project] {
        for (QMdiSubWindow* window : windowsOf(project)) {
            window->setWindowTitle(project->title());
        }
        subWindowActivated();
    });
    m_documents.push_back(project);
    return project;
}

void MainWindow::removeDocument(ProjectDocument* project) {
    const auto found = std::find(m_documents.begin(), m_documents.end(), project);
    if (found == m_documents.end()) {
        return;
    }
    m_documents.erase(found);
    delete project;
    updateActions();
}

void MainWindow::openWindow(ProjectDocument* project) {
    auto* projectWindow = new ProjectWindow(project->document(), m_filters, m_settings.columns);
    QMdiSubWindow* window = m_mdi->addSubWindow(projectWindow);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(project->title());
    window->setWindowIcon(GlyphFactory::applicationIcon());
    window->installEventFilter(this);
    connect(projectWindow, &ProjectWindow::masterChanged, this, &MainWindow::updateActions);
    connect(projectWindow, &ProjectWindow::masterChanged, this, [this, projectWindow] {
        // The URL Properties window follows the active window's selection while it is shown.
        if (projectWindow == activeProjectWindow()) {
            refreshUrlProperties();
        }
    });
    connect(projectWindow, &ProjectWindow::nodeMenuRequested, this, &MainWindow::showNodeMenu);
    connect(projectWindow, &ProjectWindow::nodeActivated, this, &MainWindow::viewSelectedNode);
    connect(projectWindow->wavefront(), &WavefrontView::optionsChanged, this, &MainWindow::updateActions);
    connect(projectWindow->wavefront(), &WavefrontView::filterRequested, this, &MainWindow::showUrlSelection);
    connect(window, &QObject::destroyed, this, [this, project] {
        // The document goes with its last window, once the window is gone from the area.
        QMetaObject::invokeMethod(
            this,
            [this, project] {
                if (std::find(m_documents.begin(), m_documents.end(), project) != m_documents.end() &&
                    windowsOf(project).empty()) {
                    removeDocument(project);
                }
            },
            Qt::QueuedConnection);
    });
    connect(window, &QMdiSubWindow::windowStateChanged, this, &MainWindow::subWindowActivated);
    // A new window fills the area, stepped down from the ones before it; with one maximized
    // it is maximized too.
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    const bool maximized = std::any_of(windows.begin(), windows.end(), [window](const QMdiSubWindow* other) {
        return other != window && other->isMaximized();
    });
    if (maximized) {
        window->showMaximized();
    } else {
        constexpr int kStep = 24;
        const int offset = kStep * static_cast<int>((windows.size() - 1) % 5);
        window->setGeometry(QRect(QPoint(offset, offset), m_mdi->viewport()->size() - QSize(offset, offset)));
        window->show();
    }
    m_mdi->setActiveSubWindow(window);
    updateActions();
}

bool MainWindow::newProjectFromUrl(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return false;
    }
    const std::string url = NewProjectUrl::normalise(trimmed.toStdString());
    m_currentStartUrl = url;
    ProjectDocument* project = addDocument();
    // The extra start URLs of the Open URL dialog go with the project started from it only.
    if (!project->start(url, std::exchange(m_extraUrls, {}))) {
        removeDocument(project);
        return false;
    }
    openWindow(project);
    return true;
}

bool MainWindow::openProject(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (ProjectDocument* project : m_documents) {
        if (QString::fromStdString(project->path()) == absolute && !windowsOf(project).empty()) {
            m_mdi->setActiveSubWindow(windowsOf(project).front());
            return true;
        }
    }
    ProjectDocument* project = addDocument();
    const Status status = project->open(absolute.toStdString());
    if (!status.isOk()) {
        removeDocument(project);
        m_guiState.removeRecentFile(absolute.toStdString());
        rebuildRecentFiles();
        showMessage(tr("Cannot open %1:\n%2").arg(absolute, DisplayText::fromBytes(status.message())),
                    QMessageBox::Critical);
        return false;
    }
    m_guiState.addRecentFile(absolute.toStdString());
    rebuildRecentFiles();
    openWindow(project);
    emit projectOpened(absolute);
    return true;
}

void MainWindow::runCommandLine(const QStringList& arguments, const QString& workingDirectory, bool atStartUp) {
    std::vector<std::string> texts;
    for (const QString& argument : arguments) {
        texts.push_back(argument.toStdString());
    }
    const CommandLine commandLine = CommandLine::parse(texts);
    if (commandLine.browserGiven && !(atStartUp && m_browser != nullptr)) {
        if (m_browser != nullptr) {
            m_browser->exitIfLaunched();
        }
        m_browser = BrowserClient::create(commandLine.browser, m_settings);
    }
    const QDir base(workingDirectory);
    for (const std::string& file : commandLine.files) {
        openProject(base.absoluteFilePath(QString::fromStdString(file)));
    }
    updateActions();
}

void MainWindow::bringToFront() {
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
    // Wayland refuses focus to a window that asks for itself: the window then asks for attention.
    QApplication::alert(this);
}

void MainWindow::dropData(const QMimeData& data) {
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) {
            // A link dragged from a browser; other schemes have no site to crawl.
            if (isStartableAddress(url.toString())) {
                newProjectFromUrl(url.toString());
            } else {
                m_panes->setMessage(tr("Cannot start a project at %1").arg(url.toDisplayString()));
            }
            continue;
        }
        const QString path = url.toLocalFile();
        const std::string extension = QFileInfo(path).suffix().toStdString();
        if (MimeTable::instance().findTypeByExtension(extension) == MimeTable::kTypeHtml) {
            newProjectFromUrl(path);
        } else if (QFileInfo(path).suffix().compare(QLatin1String("zpj"), Qt::CaseInsensitive) == 0) {
            openProject(path);
        } else {
            std::string address;
            const Status status = InternetShortcut::read(path.toStdString(), address);
            if (status.isOk()) {
                newProjectFromUrl(QString::fromStdString(address));
            } else {
                m_panes->setMessage(DisplayText::fromBytes(status.message()));
            }
        }
    }
}

QMenu* MainWindow::createPopupMenu() {
    // The bars in the order of the pop-up the program always had, the newer ones in between.
    auto* menu = new QMenu(tr("&Toolbars"), this);
    menu->setObjectName(QStringLiteral("ToolbarsPopup"));
    for (const char* name : {"FileToolBar", "FiltersToolBar", "ProjectToolBar", "UrlToolBar", "ViewToolBar"}) {
        if (auto* bar = findChild<QToolBar*>(QLatin1String(name)); bar != nullptr) {
            menu->addAction(bar->toggleViewAction());
        }
    }
    return menu;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    dropData(*event->mimeData());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    for (ProjectDocument* project : m_documents) {
        if (!confirmClose(project)) {
            event->ignore();
            return;
        }
    }
    m_quitting = true;
    saveState();
    event->accept();
}

void MainWindow::saveState() {
    const QByteArray state = QMainWindow::saveState();
    const QByteArray geometry = saveGeometry();
    m_guiState.setWindowState(state.toStdString());
    m_guiState.setWindowGeometry(geometry.toStdString());
    m_guiState.setStatusBarVisible(statusBar()->isVisible());
    Status status = m_guiState.save(m_profile);
    if (status.isOk()) {
        status = m_settings.save(m_profile);
    }
    if (!status.isOk()) {
        showMessage(tr("The settings could not be saved:\n%1").arg(DisplayText::fromBytes(status.message())),
                    QMessageBox::Warning);
    }
}

bool MainWindow::confirmClose(ProjectDocument* project) {
    if (!project->document().isModified()) {
        return true;
    }
    const QMessageBox::StandardButton answer =
        ask(QStringLiteral("SaveChangesQuestion"), QMessageBox::Question,
            tr("Save changes to %1?").arg(DisplayText::fromBytes(project->document().projectName())),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
        project->document().suspend();
        return save(project, false);
    }
    return answer == QMessageBox::No;
}

bool MainWindow::closeDocument(ProjectDocument* project, bool ask) {
    if (ask && !confirmClose(project)) {
        return false;
    }
    m_closing = project;
    for (QMdiSubWindow* window : windowsOf(project)) {
        window->close();
    }
    m_closing = nullptr;
    return true;
}

bool MainWindow::save(ProjectDocument* project, bool asNewFile) {
    QString path = QString::fromStdString(project->path());
    if (asNewFile || path.isEmpty()) {
        const QString suggestion = QDir(QString::fromStdString(m_settings.workingDirectory))
                                       .filePath(DisplayText::fromBytes(project->document().projectName()) +
                                                 QString::fromLatin1(kProjectSuffix));
        path = chooseProjectFile(true, path.isEmpty() ? suggestion : path);
        if (path.isEmpty()) {
            return false;
        }
        if (QFileInfo(path).suffix().isEmpty()) {
            path += QString::fromLatin1(kProjectSuffix);
        }
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const Status status = project->save(absolute.toStdString());
    if (!status.isOk()) {
        showMessage(tr("Cannot save %1:\n%2").arg(absolute, DisplayText::fromBytes(status.message())),
                    QMessageBox::Critical);
        return false;
    }
    m_guiState.addRecentFile(absolute.toStdString());
    rebuildRecentFiles();
    return true;
}

void MainWindow::deleteProject(ProjectDocument* project) {
    if (ask(QStringLiteral("DeleteQuestion"), QMessageBox::Question,
            QString::fromLatin1(kDeleteQuestion) + DisplayText::fromBytes(project->document().projectName()),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    const std::string path = project->path();
    if (!path.empty()) {
        const Status status = project->deleteProject();
        if (!status.isOk()) {
            showMessage(DisplayText::fromBytes(status.message()), QMessageBox::Critical);
            return;
        }
        m_guiState.removeRecentFile(path);
        rebuildRecentFiles();
    }
    // Deleted, the project closes; its working files go with the document.
    closeDocument(project, false);
}

void MainWindow::subWindowActivated() {
    ProjectDocument* project = activeDocument();
    QMdiSubWindow* window = m_mdi->activeSubWindow();
    // A maximized window's title is added by the MDI area itself, as " - [title]".
    setWindowTitle(window != nullptr && !window->isMaximized()
                       ? QString::fromLatin1(kTitle) + QStringLiteral(" - ") + window->windowTitle()
                       : QString::fromLatin1(kTitle));
    if (project != nullptr) {
        m_currentStartUrl = project->document().startUrl();
    }
    showActiveStatus();
    updateActions();
    if (m_urlSelection != nullptr) {
        const ProjectWindow* active = activeProjectWindow();
        m_urlSelection->setSlot(active != nullptr ? static_cast<int>(active->master().filterSlot()) : -1);
    }
    refreshUrlProperties();
}

void MainWindow::showActiveStatus() {
    ProjectDocument* project = activeDocument();
    m_panes->setMessage(project != nullptr ? project->ui().statusText() : tr("Ready"));
    m_panes->setProgress(project != nullptr ? project->ui().progress() : 0);
    refreshCounts();
}

void MainWindow::refreshCounts() {
    ProjectDocument* project = activeDocument();
    if (project == nullptr) {
        m_panes->clearCounts();
        return;
    }
    const CTamsoDoc& document = project->document();
    const Web* web = document.web();
    m_panes->setCounts(document.pendingRecordCount(), web != nullptr ? web->processedCount() : 0,
                       web != nullptr ? web->nodeCount() : 0);
    // Pressed states follow a running crawl without a hint for every step.
    if (document.state() == CTamsoDoc::State::Running || document.state() == CTamsoDoc::State::Started) {
        updateActions();
    }
}

void MainWindow::run(Command command) {
    ProjectDocument* project = activeDocument();
    ProjectWindow* window = activeProjectWindow();
    switch (command) {
    case Command::NewProject: {
        const IdleDriver::Hold hold;
        OpenUrlDialog dialog(QString::fromStdString(m_currentStartUrl), this);
        if (dialog.exec() == QDialog::Accepted) {
            m_extraUrls = dialog.extraUrls();
            newProjectFromUrl(dialog.url());
        }
        m_extraUrls.clear();
        break;
    }
    case Command::StartFromBrowser:
        startFromBrowser();
        break;
    case Command::OpenSiteMap: {
        const QString path = chooseProjectFile(false, QString::fromStdString(m_settings.workingDirectory));
        if (!path.isEmpty()) {
            openProject(path);
        }
        break;
    }
    case Command::Close:
        if (project != nullptr) {
            closeDocument(project, true);
        }
        break;
    case Command::Save:
    case Command::SaveAs:
        if (project != nullptr) {
            save(project, command == Command::SaveAs);
        }
        break;
    case Command::DeleteProject:
        if (project != nullptr) {
            deleteProject(project);
        }
        break;
    case Command::Exit:
        close();
        break;
    case Command::Resume:
        if (project != nullptr) {
            project->document().resume();
        }
        break;
    case Command::Suspend:
        if (project != nullptr) {
            project->document().suspend();
        }
        break;
    case Command::MakeReport:
        if (project != nullptr) {
            project->document().makeReport();
        }
        break;
    case Command::MakeLocalSite:
        if (project != nullptr) {
            project->document().makeLocalSite();
        }
        break;
    case Command::ViewReport:
        if (project != nullptr) {
            project->document().viewReport();
        }
        break;
    case Command::ViewLocalSite:
        if (project != nullptr) {
            project->document().viewLocalSite();
        }
        break;
    case Command::ProjectProperties:
        if (project != nullptr) {
            static_cast<void>(project->document().projectProperties());
        }
        break;
    case Command::Customize:
        customize();
        break;
    case Command::RunBrowser:
        openPage(m_currentStartUrl);
        break;
    case Command::RunEditor:
        runEditor(m_currentStartUrl, {});
        break;
    case Command::UrlCopy:
        if (const WebNode* node = selectedNode(); node != nullptr) {
            // The whole address: a cut one would be a broken link.
            QGuiApplication::clipboard()->setText(DisplayText::fromBytes(node->address()));
        }
        break;
    case Command::UrlView:
        viewSelectedNode();
        break;
    case Command::UrlProperties:
        showUrlProperties();
        break;
    case Command::UrlEdit:
        if (const WebNode* node = selectedNode(); node != nullptr && project != nullptr) {
            const std::string workingCopy = project->document().workingDirectory() + LocalNames::workingCopy(*node);
            runEditor(std::string(node->address()), std::filesystem::is_regular_file(workingCopy) ? workingCopy : "");
        }
        break;
    case Command::FilterAll:
    case Command::Filter1:
    case Command::Filter2:
    case Command::Filter3:
    case Command::Filter4:
        if (window != nullptr) {
            window->master().setFilterSlot(filterSlotOf(command));
        }
        updateActions();
        break;
    case Command::EditFilters:
        editFilters(window != nullptr ? static_cast<int>(window->master().filterSlot()) : 1);
        break;
    case Command::ShowFilters:
    case Command::FilterSelection:
        showUrlSelection();
        break;
    case Command::CustomizeListUrl:
        customizeColumns();
        break;
    case Command::Find:
        if (window != nullptr) {
            findInList(*window);
        }
        break;
    case Command::OutputFile:
        if (window != nullptr && project != nullptr) {
            outputList(*window, *project);
        }
        break;
    case Command::NewWindow:
        if (project != nullptr) {
            openWindow(project);
        }
        break;
    case Command::Cascade:
        m_mdi->cascadeSubWindows();
        break;
    case Command::Tile:
        m_mdi->tileSubWindows();
        break;
    // The map's commands go to the window's map whichever pane has the focus.
    case Command::ZoomIn:
    case Command::ZoomOut:
    case Command::InLinks:
    case Command::OutLinks:
    case Command::CenterOnNode:
    case Command::ViewProperties:
        if (window != nullptr && window->wavefront() != nullptr) {
            runMapCommand(*window->wavefront(), command);
        }
        break;
    case Command::NextPane:
    case Command::PreviousPane:
        if (window != nullptr) {
            window->focusPane(command == Command::NextPane ? 1 : -1);
        }
        break;
    case Command::HelpTopics:
    case Command::HomePage: {
        const std::string help = HelpLocation::indexPath(QCoreApplication::applicationDirPath().toStdString());
        if (help.empty()) {
            showMessage(tr("The help pages are not installed."), QMessageBox::Warning);
        } else {
            openPage("file://" + help + (command == Command::HomePage ? "#about" : ""));
        }
        break;
    }
    case Command::ContextHelp:
        QWhatsThis::enterWhatsThisMode();
        break;
    case Command::About: {
        const IdleDriver::Hold hold;
        AboutDialog(this).exec();
        break;
    }
    default:
        // URL Properties belongs to its tool window; it stays disabled until the window exists.
        break;
    }
    // A pressed button shows the document's state, not the click.
    updateActions();
}

void MainWindow::runMapCommand(WavefrontView& map, Command command) {
    switch (command) {
    case Command::ZoomIn:
        map.zoomIn();
        break;
    case Command::ZoomOut:
        map.zoomOut();
        break;
    case Command::InLinks:
        map.setInLinksShown(!map.inLinksShown());
        break;
    case Command::OutLinks:
        map.setOutLinksShown(!map.outLinksShown());
        break;
    case Command::CenterOnNode:
        map.centerOnSelectedNode();
        break;
    case Command::ViewProperties:
        map.editProperties();
        break;
    default:
        break;
    }
}

void MainWindow::startFromBrowser() {
    if (m_browser == nullptr || !m_browser->canReadCurrentPage()) {
        startFromClipboard();
        return;
    }
    m_browserPending = true;
    updateActions();
    m_browser->currentPage([this](std::optional<BrowserPage> page) {
        m_browserPending = false;
        updateActions();
        if (page.has_value()) {
            newProjectFromUrl(QString::fromStdString(page->url));
        } else {
            startFromClipboard();
        }
    });
}

void MainWindow::startFromClipboard() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    for (const QClipboard::Mode mode : {QClipboard::Clipboard, QClipboard::Selection}) {
        const QString text = clipboard->text(mode).trimmed();
        if (isStartableAddress(text)) {
            newProjectFromUrl(text);
            return;
        }
    }
    m_panes->setMessage(QString::fromLatin1(kNoPageAddress));
}

WebNode* MainWindow::selectedNode() const {
    const ProjectWindow* window = activeProjectWindow();
    return window != nullptr ? window->master().selectedNode() : nullptr;
}

void MainWindow::showUrlProperties() {
    ProjectWindow* window = activeProjectWindow();
    if (window == nullptr || window->master().selectedNode() == nullptr) {
        return;
    }
    m_urlProperties->showNode(&window->document(), window->master().selectedNode());
    m_urlProperties->show();
    m_urlProperties->raise();
    m_urlProperties->activateWindow();
}

void MainWindow::refreshUrlProperties() {
    if (!m_urlProperties->isVisible()) {
        return;
    }
    ProjectWindow* window = activeProjectWindow();
    m_urlProperties->showNode(window != nullptr ? &window->document() : nullptr,
                              window != nullptr ? window->master().selectedNode() : nullptr);
}

void MainWindow::viewSelectedNode() {
    const WebNode* node = selectedNode();
    ProjectDocument* project = activeDocument();
    if (node == nullptr || project == nullptr) {
        return;
    }
    // The local copy once the local site is made, else the page itself.
    // The start page's copy is the local site's entry page.
    const std::string copy = project->document().workingDirectory() + (node->hasAnyFlag(kFlagStart | kFlagStartAlias)
                                                                           ? std::string(CTamsoDoc::kLocalSiteEntry)
                                                                           : LocalNames::localSiteCopy(*node));
    if (project->document().options().localSiteMade && std::filesystem::is_regular_file(copy)) {
        openPage("file://" + std::filesystem::absolute(copy).lexically_normal().string());
    } else {
        openPage(std::string(node->address()));
    }
}

void MainWindow::showNodeMenu(const QPoint& globalPosition) {
    if (selectedNode() == nullptr) {
        return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("NodeMenu"));
    menu.addAction(action(Command::UrlCopy));
    menu.addAction(action(Command::UrlView));
    menu.addSeparator();
    menu.addAction(action(Command::UrlProperties));
    const IdleDriver::Hold hold;
    menu.exec(globalPosition);
}

void MainWindow::runEditor(const std::string& url, const std::string& localFile) {
    const EditorCommand::Prepared prepared =
        EditorCommand::prepare(m_settings.editorProgram, m_settings.editorArguments, url, localFile);
    if (!prepared.message.empty()) {
        showMessage(QString::fromStdString(prepared.message), QMessageBox::Information);
    }
    const EditorCommand::Error error = EditorCommand::start(prepared);
    if (error != EditorCommand::Error::None) {
        showMessage(QString::fromLatin1(EditorCommand::errorText(error)), QMessageBox::Warning);
    }
}

void MainWindow::customize() {
    const Settings before = m_settings;
    {
        CustomizeSheet sheet(m_settings, m_profile, this);
        sheet.exec();
    }
    if (m_settings.browser != before.browser || m_settings.browserCommand != before.browserCommand ||
        m_settings.browserDebugPort != before.browserDebugPort) {
        makeBrowserClient();
    }
    if (m_settings.caFile != before.caFile || m_settings.insecureTls != before.insecureTls) {
        if (const std::optional<std::string> error = applyTlsTrust()) {
            showMessage(QString::fromStdString(*error), QMessageBox::Warning);
        }
    }
    updateActions();
}

std::optional<std::string> MainWindow::applyTlsTrust() {
    TlsTrust trust;
    trust.setVerifying(!m_settings.insecureTls);
    std::optional<std::string> error;
    if (!m_settings.caFile.empty()) {
        error = trust.addCaFile(m_settings.caFile);
    }
    m_transfers.setTlsContext(trust.context());
    return error;
}

void MainWindow::editFilters(int slot) {
    FilterSheet sheet(m_filters, std::clamp(slot, 1, 4), this);
    if (sheet.exec() != QDialog::Accepted) {
        return;
    }
    if (sheet.namesChanged()) {
        showFilterNames();
    }
    // The windows that show a changed filter show it anew.
    for (QMdiSubWindow* subWindow : m_mdi->subWindowList()) {
        auto* window = qobject_cast<ProjectWindow*>(subWindow->widget());
        const auto& changed = sheet.changedSlots();
        if (window != nullptr && std::find(changed.begin(), changed.end(),
                                           static_cast<int>(window->master().filterSlot())) != changed.end()) {
            window->master().refilter();
        }
    }
}

void MainWindow::showFilterNames() {
    for (std::size_t slot = 0; slot < FilterSet::kSlotCount; ++slot) {
        action(filterCommand(slot))->setToolTip(DisplayText::fromBytes(m_filters.at(slot).name()));
    }
    if (m_urlSelection != nullptr) {
        m_urlSelection->refreshNames(m_filters);
    }
}

void MainWindow::showUrlSelection() {
    if (m_urlSelection == nullptr) {
        m_urlSelection = new UrlSelectionDialog(m_filters, this);
        connect(m_urlSelection, &UrlSelectionDialog::slotChosen, this, [this](int slot) {
            if (ProjectWindow* window = activeProjectWindow(); window != nullptr) {
                window->master().setFilterSlot(static_cast<std::size_t>(slot));
            }
            updateActions();
        });
    }
    m_urlSelection->show();
    m_urlSelection->raise();
    updateActions();
}

void MainWindow::customizeColumns() {
    ColumnsDialog dialog(m_settings.columns, this);
    if (dialog.exec() != QDialog::Accepted || dialog.table() == m_settings.columns) {
        return;
    }
    m_settings.columns = dialog.table();
    m_settings.changed = true;
    const Status saved = m_settings.save(m_profile);
    if (!saved.isOk()) {
        showMessage(tr("The settings could not be saved:\n%1").arg(DisplayText::fromBytes(saved.message())),
                    QMessageBox::Warning);
    }
    // The columns are the program's: every window's list takes them.
    for (ProjectDocument* project : m_documents) {
        project->document().updateAllViews(
            {.hint = DocumentView::Hint::Columns, .master = nullptr, .records = {}, .nodes = {}});
    }
}

void MainWindow::findInList(ProjectWindow& window) {
    FindDialog dialog(m_findHistory, this);
    connect(&dialog, &FindDialog::findNext, this, [&](const QString& text) {
        const UrlListFind::Result result = window.urlList()->findNext(
            text, dialog.matchCase(), dialog.searchUp() ? UrlListFind::Direction::Up : UrlListFind::Direction::Down);
        if (result.found) {
            dialog.setFoundColumn(DisplayText::fromBytes(m_settings.columns[result.entry].caption));
        } else if (result.wrapped) {
            dialog.showWrapped();
        } else {
            dialog.showNotFound();
        }
    });
    dialog.exec();
}

void MainWindow::outputList(ProjectWindow& window, ProjectDocument& project) {
    OutputDialog dialog(DisplayText::fromBytes(project.document().workingDirectory()), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const std::vector<WebNode*> rows = window.urlList()->rows();
    const std::vector<const WebNode*> shown(rows.begin(), rows.end());
    const UrlListExport output(m_settings.columns, dialog.columns(), project.document().projectName());
    switch (dialog.destination()) {
    case OutputDialog::Destination::Clipboard:
        QGuiApplication::clipboard()->setText(QString::fromStdString(output.clipboardText(shown)));
        return;
    case OutputDialog::Destination::HtmlFile:
    case OutputDialog::Destination::CommaSeparatedFile: {
        const std::string bytes = dialog.destination() == OutputDialog::Destination::HtmlFile
                                      ? output.html(shown)
                                      : output.commaSeparated(shown);
        const Status written = UrlListExport::writeFile(dialog.filePath().toStdString(), bytes);
        if (!written.isOk()) {
            showMessage(DisplayText::fromBytes(written.message()), QMessageBox::Warning);
        }
        return;
    }
    }
}

void MainWindow::makeBrowserClient() {
    if (m_browser != nullptr) {
        m_browser->exitIfLaunched();
    }
    m_browser = BrowserClient::create(m_settings.browser, m_settings);
}

void MainWindow::openPage(const std::string& url) {
    if (url.empty()) {
        return;
    }
    if (m_pageOpener) {
        m_pageOpener(url);
        return;
    }
    // Without a client of its own the program still shows pages, with the desktop's browser.
    if (m_browser == nullptr || !m_browser->openUrl(url)) {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    }
}

void MainWindow::showMessage(const QString& text, QMessageBox::Icon icon) {
    ask(QStringLiteral("MainMessage"), icon, text, QMessageBox::Ok);
}

QMessageBox::StandardButton MainWindow::ask(const QString& name, QMessageBox::Icon icon, const QString& text,
                                            QMessageBox::StandardButtons buttons) {
    const IdleDriver::Hold hold;
    QMessageBox box(icon, QString::fromLatin1(kTitle), text, buttons, this);
    box.setObjectName(name);
    box.setTextFormat(Qt::PlainText);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString MainWindow::chooseProjectFile(bool forSaving, const QString& suggestion) {
    if (m_chooseProjectFile) {
        return m_chooseProjectFile(forSaving, suggestion);
    }
    const IdleDriver::Hold hold;
    if (forSaving) {
        QFileDialog dialog(this, tr("Save As"), suggestion, QString::fromLatin1(kProjectFilter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("zpj"));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    }
    return QFileDialog::getOpenFileName(this, tr("Open Site Map"), suggestion, QString::fromLatin1(kProjectFilter));
}

} // namespace corvida
