// SPDX-License-Identifier: MIT
#include "model/ProjectFile.h"

#include <fstream>
#include <iterator>
#include <numeric>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/ProjectFileTestSupport.h"

namespace corvida {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ProjectFileTest, SaveThenLoadKeepsEveryStoredField) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("site.zpj").toStdString();
    const std::unique_ptr<Web> saved = test::makeSampleWeb();
    ASSERT_EQ(ProjectFile::save(path, test::sampleOptions(), saved.get()), "");

    test::PhaseRecorder recorder;
    const ProjectFile::Loaded loaded = ProjectFile::load(path, &recorder, {});
    ASSERT_EQ(loaded.error, "");
    ASSERT_NE(loaded.web, nullptr);
    EXPECT_EQ(recorder.texts, (std::vector<std::string>{"Loading...", " FINISHED"}));
    EXPECT_EQ(recorder.added, 6);
    EXPECT_EQ(recorder.processed, 6);
    test::expectSameWeb(*saved, *loaded.web);

    EXPECT_EQ(ProjectFile::encode(loaded.options, nullptr), ProjectFile::encode(test::sampleOptions(), nullptr));

    // The fetch-anyway tag comes back as the node's state; its bit is a file detail and
    // never shows in the running flags.
    const WebNode* logo = loaded.web->findNode(CUrl("http://example.test/logo.gif"));
    EXPECT_TRUE(logo->fetchAnyway());
    EXPECT_FALSE(logo->hasAnyFlag(kFlagStoredFetchAnyway));

    // What the file does not keep comes back at its default.
    const WebNode* start = loaded.web->startNode();
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->text(WebNode::Text::Credentials), nullptr);
    EXPECT_EQ(start->linkTreeEntry(), nullptr);
    EXPECT_EQ(start->viewPictureHandle(), -1);
    EXPECT_EQ(loaded.web->maximumLevel(KindRow::OtherMedia), kDefaultMaximumLevel);
    EXPECT_EQ(loaded.web->optionByte(KindRow::OtherMedia), kDefaultOptionByte);

    // The loaded graph is a working graph: lookups find the loaded nodes.
    EXPECT_EQ(loaded.web->findNode(CUrl("HTTP://EXAMPLE.TEST/A.HTM"))->number(), 2);
    EXPECT_EQ(loaded.web->findOrAddNode(CUrl("http://example.test/new.htm"))->number(), saved->nextNodeNumber());
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
    const ProjectFile::Loaded loaded = ProjectFile::decode(ProjectFile::encode({}, &web), nullptr, {});
    ASSERT_NE(loaded.web, nullptr) << loaded.error;
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
    const ProjectFile::Loaded loaded = ProjectFile::decode(bytes, &loading, {});
    ASSERT_NE(loaded.web, nullptr) << loaded.error;
    EXPECT_EQ(loading.percents, expected);
    EXPECT_EQ(loading.added, 200);

    // An empty graph goes from 0 straight to 100.
    test::PhaseRecorder none;
    Web empty(&none);
    ProjectFile::encode({}, &empty);
    EXPECT_EQ(none.percents, (std::vector<int>{0, 100}));
}

TEST(ProjectFileTest, StoredSettingsReplaceTheCurrentOnes) {
    ProjectFile::WebSettings current;
    current.userAgent = "Current/1.0";
    current.proxy = "current.test:3128";
    current.bufferSize = 1024;
    current.robotsExclusion = true;

    Web stored; // no user agent, no proxy, robots off
    stored.setBufferSize(2048);
    const ProjectFile::Loaded loaded = ProjectFile::decode(ProjectFile::encode({}, &stored), nullptr, current);
    ASSERT_NE(loaded.web, nullptr) << loaded.error;
    EXPECT_EQ(loaded.web->userAgent(), "");
    EXPECT_EQ(loaded.web->proxy(), "");
    EXPECT_EQ(loaded.web->bufferSize(), 2048);
    EXPECT_FALSE(loaded.web->robotsExclusion());
}

TEST(ProjectFileTest, RawSequenceFileLoadsLikeACompoundFile) {
    QTemporaryDir folder;
    const std::unique_ptr<Web> web = test::makeSampleWeb();
    const std::string rawPath = folder.filePath("raw.zpj").toStdString();
    writeFile(rawPath, ProjectFile::encode(test::sampleOptions(), web.get()));
    const ProjectFile::Loaded loaded = ProjectFile::load(rawPath, nullptr, {});
    ASSERT_NE(loaded.web, nullptr) << loaded.error;
    test::expectSameWeb(*web, *loaded.web);
}

TEST(ProjectFileTest, SaveReplacesTheOldFileAndAFailedSaveKeepsIt) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("site.zpj").toStdString();
    Web first;
    first.findOrAddNode(CUrl("http://h/first.htm"));
    ASSERT_EQ(ProjectFile::save(path, {}, &first), "");
    const std::unique_ptr<Web> second = test::makeSampleWeb();
    ASSERT_EQ(ProjectFile::save(path, {}, second.get()), "");
    EXPECT_EQ(ProjectFile::load(path, nullptr, {}).web->nodeCount(), second->nodeCount());

    const std::string before = readFile(path);
    EXPECT_NE(ProjectFile::save(folder.filePath("missing/site.zpj").toStdString(), {}, second.get()), "");
    EXPECT_EQ(readFile(path), before);
}

} // namespace
} // namespace corvida
