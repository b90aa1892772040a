// SPDX-License-Identifier: MIT
// Crawls driven by the project document from idle time: states, the completion message and
// outputs, view work before crawl steps, suspend and resume, failing start pages and a
// restart of a completed project. Saving a suspended crawl is tested with the project files.

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "doc/DocTestSupport.h"
#include "model/Web.h"
#include "support/ScriptedServer.h"

namespace corvida {
namespace {

namespace fs = std::filesystem;
using State = CTamsoDoc::State;
using test::MasterView;

class DocumentCrawlTest : public test::DocFixture {};

TEST_F(DocumentCrawlTest, WholeCrawlShowsEveryNodeWritesOutputsAndLeavesNothingUnsaved) {
    settings.autoReport = true;
    settings.autoSiteImage = true;
    settings.useSound = true;
    const std::string url = test::writeSite(root + "/site", 5);
    MasterView master([](const WebNode& node) { return node.url().url().find("page") != std::string_view::npos; });
    std::unique_ptr<CTamsoDoc> document = newDocument();
    document->addView(&master);

    std::vector<State> states{document->state()};
    ASSERT_TRUE(document->startProcessing(url));
    for (int guard = 0; guard < 10000 && document->state() != State::Complete; ++guard) {
        if (states.back() != document->state()) {
            states.push_back(document->state());
        }
        document->runIdle();
    }
    states.push_back(document->state());
    EXPECT_EQ(states, (std::vector<State>{State::New, State::Started, State::Running, State::Complete}));
    // The views' work left over from the last steps still goes out.
    for (int guard = 0; guard < 1000 && document->runIdle(); ++guard) {
    }

    const Web& web = *document->web();
    EXPECT_EQ(web.nodeCount(), 7u);
    const std::string work = web.workingDirectory();
    EXPECT_EQ(work, root + "/work/noname1/");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, test::RecordingUi::Icon::Information);
    EXPECT_EQ(ui.messages[0].text, "Completed site: " + url + "  \nReport stored in: " + work +
                                       "report/overview.htm \nWeb image starts at: " + work + "docs/index.htm");
    EXPECT_TRUE(fs::is_regular_file(work + "report/overview.htm"));
    EXPECT_TRUE(fs::is_regular_file(work + "docs/index.htm"));

    // Each of the five pages the master shows is inserted once, and nothing else is.
    std::set<const WebNode*> inserted;
    for (const InsertRecord& record : master.records()) {
        if (!record.redrawOnly) {
            EXPECT_TRUE(master.shows(*record.node));
            EXPECT_TRUE(inserted.insert(record.node).second);
        }
    }
    EXPECT_EQ(inserted.size(), 5u);
    EXPECT_EQ(document->pendingRecordCount(), 0u);

    // One sound per new node, and one per processed node.
    EXPECT_EQ(std::count(ui.sounds.begin(), ui.sounds.end(), "SystemExclamation"), 7);
    EXPECT_GE(std::count(ui.sounds.begin(), ui.sounds.end(), "SystemAsterisk"), 7);

