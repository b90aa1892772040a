// SPDX-License-Identifier: MIT
// The project document: crawls driven from idle time, view work in batches and slices, and a
// project's working directory and file. A UI records what the document shows and answers its
// questions with preset answers; views record the updates they are given. First, the idle
// scheduler on its own: which task each idle call runs.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "doc/CTamsoDoc.h"
#include "doc/DocumentUi.h"
#include "doc/DocumentView.h"
#include "doc/IdleDriver.h"
#include "doc/IdleScheduler.h"
#include "doc/IdleTask.h"
#include "model/Web.h"
#include "net/NetworkTransferFactory.h"
#include "platform/DiskFile.h"
#include "support/FakeTransfers.h"
#include "support/QuietUi.h"
#include "support/ScriptedServer.h"

namespace corvida {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using State = CTamsoDoc::State;
using Icon = DocumentUi::Icon;
using Hint = DocumentView::Hint;

// A task that writes its name into a shared log and stays for a given number of runs.
struct LoggingTask : IdleTask {
    LoggingTask(char name, int kind, int runs, std::string& log) : IdleTask(kind), name(name), runs(runs), log(log) {}
    bool run() override {
        log += name;
        if (onRun) {
            onRun();
        }
        return --runs > 0;
    }
    bool ready() const override { return isReady; }

    char name;
    int runs;
    std::string& log;
    bool isReady = true;
    std::function<void()> onRun;
};

TEST(IdleSchedulerTest, HighestKindTakesTurnsAndLowerKindsWait) {
    std::string log;
    LoggingTask a('A', 1, 2, log), b('B', 3, 2, log), c('C', 3, 3, log);
    LoggingTask d('D', 1, 1, log), e('E', 0, 2, log), feed('F', 4, 1, log);
    IdleScheduler scheduler;
    // C joins after B, its own kind, and ahead of the lower kinds added before it.
    for (LoggingTask* task : {&a, &b, &e, &d, &c, &b}) {
        scheduler.add(task);
    }
    // A higher kind that appears during a lower kind's run goes next.
    e.onRun = [&] { scheduler.add(&feed); };

    for (int guard = 0; guard < 100 && scheduler.runOne(); ++guard) {
    }
    EXPECT_EQ(log, "BCBCCADAEFEF");
    EXPECT_TRUE(scheduler.empty());
}

TEST(IdleSchedulerTest, WaitingTaskIsPassedOverAndReportsNoWork) {
    std::string log;
    LoggingTask waiting('w', IdleTask::kCrawlStep, 5, log), other('o', IdleTask::kCrawlStep, 1, log);
    waiting.isReady = false;
    IdleScheduler scheduler;
    scheduler.add(&waiting);
    scheduler.add(&other);
    EXPECT_FALSE(scheduler.runOne()); // other ran and left; only a waiting task remains
    EXPECT_FALSE(scheduler.hasReadyWork());
    waiting.isReady = true;
    EXPECT_TRUE(scheduler.runOne());
    EXPECT_EQ(log, "ow");
}

class RecordingUi : public QuietUi {
public:
    void setStatusText(std::string_view text) override { statusTexts.emplace_back(text); }
    void setProgress(int position) override { progress.push_back(position); }
    void showMessage(std::string_view text, Icon icon) override { messages.emplace_back(text, icon); }
    bool askOkCancel(std::string_view question) override {
        questions.emplace_back(question);
        return answerOk;
    }
    void askCredentials(std::string_view url, std::string_view realm) override {
        credentialRequests.emplace_back(std::string(url) + " " + std::string(realm));
    }
    void playSound(std::string_view name) override { sounds.emplace_back(name); }
    void closeDocument() override { ++closeRequests; }
    void stateChanged() override {
        if (onStateChanged) {
            onStateChanged();
        }
    }

    bool answerOk = true;
    std::vector<std::string> statusTexts, questions, sounds, credentialRequests;
    std::vector<int> progress;
    std::vector<std::pair<std::string, Icon>> messages;
    int closeRequests = 0;
    std::function<void()> onStateChanged;
};

// A view that records its updates; as a master it shows the nodes shows accepts and keeps
// its window: the nodes inserted for it, with how often each was.
class RecordingView : public DocumentView {
public:
    explicit RecordingView(std::function<bool(const WebNode&)> shows = nullptr) : m_shows(std::move(shows)) {}

