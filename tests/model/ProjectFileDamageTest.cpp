// SPDX-License-Identifier: MIT
// Damaged and truncated project files are refused with a message, never half-loaded.

#include <fstream>
#include <random>
#include <set>
#include <string>

#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "doc/ProjectStore.h"
#include "model/MimeTable.h"
#include "model/ProjectFile.h"
#include "model/ProjectFileTestSupport.h"
#include "platform/CompoundFile.h"

namespace corvida {
namespace {

std::string sampleBytes() {
    const std::unique_ptr<Web> web = test::makeSampleWeb();
    return ProjectFile::encode(test::sampleOptions(), web.get());
}

using test::u32;
using ::testing::HasSubstr;

std::string errorOf(const std::string& bytes) {
    return ProjectFile::decode(bytes, nullptr).status.message();
}

// Every neighbour of a loaded Web is one of its nodes or an empty reference.
void expectSoundGraph(const Web& web) {
    std::set<const WebNode*> nodes(web.nodes().begin(), web.nodes().end());
    for (const WebNode* node : web.nodes()) {
        for (const NeighbourList* list : {&node->inNeighbours(), &node->outNeighbours()}) {
            for (const WebNode* neighbour : list->sorted()) {
                EXPECT_TRUE(neighbour == nullptr || nodes.count(neighbour) == 1);
            }
        }
    }
    EXPECT_TRUE(web.startNode() == nullptr || nodes.count(web.startNode()) == 1);
}

TEST(ProjectFileDamageTest, EveryTruncationIsRefused) {
    const std::string bytes = sampleBytes();
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        test::PhaseRecorder recorder; // a refused file announces no node
        const ProjectFile::Loaded loaded = ProjectFile::decode(bytes.substr(0, length), &recorder);
        ASSERT_EQ(loaded.web, nullptr) << "cut at " << length;
        EXPECT_EQ(loaded.status.message().rfind("damaged project file: ", 0), 0u) << loaded.status.message();
        EXPECT_EQ(recorder.added + recorder.processed, 0);
    }
    EXPECT_EQ(errorOf(bytes), "");
    EXPECT_EQ(errorOf(bytes.substr(0, bytes.size() - 2)),
              "damaged project file: node 5: the robots verdict is cut short: the file ends 2 bytes into it (at byte " +
                  std::to_string(bytes.size() - 4) + ")");
}

TEST(ProjectFileDamageTest, RefusedFilesAddNoSchemeOrTypeToTheTable) {
    MimeTable& table = MimeTable::instance();
    const MimeTable::Mark before = table.mark();
    Web web;
    web.findOrAddNode(CUrl("zz-only-here://h/a"))->url().setMimeIndexByServer("application/x-only-here");
    const std::string bytes = ProjectFile::encode({}, &web);
    table.rollBack(before); // as on a machine that never saw these names

    ASSERT_EQ(ProjectFile::decode(bytes.substr(0, bytes.size() - 1), nullptr).web, nullptr);
    EXPECT_EQ(table.schemeCount(), before.schemes);
    EXPECT_EQ(table.typeCount(), before.types);
    EXPECT_EQ(table.majorCount(), before.majors);

    const ProjectFile::Loaded loaded = ProjectFile::decode(bytes, nullptr);
    ASSERT_NE(loaded.web, nullptr);
    EXPECT_EQ(table.typeCount(), before.types + 1);
    EXPECT_EQ(table.typeName(loaded.web->nodes()[0]->url().effectiveMimeIndex()), "application/x-only-here");
}

TEST(ProjectFileDamageTest, RandomCorruptionsAreRefusedOrLoadSoundly) {
    const std::string bytes = sampleBytes();
    std::mt19937 random(20240611);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = bytes;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
        }
        const ProjectFile::Loaded loaded = ProjectFile::decode(damaged, nullptr);
        if (loaded.web == nullptr) {
            ++refused;
            EXPECT_FALSE(loaded.status.message().empty());
            continue;
        }
        expectSoundGraph(*loaded.web);
        // What loaded saves again, and loads again to the same bytes.
        const std::string again = ProjectFile::encode(loaded.options, loaded.web.get());
        const ProjectFile::Loaded reloaded = ProjectFile::decode(again, nullptr);
        ASSERT_NE(reloaded.web, nullptr) << reloaded.status.message();
        EXPECT_EQ(ProjectFile::encode(reloaded.options, reloaded.web.get()), again);
    }
    EXPECT_GT(refused, 1000);
}

