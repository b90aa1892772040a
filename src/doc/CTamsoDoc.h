// SPDX-License-Identifier: MIT
#pragma once

// CTamsoDoc is one project: its Web, its options, its working directory and its link tree.
// It is the crawl's WebListener, drives the crawl and the views' work from idle time in small
// slices (IdleScheduler), and carries out the project commands: start, suspend, resume,
// make and view the report and the local site, project properties, open, save, close and
// delete. Everything a person sees goes through a DocumentUi, so the desktop program and
// corvida-cli run the same document.
//
// States: New (never started), Started (the crawl task has not run yet), Running,
// Suspended (no new transfers start; running ones finish), Complete. The UI hears of every
// change through DocumentUi::stateChanged().
//
// Each window has a master view. The document keeps one list of the nodes it was told of
// (the view items) and hands each window the nodes its master shows as InsertRecords, a
// batch at a time: new nodes as they come, every node again in a view pass when the window
// is new or its filter changed. A window's pass leaves the other windows' work alone.
//
// The settings, the UI, the transfer factory and the imaging library must outlive the
// document. Views stay attached until removeView(). A document that was never opened from or
// saved to a file deletes its working files when it is destroyed.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Status.h"
#include "doc/DocumentTask.h"
#include "doc/DocumentView.h"
#include "doc/IdleScheduler.h"
#include "doc/InsertRecord.h"
#include "model/CrawlSettings.h"
#include "model/LinkTree.h"
#include "model/ProjectOptions.h"
#include "model/WebListener.h"
#include "platform/DiskSpace.h"

namespace corvida {

class Crawler;
class DocumentUi;
class ImagingLibrary;
class TransferFactory;
class Web;
struct Settings;

class CTamsoDoc : public WebListener {
public:
    enum class State : std::int32_t { New = 0, Started = 1, Running = 2, Suspended = 3, Complete = 4 };

    // The units of the views' idle work: nodes examined per step of a view pass, records
    // handed to the views per batch, changed nodes and new nodes examined per step. An idle
    // call runs units until kIdleBudget has passed.
    static constexpr std::size_t kViewPassBatch = 60;
    static constexpr std::size_t kFeedBatch = 20;
    static constexpr std::size_t kChangedBatch = 200;
    static constexpr std::size_t kInsertBatch = 1000;
    static constexpr std::chrono::milliseconds kIdleBudget{10};
    // The most fetch slots a crawl gets, whatever the settings say.
    static constexpr int kMaxConnections = 64;

    static constexpr const char* kNoNamePrefix = "noname";
    static constexpr const char* kSameUrlQuestion = "URL has not changed.\nDo you want to start processing again?";
    static constexpr const char* kReportEntry = "report/overview.htm";
    static constexpr const char* kLocalSiteEntry = "docs/index.htm";
    // The status texts of a view pass: a new window's, and a changed filter's.
    static constexpr std::string_view kNewViewStatus = "New View...";
    static constexpr std::string_view kFilteringStatus = "Filtering...";

    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    CTamsoDoc(const Settings& settings, DocumentUi& ui, TransferFactory& transfers, ImagingLibrary* imaging);
    CTamsoDoc(const CTamsoDoc&) = delete;
    CTamsoDoc& operator=(const CTamsoDoc&) = delete;
    // An unsaved project's working files and directory are deleted here.
    ~CTamsoDoc() override;

    // Idle time. wake is called whenever work that can run now appears; the front end then
    // calls runIdle() until it returns false.
    void setIdleWakeup(std::function<void()> wake) { m_wake = std::move(wake); }
    // Timed wake-ups: when the crawl has nothing to run until a time (a node waits to be
    // retried, or for its host's interval), arm(delay) is called; the front end then calls
    // timerExpired() once delay has passed. A later arm replaces the one before.
    void setTimerWakeup(std::function<void(std::chrono::milliseconds)> arm) { m_armTimer = std::move(arm); }
    void timerExpired();
    // One idle call: runs one task. A crawl task takes one step; view work runs its units
    // (see kViewPassBatch) until the idle budget is spent, at least one. Returns whether work
    // that can run now remains.
    bool runIdle();
    bool hasIdleWork() const { return m_scheduler.hasReadyWork(); }
    // Sets the time an idle call of view work may take (kIdleBudget at first; zero runs one
    // unit per call) and the clock that measures it (steady_clock when empty).
    void setIdleBudget(std::chrono::nanoseconds budget, Clock clock = {});

    // A new project: makes the working directory (the settings' working directory, then
    // "noname" with the smallest free number, or name when given and free) and copies the
    // project settings. Returns false when no directory could be made.
    bool newDocument(std::string_view name = {});
    // Starts a crawl of url (state New or Complete only). When url equals the current start
    // URL the person is asked first. A completed project starts over: its views are told that
    // the contents are gone before its graph and link tree are freed. Returns whether the
    // crawl was started.
    bool startProcessing(std::string_view url);
    // Links from these URLs' sites count as the start site's too (for the next start).
    void setExtraStartUrls(std::vector<std::string> urls) { m_extraStartUrls = std::move(urls); }

