// SPDX-License-Identifier: MIT
#pragma once

// Shared by the project file tests: a small sample project with every kind of field set, a
// comparison of two Webs field by field, and a listener that records phases and progress.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/CUrl.h"
#include "model/MimeTable.h"
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
    web->setWorkingDirectory("/tmp/corvida/p1/");
    web->setStartUrlText("http://example.test/index.htm");
    web->setUserAgent("Corvida/0.1");
    web->setProxy("proxy.test:8080");
    web->setEmailAddress("someone@example.test");
    web->setBufferSize(8192);
    web->setRobotsExclusion(true);
    web->setMaximumLevel(KindRow::Pictures, 3);
    web->setOptionByte(KindRow::Audio, 0x41);
    web->setAlwaysFetch(true);

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

inline std::vector<std::int32_t> neighbourNumbers(const NeighbourList& list) {
    std::vector<std::int32_t> numbers;
    for (const WebNode* node : list.sorted()) {
        numbers.push_back(node != nullptr ? node->number() : -100);
    }
    return numbers;
}

inline void expectSameText(const WebNode& a, const WebNode& b, WebNode::Text which) {
    const std::string* x = a.text(which);
    const std::string* y = b.text(which);
    ASSERT_EQ(x == nullptr, y == nullptr) << a.url().url() << " text " << static_cast<int>(which);
    if (x != nullptr) {
        EXPECT_EQ(*x, *y);
    }
}

// Everything a project file keeps, compared between the saved and the loaded Web.
inline void expectSameWeb(const Web& saved, const Web& loaded) {
    EXPECT_EQ(saved.workingDirectory(), loaded.workingDirectory());
    EXPECT_EQ(saved.workingFileName(), loaded.workingFileName());
    EXPECT_EQ(saved.startUrlText(), loaded.startUrlText());
    EXPECT_EQ(saved.userAgent(), loaded.userAgent());
    EXPECT_EQ(saved.proxy(), loaded.proxy());
    EXPECT_EQ(saved.emailAddress(), loaded.emailAddress());
    EXPECT_EQ(saved.bufferSize(), loaded.bufferSize());
    EXPECT_EQ(saved.robotsExclusion(), loaded.robotsExclusion());
    EXPECT_EQ(saved.alwaysFetch(), loaded.alwaysFetch());
    EXPECT_EQ(saved.nextNodeNumber(), loaded.nextNodeNumber());
    EXPECT_EQ(saved.highestLevel(), loaded.highestLevel());
    for (const NodeKind kind : {NodeKind::Document, NodeKind::Picture, NodeKind::Audio, NodeKind::Video, NodeKind::Ftp,
                                NodeKind::Gopher, NodeKind::Mail, NodeKind::Other}) {
        EXPECT_EQ(saved.count(kind), loaded.count(kind));
    }
    for (const KindRow row : {KindRow::Documents, KindRow::Pictures, KindRow::Audio, KindRow::Video}) {
        EXPECT_EQ(saved.maximumLevel(row), loaded.maximumLevel(row));
        EXPECT_EQ(saved.optionByte(row), loaded.optionByte(row));
    }
    ASSERT_EQ(saved.startNode() == nullptr, loaded.startNode() == nullptr);
    if (saved.startNode() != nullptr) {
        EXPECT_EQ(saved.startNode()->number(), loaded.startNode()->number());
    }
    ASSERT_EQ(saved.nodeCount(), loaded.nodeCount());
    for (std::size_t i = 0; i < saved.nodeCount(); ++i) {
        const WebNode& x = *saved.nodes()[i];
        const WebNode& y = *loaded.nodes()[i];
        SCOPED_TRACE(std::string(x.url().url()));
        EXPECT_EQ(x.url().url(), y.url().url());
        EXPECT_EQ(x.url().fragment(), y.url().fragment());
        EXPECT_EQ(x.url().compare(y.url()), 0);
        EXPECT_EQ(x.url().schemeIndex(), y.url().schemeIndex());
        EXPECT_EQ(x.url().mimeIndexByExtension(), y.url().mimeIndexByExtension());
        EXPECT_EQ(x.url().mimeIndexByServer(), y.url().mimeIndexByServer());
        for (const WebNode::Text which : {WebNode::Text::Title, WebNode::Text::Excerpt, WebNode::Text::RequestUrl,
                                          WebNode::Text::StatusText, WebNode::Text::StatusDetail}) {
            expectSameText(x, y, which);
        }
        EXPECT_EQ(x.number(), y.number());
        EXPECT_EQ(x.level(), y.level());
        EXPECT_EQ(x.flags(), y.flags());
        EXPECT_EQ(x.fetchAnyway(), y.fetchAnyway());
        EXPECT_EQ(x.httpStatus(), y.httpStatus());
        EXPECT_EQ(x.localSize(), y.localSize());
        EXPECT_EQ(x.size(), y.size());
        EXPECT_EQ(x.expires(), y.expires());
        EXPECT_EQ(x.lastModified(), y.lastModified());
        EXPECT_EQ(x.checked(), y.checked());
        EXPECT_EQ(x.pictureWidth(), y.pictureWidth());
        EXPECT_EQ(x.pictureHeight(), y.pictureHeight());
        EXPECT_EQ(x.pictureDepth(), y.pictureDepth());
        EXPECT_EQ(x.thumbnailWidth(), y.thumbnailWidth());
        EXPECT_EQ(x.thumbnailHeight(), y.thumbnailHeight());
        EXPECT_EQ(x.thumbnailDepth(), y.thumbnailDepth());
        EXPECT_EQ(x.robotsVerdict(), y.robotsVerdict());
        EXPECT_EQ(neighbourNumbers(x.inNeighbours()), neighbourNumbers(y.inNeighbours()));
        EXPECT_EQ(neighbourNumbers(x.outNeighbours()), neighbourNumbers(y.outNeighbours()));
    }
}

} // namespace corvida::test