TEST(ProjectFileDamageTest, ImpossibleCountsAndLengthsAreRefusedBeforeAllocating) {
    const std::string bytes = ProjectFile::encode({}, nullptr);
    const std::size_t webRecord = 1 + 35 + 40;

    std::string manyNodes = bytes;
    manyNodes.replace(webRecord + 4, 4, u32(0xFFFFFFFF));
    EXPECT_EQ(errorOf(manyNodes),
              "damaged project file: Web record: the node count of 4294967295 is more than the rest of the file "
              "can hold (at byte 192)");

    std::string longText = bytes;
    longText.replace(webRecord + 8, 4, u32(0xFFFFFFF0));
    EXPECT_THAT(errorOf(longText), HasSubstr("the working directory is cut short"));
    EXPECT_THAT(errorOf("\xFF\xFE\xFF" + bytes.substr(36)), HasSubstr("wide-character"));
    EXPECT_THAT(errorOf(bytes + "x"), HasSubstr("1 unexpected bytes"));
}

TEST(ProjectFileDamageTest, RecordsThatContradictThemselvesAreRefused) {
    const std::string bytes = sampleBytes();
    const std::size_t node0 = bytes.find(u32(26) + "http://example.test/a.htm"); // the first node record

    // A URL text whose stored hash belongs to another text.
    std::string renamed = bytes;
    renamed[node0 + 4 + 20] = 'b'; // http://example.test/b.htm, while b.htm exists too
    EXPECT_THAT(errorOf(renamed), HasSubstr("node 0: the URL does not match its stored length"));

    // A counted text without its terminating NUL.
    std::string unterminated = bytes;
    unterminated[node0 + 4 + 25] = 'x';
    EXPECT_THAT(errorOf(unterminated), HasSubstr("does not end with a NUL byte"));

    // Two nodes with the same URL, or the same number.
    Web twice;
    twice.findOrAddNode(CUrl("http://h/a.htm"));
    twice.findOrAddNode(CUrl("http://h/b.htm"));
    std::string sameUrl = ProjectFile::encode({}, &twice);
    const std::size_t second = sameUrl.find("http://h/b.htm");
    sameUrl[second + 9] = 'a';
    const std::size_t hash = sameUrl.find(u32(CUrl("http://h/b.htm").foldHash()), second);
    sameUrl.replace(hash, 4, u32(CUrl("http://h/a.htm").foldHash()));
    EXPECT_THAT(errorOf(sameUrl), HasSubstr("node 1: the URL is the URL of an earlier node"));
    twice.nodes()[1]->setNumber(0);
    EXPECT_THAT(errorOf(ProjectFile::encode({}, &twice)), HasSubstr("is the number of an earlier node"));
}

TEST(ProjectFileDamageTest, NeighbourWithoutNodeBecomesAnEmptyReference) {
    WebNode stray{CUrl("http://h/b.htm")}; // numbered 9, but no record of the file holds it
    stray.setNumber(9);
    Web web;
    WebNode* a = web.findOrAddNode(CUrl("http://h/a.htm"));
    web.setStartNode(a);
    a->linkOut(&stray);
    const ProjectFile::Loaded loaded = ProjectFile::decode(ProjectFile::encode({}, &web), nullptr);
    ASSERT_NE(loaded.web, nullptr) << loaded.status.message();
    ASSERT_EQ(loaded.web->startNode()->outCount(), 1u);
    EXPECT_EQ(loaded.web->startNode()->out(0), nullptr);
}

// Damage inside the compound file itself is its reader's to find; here, a compound file of
// another program.
TEST(ProjectFileDamageTest, CompoundFileWithoutContentsIsRefused) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("site.zpj").toStdString();
    std::string other;
    ASSERT_TRUE(CompoundFile::build("Other", "x", other).isOk());
    std::ofstream(path, std::ios::binary) << other;
    EXPECT_EQ(ProjectStore::load(path, nullptr).status.message(), "the compound file holds no stream Contents");
}

} // namespace
} // namespace corvida
