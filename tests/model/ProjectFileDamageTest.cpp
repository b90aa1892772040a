// SPDX-License-Identifier: MIT
// Damaged and truncated project files are refused with a message, never half-loaded.

#include <cstdint>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/ArchiveWriter.h"
#include "model/ProjectFile.h"
#include "model/ProjectFileTestSupport.h"
#include "platform/CompoundFile.h"

namespace corvida {
namespace {

// Counts every node the loader announces; a refused file must announce none.
class AnnouncementCounter : public WebListener {
public:
    int announced = 0;
    void nodeAdded(WebNode* /*node*/, bool /*isNew*/, WebNode* /*source*/) override { ++announced; }
    void nodeProcessed(WebNode* /*node*/, bool /*mark*/) override { ++announced; }
};

std::string sampleBytes() {
    const std::unique_ptr<Web> web = test::makeSampleWeb();
    return ProjectFile::encode(test::sampleOptions(), web.get());
}

std::string u32(std::uint32_t value) {
    ArchiveWriter writer;
    writer.writeU32(value);
    return writer.bytes();
}

// Offset of the first node record in sampleBytes(): the project record, then the Web record
// with the sample's texts.
std::size_t firstNodeOffset(const std::string& bytes) {
    const std::string firstUrl = "http://example.test/a.htm";
    return bytes.find(u32(static_cast<std::uint32_t>(firstUrl.size() + 1)) + firstUrl);
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
        AnnouncementCounter counter;
        const ProjectFile::Loaded loaded = ProjectFile::decode(bytes.substr(0, length), &counter, {});
        ASSERT_EQ(loaded.web, nullptr) << "cut at " << length;
        EXPECT_EQ(loaded.error.rfind("damaged project file: ", 0), 0u) << loaded.error;
        EXPECT_EQ(counter.announced, 0);
    }
    const ProjectFile::Loaded whole = ProjectFile::decode(bytes, nullptr, {});
    EXPECT_NE(whole.web, nullptr) << whole.error;

    const std::size_t end = bytes.size();
    EXPECT_EQ(ProjectFile::decode(bytes.substr(0, end - 2), nullptr, {}).error,
              "damaged project file: node 5: the robots verdict is cut short: the file ends 2 bytes into it (at byte " +
                  std::to_string(end - 4) + ")");
    // A cut that takes whole nodes away is seen from the node count alone.
    EXPECT_NE(ProjectFile::decode(bytes.substr(0, firstNodeOffset(bytes)), nullptr, {})
                  .error.find("the node count of 6 is more than the rest of the file can hold"),
              std::string::npos);
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
        if (round % 10 == 0) {
            damaged.insert(random() % damaged.size(), std::string(1 + random() % 8, static_cast<char>(random())));
        }
        const ProjectFile::Loaded loaded = ProjectFile::decode(damaged, nullptr, {});
        if (loaded.web == nullptr) {
            ++refused;
            EXPECT_FALSE(loaded.error.empty());
            continue;
        }
        expectSoundGraph(*loaded.web);
        // What loaded saves again, and loads again to the same bytes.
        const std::string again = ProjectFile::encode(loaded.options, loaded.web.get());
        const ProjectFile::Loaded reloaded = ProjectFile::decode(again, nullptr, {});
        ASSERT_NE(reloaded.web, nullptr) << reloaded.error;
        EXPECT_EQ(ProjectFile::encode(reloaded.options, reloaded.web.get()), again);
    }
    EXPECT_GT(refused, 1000);
}

TEST(ProjectFileDamageTest, ImpossibleCountsAndLengthsAreRefusedBeforeAllocating) {
    const std::string bytes = ProjectFile::encode({}, nullptr);
    const std::size_t webRecord = 1 + 35 + 40;

    std::string manyNodes = bytes;
    manyNodes.replace(webRecord + 4, 4, u32(0xFFFFFFFF));
    EXPECT_EQ(ProjectFile::decode(manyNodes, nullptr, {}).error,
              "damaged project file: Web record: the node count of 4294967295 is more than the rest of the file "
              "can hold (at byte 192)");

    std::string longText = bytes;
    longText.replace(webRecord + 8, 4, u32(0xFFFFFFF0));
    EXPECT_NE(ProjectFile::decode(longText, nullptr, {}).error.find("the working directory is cut short"),
              std::string::npos);

    std::string longStartUrl = "\xFF\xFF\xFF" + u32(0x7FFFFFFF) + bytes.substr(36);
    EXPECT_NE(ProjectFile::decode(longStartUrl, nullptr, {}).error.find("project record: the start URL is cut short"),
              std::string::npos);

    std::string wide = "\xFF\xFE\xFF" + bytes.substr(36);
    EXPECT_NE(ProjectFile::decode(wide, nullptr, {}).error.find("wide-character"), std::string::npos);

    EXPECT_NE(ProjectFile::decode(bytes + "x", nullptr, {}).error.find("1 unexpected bytes"), std::string::npos);
}