    // Tells the bytes free for the crawl's files in a directory, or nothing when unknown.
    using FreeSpaceProbe = std::function<std::optional<std::uint64_t>(const std::string& directory)>;
    // Replaces the file system's answer (DiskSpace::available), for tests.
    void setFreeSpaceProbe(FreeSpaceProbe probe) { m_freeSpace = std::move(probe); }
    // Whether the crawl suspended itself because the working directory's disk had less room
    // than the settings' limit; cleared when it resumes.
    bool suspendedForDiskSpace() const { return m_suspendedForDiskSpace; }

    // Whether opening a project builds its link tree. The tree holds an entry for every link
    // of the project (2.2 million on a site of 100,000 pages, over 200 MB); work that shows no
    // tree, such as a report or a local site, skips it.
    enum class LinkTreeUse { Build, Skip };
    // Opens the project file at path into this document, which must be new and never
    // started (else Busy).
    Status openDocument(const std::string& path, LinkTreeUse tree = LinkTreeUse::Build);
    // Where saveDocument() leaves the working directory.
    enum class SaveMode { MoveWorkingDirectory, KeepWorkingDirectory };
    // Moves the working directory into the settings' working directory under the file's base
    // name (unless mode keeps it), then writes the project to path. Busy while the crawl runs.
    Status saveDocument(const std::string& path, SaveMode mode = SaveMode::MoveWorkingDirectory);
    // Suspends a running crawl, tells every view that the contents are gone, and drops the
    // view items and the views' work, before the front end destroys the document. Views must
    // hold no node once the document is destroyed.
    void closeDocument();
    // Deletes the project's file at path and marks the project unsaved: the working files go
    // when the document is destroyed. When the file cannot be deleted nothing changes.
    Status deleteProject(const std::string& path);
    // The working files stay when the document is destroyed, saved or not (a front end that
    // could not save tells the person where they are).
    void keepWorkingFiles() { m_keepFiles = true; }
    // Empties the views of every master, tells every view that the contents are gone, and
    // drops the view work; the start URL is unset.
    void deleteContents();

    // Commands and whether they are available now.
    bool canResume() const;
    bool canSuspend() const;
    bool canSave() const { return m_state != State::Running; }
    bool canMakeOutputs() const { return m_state == State::Suspended || m_state == State::Complete; }
    void suspend();
    void resume();
    // Write the report or the local site, say where it is, and (report) open it in the
    // browser. Return false when some page could not be written.
    bool makeReport();
    bool makeLocalSite();
    void viewReport();
    void viewLocalSite();
    // Shows and returns the project's options, one per line.
    std::string projectProperties();

    // Views. A view must stay alive while it is attached.
    void addView(DocumentView* view);
    // Detaches view and drops the work queued for it as a master.
    void removeView(DocumentView* view);
    // Refills master's window: with kFilteringStatus its views are reset first (a new
    // window, kNewViewStatus, is empty already); then every view item is examined and those
    // master shows are handed over, in idle time. Records still queued for master and a pass
    // of master's window that has not finished are dropped; other windows keep their work.
    // statusText is shown in the status bar.
    void startViewPass(DocumentView* master, std::string_view statusText);
    // Gives update to every attached view but except (which may be null), in the order they
    // were added. A view may detach itself or others while it is told.
    void updateAllViews(const DocumentView::Update& update, const DocumentView* except = nullptr);

    // The answer to DocumentUi::askCredentials: the realm's nodes are requested again with
    // these credentials, or stay refused.
    void provideCredentials(std::string_view realm, std::string_view user, std::string_view password);
    void skipRealm(std::string_view realm);

    State state() const { return m_state; }
    Web* web() const { return m_web.get(); }
    // The crawl of the Web; null until the project starts or resumes.
    Crawler* crawler() const { return m_crawler.get(); }
    const ProjectOptions& options() const { return m_options; }
    ProjectOptions& options() { return m_options; }
    const std::string& startUrl() const { return m_options.startUrl; }
    const std::string& projectName() const { return m_projectName; }
    // The working directory with a final '/'.
    const std::string& workingDirectory() const { return m_workingDirectory; }
    bool startFailed() const { return m_startFailed; }
    bool isSaved() const { return m_saved; }
    bool isModified() const { return m_modified; }
    const LinkTree& linkTree() const { return m_linkTree; }
    std::size_t viewItemCount() const { return m_items.size(); }
    // InsertRecords queued and not yet handed to the views.
    std::size_t pendingRecordCount() const { return m_pending.size() - m_pendingHead; }
    // Whether a transfer of the crawl still runs (after Suspend, until the last one ends).
    bool transfersRunning() const;

