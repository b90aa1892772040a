// SPDX-License-Identifier: MIT
#include "model/ProjectFile.h"

#include <fstream>
#include <iterator>

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

    const ProjectOptions expected = test::sampleOptions();
    EXPECT_EQ(loaded.options.startUrl, expected.startUrl);
    EXPECT_EQ(loaded.options.autoReport, expected.autoReport);
    EXPECT_EQ(loaded.options.autoLocalSite, expected.autoLocalSite);
    EXPECT_EQ(loaded.options.checkExternal, expected.checkExternal);
    EXPECT_EQ(loaded.options.getDocuments, expected.getDocuments);
    EXPECT_EQ(loaded.options.getAudio, expected.getAudio);
    EXPECT_EQ(loaded.options.maximumLevel, expected.maximumLevel);
    EXPECT_EQ(loaded.options.reportMade, expected.reportMade);
    EXPECT_EQ(loaded.options.localSiteMade, expected.localSiteMade);

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

TEST(ProjectFileTest, FetchAnywayTagAndTypeNamesSurviveTheFile) {
    const std::unique_ptr<Web> saved = test::makeSampleWeb();
    const std::string bytes = ProjectFile::encode(test::sampleOptions(), saved.get());
    const ProjectFile::Loaded loaded = ProjectFile::decode(bytes, nullptr, {});
    ASSERT_NE(loaded.web, nullptr) << loaded.error;

    const WebNode* logo = loaded.web->findNode(CUrl("http://example.test/logo.gif"));
    ASSERT_NE(logo, nullptr);
    EXPECT_TRUE(logo->fetchAnyway());
    // The tag's bit is a file detail and never shows in the running flags.
    EXPECT_FALSE(logo->hasAnyFlag(kFlagStoredFetchAnyway));
    EXPECT_EQ(logo->url().mimeIndexByServer(), MimeTable::kTypeGif);

    const WebNode* orphan = loaded.web->findNode(CUrl("http://example.test/orphan.zzq"));
    ASSERT_NE(orphan, nullptr);
    EXPECT_EQ(MimeTable::instance().typeName(orphan->url().mimeIndexByServer()), "application/x-corvida-sample");
    EXPECT_EQ(orphan->url().mimeIndexByExtension(), MimeTable::kUnknown);

    const WebNode* mail = loaded.web->findNode(CUrl("mailto:someone@example.test"));
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->url().schemeIndex(), MimeTable::kSchemeMailto);
    EXPECT_EQ(loaded.web->findNode(CUrl("http://example.test/b.htm"))->url().fragment(), "top");
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

    std::vector<int> expected;
    for (int percent = 0; percent < 100; ++percent) {
        expected.push_back(percent);
    }
    expected.push_back(100);
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

TEST(ProjectFileTest, ProjectNeverCrawledSavesAnEmptyGraph) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("new.zpj").toStdString();
    ASSERT_EQ(ProjectFile::save(path, ProjectOptions{}, nullptr), "");
    const ProjectFile::Loaded loaded = ProjectFile::load(path, nullptr, {});
    ASSERT_NE(loaded.web, nullptr) << loaded.error;
    EXPECT_EQ(loaded.options.startUrl, kNoStartUrl);
    EXPECT_EQ(loaded.web->nodeCount(), 0u);
    EXPECT_EQ(loaded.web->startNode(), nullptr);
    EXPECT_EQ(loaded.web->bufferSize(), kDefaultBufferSize);
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
