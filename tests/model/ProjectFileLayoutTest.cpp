// SPDX-License-Identifier: MIT
// The byte layout of the "Contents" sequence, checked against bytes written out by hand.

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/ProjectFile.h"
#include "model/ProjectFileTestSupport.h"

namespace corvida {
namespace {

using test::counted;
using test::u32;

std::string times(int count, const std::string& bytes) {
    std::string all;
    for (int i = 0; i < count; ++i) {
        all += bytes;
    }
    return all;
}

// The sequence up to the nodes for default options and a Web as it is made.
std::string emptyProjectBytes() {
    std::string bytes = static_cast<char>(35) + std::string(kNoStartUrl);
    bytes += times(3, u32(0)) + times(4, u32(1)) + times(3, u32(0)); // options
    bytes += u32(0xFFFFFFFF) + u32(0);                               // no start node, no nodes
    bytes += times(5, u32(0));                                       // absent texts
    bytes += u32(4096) + times(3, u32(0));                           // buffer, robots, e-mail, next number
    bytes += times(8, u32(0)) + u32(0);                              // counters, highest level
    return bytes + times(4, u32(128)) + times(4, u32(210)) + u32(0); // levels, option bytes, always fetch
}

TEST(ProjectFileLayoutTest, EmptyProjectIsExactlyItsTwoRecords) {
    EXPECT_EQ(ProjectFile::encode({}, nullptr), emptyProjectBytes()); // a project never crawled
    Web web;
    EXPECT_EQ(ProjectFile::encode({}, &web), emptyProjectBytes());

    const ProjectFile::Loaded loaded = ProjectFile::decode(emptyProjectBytes(), nullptr);
    ASSERT_NE(loaded.web, nullptr) << loaded.status.message();
    EXPECT_EQ(loaded.web->settings().proxy, "");
    EXPECT_EQ(loaded.web->settings().bufferSize, kDefaultBufferSize);
    EXPECT_FALSE(loaded.web->settings().robotsExclusion);
}

TEST(ProjectFileLayoutTest, NodeRecordFieldsInOrder) {
    Web web;
    WebNode* node = web.findOrAddNode(CUrl("http://h/a.htm"));
    web.setStartNode(node);
    node->setTitle("T");
    node->setText(WebNode::Text::StatusText, "");
    node->setLevel(0);
    node->markFetchAnyway();
    const std::string bytes = ProjectFile::encode({}, &web);
    const std::string prefix = emptyProjectBytes();
    ASSERT_GT(bytes.size(), prefix.size());

    std::string node0;
    node0 += counted("http://h/a.htm") + counted("http://h/") + counted("http") + counted("htm") + counted("h") +
             u32(1) + std::string(1, '\0'); // an empty fragment takes 5 bytes
    node0 += u32(14) + u32(CUrl("http://h/a.htm").foldHash());
    node0 += counted("HTTP") + counted("text/html") + counted("???");
    node0 += counted("T") + u32(0) + u32(0) + counted("") + u32(0); // absent texts take 4 bytes
    node0 += u32(0) + u32(0) + u32(0xFFFFFFFF);                     // local size, number, status
    node0 += u32(node->flags() | kFlagStoredFetchAnyway);
    node0 += u32(0) + u32(0xFFFFFFFF) + u32(0xFFFFFFFF) + u32(0xFFFFFFFF) + u32(0) + u32(0);
    node0 += u32(0) + u32(0) + u32(0) + u32(0) + u32(0);
    node0 += u32(0xFFFFFFFE) + u32(0xFFFFFFFE) + u32(0);
    EXPECT_EQ(bytes.substr(prefix.size()), node0);
    // Start node 0, one node, next number 1, one document.
    EXPECT_EQ(bytes.substr(prefix.size() - 116, 8), u32(0) + u32(1));
    // The unreported server type "???" loads as none.
    const ProjectFile::Loaded loaded = ProjectFile::decode(bytes, nullptr);
    ASSERT_NE(loaded.web, nullptr) << loaded.status.message();
    EXPECT_EQ(loaded.web->nodes()[0]->url().mimeIndexByServer(), 0u);
}

TEST(ProjectFileLayoutTest, ShortTextLengthPrefixGrowsWithTheText) {
    const auto prefixOf = [](std::size_t length) {
        ArchiveWriter writer;
        writer.writeShortText(std::string(length, 'x'));
        return writer.bytes().substr(0, writer.bytes().size() - length);
    };
    EXPECT_EQ(prefixOf(0), std::string("\x00", 1));
    EXPECT_EQ(prefixOf(254), "\xFE");
    EXPECT_EQ(prefixOf(255), std::string("\xFF\xFF\x00", 3));
    EXPECT_EQ(prefixOf(0xFFFD), "\xFF\xFD\xFF");
    EXPECT_EQ(prefixOf(0xFFFE), std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7));

    for (const std::size_t length : {254u, 255u, 0xFFFEu, 70000u}) {
        ArchiveWriter writer;
        writer.writeShortText(std::string(length - 1, 'y') + "\xFF");
        ArchiveReader reader(writer.bytes());
        EXPECT_EQ(reader.readShortText("text").size(), length);
        EXPECT_TRUE(reader.ok());
        EXPECT_EQ(reader.remaining(), 0u);
    }
}

} // namespace
} // namespace corvida