    // WebListener.
    void showStatusText(std::string_view text) override;
    void showText(std::string_view text) override;
    void endText(std::string_view text) override;
    void progress(int percent) override;
    void nodeAdded(WebNode* node, bool isNew, WebNode* source) override;
    void nodeProcessed(WebNode* node, bool mark) override;
    void nodeTested(WebNode* node, bool mark) override;
    void slotFreed(WebNode* node, int slot) override;
    void slotText(std::string_view text, int slot) override;
    void slotProgress(int value, int slot) override;
    void transferEnded(bool success, std::string_view text, int slot) override;
    void linksChanged(WebNode* node) override;
    void nodeReclassified(WebNode* node) override;
    void nodeFailed(WebNode* node, int status, std::string_view detail) override;
    void credentialsNeeded(std::string_view url, std::string_view realm) override;

private:
    // A view pass of one window: its master and how many view items it examined.
    struct ViewPass {
        DocumentView* master = nullptr;
        std::size_t position = 0;

        // A predicate that picks the passes of master.
        static auto of(const DocumentView* master) {
            return [master](const ViewPass& pass) { return pass.master == master; };
        }
    };

    bool runCrawlTask();
    bool crawlTaskReady() const;
    bool runInsertTask();
    bool runFeedTask();
    bool runChangedTask();
    bool runViewPassTask();
    void schedule(IdleTask& task);
    std::chrono::steady_clock::time_point idleNow() const;
    // Whether an idle call that began at start may run another unit.
    bool budgetLeft(std::chrono::steady_clock::time_point start) const;
    void setState(State state);
    // Drops the records queued for master and its window's pass, running or finished.
    void dropWorkOf(const DocumentView* master);
    // The first view item that the insertion of new nodes hands to master: its window has
    // those before it, or all of them while its pass runs, from the pass.
    std::size_t firstItemToInsert(const DocumentView* master) const;
    void nodeChanged(WebNode* node);
    // Suspends the crawl with a warning when the settings ask for a disk-space check and the
    // working directory's disk has less room than their limit; returns whether it did.
    bool suspendForDiskSpace();
    void complete();
    // The settings a new crawl of url takes from the program's settings and the project.
    CrawlSettings crawlSettings(std::string_view url) const;
    // Wakes the crawl task after an answer or a free slot.
    void wakeCrawl();
    // Makes the crawl of the Web with the settings' connections and host limits.
    void makeCrawler();
    // Write the report or the local site and mark them made; IoError names what failed.
    Status writeReport();
    Status writeLocalSite();
    int connectionCount() const;
    std::string entryUrl(const char* entry) const;
    void notify(DocumentView::Hint hint, const DocumentView* master = nullptr,
                std::span<const InsertRecord> records = {}, std::span<WebNode* const> nodes = {});
    void removeWorkingFiles();

    const Settings& m_settings;
    DocumentUi& m_ui;
    TransferFactory& m_transfers;
    ImagingLibrary* m_imaging;

    State m_state = State::New;
    std::unique_ptr<Web> m_web;
    std::unique_ptr<Crawler> m_crawler; // made when the crawl starts or resumes
    ProjectOptions m_options;
    std::string m_projectName;
    std::string m_workingDirectory;
    std::vector<std::string> m_extraStartUrls;
    LinkTree m_linkTree;
    bool m_saved = false;
    bool m_modified = false;
    bool m_keepFiles = false;
    bool m_startFailed = false;
    bool m_crawlWaiting = false;
    bool m_suspendedForDiskSpace = false;
    FreeSpaceProbe m_freeSpace = DiskSpace::available;

    std::vector<DocumentView*> m_views;
    std::vector<WebNode*> m_items; // view items: every node in the order it was added
    std::size_t m_insertedCount = 0;
    std::vector<InsertRecord> m_pending;
    std::size_t m_pendingHead = 0; // records before it were handed over already
    std::vector<WebNode*> m_changed;
    std::size_t m_changedHead = 0;      // m_changed before it went to the views
    std::vector<ViewPass> m_passes;     // running, one per window at most
    std::size_t m_passTurn = 0;         // the running pass that takes the next step
    std::vector<ViewPass> m_passesDone; // finished, until the insertion has passed their end
    std::chrono::nanoseconds m_idleBudget = kIdleBudget;
    Clock m_clock;

    IdleScheduler m_scheduler;
    std::function<void()> m_wake;
    std::function<void(std::chrono::milliseconds)> m_armTimer;
    DocumentTask m_crawlTask;
    DocumentTask m_changedTask;
    DocumentTask m_insertTask;
    DocumentTask m_viewPassTask;
    DocumentTask m_feedTask;
};

} // namespace corvida
