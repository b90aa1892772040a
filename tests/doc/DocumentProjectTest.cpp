// SPDX-License-Identifier: MIT
// A project's working directory and file: new directories, save and reopen, what a deleted
// project leaves behind, and the options, credentials and sounds that follow the settings.

#include <filesystem>
#include <memory>
#include <string>

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "doc/DocTestSupport.h"
#include "doc/IdleDriver.h"
#include "model/Web.h"

namespace corvida {
namespace {

namespace fs = std::filesystem;
using State = CTamsoDoc::State;

class DocumentProjectTest : public test::DocFixture {};

TEST_F(DocumentProjectTest, NewProjectsTakeTheSmallestFreeNonameDirectory) {
    std::unique_ptr<CTamsoDoc> first = newDocument();
    std::unique_ptr<CTamsoDoc> second = newDocument();
    EXPECT_EQ(first->workingDirectory(), root + "/work/noname1/");
    EXPECT_EQ(second->projectName(), "noname2");
    EXPECT_TRUE(fs::is_directory(root + "/work/noname2"));
    first.reset();
    EXPECT_FALSE(fs::exists(root + "/work/noname1"));
    EXPECT_EQ(newDocument()->projectName(), "noname1");

    test::writeFile(root + "/plain", "not a directory");
    settings.workingDirectory = root + "/plain/work";
    CTamsoDoc nowhere(settings, ui, transfers, nullptr);
    EXPECT_FALSE(nowhere.newDocument());
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.front().text, "Working Directory: " + root + "/plain/work/  cannot be created.");
}

TEST_F(DocumentProjectTest, SavedProjectMovesItsDirectoryAndReopensSuspended) {
    const std::string url = test::writeSite(root + "/site", 20);
    const std::string path = root + "/mysite.zpj";
    std::size_t nodes = 0;
    {
        std::unique_ptr<CTamsoDoc> document = newDocument();
        ASSERT_TRUE(document->startProcessing(url));
        ASSERT_TRUE(runUntil(*document, [&] { return document->web()->processedCount() > 5; }));
        document->suspend();
        nodes = document->web()->nodeCount();
        ASSERT_EQ(document->saveDocument(path), "");
        EXPECT_EQ(document->workingDirectory(), root + "/work/mysite/");
        EXPECT_EQ(document->web()->workingDirectory(), root + "/work/mysite/");
        EXPECT_EQ(document->projectName(), "mysite");
        EXPECT_FALSE(fs::exists(root + "/work/noname1"));
    }
    ASSERT_TRUE(fs::is_directory(root + "/work/mysite"));

    CTamsoDoc reopened(settings, ui, transfers, nullptr);
    ASSERT_EQ(reopened.openDocument(path), "");
    EXPECT_EQ(reopened.state(), State::Suspended);
    EXPECT_EQ(reopened.projectName(), "mysite");
    EXPECT_EQ(reopened.startUrl(), url);
    EXPECT_EQ(reopened.web()->nodeCount(), nodes);
    ASSERT_NE(reopened.linkTree().root(), nullptr);
    EXPECT_EQ(reopened.linkTree().root()->node(), reopened.web()->startNode());
    EXPECT_GT(reopened.linkTree().entryCount(), 5u);

    IdleDriver driver(reopened);
    reopened.resume();
    QElapsedTimer clock;
    clock.start();
    while ((reopened.state() != State::Complete || driver.isActive()) && clock.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_EQ(reopened.state(), State::Complete);
    EXPECT_FALSE(driver.isActive());
    EXPECT_EQ(reopened.web()->nodeCount(), 22u);
    EXPECT_EQ(reopened.pendingRecordCount(), 0u);
}

TEST_F(DocumentProjectTest, SaveOntoATakenDirectoryKeepsTheWorkingDirectory) {
    test::writeFile(root + "/work/taken/other.txt", "someone else's");
    std::unique_ptr<CTamsoDoc> document = newDocument();
    ASSERT_TRUE(document->startProcessing(test::writeSite(root + "/site", 3)));
    ASSERT_TRUE(runToCompletion(*document));
    ASSERT_EQ(document->saveDocument(root + "/taken.zpj"), "");
    EXPECT_EQ(document->workingDirectory(), root + "/work/noname1/");
    EXPECT_EQ(document->projectName(), "taken");
    EXPECT_EQ(std::distance(fs::directory_iterator(root + "/work/taken"), fs::directory_iterator()), 1);
    document.reset();

    EXPECT_TRUE(fs::is_directory(root + "/work/noname1"));

    auto reopened = std::make_unique<CTamsoDoc>(settings, ui, transfers, nullptr);
    ASSERT_EQ(reopened->openDocument(root + "/taken.zpj"), "");
    EXPECT_EQ(reopened->workingDirectory(), root + "/work/noname1/");
    EXPECT_EQ(reopened->web()->nodeCount(), 5u);
    // A deleted project is unsaved again and takes its files along.
    reopened->deleteProject(root + "/taken.zpj");
    EXPECT_FALSE(fs::exists(root + "/taken.zpj"));
    reopened.reset();
    EXPECT_FALSE(fs::exists(root + "/work/noname1"));
    EXPECT_TRUE(fs::is_regular_file(root + "/work/taken/other.txt"));
}

TEST_F(DocumentProjectTest, PropertiesCredentialsAndSoundsFollowTheSettings) {
    std::unique_ptr<CTamsoDoc> plain = newDocument();
    EXPECT_EQ(plain->projectProperties(), "Auto-Generate site image: No\nAuto-Generate report: No\n"
                                          "Check external references: No\nGet Picture Data: Yes\n"
                                          "Get Audio Data: Yes\nCheck Video Data: Yes\nMaximum level: No\n");
    settings.autoSiteImage = true;
    settings.checkExternal = true;
    settings.downloadAudio = false;
    settings.maximumLevel = 3;
    std::unique_ptr<CTamsoDoc> document = newDocument();
    const std::string text = document->projectProperties();
    EXPECT_EQ(text, "Auto-Generate site image: Yes\nAuto-Generate report: No\nCheck external references: Yes\n"
                    "Get Picture Data: Yes\nGet Audio Data: No\nCheck Video Data: Yes\nMaximum level: 3");
    EXPECT_EQ(ui.messages.back().text, text);
    EXPECT_EQ(ui.messages.back().icon, test::RecordingUi::Icon::Information);

    std::string user;
    std::string password;
    EXPECT_FALSE(document->getCredentials("http://127.0.0.1/private/", user, password));
    EXPECT_TRUE(ui.credentialUrls.empty());
    settings.askForPassword = true;
    EXPECT_TRUE(document->getCredentials("http://127.0.0.1/private/", user, password));
    EXPECT_EQ(user + ":" + password, "visitor:secret");
    ui.giveCredentials = false;
    EXPECT_FALSE(document->getCredentials("http://127.0.0.1/private/", user, password));
    EXPECT_EQ(ui.credentialUrls.size(), 2u);

    // A crawl without sounds is silent.
    ASSERT_TRUE(document->startProcessing(test::writeSite(root + "/site", 2)));
    ASSERT_TRUE(runToCompletion(*document));
    EXPECT_TRUE(ui.sounds.empty());
}

} // namespace
} // namespace corvida