TEST(ProjectFileDamageTest, RecordsThatContradictThemselvesAreRefused) {
    const std::string bytes = sampleBytes();
    const std::size_t node0 = firstNodeOffset(bytes);

    // A URL text whose stored hash belongs to another text.
    std::string renamed = bytes;
    renamed[node0 + 4 + 20] = 'b'; // http://example.test/b.htm, while b.htm exists too
    EXPECT_NE(ProjectFile::decode(renamed, nullptr, {}).error.find("node 0: the URL does not match its stored length"),
              std::string::npos);

    // A counted text without its terminating NUL.
    std::string unterminated = bytes;
    unterminated[node0 + 4 + 25] = 'x';
    EXPECT_NE(ProjectFile::decode(unterminated, nullptr, {}).error.find("does not end with a NUL byte"),
              std::string::npos);

    // Two nodes with the same URL, or the same number.
    Web twice;
    twice.findOrAddNode(CUrl("http://h/a.htm"));
    twice.findOrAddNode(CUrl("http://h/b.htm"));
    const std::string twoNodes = ProjectFile::encode({}, &twice);
    std::string sameUrl = twoNodes;
    const std::size_t second = sameUrl.find("http://h/b.htm");
    sameUrl[second + 9] = 'a';
    const std::size_t hash = sameUrl.find(u32(CUrl("http://h/b.htm").foldHash()), second);
    sameUrl.replace(hash, 4, u32(CUrl("http://h/a.htm").foldHash()));
    EXPECT_NE(ProjectFile::decode(sameUrl, nullptr, {}).error.find("node 1: the URL is the URL of an earlier node"),
              std::string::npos);
    twice.nodes()[1]->setNumber(0);
    EXPECT_NE(ProjectFile::decode(ProjectFile::encode({}, &twice), nullptr, {})
                  .error.find("is the number of an earlier node"),
              std::string::npos);
}

TEST(ProjectFileDamageTest, NeighbourWithoutNodeBecomesAnEmptyReference) {
    Web web;
    WebNode* a = web.findOrAddNode(CUrl("http://h/a.htm"));
    WebNode* b = web.findOrAddNode(CUrl("http://h/b.htm"));
    web.setStartNode(a);
    a->linkOut(b);
    b->linkIn(a);
    b->setNumber(7); // a's list now names 7, which the file will not hold once b is renumbered
    std::string bytes = ProjectFile::encode({}, &web);
    // Renumber b in its own record: the number field follows its five texts and local size.
    const std::size_t bRecord = bytes.find(u32(15) + "http://h/b.htm");
    const std::size_t numberField = bytes.find(u32(7), bRecord + 4 + 15);
    ASSERT_NE(numberField, std::string::npos);
    bytes.replace(numberField, 4, u32(9));

    const ProjectFile::Loaded loaded = ProjectFile::decode(bytes, nullptr, {});
    ASSERT_NE(loaded.web, nullptr) << loaded.error;
    const WebNode* loadedA = loaded.web->findNode(CUrl("http://h/a.htm"));
    ASSERT_EQ(loadedA->outCount(), 1u);
    EXPECT_EQ(loadedA->out(0), nullptr);
    EXPECT_EQ(loaded.web->startNode(), loadedA);
    expectSoundGraph(*loaded.web);
    // Saving it again drops the empty reference.
    const ProjectFile::Loaded again =
        ProjectFile::decode(ProjectFile::encode(loaded.options, loaded.web.get()), nullptr, {});
    ASSERT_NE(again.web, nullptr) << again.error;
    EXPECT_EQ(again.web->findNode(CUrl("http://h/a.htm"))->outCount(), 0u);
}

TEST(ProjectFileDamageTest, DamagedCompoundFilesAreRefused) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("site.zpj").toStdString();
    const std::unique_ptr<Web> web = test::makeSampleWeb();
    ASSERT_EQ(ProjectFile::save(path, test::sampleOptions(), web.get()), "");
    std::string file;
    {
        std::ifstream in(path, std::ios::binary);
        file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    for (const std::size_t length : {std::size_t{8}, std::size_t{600}, file.size() / 2, file.size() - 1}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << file.substr(0, length);
        const ProjectFile::Loaded loaded = ProjectFile::load(path, nullptr, {});
        EXPECT_EQ(loaded.web, nullptr) << "cut at " << length;
        EXPECT_FALSE(loaded.error.empty());
    }

    std::string other;
    ASSERT_EQ(CompoundFile::build("Other", "x", other), "");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << other;
    EXPECT_EQ(ProjectFile::load(path, nullptr, {}).error, "the compound file holds no stream Contents");
}

} // namespace
} // namespace corvida
