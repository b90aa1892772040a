// SPDX-License-Identifier: MIT
#pragma once

// Shared by the project file tests: a small sample project with every kind of field set, a
// comparison of two Webs field by field, and a listener that records phases and progress.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/ArchiveWriter.h"
#include "model/CUrl.h"
#include "model/MimeTable.h"
#include "model/ProjectFile.h"
#include "model/ProjectOptions.h"
#include "model/Web.h"
#include "model/WebListener.h"
#include "model/WebNode.h"

namespace corvida::test {

class PhaseRecorder : public WebListener {
public:
    std::vector<std::string> texts;
    std::vector<int> percents;
    int added = 0;
    int processed = 0;

    void showText(std::string_view text) override { texts.emplace_back(text); }
    void endText(std::string_view text) override { texts.emplace_back(text); }
    void progress(int percent) override { percents.push_back(percent); }
    void nodeAdded(WebNode* /*node*/, bool isNew, WebNode* source) override {
        EXPECT_FALSE(isNew);
        EXPECT_EQ(source, nullptr);
        ++added;
    }
    void nodeProcessed(WebNode* /*node*/, bool mark) override {
        EXPECT_FALSE(mark);
        ++processed;
    }
};

inline std::string u32(std::uint32_t value) {
    ArchiveWriter writer;
    writer.writeU32(value);
    return writer.bytes();
}

// A counted text: its length with the NUL, the text, the NUL.
inline std::string counted(const std::string& text) {
    return u32(static_cast<std::uint32_t>(text.size() + 1)) + text + std::string(1, '\0');
}

inline ProjectOptions sampleOptions() {
    ProjectOptions options;
    options.startUrl = "http://example.test/index.htm";
    options.autoReport = true;
    options.checkExternal = true;
    options.getAudio = false;
    options.maximumLevel = 7;
    options.reportMade = true;
    return options;
}

// A crawled-looking site: a start page linking to two pages and a mail address, both pages
// sharing a picture, one page linking back home, a page nothing reaches.
inline std::unique_ptr<Web> makeSampleWeb(WebListener* listener = nullptr) {
    auto web = std::make_unique<Web>(listener);
    web->settings().setWorkingDirectory("/tmp/corvida/p1/");
    web->settings().startUrl = "http://example.test/index.htm";
    web->settings().userAgent = "Corvida/0.1";
    web->settings().proxy = "proxy.test:8080";
    web->settings().emailAddress = "someone@example.test";
    web->settings().bufferSize = 8192;
    web->settings().robotsExclusion = true;
    web->settings().maximumLevels[static_cast<std::size_t>(KindRow::Pictures)] = 3;
    web->settings().optionBytes[static_cast<std::size_t>(KindRow::Audio)] = 0x41;
    web->settings().alwaysFetch = true;

    WebNode* start = web->findOrAddNode(CUrl("http://example.test/index.htm"));
    web->setStartNode(start);
    start->setLevel(0);
    start->setFlags(kFlagStart | kFlagLocalServer | kFlagInStartDirectory | kFlagFetched | kFlagProcessed);
    start->setTitle("Home");
    start->setExcerpt("a <b> excerpt");
    start->setHttpStatus(200);
    start->setSize(1234);
    start->setLocalSize(1234);
    start->setChecked(900000000);
    start->setLastModified(-1);
    start->setExpires(1000000000);
    start->setCredentials("dXNlcjpwYXNz"); // never stored

    WebNode* b = web->addLink(start, CUrl("http://example.test/b.htm#top"), 1, false);
    WebNode* a = web->addLink(start, CUrl("http://example.test/a.htm"), 1, false);
    web->addLink(start, CUrl("mailto:someone@example.test"), 1, false);
    WebNode* logo = web->addLink(a, CUrl("http://example.test/logo.gif"), 2, true);
    web->addLink(b, CUrl("http://example.test/logo.gif"), 2, false);
    web->addLink(b, CUrl("http://example.test/index.htm"), 2, false);
    a->setStatus(404, "Not <Found>", "");
    a->setFlags(kFlagFetchStarted | kFlagProcessed);
    b->setRequestUrl("http://example.test/b2.htm");
    b->setText(WebNode::Text::Title, "");
    logo->url().setMimeIndexByServer("image/gif");
    logo->setPicture(120, 80, 24);
    logo->setThumbnail(60, 40, 8);
    logo->setRobotsVerdict(kRobotsAllowed);
    WebNode* orphan = web->findOrAddNode(CUrl("http://example.test/orphan.zzq"));
    orphan->setLevel(4);
    orphan->url().setMimeIndexByServer("application/x-corvida-sample");
    return web;
}

// Everything a project file keeps: the loaded Web writes the same bytes as the saved one
// (names stand for MIME indexes there), and its neighbours are its own nodes.
inline void expectSameWeb(const Web& saved, const Web& loaded) {
    EXPECT_EQ(ProjectFile::encode({}, &loaded), ProjectFile::encode({}, &saved));
    ASSERT_EQ(saved.nodeCount(), loaded.nodeCount());
    for (std::size_t i = 0; i < loaded.nodeCount(); ++i) {
        const WebNode* node = loaded.nodes()[i];
        EXPECT_EQ(node->url().mimeIndexByServer(), saved.nodes()[i]->url().mimeIndexByServer());
        for (const WebNode* neighbour : node->outNeighbours().sorted()) {
            EXPECT_EQ(loaded.findNode(neighbour->url()), neighbour);
            EXPECT_TRUE(neighbour->inNeighbours().contains(node));
        }
    }
}

} // namespace corvida::test
