// SPDX-License-Identifier: MIT
// The redirect section after the last node: its bytes, its round trip, and damage to it, which
// costs the redirects and never the graph.

#include <string>

#include <gtest/gtest.h>

#include "model/ProjectFile.h"
#include "model/ProjectFileTestSupport.h"

namespace corvida {
namespace {

using test::counted;
using test::u32;

class ProjectFileRedirectsTest : public ::testing::Test {
protected:
    // The sample project, and the same with its first node redirected twice (a relative
    // Location and markup kept as received).
    std::string m_without = ProjectFile::encode(test::sampleOptions(), test::makeSampleWeb().get());
    std::string m_with = encodeChained();

    static std::string encodeChained() {
        const std::unique_ptr<Web> web = test::makeSampleWeb();
        web->nodes()[0]->addRedirect({301, "b1.htm", "http://example.test/b1.htm"});
        web->nodes()[0]->addRedirect({308, "http://example.test/<x>", "http://example.test/<x>"});
        return ProjectFile::encode(test::sampleOptions(), web.get());
    }
};

TEST_F(ProjectFileRedirectsTest, SectionFollowsTheLastNodeAndRoundTripsByteForByte) {
    // Everything an older reader reads is unchanged; the section is all that is added.
    ASSERT_EQ(m_with.substr(0, m_without.size()), m_without);
    const std::string body = u32(1) + u32(0) + u32(2) + u32(301) + counted("b1.htm") +
                             counted("http://example.test/b1.htm") + u32(308) + counted("http://example.test/<x>") +
                             counted("http://example.test/<x>");
    EXPECT_EQ(m_with.substr(m_without.size()), "RDIR" + u32(1) + u32(static_cast<std::uint32_t>(body.size())) + body);

    const ProjectFile::Loaded loaded = ProjectFile::decode(m_with, nullptr);
    ASSERT_NE(loaded.web, nullptr) << loaded.status.message();
    EXPECT_EQ(loaded.web->nodes()[0]->redirects().at(1).location, "http://example.test/<x>");
    EXPECT_EQ(ProjectFile::encode(loaded.options, loaded.web.get()), m_with);
    // Without its chain the node writes the file as if it never had one.
    loaded.web->nodes()[0]->clearRedirects();
    EXPECT_EQ(ProjectFile::encode(loaded.options, loaded.web.get()), m_without);
}

TEST_F(ProjectFileRedirectsTest, DamagedSectionLoadsTheGraphWithoutRedirects) {
    const auto expectGraphWithoutChains = [&](const std::string& bytes, const std::string& what) {
        const ProjectFile::Loaded loaded = ProjectFile::decode(bytes, nullptr);
        ASSERT_NE(loaded.web, nullptr) << what << ": " << loaded.status.message();
        EXPECT_EQ(ProjectFile::encode(loaded.options, loaded.web.get()), m_without) << what;
    };
    // Cut anywhere inside the section, marker included.
    for (std::size_t length = m_without.size() + 1; length < m_with.size(); ++length) {
        expectGraphWithoutChains(m_with.substr(0, length), "cut at " + std::to_string(length));
    }
    const auto patched = [&](std::size_t offset, std::uint32_t value) {
        return std::string(m_with).replace(m_without.size() + offset, 4, u32(value));
    };
    expectGraphWithoutChains(patched(4, 2), "a version this program does not know");
    expectGraphWithoutChains(patched(12, 0xFFFFFFFF), "more chained nodes than the section holds");
    expectGraphWithoutChains(patched(16, 6), "a position past the last node");
    expectGraphWithoutChains(patched(20, 11), "more hops than a node keeps");
    expectGraphWithoutChains(patched(28, 0xFFFFFF00), "a location longer than the section");
    expectGraphWithoutChains(m_with + "x", "a byte after the section");

    // Other bytes after the last node still mean a damaged node list.
    EXPECT_NE(ProjectFile::decode(m_without + "JUNK", nullptr).status.message().find("followed by 4 unexpected bytes"),
              std::string::npos);
}

} // namespace
} // namespace corvida
