// SPDX-License-Identifier: MIT
#include "model/ProjectFile.h"
#include "doc/ProjectStore.h"

#include <fstream>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/ProjectFileTestSupport.h"

namespace corvida {
namespace {

TEST(ProjectFileTest, ContentsHandedOverInPiecesAreTheContentsAndAFullSinkStopsTheSave) {
    // Enough nodes for several pieces, and a long text that crosses a piece's end.
    Web web;
    WebNode* start = web.findOrAddNode(CUrl("http://example.test/"));
    web.setStartNode(start);
    for (int i = 0; i < 12000; ++i) {
        WebNode* page = web.addLink(start, CUrl("http://example.test/p" + std::to_string(i) + ".htm"), 1, false);
        page->setExcerpt(std::string(static_cast<std::size_t>(i % 200), 'x'));
    }
    start->setExcerpt(std::string(ArchiveWriter::kPieceSize + 3, 'y'));
    const std::string whole = ProjectFile::encode(test::sampleOptions(), &web);
    ASSERT_GT(whole.size(), 3 * ArchiveWriter::kPieceSize);

    std::vector<std::string> pieces;
    EXPECT_TRUE(ProjectFile::encodeInto(test::sampleOptions(), &web, [&](std::string_view piece) {
        pieces.emplace_back(piece);
        return true;
    }));
    EXPECT_GE(pieces.size(), 3u);
    EXPECT_EQ(std::accumulate(pieces.begin(), pieces.end(), std::string()), whole);

    // A sink that refuses its second piece is handed nothing more, and the save fails.
    int calls = 0;
    EXPECT_FALSE(ProjectFile::encodeInto(test::sampleOptions(), &web, [&](std::string_view) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
}

TEST(ProjectFileTest, SaveThenLoadKeepsEveryStoredField) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("site.zpj").toStdString();
    const std::unique_ptr<Web> saved = test::makeSampleWeb();
    ASSERT_TRUE(ProjectStore::save(path, test::sampleOptions(), saved.get()).isOk());
    EXPECT_FALSE(ProjectStore::save(folder.filePath("missing/site.zpj").toStdString(), {}, saved.get()).isOk());

    test::PhaseRecorder recorder;
    const ProjectFile::Loaded loaded = ProjectStore::load(path, &recorder);
    ASSERT_NE(loaded.web, nullptr) << loaded.status.message();
    EXPECT_EQ(recorder.texts, (std::vector<std::string>{"Loading...", " FINISHED"}));
    EXPECT_EQ(recorder.added + recorder.processed, 12);
    test::expectSameWeb(*saved, *loaded.web);

    EXPECT_EQ(ProjectFile::encode(loaded.options, nullptr), ProjectFile::encode(test::sampleOptions(), nullptr));

    // The fetch-anyway tag comes back as the node's state; its bit is a file detail and
    // never shows in the running flags.
    const WebNode* logo = loaded.web->findNode(CUrl("http://example.test/logo.gif"));
    EXPECT_TRUE(logo->fetchAnyway());
    EXPECT_FALSE(logo->hasAnyFlag(kFlagStoredFetchAnyway));

    // Credentials are never stored; new nodes number on from the stored count.
    EXPECT_EQ(loaded.web->startNode()->text(WebNode::Text::Credentials), std::nullopt);
    EXPECT_EQ(loaded.web->findOrAddNode(CUrl("http://example.test/new.htm"))->number(), saved->nextNodeNumber());

    // A file holding the bare sequence, without the compound file around it, loads the same.
    const std::string rawPath = folder.filePath("raw.zpj").toStdString();
    std::ofstream(rawPath, std::ios::binary) << ProjectFile::encode(test::sampleOptions(), saved.get());
    const ProjectFile::Loaded raw = ProjectStore::load(rawPath, nullptr);
    ASSERT_NE(raw.web, nullptr) << raw.status.message();
    test::expectSameWeb(*saved, *raw.web);
}

TEST(ProjectFileTest, HttpsNodesRoundTripAndOlderFilesKeepWhatTheyStored) {
    Web web;
    web.settings().startUrl = "https://example.test/index.htm";
    WebNode* start = web.findOrAddNode(CUrl("https://example.test/index.htm"));
    web.setStartNode(start);
    start->setLevel(0);
    web.addLink(start, CUrl("http://example.test/a.htm"), 1, false);
    web.addLink(start, CUrl("HTTPS://example.test:8443/b.gif"), 1, false);
    // An https URL as a program without the scheme stored it: unknown scheme, another kind.
    WebNode* older = web.findOrAddNode(
        CUrl::restore("https://old.test/c.htm", "", MimeTable::kUnknown, MimeTable::kTypeHtml, MimeTable::kUnknown));
    older->setFlags(kFlagOther);

    const std::string bytes = ProjectFile::encode({}, &web);
    const ProjectFile::Loaded loaded = ProjectFile::decode(bytes, nullptr);
    ASSERT_NE(loaded.web, nullptr) << loaded.status.message();
    EXPECT_EQ(ProjectFile::encode({}, loaded.web.get()), bytes);
    EXPECT_EQ(loaded.web->findNode(CUrl("https://example.test:8443/b.gif"))->url().schemeIndex(),
              MimeTable::kSchemeHttps);
    const WebNode* reread = loaded.web->findNode(CUrl("https://old.test/c.htm"));
    EXPECT_EQ(reread->url().schemeIndex(), MimeTable::kUnknown);
    EXPECT_TRUE(reread->hasAnyFlag(kFlagOther));
    EXPECT_FALSE(reread->hasAnyFlag(kFlagHttp));
}

TEST(ProjectFileTest, SummaryTellsTheRecordWithoutReadingNodes) {
    const std::unique_ptr<Web> web = test::makeSampleWeb();
    const std::string bytes = ProjectFile::encode(test::sampleOptions(), web.get());
    const ProjectFile::Summary summary = ProjectFile::decodeSummary(bytes);
    ASSERT_NE(summary.web, nullptr) << summary.status.message();
    EXPECT_EQ(summary.nodeCount, web->nodeCount());
    EXPECT_EQ(summary.startNumber, web->startNode()->number());
    EXPECT_EQ(summary.web->nodeCount(), 0u);
    EXPECT_EQ(summary.web->count(NodeKind::Document), web->count(NodeKind::Document));
    EXPECT_EQ(summary.web->settings().userAgent, web->settings().userAgent);
    EXPECT_EQ(ProjectFile::encode(summary.options, nullptr), ProjectFile::encode(test::sampleOptions(), nullptr));

    // Damage among the nodes goes unseen; a record cut short does not.
    EXPECT_NE(ProjectFile::decodeSummary(bytes.substr(0, bytes.size() - 5)).web, nullptr);
    EXPECT_EQ(ProjectFile::decodeSummary(bytes.substr(0, 40)).web, nullptr);
}

TEST(ProjectFileTest, NeighboursResolveWhateverTheNodeNumbers) {
    Web web;
    WebNode* a = web.findOrAddNode(CUrl("http://h/a.htm"));
    WebNode* b = web.findOrAddNode(CUrl("http://h/b.htm"));
    WebNode* c = web.findOrAddNode(CUrl("http://h/c.htm"));
    web.setStartNode(c);
    a->setNumber(2000000000);
    c->setNumber(5000);
    for (WebNode* target : {b, c}) {
        a->linkOut(target);
        target->linkIn(a);
    }
    const ProjectFile::Loaded loaded = ProjectFile::decode(ProjectFile::encode({}, &web), nullptr);
    ASSERT_NE(loaded.web, nullptr) << loaded.status.message();
    test::expectSameWeb(web, *loaded.web);
    EXPECT_EQ(loaded.web->startNode()->number(), 5000);
}

TEST(ProjectFileTest, ProgressIsEachWholePercentOnceThenHundred) {
    test::PhaseRecorder saving;
    Web web(&saving);
    for (int i = 0; i < 200; ++i) {
        web.findOrAddNode(CUrl("http://h/p" + std::to_string(i) + ".htm"));
    }
    const std::string bytes = ProjectFile::encode({}, &web);
    std::vector<int> expected(101); // 0, 1, ... 100
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(saving.percents, expected);
    EXPECT_EQ(saving.texts, (std::vector<std::string>{"Storing...", " FINISHED"}));
    test::PhaseRecorder loading;
    ASSERT_NE(ProjectFile::decode(bytes, &loading).web, nullptr);
    EXPECT_EQ(loading.percents, expected);

    test::PhaseRecorder none; // an empty graph goes from 0 straight to 100
    Web empty(&none);
    ProjectFile::encode({}, &empty);
    EXPECT_EQ(none.percents, (std::vector<int>{0, 100}));
}

} // namespace
} // namespace corvida
