// SPDX-License-Identifier: MIT
#include "doc/CTamsoDoc.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/Settings.h"
#include "crawl/Crawler.h"
#include "doc/DocumentUi.h"
#include "doc/ProjectStore.h"
#include "model/CUrl.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "report/LocalSiteWriter.h"
#include "report/ProjectCleanup.h"
#include "report/ReportWriter.h"

namespace corvida {

namespace fs = std::filesystem;

namespace {

// Numbers tried for "noname" directories before a new project gives up.
constexpr int kMaxNoNameNumber = 100000;
// Requests one idle call of the crawl may start. A start that reads a local page processes it
// at once, so the bound keeps an idle call short for the window.
constexpr int kStartsPerCall = 8;

const char* yesNo(bool value) {
    return value ? "Yes\n" : "No\n";
}

// path with '/' separators and exactly one final '/'.
std::string directoryText(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path + '/';
}

} // namespace

CTamsoDoc::CTamsoDoc(const Settings& settings, DocumentUi& ui, TransferFactory& transfers, ImagingLibrary* imaging)
    : m_settings(settings), m_ui(ui), m_transfers(transfers), m_imaging(imaging),
      m_crawlTask(
          IdleTask::kCrawlStep, [this] { return runCrawlTask(); }, [this] { return crawlTaskReady(); }),
      m_changedTask(IdleTask::kChangedNodes, [this] { return runChangedTask(); }),
      m_insertTask(IdleTask::kInsertNodes, [this] { return runInsertTask(); }),
      m_viewPassTask(IdleTask::kViewPass, [this] { return runViewPassTask(); }),
      m_feedTask(IdleTask::kFeedViews, [this] { return runFeedTask(); }) {}

CTamsoDoc::~CTamsoDoc() {
    m_crawler.reset(); // stops running transfers silently
    m_linkTree.clear();
    if (!m_saved && !m_keepFiles) {
        removeWorkingFiles();
    }
    m_web.reset();
}

void CTamsoDoc::removeWorkingFiles() {
    if (m_workingDirectory.empty()) {
        return;
    }
    if (m_web != nullptr) {
        ProjectCleanup::clearFiles(*m_web);
    }
    // Only an empty directory goes: files that someone else put there keep it.
    std::error_code error;
    fs::remove(m_workingDirectory, error);
}

int CTamsoDoc::connectionCount() const {
    return std::clamp(m_settings.numberOfConnections, 1, kMaxConnections);
}

void CTamsoDoc::makeCrawler() {
    m_crawler = std::make_unique<Crawler>(*m_web, &m_transfers, m_imaging, connectionCount());
    m_crawler->setHostLimits(std::clamp(m_settings.connectionsPerHost, 1, Settings::kMaxConnectionsPerHost),
                             std::chrono::milliseconds(std::clamp(m_settings.hostDelay, 0, Settings::kMaxHostDelay)));
}

bool CTamsoDoc::runIdle() {
    return m_scheduler.runOne();
}

void CTamsoDoc::setIdleBudget(std::chrono::nanoseconds budget, Clock clock) {
    m_idleBudget = budget;
    m_clock = std::move(clock);
}

std::chrono::steady_clock::time_point CTamsoDoc::idleNow() const {
    return m_clock ? m_clock() : std::chrono::steady_clock::now();
}

bool CTamsoDoc::budgetLeft(std::chrono::steady_clock::time_point start) const {
    return m_idleBudget > std::chrono::nanoseconds::zero() && idleNow() - start < m_idleBudget;
}

void CTamsoDoc::setState(State state) {
    if (state != m_state) {
        m_state = state;
        m_ui.stateChanged();
    }
}

bool CTamsoDoc::transfersRunning() const {
    return m_crawler != nullptr && m_crawler->busySlotCount() > 0;
}

void CTamsoDoc::schedule(IdleTask& task) {
    m_scheduler.add(&task);
    if (m_wake) {
        m_wake();
    }
}

bool CTamsoDoc::newDocument(std::string_view name) {
    const std::string parent = directoryText(m_settings.workingDirectory);
    std::error_code error;
    fs::create_directories(parent, error);
    if (!fs::is_directory(parent, error)) {
        m_ui.showMessage("Working Directory: " + parent + "  cannot be created.", DocumentUi::Icon::Information);
    }
    std::string chosen;
    if (!name.empty() && fs::create_directory(parent + std::string(name), error) && !error) {
        chosen = name;
    }
    for (int number = 1; chosen.empty() && number <= kMaxNoNameNumber; ++number) {
        const std::string candidate = kNoNamePrefix + std::to_string(number);
        if (fs::create_directory(parent + candidate, error) && !error) {
            chosen = candidate;
        } else if (error && error != std::errc::file_exists) {
            break; // the parent cannot take directories at all
        }
    }
    if (chosen.empty()) {
        m_ui.showMessage("Working Directory: " + parent + "  cannot be created.", DocumentUi::Icon::Error);
        return false;
    }
    m_projectName = chosen;
    m_workingDirectory = parent + chosen + '/';
    m_options = m_settings.projectOptions();
    m_saved = false;
    m_insertedCount = 0;
    m_linkTree.clear();
    return true;
}

bool CTamsoDoc::startProcessing(std::string_view start) {
    // A copy: the caller may pass the document's own start URL, which a restart replaces.
    const std::string url(start);
    if (m_state != State::New && m_state != State::Complete) {
        return false;
    }
    if (url == m_options.startUrl && !m_ui.askOkCancel(kSameUrlQuestion)) {
        return false;
    }
    if (m_web != nullptr) {
        // A completed project starts over: its views, items and tree belong to the old graph.
        deleteContents();
        m_linkTree.clear();
        m_crawler.reset();
        m_web.reset();
    }
    m_options.startUrl = url;
    m_options.reportMade = false;
    m_options.localSiteMade = false;
    m_workingDirectory = directoryText(m_workingDirectory);
    m_web = std::make_unique<Web>(crawlSettings(url), this);
    for (const std::string& extra : m_extraStartUrls) {
        m_web->addExtraStartUrl(CUrl(extra));
    }
    makeCrawler();
    m_startFailed = false;
    m_crawlWaiting = false;
    m_modified = true;
    m_crawler->start();
    // A local start page that cannot be read is recorded by the crawl without a report; it
    // fails the project like an unreachable server does, rather than completing an empty site.
    if (WebNode* start = m_web->startNode();
        start != nullptr && start->hasAnyFlag(kFlagFile) && start->isBroken() && !m_startFailed) {
        nodeFailed(start, start->httpStatus(), start->statusDetail());
    }
    setState(State::Started);
    schedule(m_crawlTask);
    return true;
}

CrawlSettings CTamsoDoc::crawlSettings(std::string_view url) const {
    CrawlSettings settings;
    settings.setWorkingDirectory(m_workingDirectory);
    settings.startUrl = url;
    settings.userAgent = m_settings.userAgent;
    settings.proxy = m_settings.useProxy ? m_settings.proxyServer : std::string();
    settings.emailAddress = m_settings.emailAddress;
    settings.bufferSize = std::clamp(m_settings.networkBufferSize, 1, kMaxBufferSize);
    settings.robotsExclusion = m_settings.useRobotExclusion;
    settings.applyProjectOptions(m_options);
    return settings;
}

bool CTamsoDoc::crawlTaskReady() const {
    return m_state == State::Started || (m_state == State::Running && !m_crawlWaiting);
}

bool CTamsoDoc::runCrawlTask() {
    if (m_state == State::Started) {
        setState(State::Running);
        return true;
    }
    if (m_state != State::Running) {
        return true;
    }
    if (m_startFailed) {
        m_crawlWaiting = true; // nothing more runs; the front end closes the document
        m_ui.closeDocument();
        return true;
    }
    // A call starts requests while slots are free, up to kStartsPerCall: the turns of the
    // event loop between requests cost more than the starts themselves.
    Crawler::Step result = Crawler::Step::Started;
    for (int started = 0; started < kStartsPerCall && result == Crawler::Step::Started; ++started) {
        if (m_state != State::Running || suspendForDiskSpace()) {
            return true;
        }
        result = m_crawler->step();
    }
    if (result == Crawler::Step::Complete) {
        complete();
    } else if (result != Crawler::Step::Started) {
        // Every slot is busy, or only running transfers are left: sleep until a slot is free,
        // or until a waiting node's time has come.
        m_crawlWaiting = true;
        if (const std::optional<std::chrono::milliseconds> due = m_crawler->timeUntilDue();
            due && result == Crawler::Step::Waiting && m_armTimer) {
            m_armTimer(*due);
        }
    }
    return true;
}

bool CTamsoDoc::suspendForDiskSpace() {
    if (!m_settings.checkLowDiskSpace || !m_freeSpace) {
        return false;
    }
    constexpr std::uint64_t kMegabyte = 1024 * 1024;
    const std::uint64_t limit = static_cast<std::uint64_t>(std::max(m_settings.diskSpaceLimit, 0)) * kMegabyte;
    const std::optional<std::uint64_t> free = m_freeSpace(m_web->workingDirectory());
    if (!free || *free >= limit) {
        return false;
    }
    // Before the next fetch writes to a disk that is nearly full: the crawl stops taking new
    // nodes, the running transfers end, and the project can be saved and resumed later.
    suspend();
    m_suspendedForDiskSpace = true;
    m_ui.showMessage("Low disk space: " + std::to_string(*free / kMegabyte) + " MB free for " +
                         m_web->workingDirectory() + ", below the limit of " +
                         std::to_string(m_settings.diskSpaceLimit) +
                         " MB. The crawl is suspended; make room on the disk, then resume it.",
                     DocumentUi::Icon::Warning);
    return true;
}

void CTamsoDoc::complete() {
    setState(State::Complete);
    std::string message = "Completed site: " + m_options.startUrl + "  \n";
    std::string failures;
    if (m_options.autoReport) {
        failures = writeReport().message();
        message += "Report stored in: " + m_web->workingDirectory() + kReportEntry + " \n";
    }
    if (m_options.autoLocalSite) {
        const std::string localFailures = writeLocalSite().message();
        failures += (failures.empty() || localFailures.empty() ? "" : "\n") + localFailures;
        message += std::string("Web image starts at: ") + m_web->workingDirectory() + kLocalSiteEntry;
    }
    m_ui.showMessage(message, DocumentUi::Icon::Information);
    if (!failures.empty()) {
        m_ui.showMessage(failures, DocumentUi::Icon::Warning);
    }
}

bool CTamsoDoc::canResume() const {
    return m_state == State::Started || m_state == State::Running || m_state == State::Suspended;
}

bool CTamsoDoc::canSuspend() const {
    return canResume();
}

void CTamsoDoc::suspend() {
    if (m_state != State::Running) {
        return;
    }
    setState(State::Suspended);
    notify(DocumentView::Hint::Redraw);
}

void CTamsoDoc::resume() {
    if (m_state != State::Suspended) {
        return;
    }
    m_suspendedForDiskSpace = false;
    if (m_crawler == nullptr) {
        // The working directory and fetch slots are made only now, so that an opened project
        // that is only looked at or reported on leaves its disk as it was.
        makeCrawler();
    }
    m_crawlWaiting = false;
    setState(State::Running);
    schedule(m_crawlTask);
}

Status CTamsoDoc::writeReport() {
    m_ui.beginWait();
    Status written = ReportWriter::write(*m_web);
    m_ui.endWait();
    m_options.reportMade = true;
    m_modified = true;
    m_ui.stateChanged();
    return written;
}

Status CTamsoDoc::writeLocalSite() {
    m_ui.beginWait();
    const LocalSiteWriter::Result result = LocalSiteWriter::write(*m_web);
    m_ui.endWait();
    m_options.localSiteMade = true;
    m_modified = true;
    m_ui.stateChanged();
    return result.ok() ? Status::ok() : Status::ioError(LocalSiteWriter::endText(result));
}

bool CTamsoDoc::makeReport() {
    if (m_web == nullptr) {
        return false;
    }
    const Status written = writeReport();
    m_ui.showMessage("Report stored in: " + m_web->workingDirectory() + kReportEntry, DocumentUi::Icon::Information);
    if (!written.isOk()) {
        m_ui.showMessage(written.message(), DocumentUi::Icon::Warning);
    }
    m_ui.openInBrowser(entryUrl(kReportEntry));
    return written.isOk();
}

bool CTamsoDoc::makeLocalSite() {
    if (m_web == nullptr || m_web->startNode() == nullptr) {
        return false;
    }
    const Status written = writeLocalSite();
    m_ui.showMessage(std::string("Web image starts at: ") + m_web->workingDirectory() + kLocalSiteEntry,
                     DocumentUi::Icon::Information);
    if (!written.isOk()) {
        m_ui.showMessage(written.message(), DocumentUi::Icon::Warning);
    }
    return written.isOk();
}

void CTamsoDoc::viewReport() {
    m_ui.openInBrowser(entryUrl(kReportEntry));
}

void CTamsoDoc::viewLocalSite() {
    m_ui.openInBrowser(entryUrl(kLocalSiteEntry));
}

std::string CTamsoDoc::entryUrl(const char* entry) const {
    const std::string& directory = m_web != nullptr ? m_web->workingDirectory() : m_workingDirectory;
    return "file://" + directory + entry;
}

std::string CTamsoDoc::projectProperties() {
    std::string text = std::string("Auto-Generate site image: ") + yesNo(m_options.autoLocalSite) +
                       "Auto-Generate report: " + yesNo(m_options.autoReport) +
                       "Check external references: " + yesNo(m_options.checkExternal) +
                       "Get Picture Data: " + yesNo(m_options.getPictures) +
                       "Get Audio Data: " + yesNo(m_options.getAudio) +
                       "Check Video Data: " + yesNo(m_options.getVideo) + "Maximum level: " +
                       (m_options.maximumLevel == 0 ? std::string("No\n") : std::to_string(m_options.maximumLevel));
    m_ui.showMessage(text, DocumentUi::Icon::Information);
    return text;
}

Status CTamsoDoc::openDocument(const std::string& path, LinkTreeUse tree) {
    if (m_state != State::New || m_web != nullptr) {
        return Status::busy("a project is open already");
    }
    ProjectFile::Loaded loaded = ProjectStore::load(path, this);
    if (loaded.web == nullptr) {
        m_items.clear();
        return loaded.status;
    }
    m_web = std::move(loaded.web);
    m_options = loaded.options;
    m_web->settings().applyProjectOptions(m_options);
    if (tree == LinkTreeUse::Build) {
        m_linkTree.rebuild(m_web->startNode());
    }
    m_projectName = fs::path(path).stem().string();
    m_workingDirectory = m_web->workingDirectory();
    m_saved = true;
    m_modified = false;
    m_insertedCount = 0;
    setState(State::Suspended);
    schedule(m_crawlTask);
    return Status::ok();
}

Status CTamsoDoc::saveDocument(const std::string& path, SaveMode mode) {
    if (!canSave()) {
        return Status::busy("the crawl is running: suspend it before saving");
    }
    const std::string name = fs::path(path).stem().string();
    const std::string target = directoryText(m_settings.workingDirectory) + name + '/';
    std::error_code error;
    if (mode == SaveMode::MoveWorkingDirectory && !m_workingDirectory.empty() &&
        !fs::equivalent(m_workingDirectory, target, error)) {
        // A directory of that name belongs to something else: the project stays where it is
        // rather than mixing its files into another one.
        if (!fs::exists(target, error)) {
            fs::rename(m_workingDirectory, target, error);
            if (!error) {
                m_workingDirectory = target;
            }
        }
        if (m_workingDirectory != target) {
            m_ui.setStatusText("Working directory kept in " + m_workingDirectory);
        }
    }
    m_projectName = name;
    if (m_web != nullptr) {
        m_web->settings().setWorkingDirectory(m_workingDirectory);
    }
    if (Status saved = ProjectStore::save(path, m_options, m_web.get()); !saved.isOk()) {
        return saved;
    }
    m_saved = true;
    m_modified = false;
    return Status::ok();
}

void CTamsoDoc::closeDocument() {
    suspend();
    // The views let go of every node before anything can free one.
    notify(DocumentView::Hint::ContentsGone);
    m_items.clear();
    m_insertedCount = 0;
    m_pending.clear();
    m_pendingHead = 0;
    m_changed.clear();
    m_changedHead = 0;
    m_passes.clear();
    m_passesDone.clear();
    for (IdleTask* task : {&m_insertTask, &m_feedTask, &m_changedTask, &m_viewPassTask}) {
        m_scheduler.remove(task);
    }
}

Status CTamsoDoc::deleteProject(const std::string& path) {
    std::error_code error;
    if (!fs::remove(path, error) && error) {
        // The file stays, so the project stays saved and its working files with it.
        return Status::ioError("cannot delete " + path + ": " + error.message());
    }
    m_saved = false;
    return Status::ok();
}

void CTamsoDoc::deleteContents() {
    for (DocumentView* view : m_views) {
        if (view->isMaster()) {
            notify(DocumentView::Hint::Reset, view);
        }
    }
    closeDocument();
    m_options.startUrl = kNoStartUrl;
}

void CTamsoDoc::addView(DocumentView* view) {
    m_views.push_back(view);
}

void CTamsoDoc::removeView(DocumentView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    dropWorkOf(view);
}

void CTamsoDoc::dropWorkOf(const DocumentView* master) {
    m_pending.erase(std::remove_if(m_pending.begin() + static_cast<std::ptrdiff_t>(m_pendingHead), m_pending.end(),
                                   [master](const InsertRecord& record) { return record.master == master; }),
                    m_pending.end());
    const auto ofMaster = ViewPass::of(master);
    const auto running = std::find_if(m_passes.begin(), m_passes.end(), ofMaster);
    if (running != m_passes.end()) {
        if (static_cast<std::size_t>(running - m_passes.begin()) < m_passTurn) {
            --m_passTurn; // the same pass keeps its turn
        }
        m_passes.erase(running);
    }
    m_passesDone.erase(std::remove_if(m_passesDone.begin(), m_passesDone.end(), ofMaster), m_passesDone.end());
}

std::size_t CTamsoDoc::firstItemToInsert(const DocumentView* master) const {
    const auto ofMaster = ViewPass::of(master);
    if (std::any_of(m_passes.begin(), m_passes.end(), ofMaster)) {
        return m_items.size(); // the pass goes on to the last item
    }
    const auto done = std::find_if(m_passesDone.begin(), m_passesDone.end(), ofMaster);
    return done != m_passesDone.end() ? done->position : 0;
}

void CTamsoDoc::startViewPass(DocumentView* master, std::string_view statusText) {
    dropWorkOf(master);
    if (statusText != kNewViewStatus) {
        notify(DocumentView::Hint::Reset, master);
    }
    m_ui.setStatusText(statusText);
    m_passes.push_back({master, 0});
    schedule(m_viewPassTask);
}

bool CTamsoDoc::runViewPassTask() {
    const auto start = idleNow();
    const DocumentView* shown = nullptr; // the master of the pass whose progress is shown
    do {
        if (m_passes.empty()) {
            break;
        }
        // The windows' passes take steps in turn.
        m_passTurn %= m_passes.size();
        ViewPass& pass = m_passes[m_passTurn];
        const std::size_t end = std::min(m_items.size(), pass.position + kViewPassBatch);
        for (; pass.position < end; ++pass.position) {
            WebNode* node = m_items[pass.position];
            if (pass.master->shows(*node)) {
                m_pending.push_back({node, pass.master, false});
            }
        }
        shown = pass.master;
        if (pass.position < m_items.size()) {
            ++m_passTurn;
            continue;
        }
        // Finished: its records go out, and nodes it covered that wait for the insertion of
        // new nodes are not inserted into its window again.
        if (pass.position > m_insertedCount) {
            m_passesDone.push_back(pass);
        }
        m_passes.erase(m_passes.begin() + static_cast<std::ptrdiff_t>(m_passTurn));
        shown = nullptr;
        schedule(m_feedTask);
    } while (budgetLeft(start));

    if (m_passes.empty()) {
        m_ui.setStatusText("");
        m_ui.setProgress(0);
        if (m_insertedCount < m_items.size()) {
            schedule(m_insertTask);
        }
        return false;
    }
    const auto it = std::find_if(m_passes.begin(), m_passes.end(), ViewPass::of(shown));
    const ViewPass& pass = it != m_passes.end() ? *it : m_passes.front();
    m_ui.setStatusText("Filtering: " + std::to_string(pass.position) + " of " + std::to_string(m_items.size()));
    m_ui.setProgress(static_cast<int>(pass.position * 100 / m_items.size()));
    return true;
}

bool CTamsoDoc::runInsertTask() {
    // New nodes go to the masters in slices: a crawl or a load can add a million at once.
    const auto start = idleNow();
    struct Target {
        DocumentView* master;
        std::size_t from;
    };
    std::vector<Target> targets;
    for (DocumentView* view : m_views) {
        if (view->isMaster()) {
            targets.push_back({view, firstItemToInsert(view)});
        }
    }
    do {
        const std::size_t first = m_insertedCount;
        const std::size_t end = std::min(m_items.size(), first + kInsertBatch);
        for (std::size_t i = first; i < end; ++i) {
            for (const Target& target : targets) {
                if (i >= target.from && target.master->shows(*m_items[i])) {
                    m_pending.push_back({m_items[i], target.master, false});
                }
            }
        }
        m_insertedCount = end;
        notify(DocumentView::Hint::NewNodes, nullptr, {},
               std::span<WebNode* const>(m_items).subspan(first, end - first));
    } while (m_insertedCount < m_items.size() && budgetLeft(start));
    // A finished pass whose nodes are all inserted now needs no more care.
    std::erase_if(m_passesDone, [this](const ViewPass& pass) { return pass.position <= m_insertedCount; });
    // The feed task usually ran (and ended) before this one, which is of a lower kind: the
    // records just queued need it again, or the last nodes of a crawl would never be shown.
    if (m_pending.size() > m_pendingHead) {
        schedule(m_feedTask);
    }
    return m_insertedCount < m_items.size();
}

bool CTamsoDoc::runFeedTask() {
    const auto start = idleNow();
    while (m_pendingHead < m_pending.size()) {
        const std::size_t count = std::min(kFeedBatch, m_pending.size() - m_pendingHead);
        const std::span<const InsertRecord> batch(m_pending.data() + m_pendingHead, count);
        m_pendingHead += count;
        notify(DocumentView::Hint::Insert, nullptr, batch);
        if (!budgetLeft(start)) {
            return true;
        }
    }
    m_pending.clear();
    m_pendingHead = 0;
    notify(DocumentView::Hint::InsertDone);
    return false;
}

bool CTamsoDoc::runChangedTask() {
    // A project that is opened reports every node as changed: slices keep the window answering.
    const auto start = idleNow();
    bool added = false;
    do {
        const std::size_t end = std::min(m_changed.size(), m_changedHead + kChangedBatch);
        for (std::size_t i = m_changedHead; i < end; ++i) {
            for (DocumentView* view : m_views) {
                if (view->isMaster() && view->shows(*m_changed[i])) {
                    m_pending.push_back({m_changed[i], view, true});
                    added = true;
                }
            }
        }
        const std::size_t first = std::exchange(m_changedHead, end);
        notify(DocumentView::Hint::NodesChanged, nullptr, {},
               std::span<WebNode* const>(m_changed).subspan(first, end - first));
    } while (m_changedHead < m_changed.size() && budgetLeft(start));
    if (added) {
        schedule(m_feedTask);
    }
    if (m_changedHead < m_changed.size()) {
        return true;
    }
    m_changed.clear();
    m_changedHead = 0;
    return false;
}

void CTamsoDoc::notify(DocumentView::Hint hint, const DocumentView* master, std::span<const InsertRecord> records,
                       std::span<WebNode* const> nodes) {
    DocumentView::Update update;
    update.hint = hint;
    update.master = master;
    update.records = records;
    update.nodes = nodes;
    updateAllViews(update);
}

void CTamsoDoc::updateAllViews(const DocumentView::Update& update, const DocumentView* except) {
    // A view may detach itself or others while it is told: walk a copy, and skip the views
    // that left meanwhile.
    const std::vector<DocumentView*> views = m_views;
    for (DocumentView* view : views) {
        if (view != except && std::find(m_views.begin(), m_views.end(), view) != m_views.end()) {
            view->update(update);
        }
    }
}

void CTamsoDoc::nodeChanged(WebNode* node) {
    m_changed.push_back(node);
    schedule(m_changedTask);
}

void CTamsoDoc::showStatusText(std::string_view text) {
    m_ui.setStatusText(text);
}

void CTamsoDoc::showText(std::string_view text) {
    m_ui.setStatusText(text);
}

void CTamsoDoc::endText(std::string_view text) {
    m_ui.setProgress(0);
    m_ui.setStatusText(text);
}

void CTamsoDoc::progress(int percent) {
    m_ui.setProgress(percent);
}

void CTamsoDoc::nodeAdded(WebNode* node, bool isNew, WebNode* source) {
    if (isNew) {
        if (source == nullptr && m_linkTree.root() == nullptr) {
            m_linkTree.setRoot(node);
        } else {
            m_linkTree.add(node, source);
        }
        if (m_settings.useSound) {
            m_ui.playSound("SystemExclamation");
        }
    }
    m_items.push_back(node);
    m_modified = true;
    schedule(m_insertTask);
    schedule(m_feedTask);
}

void CTamsoDoc::nodeProcessed(WebNode* node, bool mark) {
    nodeChanged(node);
    if (mark && m_settings.useSound) {
        m_ui.playSound("SystemAsterisk");
    }
}

void CTamsoDoc::nodeTested(WebNode* node, bool mark) {
    nodeProcessed(node, mark);
}

void CTamsoDoc::slotFreed(WebNode* /*node*/, int /*slot*/) {
    wakeCrawl();
}

void CTamsoDoc::timerExpired() {
    wakeCrawl();
}

void CTamsoDoc::wakeCrawl() {
    m_crawlWaiting = false;
    if (m_scheduler.contains(&m_crawlTask) && crawlTaskReady() && m_wake) {
        m_wake();
    }
    if (m_state == State::Suspended && !transfersRunning()) {
        m_ui.stateChanged(); // the suspended crawl has come to rest
    }
}

void CTamsoDoc::slotText(std::string_view text, int /*slot*/) {
    m_ui.setStatusText(text);
}

void CTamsoDoc::slotProgress(int value, int /*slot*/) {
    m_ui.setProgress(value);
}

void CTamsoDoc::transferEnded(bool /*success*/, std::string_view text, int /*slot*/) {
    m_ui.setProgress(0);
    m_ui.setStatusText(text);
}

void CTamsoDoc::linksChanged(WebNode* node) {
    nodeChanged(node);
}

void CTamsoDoc::nodeReclassified(WebNode* node) {
    nodeChanged(node);
}

void CTamsoDoc::nodeFailed(WebNode* node, int status, std::string_view detail) {
    // One failed request can be reported more than once (its answer, then its end): the
    // person hears of the start page's failure once.
    if (m_web == nullptr || node != m_web->startNode() || m_startFailed) {
        return;
    }
    const std::string_view url = node->address();
    m_ui.showMessage("URL " + std::string(url) + " \nError: " + std::string(detail) + " #" + std::to_string(status),
                     DocumentUi::Icon::Error);
    m_startFailed = true;
}

void CTamsoDoc::credentialsNeeded(std::string_view url, std::string_view realm) {
    if (!m_settings.askForPassword) {
        skipRealm(realm);
        return;
    }
    m_ui.askCredentials(url, realm);
}

void CTamsoDoc::provideCredentials(std::string_view realm, std::string_view user, std::string_view password) {
    if (m_crawler != nullptr) {
        m_crawler->provideCredentials(realm, user, password);
        wakeCrawl();
    }
}

void CTamsoDoc::skipRealm(std::string_view realm) {
    if (m_crawler != nullptr) {
        m_crawler->skipRealm(realm);
        wakeCrawl();
    }
}

} // namespace corvida