    // The project was never saved: its files go with it.
    document.reset();
    EXPECT_FALSE(fs::exists(work));
}

TEST_F(DocumentCrawlTest, NoCrawlStepRunsWhileViewWorkIsQueued) {
    const std::string url = test::writeSite(root + "/site", 150);
    MasterView master([](const WebNode&) { return true; });
    std::unique_ptr<CTamsoDoc> document = newDocument();
    document->addView(&master);
    ASSERT_TRUE(document->startProcessing(url));
    ASSERT_TRUE(runUntil(*document, [&] { return document->web()->processedCount() > 10; }));

    const std::size_t nodes = document->web()->nodeCount();
    const std::size_t processed = document->web()->processedCount();
    const std::size_t from = master.received.size();
    document->startViewPass(&master, "New View...");
    bool queued = false;
    bool advanced = false;
    for (int guard = 0; guard < 1000 && !advanced; ++guard) {
        queued = queued || document->pendingRecordCount() > 0;
        const std::vector<int> hints = master.hints(from);
        const bool viewWorkLeft = document->pendingRecordCount() > 0 ||
                                  std::count(hints.begin(), hints.end(), DocumentView::kHintInsertDone) == 0;
        document->runIdle();
        advanced = document->web()->processedCount() != processed;
        if (advanced) {
            EXPECT_FALSE(viewWorkLeft);
        }
    }
    EXPECT_TRUE(queued);
    EXPECT_TRUE(advanced);
    EXPECT_GE(master.records(from).size(), nodes);
}

TEST_F(DocumentCrawlTest, SuspendHoldsNewNodesAndAllowsSavingUntilResumed) {
    const std::string url = test::writeSite(root + "/site", 30);
    std::unique_ptr<CTamsoDoc> document = newDocument();
    ASSERT_TRUE(document->startProcessing(url));
    ASSERT_TRUE(runUntil(*document, [&] { return document->web()->processedCount() > 5; }));
    ASSERT_EQ(document->state(), State::Running);

    const std::string running = root + "/running.zpj";
    EXPECT_FALSE(document->canSave());
    EXPECT_NE(document->saveDocument(running), "");
    EXPECT_FALSE(fs::exists(running));
    EXPECT_FALSE(document->isSaved());

    document->suspend();
    EXPECT_EQ(document->state(), State::Suspended);
    EXPECT_TRUE(document->canSave());
    const std::size_t processed = document->web()->processedCount();
    for (int i = 0; i < 200; ++i) {
        document->runIdle();
    }
    EXPECT_FALSE(document->hasIdleWork());
    EXPECT_EQ(document->web()->processedCount(), processed);

    document->resume();
    EXPECT_EQ(document->state(), State::Running);
    ASSERT_TRUE(runToCompletion(*document));
    EXPECT_EQ(document->web()->nodeCount(), 32u);
    EXPECT_GT(document->web()->processedCount(), processed);
}

// A missing local file fails at once, a server's answer later; either way the project is
// told failed once and asks once to be closed, and no completion follows.
TEST_F(DocumentCrawlTest, StartPageNotFoundFailsTheProjectOnce) {
    test::ScriptedServer server;
    server.setScript(test::Script::reply("HTTP/1.0 404 Not Found", {"Content-Type: text/html"}, "gone"));
    for (const std::string& url : {"file://" + root + "/nowhere/index.htm", server.url("/index.htm")}) {
        const std::size_t messages = ui.messages.size();
        const int closes = ui.closeRequests;
        std::unique_ptr<CTamsoDoc> document = newDocument();
        ASSERT_TRUE(document->startProcessing(url));
        ASSERT_TRUE(runUntil(*document, [&] { return ui.closeRequests > closes; })) << url;
        for (int i = 0; i < 20; ++i) {
            document->runIdle();
        }
        EXPECT_TRUE(document->startFailed());
        EXPECT_EQ(ui.closeRequests, closes + 1);
        EXPECT_EQ(document->web()->nodeCount(), 1u);
        ASSERT_EQ(ui.messages.size(), messages + 1) << url;
        const std::string& text = ui.messages.back().text;
        EXPECT_TRUE(text.starts_with("URL " + url + " \nError: ") && text.ends_with(" #404")) << text;
        EXPECT_EQ(ui.messages.back().icon, test::RecordingUi::Icon::Error);
    }
}

TEST_F(DocumentCrawlTest, RestartWithTheSameUrlAsksFirst) {
    const std::string url = test::writeSite(root + "/site", 3);
    std::unique_ptr<CTamsoDoc> document = newDocument();
    ASSERT_TRUE(document->startProcessing(url));
    EXPECT_FALSE(document->startProcessing(url)); // not while it runs
    ASSERT_TRUE(runToCompletion(*document));
    EXPECT_TRUE(ui.questions.empty());

    const Web* first = document->web();
    ui.answerOk = false;
    EXPECT_FALSE(document->startProcessing(url));
    EXPECT_EQ(ui.questions, std::vector<std::string>{"URL has not changed.\nDo you want to start processing again?"});
    EXPECT_EQ(document->state(), State::Complete);
    EXPECT_EQ(document->web(), first);
    EXPECT_EQ(document->startUrl(), url);

    ui.answerOk = true;
    ASSERT_TRUE(document->startProcessing(url));
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(document->state(), State::Started);
    ASSERT_TRUE(runToCompletion(*document));
    EXPECT_EQ(document->web()->nodeCount(), 5u);
    EXPECT_EQ(document->viewItemCount(), 5u);
}

} // namespace
} // namespace corvida