    bool isMaster() const override { return m_shows != nullptr; }
    bool shows(const WebNode& node) const override { return m_shows && m_shows(node); }
    void update(const Update& update) override {
        hints.push_back(update.hint);
        nodes.insert(nodes.end(), update.nodes.begin(), update.nodes.end());
        if (update.hint == Hint::Insert) {
            records.insert(records.end(), update.records.begin(), update.records.end());
            batches.push_back(update.records.size());
            for (const InsertRecord& record : update.records) {
                if (record.master == this && !record.redrawOnly) {
                    ++window[record.node];
                }
            }
        }
        if ((update.hint == Hint::Reset && update.master == this) || update.hint == Hint::ContentsGone) {
            window.clear();
        }
        if (onUpdate) {
            onUpdate(update);
        }
    }
    void clear() { *this = RecordingView(m_shows); }

    std::vector<Hint> hints;
    std::vector<WebNode*> nodes;       // of every update that names nodes
    std::vector<InsertRecord> records; // of every insert update
    std::vector<std::size_t> batches;  // the number of records of each insert update
    std::map<const WebNode*, int> window;
    std::function<void(const Update&)> onUpdate;

private:
    std::function<bool(const WebNode&)> m_shows;
};

bool showsAll(const WebNode& /*node*/) {
    return true;
}

// Whether view's window holds each of nodes exactly once, and nothing else.
::testing::AssertionResult holdsEachOnce(const RecordingView& view, const std::vector<WebNode*>& nodes) {
    std::size_t missing = 0;
    std::size_t twice = 0;
    for (const WebNode* node : nodes) {
        const auto it = view.window.find(node);
        missing += it == view.window.end() ? 1 : 0;
        twice += it != view.window.end() && it->second > 1 ? 1 : 0;
    }
    if (missing == 0 && twice == 0 && view.window.size() == nodes.size()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << missing << " of " << nodes.size() << " nodes missing, " << twice
                                         << " inserted more than once, " << view.window.size() << " held";
}

// Writes a site into directory: index.htm links to page1.htm ... pageN.htm, and page1.htm
// links on to deep.htm. Returns the file:// URL of index.htm.
std::string writeSite(const std::string& directory, int pages) {
    fs::create_directories(directory);
    std::ofstream index(directory + "/index.htm");
    index << "<HTML><HEAD><TITLE>Index</TITLE></HEAD><BODY>\n";
    for (int i = 1; i <= pages; ++i) {
        const std::string name = "page" + std::to_string(i) + ".htm";
        index << "<A HREF=\"" + name + "\">" + name + "</A>\n";
        std::ofstream(directory + "/" + name) << (i == 1 ? "<A HREF=\"deep.htm\">deep</A>" : "A page.");
    }
    std::ofstream(directory + "/deep.htm") << "The bottom.";
    return "file://" + directory + "/index.htm";
}

class DocFixture : public ::testing::Test {
protected:
    DocFixture() {
        settings.workingDirectory = root + "/work";
        settings.downloadHtml = settings.downloadPictures = settings.downloadAudio = settings.downloadVideo = true;
    }

    // A new project over the settings' working directory.
    std::unique_ptr<CTamsoDoc> newDocument() {
        auto document = std::make_unique<CTamsoDoc>(settings, ui, transfers, nullptr);
        EXPECT_TRUE(document->newDocument());
        return document;
    }

    // Runs idle calls (and the event loop when no idle work is ready) until done() or 20 s
    // have passed. Returns done().
    static bool runUntil(CTamsoDoc& document, const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 20000) {
            if (!document.runIdle()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            }
        }
        return done();
    }

    static bool runToCompletion(CTamsoDoc& document) {
        return runUntil(document, [&] { return document.state() == State::Complete; });
    }

    // Runs idle calls while there is idle work, as after a crawl's last step.
    static void drain(CTamsoDoc& document) {
        for (int guard = 0; guard < 1000 && document.runIdle(); ++guard) {
        }
    }

    QTemporaryDir folder;
    std::string root = folder.path().toStdString();
    Settings settings;
    RecordingUi ui;
    NetworkTransferFactory transfers{std::chrono::milliseconds(5000)};
};

using DocumentCrawlTest = DocFixture;
using DocumentProjectTest = DocFixture;

TEST_F(DocumentCrawlTest, WholeCrawlShowsEveryNodeWritesOutputsAsksBeforeARestartAndLeavesNothingUnsaved) {
    settings.autoReport = settings.autoSiteImage = settings.useSound = true;
    const std::string url = writeSite(root + "/site", 5);
    RecordingView master([](const WebNode& node) { return node.url().url().find("page") != std::string::npos; });
    std::unique_ptr<CTamsoDoc> document = newDocument();
    document->addView(&master);

    ASSERT_TRUE(document->startProcessing(url));
    EXPECT_EQ(document->state(), State::Started);
    EXPECT_FALSE(document->startProcessing(url)); // not while it runs
    ASSERT_TRUE(runUntil(*document, [&] { return document->state() == State::Running; }));
    ASSERT_TRUE(runToCompletion(*document));
    drain(*document); // the views' work left over from the last steps still goes out

    const std::string work = root + "/work/noname1/";
    EXPECT_EQ(document->web()->nodeCount(), 7u);
    EXPECT_EQ(ui.messages,
              (decltype(ui.messages){{"Completed site: " + url + "  \nReport stored in: " + work +
                                          "report/overview.htm \nWeb image starts at: " + work + "docs/index.htm",
                                      Icon::Information}}));
    EXPECT_TRUE(fs::is_regular_file(work + "report/overview.htm") && fs::is_regular_file(work + "docs/index.htm"));
    // Each of the five pages the master shows is inserted once, and nothing else is.
    std::set<const WebNode*> inserted;
    for (const InsertRecord& record : master.records) {
        EXPECT_TRUE(record.redrawOnly || (master.shows(*record.node) && inserted.insert(record.node).second));
    }
    EXPECT_EQ(inserted.size(), 5u);
    EXPECT_EQ(std::count(ui.sounds.begin(), ui.sounds.end(), "SystemExclamation"), 7); // one per new node

    // The same URL again asks first; declined, the crawl stays.
    const Web* first = document->web();
    ui.answerOk = false;
    EXPECT_FALSE(document->startProcessing(url));
    EXPECT_EQ(ui.questions, std::vector<std::string>{"URL has not changed.\nDo you want to start processing again?"});
    EXPECT_EQ(document->web(), first);
    ui.answerOk = true;
    // Started again with its own start URL, which the restart replaces under the call.
    ASSERT_TRUE(document->startProcessing(document->startUrl()));
    ASSERT_TRUE(runToCompletion(*document));
    EXPECT_EQ(document->startUrl(), url);
    EXPECT_EQ(document->web()->nodeCount(), 7u);

    // The project was never saved: its files go with it.
    document.reset();
    EXPECT_FALSE(fs::exists(work));
}

// Before a restart or a close drops the graph and the link tree, every view is told that the
// contents are gone, while the nodes it holds still exist.
TEST_F(DocumentCrawlTest, RestartAndCloseTellViewsTheContentsAreGoneFirst) {
    const std::string url = writeSite(root + "/site", 3);
    RecordingView master(showsAll);
    RecordingView plain;
    std::unique_ptr<CTamsoDoc> document = newDocument();
    struct Gone {
        const Web* web;
        std::size_t nodes;
        bool treeRooted;
    };
    std::vector<Gone> gone;
    plain.onUpdate = [&](const DocumentView::Update& update) {
        if (update.hint == Hint::ContentsGone) {
            const Web* web = document->web();
            gone.push_back({web, web != nullptr ? web->nodeCount() : 0, document->linkTree().root() != nullptr});
        }
    };
    document->addView(&master);
    document->addView(&plain);
    ASSERT_TRUE(document->startProcessing(url));
    ASSERT_TRUE(runToCompletion(*document));
    drain(*document);
    EXPECT_EQ(master.window.size(), 5u);
    const Web* first = document->web();

    ASSERT_TRUE(document->startProcessing(writeSite(root + "/other", 2)));
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_TRUE(gone[0].web == first && gone[0].nodes == 5 && gone[0].treeRooted);
    EXPECT_TRUE(master.window.empty());
    ASSERT_TRUE(runToCompletion(*document));
    drain(*document);
    EXPECT_EQ(master.window.size(), 4u);

    const Web* second = document->web();
    document->closeDocument();
    ASSERT_EQ(gone.size(), 2u);
    EXPECT_TRUE(gone[1].web == second && gone[1].nodes == 4 && gone[1].treeRooted);
    document->removeView(&master);
    document->removeView(&plain);
}

// The UI hears of every change of state and of the outputs made, and of the end of the last
// transfer of a suspended crawl, without asking.
TEST_F(DocumentCrawlTest, StateChangesAreAnnounced) {
    settings.autoReport = true;
    test::ScriptedServer server;
    server.setResponder([](std::string_view request) {
        const std::string head = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
        if (request.find("a.htm") != std::string_view::npos) {
            return test::Script().pause(300ms).send(head + "A page.").close();
        }
        return test::Script().send(head + "<A HREF=\"a.htm\">a</A>").close();
    });
    std::unique_ptr<CTamsoDoc> document = newDocument();
    std::vector<State> states;
    bool reportMade = false;
    bool localSiteMade = false;
    bool rested = false;
    ui.onStateChanged = [&] {
        if (states.empty() || states.back() != document->state()) {
            states.push_back(document->state());
        }
        reportMade = document->options().reportMade;
        localSiteMade = document->options().localSiteMade;
        rested = document->state() == State::Suspended && !document->transfersRunning();
    };

    ASSERT_TRUE(document->startProcessing(server.url("/")));
    ASSERT_TRUE(runUntil(*document, [&] {
        const int last = server.connectionCount() - 1;
        return last >= 0 && server.request(last).find("a.htm ") != std::string::npos;
    }));
    document->suspend();
    EXPECT_TRUE(document->transfersRunning());
    EXPECT_FALSE(rested);
    EXPECT_TRUE(test::ScriptedServer::waitUntil([&] { return rested; }));
    document->resume();
    ASSERT_TRUE(runToCompletion(*document));
    EXPECT_EQ(states,
              (std::vector<State>{State::Started, State::Running, State::Suspended, State::Running, State::Complete}));
    EXPECT_TRUE(reportMade);
    EXPECT_FALSE(localSiteMade);
    EXPECT_TRUE(document->makeLocalSite());
    EXPECT_TRUE(localSiteMade);
}

// The question for credentials is answered later, as from a dialog: meanwhile the crawl goes
// on with the other nodes and waits, without completing, until the answer comes.
TEST_F(DocumentCrawlTest, CredentialsAreAskedWithoutWaitingAndTheAnswerResumesTheCrawl) {
    settings.askForPassword = true;
    test::FakeTransfers fake;
    test::FakeTransfers::Reply home;
    home.body = "<a href=\"secret.htm\">s</a><a href=\"open.htm\">o</a>";
    fake.replies["http://h/index.htm"] = home;
    test::FakeTransfers::Reply closed;
    closed.status = 401;
    closed.wwwAuthenticate = "Basic realm=\"club\"";
    fake.replies["http://h/secret.htm"] = closed;
    fake.replies["http://h/open.htm"] = test::FakeTransfers::Reply{};
    CTamsoDoc document(settings, ui, fake, nullptr);
    ASSERT_TRUE(document.newDocument());
    ASSERT_TRUE(document.startProcessing("http://h/index.htm"));
    const auto settled = [&] {
        while (document.runIdle()) {
        }
        return !fake.finishNext();
    };
    for (int guard = 0; guard < 100 && !settled(); ++guard) {
    }
    EXPECT_EQ(ui.credentialRequests, (std::vector<std::string>{"http://h/secret.htm club"}));
    EXPECT_EQ(document.state(), State::Running);
    EXPECT_TRUE(document.web()->findNode(CUrl("http://h/open.htm"))->hasAnyFlag(kFlagFetched));

    fake.replies["http://h/secret.htm"] = test::FakeTransfers::Reply{};
    document.provideCredentials("club", "Aladdin", "open sesame");
    for (int guard = 0; guard < 100 && !settled(); ++guard) {
    }
    EXPECT_EQ(document.state(), State::Complete);
    EXPECT_EQ(fake.authorizations.back(), "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
    EXPECT_TRUE(document.web()->findNode(CUrl("http://h/secret.htm"))->hasAnyFlag(kFlagFetched));
}

// A missing local file fails at once, a server's answer later; either way the project is
// told failed once and asks once to be closed, and no completion follows.
TEST_F(DocumentCrawlTest, StartPageNotFoundFailsTheProjectOnce) {
    test::ScriptedServer server;
    server.setScript(test::Script::reply("HTTP/1.0 404 Not Found", {"Content-Type: text/html"}, "gone"));
    for (const std::string& url : {"file://" + root + "/nowhere/index.htm", server.url("/index.htm")}) {
        ui.messages.clear();
        ui.closeRequests = 0;
        std::unique_ptr<CTamsoDoc> document = newDocument();
        ASSERT_TRUE(document->startProcessing(url));
        ASSERT_TRUE(runUntil(*document, [&] { return ui.closeRequests > 0; })) << url;
        drain(*document);
        EXPECT_TRUE(document->startFailed());
        EXPECT_EQ(ui.closeRequests, 1);
        ASSERT_EQ(ui.messages.size(), 1u) << url;
        const auto& [text, icon] = ui.messages.back();
        EXPECT_TRUE(text.starts_with("URL " + url + " \nError: ") && text.ends_with(" #404")) << text;
        EXPECT_EQ(icon, Icon::Error);
    }
}

TEST_F(DocumentProjectTest, NewProjectsTakeTheSmallestFreeNonameDirectory) {
    std::unique_ptr<CTamsoDoc> first = newDocument();
    std::unique_ptr<CTamsoDoc> second = newDocument();
    EXPECT_EQ(first->workingDirectory(), root + "/work/noname1/");
    EXPECT_TRUE(fs::is_directory(root + "/work/noname2"));
    first.reset();
    EXPECT_FALSE(fs::exists(root + "/work/noname1"));
    EXPECT_EQ(newDocument()->projectName(), "noname1");

    std::ofstream(root + "/plain") << "not a directory";
    settings.workingDirectory = root + "/plain/work";
    EXPECT_FALSE(CTamsoDoc(settings, ui, transfers, nullptr).newDocument());
    EXPECT_EQ(ui.messages.at(0).first, "Working Directory: " + root + "/plain/work/  cannot be created.");
}

// A running crawl cannot be saved; suspended, it stops, is saved, moves its directory to the
// project's name, and reopens suspended; resumed from idle time, it completes.
TEST_F(DocumentProjectTest, SuspendedCrawlIsSavedAndReopenedToComplete) {
    const std::string url = writeSite(root + "/site", 20);
    const std::string path = root + "/mysite.zpj";
    std::size_t nodes = 0;
    {
        std::unique_ptr<CTamsoDoc> document = newDocument();
        ASSERT_TRUE(document->startProcessing(url));
        ASSERT_TRUE(runUntil(*document, [&] { return document->web()->processedCount() > 5; }));
        EXPECT_FALSE(document->saveDocument(path).isOk());
        document->suspend();
        const std::size_t processed = document->web()->processedCount();
        drain(*document);
        EXPECT_EQ(document->web()->processedCount(), processed);
        nodes = document->web()->nodeCount();
        ASSERT_TRUE(document->saveDocument(path).isOk());
        EXPECT_EQ(document->web()->workingDirectory(), root + "/work/mysite/");
    }
    {
        // Without its link tree the project is the same, and is saved as it was read.
        std::string before;
        ASSERT_TRUE(DiskFile::readAll(path, before).isOk());
        CTamsoDoc treeless(settings, ui, transfers, nullptr);
        ASSERT_TRUE(treeless.openDocument(path, CTamsoDoc::LinkTreeUse::Skip).isOk());
        EXPECT_EQ(treeless.linkTree().root(), nullptr);
        EXPECT_EQ(treeless.web()->nodeCount(), nodes);
        ASSERT_TRUE(treeless.saveDocument(path, CTamsoDoc::SaveMode::KeepWorkingDirectory).isOk());
        std::string after;
        ASSERT_TRUE(DiskFile::readAll(path, after).isOk());
        EXPECT_EQ(after, before);
    }
    CTamsoDoc reopened(settings, ui, transfers, nullptr);
    ASSERT_TRUE(reopened.openDocument(path).isOk());
    EXPECT_EQ(reopened.state(), State::Suspended);
    EXPECT_EQ(reopened.web()->nodeCount(), nodes);
    EXPECT_NE(reopened.linkTree().root(), nullptr);

    IdleDriver driver(reopened);
    reopened.resume();
    QElapsedTimer clock;
    clock.start();
    while ((reopened.state() != State::Complete || driver.isActive()) && clock.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_FALSE(driver.isActive());
    EXPECT_EQ(reopened.web()->nodeCount(), 22u);
}

// With the disk check on, a crawl whose working directory's disk falls below the limit stops
// taking nodes with a warning, can be saved, and goes on once there is room again.
TEST_F(DocumentProjectTest, LowDiskSpaceSuspendsTheCrawlUntilThereIsRoom) {
    settings.checkLowDiskSpace = true;
    settings.diskSpaceLimit = 50;
    const std::string url = writeSite(root + "/site", 20);
    // Room for five steps of the crawl, then one megabyte short of the limit until room is made.
    bool room = false;
    std::vector<std::string> asked;
    std::unique_ptr<CTamsoDoc> document = newDocument();
    document->setFreeSpaceProbe([&](const std::string& directory) -> std::optional<std::uint64_t> {
        asked.push_back(directory);
        return (room || asked.size() <= 5 ? std::uint64_t{51} : std::uint64_t{49}) << 20;
    });
    ASSERT_TRUE(document->startProcessing(url));
    ASSERT_TRUE(runUntil(*document, [&] { return document->state() == State::Suspended; }));
    EXPECT_EQ(asked.front(), document->web()->workingDirectory());
    EXPECT_TRUE(document->suspendedForDiskSpace());
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().second, Icon::Warning);
    EXPECT_NE(ui.messages.back().first.find("Low disk space: 49 MB free"), std::string::npos);
    drain(*document);
    const std::size_t processed = document->web()->processedCount();
    EXPECT_LT(processed, 22u);
    EXPECT_TRUE(document->saveDocument(root + "/full.zpj").isOk());

    // Resumed without room, it stops again; with room, it completes.
    document->resume();
    ASSERT_TRUE(runUntil(*document, [&] { return document->state() == State::Suspended; }));
    EXPECT_EQ(document->web()->processedCount(), processed);
    room = true;
    document->resume();
    EXPECT_FALSE(document->suspendedForDiskSpace());
    ASSERT_TRUE(runToCompletion(*document));
    EXPECT_EQ(document->web()->nodeCount(), 22u);

    // Without the check, the disk is not asked.
    settings.checkLowDiskSpace = false;
    asked.clear();
    std::unique_ptr<CTamsoDoc> unchecked = newDocument();
    unchecked->setFreeSpaceProbe([&](const std::string& directory) -> std::optional<std::uint64_t> {
        asked.push_back(directory);
        return 0;
    });
    ASSERT_TRUE(unchecked->startProcessing(url));
    ASSERT_TRUE(runToCompletion(*unchecked));
    EXPECT_TRUE(asked.empty());
}

// Someone else's directory of the project's name is left alone; a deleted project is unsaved
// again and takes its own files along.
TEST_F(DocumentProjectTest, SaveOntoATakenDirectoryKeepsTheWorkingDirectory) {
    fs::create_directories(root + "/work/taken");
    std::ofstream(root + "/work/taken/other.txt") << "someone else's";
    std::unique_ptr<CTamsoDoc> document = newDocument();
    ASSERT_TRUE(document->startProcessing(writeSite(root + "/site", 3)));
    ASSERT_TRUE(runToCompletion(*document));
    ASSERT_TRUE(document->saveDocument(root + "/taken.zpj").isOk());
    EXPECT_EQ(document->workingDirectory(), root + "/work/noname1/");
    document.reset();

    auto reopened = std::make_unique<CTamsoDoc>(settings, ui, transfers, nullptr);
    ASSERT_TRUE(reopened->openDocument(root + "/taken.zpj").isOk());
    // What cannot be deleted (here a folder with files) leaves the project saved.
    EXPECT_EQ(reopened->deleteProject(root + "/work/taken").code(), Status::Code::IoError);
    EXPECT_TRUE(reopened->isSaved());
    ASSERT_TRUE(reopened->deleteProject(root + "/taken.zpj").isOk());
    EXPECT_FALSE(fs::exists(root + "/taken.zpj"));
    reopened.reset();
    EXPECT_FALSE(fs::exists(root + "/work/noname1"));
    EXPECT_TRUE(fs::is_regular_file(root + "/work/taken/other.txt"));
}

// A master that shows the even-numbered nodes and a plain view, added to a document that is
// told of new nodes from a graph of its own.
class DocumentViewWorkTest : public DocFixture {
protected:
    // One unit of view work per idle call, whatever the machine's speed.
    DocumentViewWorkTest() { document.setIdleBudget(std::chrono::nanoseconds::zero()); }

    std::vector<WebNode*> announce(int count) {
        document.addView(&master);
        document.addView(&plain);
        plain.clear();
        std::vector<WebNode*> nodes = addNodes(count);
        drain(document);
        return nodes;
    }

    // Tells the document of count more nodes without giving it idle time. Returns every node
    // added so far.
    std::vector<WebNode*> addNodes(int count) {
        for (int i = 0; i < count; ++i) {
            WebNode* node = graph.findOrAddNode(CUrl("http://127.0.0.1/n" + std::to_string(added.size()) + ".htm"));
            document.nodeAdded(node, true, added.empty() ? nullptr : added.front());
            added.push_back(node);
        }
        return added;
    }

    // The nodes added so far that master shows.
    std::vector<WebNode*> evenNodes() const {
        std::vector<WebNode*> even;
        for (std::size_t i = 0; i < added.size(); i += 2) {
            even.push_back(added[i]);
        }
        return even;
    }

    std::vector<WebNode*> added;

    Web graph; // outlives the document, whose link tree refers to its nodes, and so do the views
    RecordingView master{[](const WebNode& node) { return node.number() % 2 == 0; }};
    RecordingView plain;
    CTamsoDoc document{settings, ui, transfers, nullptr};
};

TEST_F(DocumentViewWorkTest, NewNodesThenChangedNodesReachTheShowingMaster) {
    const std::vector<WebNode*> nodes = announce(45);
    // The feed runs first and finds nothing; then every view hears of the new nodes once, in
    // order, then come the nodes the master shows, 20 at a time, and the end of the insertion.
    EXPECT_EQ(plain.hints,
              (std::vector<Hint>{Hint::InsertDone, Hint::NewNodes, Hint::Insert, Hint::Insert, Hint::InsertDone}));
    EXPECT_EQ(plain.nodes, nodes);
    EXPECT_EQ(plain.batches, (std::vector<std::size_t>{20, 3}));
    ASSERT_EQ(plain.records.size(), 23u);
    for (std::size_t i = 0; i < plain.records.size(); ++i) {
        const InsertRecord& record = plain.records[i];
        EXPECT_TRUE(record.node == nodes[2 * i] && record.master == &master && !record.redrawOnly) << i;
    }

    // Changed nodes: every view hears of them; the master's shown ones come back redraw-only.
    plain.clear();
    document.nodeProcessed(nodes[1], false);
    document.linksChanged(nodes[2]);
    document.nodeReclassified(nodes[4]);
    drain(document);
    EXPECT_EQ(plain.hints, (std::vector<Hint>{Hint::NodesChanged, Hint::Insert, Hint::InsertDone}));
    EXPECT_EQ(plain.nodes, (std::vector<WebNode*>{nodes[1], nodes[2], nodes[4]}));
    ASSERT_EQ(plain.records.size(), 2u);
    EXPECT_TRUE(plain.records[0].node == nodes[2] && plain.records[1].node == nodes[4]);
    EXPECT_TRUE(plain.records[0].redrawOnly && plain.records[1].redrawOnly);
}

// Many new nodes go to the masters, and many changed ones (an opened project reports every
// node as changed) to the views, in slices: one idle call never takes them all.
TEST_F(DocumentViewWorkTest, ManyNewOrChangedNodesGoToTheViewsInSlices) {
    const std::vector<WebNode*> nodes = announce(static_cast<int>(2 * CTamsoDoc::kInsertBatch + 5));
    EXPECT_EQ(std::count(plain.hints.begin(), plain.hints.end(), Hint::NewNodes), 3);
    EXPECT_EQ(plain.nodes, nodes);
    EXPECT_TRUE(holdsEachOnce(master, evenNodes()));

    plain.clear();
    for (WebNode* node : nodes) {
        document.nodeProcessed(node, false);
    }
    int calls = 0;
    while (document.runIdle()) {
        ++calls;
    }
    const auto slices = static_cast<int>(nodes.size() / CTamsoDoc::kChangedBatch + 1);
    EXPECT_GE(calls, slices);
    EXPECT_EQ(std::count(plain.hints.begin(), plain.hints.end(), Hint::NodesChanged), slices);
    EXPECT_EQ(plain.nodes, nodes);
    // The master's shown nodes come back redraw-only, each once.
    EXPECT_EQ(plain.records.size(), evenNodes().size());
    EXPECT_TRUE(std::all_of(plain.records.begin(), plain.records.end(),
                            [](const InsertRecord& record) { return record.redrawOnly; }));
}

// A view's own hints reach the document's other views, not the sender; a view detached while
// others are told hears nothing more.
TEST_F(DocumentViewWorkTest, UpdateAllViewsLeavesOutTheSenderAndDetachedViews) {
    announce(0);
    master.clear();
    plain.clear();
    DocumentView::Update update;
    update.hint = Hint::Deselect;
    update.master = &master;
    document.updateAllViews(update, &master);
    EXPECT_TRUE(master.hints.empty());
    EXPECT_EQ(plain.hints, std::vector<Hint>{Hint::Deselect});

    RecordingView third;
    document.addView(&third);
    plain.onUpdate = [&](const DocumentView::Update&) { document.removeView(&third); };
    document.updateAllViews(update);
    EXPECT_EQ(master.hints, std::vector<Hint>{Hint::Deselect});
    EXPECT_TRUE(third.hints.empty());
}

// A filter pass empties the window first and hands nothing over while it examines the nodes.
// An idle call of view work runs as many units as fit in its time budget: 60 nodes examined,
// or 20 records handed over, per unit.
TEST_F(DocumentViewWorkTest, ViewPassRunsUnitsUntilTheIdleBudgetIsSpent) {
    const std::vector<WebNode*> nodes = announce(1300);
    // A clock that moves on 1 ms whenever it is read: a 10 ms budget holds ten units.
    std::chrono::steady_clock::time_point now;
    document.setIdleBudget(10ms, [&now] { return now += 1ms; });
    plain.clear();
    ui.progress.clear();
    document.startViewPass(&master, "Filtering...");
    EXPECT_EQ(plain.hints, std::vector<Hint>{Hint::Reset});
    for (const char* status : {"Filtering: 600 of 1300", "Filtering: 1200 of 1300", ""}) {
        EXPECT_TRUE(document.runIdle());
        EXPECT_EQ(ui.statusTexts.back(), status);
    }
    EXPECT_EQ(plain.hints.size(), 1u);
    EXPECT_EQ(ui.progress, (std::vector<int>{46, 92, 0}));
    for (const std::size_t batches : {10u, 20u, 30u}) {
        EXPECT_TRUE(document.runIdle());
        EXPECT_EQ(plain.batches.size(), batches);
    }
    EXPECT_FALSE(document.runIdle()); // the last three batches, and the end
    std::vector<std::size_t> batches(32, 20);
    batches.push_back(10);
    EXPECT_EQ(plain.batches, batches);
    EXPECT_EQ(plain.records.front().node, nodes[0]);
    EXPECT_EQ(plain.records.back().node, nodes[1298]);
    EXPECT_EQ(plain.hints.back(), Hint::InsertDone);
    EXPECT_TRUE(holdsEachOnce(master, evenNodes()));
}

// While a hold lives no driver runs idle calls, however its document is woken; when the last
// hold goes, the drivers whose documents have work start again.
TEST_F(DocumentViewWorkTest, HeldDriversRunNoIdleCallsUntilTheLastHoldGoes) {
    document.addView(&master);
    document.addView(&plain);
    CTamsoDoc other(settings, ui, transfers, nullptr);
    IdleDriver driver(document);
    IdleDriver otherDriver(other);
    addNodes(10);
    EXPECT_TRUE(driver.isActive());
    {
        IdleDriver::Hold hold;
        std::optional<IdleDriver::Hold> inner(std::in_place);
        EXPECT_FALSE(driver.isActive() || otherDriver.isActive());
        addNodes(10);
        inner.reset();
        EXPECT_TRUE(IdleDriver::isHeld());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_FALSE(driver.isActive());
        EXPECT_TRUE(plain.hints.empty());
    }
    EXPECT_FALSE(IdleDriver::isHeld());
    EXPECT_TRUE(driver.isActive());
    EXPECT_FALSE(otherDriver.isActive());
    QElapsedTimer clock;
    clock.start();
    while (driver.isActive() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_TRUE(holdsEachOnce(master, evenNodes()));
}

// A filter pass for one window leaves the records queued for other windows and the changed
// nodes alone; the count of records still to hand over leaves out those handed over.
TEST_F(DocumentViewWorkTest, FilterPassForOneWindowKeepsTheOtherWindowsWork) {
    RecordingView first(showsAll);
    RecordingView second(showsAll);
    document.addView(&first);
    document.addView(&second);
    document.addView(&plain);
    const std::vector<WebNode*> nodes = addNodes(121);
    document.nodeProcessed(nodes[3], false);
    EXPECT_TRUE(document.runIdle()); // the feed finds nothing yet
    EXPECT_TRUE(document.runIdle()); // the new nodes are queued for both windows
    EXPECT_EQ(document.pendingRecordCount(), 242u);
    EXPECT_TRUE(document.runIdle()); // one batch handed over
    EXPECT_EQ(first.window.size(), 10u);
    EXPECT_EQ(document.pendingRecordCount(), 222u);

    document.startViewPass(&second, "Filtering...");
    drain(document);
    EXPECT_TRUE(holdsEachOnce(first, nodes));
    EXPECT_TRUE(holdsEachOnce(second, nodes));
    EXPECT_EQ(std::count(plain.nodes.begin(), plain.nodes.end(), nodes[3]), 2); // new, then changed
    EXPECT_EQ(document.pendingRecordCount(), 0u);
}

// Each window has a pass of its own: a second window's pass leaves the first's running, and
// only a new pass of the same window cancels its old one. Nodes that wait to be offered when a
// pass starts, or come while it runs, reach its window once: from the pass, not again from
// the insertion of new nodes.
TEST_F(DocumentViewWorkTest, PassesOfTwoWindowsRunSideBySideAndInsertEachNodeOnce) {
    RecordingView first(showsAll);
    RecordingView second(showsAll);
    document.addView(&first);
    addNodes(30);
    drain(document);
    std::vector<WebNode*> nodes = addNodes(31);
    document.addView(&second);
    document.startViewPass(&second, "New View...");
    drain(document);
    EXPECT_TRUE(holdsEachOnce(first, nodes));
    EXPECT_TRUE(holdsEachOnce(second, nodes));

    document.startViewPass(&second, "Filtering...");
    EXPECT_TRUE(document.runIdle());
    nodes = addNodes(70);
    drain(document);
    EXPECT_TRUE(holdsEachOnce(first, nodes));
    EXPECT_TRUE(holdsEachOnce(second, nodes));

    for (RecordingView* next : {&second, &first}) {
        document.startViewPass(&first, "Filtering...");
        EXPECT_TRUE(document.runIdle());
        document.startViewPass(next, "Filtering...");
        drain(document);
        EXPECT_TRUE(holdsEachOnce(first, nodes));
        EXPECT_TRUE(holdsEachOnce(second, nodes));
    }
}

} // namespace
} // namespace corvida
