// SPDX-License-Identifier: MIT
// The redirect section after the last node: its bytes, its round trip, and damage to it, which
// costs the redirects and never the graph.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/ProjectFile.h"
#include "model/ProjectFileTestSupport.h"

namespace corvida {
namespace {

using test::u32;

std::string counted(const std::string& text) {
    return u32(static_cast<std::uint32_t>(text.size() + 1)) + text + std::string(1, '\0');
}

// The sample project with b.htm redirected twice; a relative Location and markup in a
// Location are kept as received.
std::unique_ptr<Web> chainedWeb() {
    std::unique_ptr<Web> web = test::makeSampleWeb();
    WebNode* b = web->findNode(CUrl("http://example.test/b.htm"));
    b->addRedirect({301, "b1.htm", "http://example.test/b1.htm"});
    b->addRedirect({308, "http://example.test/b2.htm?<x>", "http://example.test/b2.htm?<x>"});
    return web;
}

std::vector<RedirectHop> chainOf(const Web& web, const char* url) {
    return web.findNode(CUrl(url))->redirects();
}

// Where b.htm stands among the node records.
std::uint32_t positionOfB(const Web& web) {
    const auto& nodes = web.nodes();
    const WebNode* b = web.findNode(CUrl("http://example.test/b.htm"));
    return static_cast<std::uint32_t>(std::find(nodes.begin(), nodes.end(), b) - nodes.begin());
}

TEST(ProjectFileRedirectsTest, SectionFollowsTheLastNodeAndRoundTripsByteForByte) {
    const std::unique_ptr<Web> plain = test::makeSampleWeb();
    const std::string without = ProjectFile::encode(test::sampleOptions(), plain.get());
    const std::unique_ptr<Web> web = chainedWeb();
    const std::string with = ProjectFile::encode(test::sampleOptions(), web.get());

    // Everything an older reader reads is unchanged; the section is all that is added.
    ASSERT_EQ(with.substr(0, without.size()), without);
    const std::string body = u32(1) + u32(positionOfB(*web)) + u32(2) + u32(301) + counted("b1.htm") +
                             counted("http://example.test/b1.htm") + u32(308) +
                             counted("http://example.test/b2.htm?<x>") + counted("http://example.test/b2.htm?<x>");
    EXPECT_EQ(with.substr(without.size()), "RDIR" + u32(1) + u32(static_cast<std::uint32_t>(body.size())) + body);

    const ProjectFile::Loaded loaded = ProjectFile::decode(with, nullptr);
    ASSERT_NE(loaded.web, nullptr) << loaded.status.message();
    EXPECT_EQ(chainOf(*loaded.web, "http://example.test/b.htm"), chainOf(*web, "http://example.test/b.htm"));
    EXPECT_EQ(ProjectFile::encode(loaded.options, loaded.web.get()), with);

    // A node whose chain was forgotten writes the file as if it never had one.
    loaded.web->findNode(CUrl("http://example.test/b.htm"))->clearRedirects();
    EXPECT_EQ(ProjectFile::encode(loaded.options, loaded.web.get()), without);
}

TEST(ProjectFileRedirectsTest, DamagedSectionLoadsTheGraphWithoutRedirects) {
    const std::unique_ptr<Web> plain = test::makeSampleWeb();
    const std::string without = ProjectFile::encode(test::sampleOptions(), plain.get());
    const std::string with = ProjectFile::encode(test::sampleOptions(), chainedWeb().get());
    const auto expectGraphWithoutChains = [&](const std::string& bytes, const std::string& what) {
        const ProjectFile::Loaded loaded = ProjectFile::decode(bytes, nullptr);
        ASSERT_NE(loaded.web, nullptr) << what << ": " << loaded.status.message();
        EXPECT_TRUE(chainOf(*loaded.web, "http://example.test/b.htm").empty()) << what;
        EXPECT_EQ(ProjectFile::encode(loaded.options, loaded.web.get()), without) << what;
    };

    // Cut anywhere inside the section, marker included.
    for (std::size_t length = without.size() + 1; length < with.size(); ++length) {
        expectGraphWithoutChains(with.substr(0, length), "cut at " + std::to_string(length));
    }
    // Counts that the section cannot hold, a node that is not there, nodes out of order, a
    // version this program does not know, and bytes after the section.
    const std::size_t header = without.size();
    const std::size_t chained = header + 12;
    const auto patched = [&](std::size_t at, std::uint32_t value) {
        std::string bytes = with;
        bytes.replace(at, 4, u32(value));
        return bytes;
    };
    expectGraphWithoutChains(patched(header + 4, 2), "version 2");
    expectGraphWithoutChains(patched(header + 8, 0xFFFFFFF0), "section length");
    expectGraphWithoutChains(patched(chained, 0xFFFFFFFF), "chained count");
    expectGraphWithoutChains(patched(chained, 2), "chained count beyond the body");
    expectGraphWithoutChains(patched(chained + 4, static_cast<std::uint32_t>(plain->nodeCount())),
                             "node position past the last node");
    expectGraphWithoutChains(patched(chained + 8, 0), "no hops");
    expectGraphWithoutChains(patched(chained + 8, 11), "more hops than a node keeps");
    expectGraphWithoutChains(patched(chained + 8, 0x7FFFFFFF), "hop count");
    expectGraphWithoutChains(patched(chained + 16, 0xFFFFFF00), "location length");
    expectGraphWithoutChains(with + "x", "a byte after the section");

    // Two chains for one node.
    std::string twice = with;
    const std::string chain = with.substr(chained + 4);
    twice.replace(chained, 4, u32(2));
    twice += chain;
    twice.replace(header + 8, 4, u32(static_cast<std::uint32_t>(twice.size() - header - 12)));
    expectGraphWithoutChains(twice, "the same node twice");

    // Other bytes after the last node still mean a damaged node list.
    const ProjectFile::Loaded junk = ProjectFile::decode(without + "JUNK", nullptr);
    EXPECT_EQ(junk.web, nullptr);
    EXPECT_NE(junk.status.message().find("the last node is followed by 4 unexpected bytes"), std::string::npos)
        << junk.status.message();
}

} // namespace
} // namespace corvida
