// SPDX-License-Identifier: MIT
// The report run: group numbers, pictures and pages written, listener reports, overview and
// help page bytes, and files that cannot be written.

#include <filesystem>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/Web.h"
#include "report/ReportFrame.h"
#include "report/ReportPagesFixture.h"
#include "report/ReportWriter.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

namespace fs = std::filesystem;

class RecordingListener : public WebListener {
public:
    void showText(std::string_view text) override { events.push_back("show " + std::string(text)); }
    void endText(std::string_view text) override { events.push_back("end " + std::string(text)); }
    void progress(int percent) override { events.push_back(std::to_string(percent)); }
    std::vector<std::string> events;
};

// A start page, a page and a mail link one level down, a picture two levels down, and a
// node that never got a level.
class ReportWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_directory = m_folder.path().toStdString() + "/";
        m_web.setWorkingDirectory(m_directory);
        m_start = m_web.findOrAddNode(CUrl("http://www.example.com/index.htm"));
        m_web.setStartNode(m_start);
        m_start->setLevel(0);
        m_start->setFlags(kFlagStart);
        m_page = m_web.addLink(m_start, CUrl("http://www.example.com/a.htm"), 1, false);
        m_web.addLink(m_start, CUrl("mailto:me@example.com"), 1, false);
        m_picture = m_web.addLink(m_page, CUrl("http://www.example.com/pic.gif"), 2, false);
        m_loose = m_web.findOrAddNode(CUrl("http://www.example.com/loose.htm"));
    }

    std::string report(const std::string& name) const { return test::readBytes(m_directory + "report/" + name); }

    QTemporaryDir m_folder;
    std::string m_directory;
    RecordingListener m_listener;
    Web m_web{&m_listener};
    WebNode* m_start = nullptr;
    WebNode* m_page = nullptr;
    WebNode* m_picture = nullptr;
    WebNode* m_loose = nullptr;
};

TEST_F(ReportWriterTest, GroupsFollowLinkLevelsAndEveryFileIsWritten) {
    ASSERT_EQ(ReportWriter::write(m_web), "");
    EXPECT_EQ(report("overview.htm"), test::readBytes(test::dataPath("report/overview.htm")));
    EXPECT_EQ(report("usererpt.htm"), test::readBytes(test::dataPath("report/usererpt.htm")));
    EXPECT_EQ(m_start->groupNumber(), 0);
    EXPECT_EQ(m_page->groupNumber(), 1);
    EXPECT_EQ(m_picture->groupNumber(), 2);
    EXPECT_EQ(m_loose->groupNumber(), 0);

    for (const std::string& name : ReportWriter::fixedFileNames()) {
        EXPECT_TRUE(fs::is_regular_file(m_directory + name)) << name;
    }
    // One profile page per level that has nodes of the kind.
    for (const std::string& name : {ReportWriter::documentProfilePage(0), ReportWriter::documentProfilePage(1),
                                    ReportWriter::pictureProfilePage(2)}) {
        EXPECT_TRUE(fs::is_regular_file(m_directory + name)) << name;
    }
    EXPECT_FALSE(fs::exists(m_directory + ReportWriter::documentProfilePage(2)));
    EXPECT_FALSE(fs::exists(m_directory + ReportWriter::pictureProfilePage(0)));
    EXPECT_EQ(ReportWriter::location(m_web), m_directory + "report/overview.htm");

    // The listener sees the phase, progress after each step (95 while the statistics page is
    // written) and the end.
    std::string events;
    for (const std::string& event : m_listener.events) {
        events += event + "|";
    }
    EXPECT_EQ(events, "show Producing web statistics...|0|5|10|15|20|25|30|35|40|55|70|75|85|90|95|100|95|100|"
                      "end  FINISHED|");
}

TEST_F(ReportWriterTest, AnUnwritablePageIsReportedAndTheRestIsWritten) {
    fs::create_directories(m_directory + "report/p_sim.htm");
    const std::string result = ReportWriter::write(m_web);
    EXPECT_EQ(result.rfind("cannot write " + m_directory + "report/p_sim.htm: ", 0), 0u) << result;
    EXPECT_EQ(result.find('\n'), std::string::npos);
    EXPECT_EQ(m_listener.events.back().rfind("end  FINISHED, but cannot write p_sim.htm: ", 0), 0u);
    EXPECT_TRUE(fs::is_regular_file(m_directory + "report/p_stats.htm"));
    EXPECT_TRUE(fs::is_regular_file(m_directory + "report/p_mail.htm"));
}

TEST_F(ReportWriterTest, MissingReportDirectoryIsMadeOnlyInsideAnExistingWorkingDirectory) {
    // The other tests' working directories start without a report directory.
    const std::string gone = m_directory + "gone/";
    m_web.setWorkingDirectory(gone);
    const std::string result = ReportWriter::write(m_web);
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_NE(result.find("cannot write " + gone + "report/overview.htm"), std::string::npos);
    EXPECT_NE(m_listener.events.back().find("(and "), std::string::npos) << m_listener.events.back();
}

TEST_F(ReportWriterTest, CrawledTextCannotOpenATagOrEndAnAttribute) {
    EXPECT_EQ(ReportFrame::text("a\"><script>x</script>"), "a&quot;&gt;&lt;script&gt;x&lt;/script&gt;");
    // Texts the graph stores escaped, and the entities of titles, pass unchanged.
    EXPECT_EQ(ReportFrame::text("1 &lt; 2 &amp; R&D"), "1 &lt; 2 &amp; R&D");

    Web web;
    web.setWorkingDirectory(m_directory);
    WebNode* start = web.findOrAddNode(CUrl("http://www.example.com/\"><b>x</b>.htm"));
    web.setStartNode(start);
    ASSERT_EQ(ReportWriter::write(web), "");
    const std::string overview = report("overview.htm");
    EXPECT_EQ(overview.find("<b>"), std::string::npos) << overview;
    EXPECT_NE(overview.find("Overview for http://www.example.com/&quot;&gt;&lt;b&gt;x&lt;/b&gt;.htm</B>"),
              std::string::npos)
        << overview;
}

TEST_F(ReportWriterTest, ProjectWithoutStartNodeStillGetsEveryFixedPage) {
    Web web;
    web.setWorkingDirectory(m_directory);
    ASSERT_EQ(ReportWriter::write(web), "");
    for (const std::string& name : ReportWriter::fixedFileNames()) {
        EXPECT_TRUE(fs::is_regular_file(m_directory + name)) << name;
    }
    EXPECT_EQ(report("overview.htm").find("Root document"), std::string::npos);
}

} // namespace
} // namespace corvida
