// SPDX-License-Identifier: MIT
// The report's groups: one group per link level while a level is small, several numbered one
// after another once a level holds more documents or pictures than one group takes, and the
// later levels moved up past them. Then the report of a project whose levels need several
// groups: the profile pages split, every link between report pages still finds its page and
// anchor, the list pages keep one ruler per level, and a page that cannot be written whole is
// not written at all.

#include <cctype>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "model/Web.h"
#include "report/LocalSiteTestSupport.h"
#include "report/ReportGroups.h"
#include "report/ReportWriter.h"

namespace corvida {
namespace {

namespace fs = std::filesystem;

class ReportGroupsTest : public ::testing::Test {
protected:
    // count nodes named PREFIXn.EXTENSION at level.
    std::vector<WebNode*> add(const std::string& prefix, const std::string& extension, int count, int level) {
        std::vector<WebNode*> nodes;
        for (int i = 0; i < count; ++i) {
            WebNode* node =
                m_web.findOrAddNode(CUrl("http://127.0.0.1/" + prefix + std::to_string(i) + "." + extension));
            node->setLevel(level);
            nodes.push_back(node);
        }
        return nodes;
    }

    // The group numbers of the nodes that start with prefix, in URL order (the node array's).
    std::vector<std::int32_t> groupsOf(const std::string& prefix) const {
        std::vector<std::int32_t> groups;
        for (const WebNode* node : m_web.nodes()) {
            if (node->url().url().starts_with("http://127.0.0.1/" + prefix)) {
                groups.push_back(node->groupNumber());
            }
        }
        return groups;
    }

    Web m_web;
};

TEST_F(ReportGroupsTest, CrowdedLevelSplitsInUrlOrderAndLaterLevelsMoveUp) {
    add("home", "htm", 1, 0);
    add("page", "htm", 2 * ReportGroups::kGroupSize + 1, 1);
    const std::vector<WebNode*> pictures = add("picture", "gif", ReportGroups::kGroupSize, 1);
    const std::vector<WebNode*> archive = add("archive", "zip", 1, 1);
    const std::vector<WebNode*> second = add("second", "htm", 1, 2);
    const std::vector<WebNode*> far = add("far", "htm", 1, 9);
    ReportGroups(m_web).apply(m_web);
    const ReportGroups groups(m_web);

    std::vector<std::int32_t> expected(ReportGroups::kGroupSize, 1);
    expected.resize(2 * ReportGroups::kGroupSize, 2);
    expected.push_back(3);
    EXPECT_EQ(groupsOf("page"), expected);
    // Pictures fill their own groups; other kinds go with the level's first group.
    EXPECT_EQ(pictures.back()->groupNumber(), 1);
    EXPECT_EQ(archive[0]->groupNumber(), 1);
    // Level 2 takes the next free number; level 9 is still free.
    EXPECT_EQ(second[0]->groupNumber(), 4);
    EXPECT_EQ(far[0]->groupNumber(), 9);
    EXPECT_EQ(groups.numbers(), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 9}));
    EXPECT_EQ(std::vector<std::int32_t>(
                  {groups.firstOfLevel(1), groups.firstOfLevel(2), groups.firstOfLevel(3), groups.firstOfLevel(4)}),
              std::vector<std::int32_t>({1, 1, 1, 4}));
}

TEST_F(ReportGroupsTest, LevelsAtTheTopOfTheRangeShareTheHighestGroup) {
    const std::int32_t highest = 2147483647;
    add("top", "htm", ReportGroups::kGroupSize + 1, highest - 1);
    add("beyond", "htm", ReportGroups::kGroupSize + 1, highest);
    ReportGroups(m_web).apply(m_web);
    std::vector<std::int32_t> top(ReportGroups::kGroupSize, highest - 1);
    top.push_back(highest);
    EXPECT_EQ(groupsOf("top"), top);
    EXPECT_EQ(groupsOf("beyond"), std::vector<std::int32_t>(ReportGroups::kGroupSize + 1, highest));
}

constexpr std::uint32_t kFetchedOk = kFlagFetchStarted | kFlagFetched | kFlagProcessed;
constexpr int kLevelOnePages = 2 * static_cast<int>(ReportGroups::kGroupSize) + 500;
constexpr int kLevelTwoPages = 300;
constexpr int kLevelTwoPictures = static_cast<int>(ReportGroups::kGroupSize) + 100;

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t found = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++found;
    }
    return found;
}

// The values of every NAME="..." (anchors) or every HREF="..." and SRC="..." (references) in page,
// whatever the case of the attribute name.
std::vector<std::string> attributes(const std::string& page, const std::vector<std::string>& names) {
    std::string folded = page;
    for (char& c : folded) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    std::vector<std::string> values;
    for (const std::string& name : names) {
        const std::string opening = " " + name + "=\"";
        for (std::size_t at = folded.find(opening); at != std::string::npos; at = folded.find(opening, at)) {
            at += opening.size();
            values.push_back(page.substr(at, page.find('"', at) - at));
        }
    }
    return values;
}

