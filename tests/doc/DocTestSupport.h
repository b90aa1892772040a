// SPDX-License-Identifier: MIT
#pragma once

// What the project document tests share: a UI that records what the document shows and
// answers its questions with preset answers, views that record the updates they are given,
// small local sites written to disk, and a fixture that makes documents over a temporary
// working directory.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "doc/CTamsoDoc.h"
#include "doc/DocumentUi.h"
#include "doc/DocumentView.h"
#include "model/WebNode.h"
#include "net/NetworkTransferFactory.h"

namespace corvida::test {

class RecordingUi : public DocumentUi {
public:
    struct Message {
        std::string text;
        Icon icon;
    };

    void setStatusText(std::string_view text) override { statusTexts.emplace_back(text); }
    void setProgress(int position) override { progress.push_back(position); }
    void showMessage(std::string_view text, Icon icon) override { messages.push_back({std::string(text), icon}); }
    bool askOkCancel(std::string_view question) override {
        questions.emplace_back(question);
        return answerOk;
    }
    bool askCredentials(std::string_view url, std::string& user, std::string& password) override {
        credentialUrls.emplace_back(url);
        user = "visitor";
        password = "secret";
        return giveCredentials;
    }
    void playSound(std::string_view name) override { sounds.emplace_back(name); }
    void openInBrowser(std::string_view) override {}
    void beginWait() override {}
    void endWait() override {}
    void closeDocument() override { ++closeRequests; }

    bool answerOk = true;
    bool giveCredentials = true;
    std::vector<std::string> statusTexts, questions, credentialUrls, sounds;
    std::vector<int> progress;
    std::vector<Message> messages;
    int closeRequests = 0;
};

// A view that keeps a copy of every update.
class RecordingView : public DocumentView {
public:
    struct Received {
        int hint = 0;
        const DocumentView* master = nullptr;
        std::vector<InsertRecord> records;
        std::vector<WebNode*> nodes;
    };

    void update(const Update& update) override {
        received.push_back({update.hint, update.master,
                            std::vector<InsertRecord>(update.records.begin(), update.records.end()),
                            std::vector<WebNode*>(update.nodes.begin(), update.nodes.end())});
    }

    // The hints received from index on.
    std::vector<int> hints(std::size_t from = 0) const {
        std::vector<int> result;
        for (std::size_t i = from; i < received.size(); ++i) {
            result.push_back(received[i].hint);
        }
        return result;
    }

    // The records of the insert updates from index on; batches (optional) gets their sizes.
    std::vector<InsertRecord> records(std::size_t from = 0, std::vector<std::size_t>* batches = nullptr) const {
        std::vector<InsertRecord> result;
        for (std::size_t i = from; i < received.size(); ++i) {
            if (received[i].hint == kHintInsert) {
                result.insert(result.end(), received[i].records.begin(), received[i].records.end());
                if (batches != nullptr) {
                    batches->push_back(received[i].records.size());
                }
            }
        }
        return result;
    }

    std::vector<Received> received;
};

// The master of a window: it shows the nodes its predicate accepts.
class MasterView : public RecordingView {
public:
    explicit MasterView(std::function<bool(const WebNode&)> shows) : m_shows(std::move(shows)) {}

    bool isMaster() const override { return true; }
    bool shows(const WebNode& node) const override { return m_shows(node); }

private:
    std::function<bool(const WebNode&)> m_shows;
};

inline void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Writes a site into directory: index.htm links to page1.htm ... pageN.htm, and page1.htm
// links on to deep.htm. Returns the file:// URL of index.htm.
inline std::string writeSite(const std::string& directory, int pages) {
    std::string index = "<HTML><HEAD><TITLE>Index</TITLE></HEAD><BODY>\n";
    for (int i = 1; i <= pages; ++i) {
        const std::string name = "page" + std::to_string(i) + ".htm";
        index += "<A HREF=\"" + name + "\">" + name + "</A>\n";
        writeFile(directory + "/" + name, "<HTML><BODY><A HREF=\"index.htm\">home</A>" +
                                              std::string(i == 1 ? "<A HREF=\"deep.htm\">deep</A>" : "") +
                                              "</BODY></HTML>\n");
    }
    writeFile(directory + "/index.htm", index + "</BODY></HTML>\n");
    writeFile(directory + "/deep.htm", "<HTML><BODY>The bottom.</BODY></HTML>\n");
    return "file://" + directory + "/index.htm";
}

class DocFixture : public ::testing::Test {
protected:
    DocFixture() {
        root = folder.path().toStdString();
        settings.workingDirectory = root + "/work";
        settings.downloadHtml = true;
        settings.downloadPictures = true;
        settings.downloadAudio = true;
        settings.downloadVideo = true;
    }

    // A new project over the settings' working directory.
    std::unique_ptr<CTamsoDoc> newDocument() {
        auto document = std::make_unique<CTamsoDoc>(settings, ui, transfers, nullptr);
        EXPECT_TRUE(document->newDocument());
        return document;
    }

    // Runs idle calls (and the event loop when no idle work is ready) until done() or the time
    // runs out. Returns done().
    static bool runUntil(CTamsoDoc& document, const std::function<bool()>& done,
                         std::chrono::milliseconds limit = std::chrono::milliseconds(20000)) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > limit.count()) {
                return false;
            }
            if (!document.runIdle()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            }
        }
        return true;
    }

    static bool runToCompletion(CTamsoDoc& document) {
        return runUntil(document, [&] { return document.state() == CTamsoDoc::State::Complete; });
    }

    QTemporaryDir folder;
    std::string root;
    Settings settings;
    RecordingUi ui;
    NetworkTransferFactory transfers{std::chrono::milliseconds(5000)};
};

} // namespace corvida::test