class LargeReportTest : public ::testing::Test {
protected:
    // A start page linking to every level-1 page; each of those links to a level-2 page and a
    // picture; one level-1 page links to a page that is not there and to a mail address.
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_work = m_folder.path().toStdString() + "/";
        fs::create_directories(m_work + "report");
        m_web.settings().setWorkingDirectory(m_work);
        WebNode* start = page("index.htm", 0);
        start->setFlags(kFlagStart);
        m_web.setStartNode(start);
        std::vector<WebNode*> second;
        for (int i = 0; i < kLevelTwoPages; ++i) {
            second.push_back(page("deep/d" + std::to_string(i) + ".htm", 2));
        }
        std::vector<WebNode*> pictures;
        for (int i = 0; i < kLevelTwoPictures; ++i) {
            pictures.push_back(node("images/i" + std::to_string(i) + ".gif", 2, kFetchedOk));
        }
        for (int i = 0; i < kLevelOnePages; ++i) {
            WebNode* first = page("pages/p" + std::to_string(i) + ".htm", 1);
            link(start, first);
            link(first, second[static_cast<std::size_t>(i % kLevelTwoPages)]);
            link(first, pictures[static_cast<std::size_t>(i % kLevelTwoPictures)]);
            if (i == 4321) {
                link(first, node("gone.htm", 2, kFlagFetchStarted | kFlagProcessed));
                WebNode* mail = m_web.findOrAddNode(CUrl("mailto:me@example.com"));
                mail->setLevel(2);
                link(first, mail);
            }
        }
    }

    WebNode* node(const std::string& path, int level, std::uint32_t flags) {
        WebNode* added = m_web.findOrAddNode(CUrl("http://127.0.0.1/" + path));
        added->setLevel(level);
        added->setFlags(flags);
        return added;
    }
    WebNode* page(const std::string& path, int level) {
        WebNode* added = node(path, level, kFetchedOk);
        added->setTitle("Title of " + path);
        return added;
    }
    static void link(WebNode* from, WebNode* to) {
        from->linkOut(to);
        to->linkIn(from);
    }

    std::string report() const { return m_work + "report/"; }
    std::string read(const std::string& name) const { return test::readFile(report() + name); }
    std::vector<std::string> pages() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(report())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    QTemporaryDir m_folder;
    std::string m_work;
    Web m_web;
};

TEST_F(LargeReportTest, SplitPagesKeepEveryLinkAndOneRulerPerLevel) {
    ASSERT_TRUE(ReportWriter::write(m_web).isOk());

    // Level 1 fills groups 1 to 3; level 2 moves up to 4 and its pictures take 4 and 5.
    const std::map<std::string, std::size_t> profiles = {{"docs0.htm", 1},   {"docs1.htm", 2000}, {"docs2.htm", 2000},
                                                         {"docs3.htm", 500}, {"docs4.htm", 301},  {"pics4.htm", 2000},
                                                         {"pics5.htm", 100}};
    for (const auto& [name, expected] : profiles) {
        EXPECT_EQ(count(read(name), "<A NAME=\"ww"), expected) << name;
    }
    EXPECT_FALSE(fs::exists(report() + "docs5.htm"));
    EXPECT_FALSE(fs::exists(report() + "pics1.htm"));

    // Every reference from a report page to a report page finds the file, and its anchor.
    std::map<std::string, std::set<std::string>> anchors;
    for (const std::string& name : pages()) {
        if (name.ends_with(".htm")) {
            for (const std::string& anchor : attributes(read(name), {"NAME"})) {
                anchors[name].insert(anchor);
            }
        }
    }
    std::size_t checked = 0;
    for (const auto& [name, named] : anchors) {
        for (const std::string& reference : attributes(read(name), {"HREF", "SRC"})) {
            if (reference.find(':') != std::string::npos || reference.starts_with("../")) {
                continue; // the site itself, mail, or the local copies
            }
            const std::size_t hash = reference.find('#');
            const std::string file = hash == 0 ? name : reference.substr(0, hash);
            ASSERT_TRUE(fs::is_regular_file(report() + file)) << name << ": " << reference;
            if (hash != std::string::npos) {
                EXPECT_EQ(anchors[file].count(reference.substr(hash + 1)), 1u) << name << ": " << reference;
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 4u * static_cast<std::size_t>(kLevelOnePages));

    // Three levels, three rulers, however many groups level 1 and 2 took.
    EXPECT_EQ(count(read("p_idocl.htm"), "<DIR>"), 3u);
    EXPECT_EQ(count(read("p_idocl.htm"), "</DIR><HR>"), 3u);
    EXPECT_EQ(count(read("p_ipicl.htm"), "<DIR>"), 1u);
    // The help page speaks of levels, as the rulers do.
    const std::string help = read("usererpt.htm");
    EXPECT_NE(help.find("Documents: Level 3"), std::string::npos);
    EXPECT_NE(help.find("one per level"), std::string::npos);
}

// A file size limit makes writes fail part way through the larger pages, as a full disk
// would; those keep the earlier run's bytes, the smaller pages are written anew.
TEST_F(LargeReportTest, PageThatFailsPartWayKeepsTheEarlierOne) {
    ASSERT_TRUE(ReportWriter::write(m_web).isOk());
    const std::string earlier = read("docs1.htm");
    m_web.findOrAddNode(CUrl("http://127.0.0.1/pages/p4321.htm"))->setTitle("A new title");

    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = 200 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const Status result = ReportWriter::write(m_web);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_FALSE(earlier.size() < limited.rlim_cur);
    EXPECT_NE(result.message().find("cannot write " + report() + "docs1.htm: File too large"), std::string::npos)
        << result.message();
    EXPECT_EQ(read("docs1.htm"), earlier);
    EXPECT_NE(read("p_udlink.htm").find("A new title"), std::string::npos);
    for (const std::string& name : pages()) {
        EXPECT_FALSE(name.starts_with(".")) << name;
        if (name.ends_with(".htm")) {
            EXPECT_TRUE(read(name).ends_with("</HTML>")) << name;
        }
    }
}

} // namespace
} // namespace corvida
