// SPDX-License-Identifier: MIT
// The report run: group numbers, pictures and pages written, listener reports, overview and
// help page bytes, and files that cannot be written.

#include <filesystem>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/Web.h"
#include "report/LocalSiteTestSupport.h"
#include "report/ReportWriter.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

namespace fs = std::filesystem;

class RecordingListener : public WebListener {
public:
    void showText(std::string_view text) override { events += "show " + std::string(text) + "|"; }
    void endText(std::string_view text) override { events += "end " + std::string(text) + "|"; }
    void progress(int percent) override { events += std::to_string(percent) + "|"; }
    std::string events;
};

// A start page, a page and a mail link one level down, a picture two levels down, and a
// node that never got a level.
class ReportWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_directory = m_folder.path().toStdString() + "/";
        m_web.settings().setWorkingDirectory(m_directory);
        m_start = m_web.findOrAddNode(CUrl("http://www.example.com/index.htm"));
        m_web.setStartNode(m_start);
        m_start->setLevel(0);
        m_start->setFlags(kFlagStart);
        m_page = m_web.addLink(m_start, CUrl("http://www.example.com/a.htm"), 1, false);
        m_web.addLink(m_start, CUrl("mailto:me@example.com"), 1, false);
        m_picture = m_web.addLink(m_page, CUrl("http://www.example.com/pic.gif"), 2, false);
        m_loose = m_web.findOrAddNode(CUrl("http://www.example.com/loose.htm"));
    }

    std::string report(const std::string& name) const { return test::readFile(m_directory + "report/" + name); }

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
    ASSERT_TRUE(ReportWriter::write(m_web).isOk());
    EXPECT_EQ(report("overview.htm"), test::readFile(test::dataPath("report/overview.htm")));
    EXPECT_EQ(report("usererpt.htm"), test::readFile(test::dataPath("report/usererpt.htm")));
    EXPECT_EQ(std::vector<int>(
                  {m_start->groupNumber(), m_page->groupNumber(), m_picture->groupNumber(), m_loose->groupNumber()}),
              std::vector<int>({0, 1, 2, 0}));

    for (const std::string& name : ReportWriter::fixedFileNames()) {
        EXPECT_TRUE(fs::is_regular_file(m_directory + name)) << name;
    }
    EXPECT_TRUE(fs::is_regular_file(m_directory + ReportWriter::pictureProfilePage(2)));

    // The listener sees the phase, progress after each step (95 while the statistics page is
    // written) and the end.
    EXPECT_EQ(m_listener.events, "show Producing web statistics...|0|5|10|15|20|25|30|35|40|55|70|75|85|90|95|100|"
                                 "95|100|end  FINISHED|");
}

TEST_F(ReportWriterTest, AnUnwritablePageIsReportedAndTheRestIsWritten) {
    fs::create_directories(m_directory + "report/p_sim.htm");
    const std::string result = ReportWriter::write(m_web).message();
    EXPECT_EQ(result.rfind("cannot write " + m_directory + "report/p_sim.htm: ", 0), 0u) << result;
    EXPECT_EQ(result.find('\n'), std::string::npos);
    EXPECT_NE(m_listener.events.find("|end  FINISHED, but cannot write p_sim.htm: "), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(m_directory + "report/p_stats.htm"));
    EXPECT_TRUE(fs::is_regular_file(m_directory + "report/p_mail.htm"));
}

TEST_F(ReportWriterTest, MissingReportDirectoryIsMadeOnlyInsideAnExistingWorkingDirectory) {
    // The other tests' working directories start without a report directory.
    const std::string gone = m_directory + "gone/";
    m_web.settings().setWorkingDirectory(gone);
    const std::string result = ReportWriter::write(m_web).message();
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_NE(result.find("cannot write " + gone + "report/overview.htm"), std::string::npos);
    EXPECT_NE(m_listener.events.find("(and "), std::string::npos) << m_listener.events;
}

// Without a start node every fixed page is still written; a start URL that holds markup is
// shown as text.
TEST_F(ReportWriterTest, ProjectWithoutOrWithAHostileStartNodeGetsEveryFixedPage) {
    Web web;
    web.settings().setWorkingDirectory(m_directory);
    ASSERT_TRUE(ReportWriter::write(web).isOk());
    for (const std::string& name : ReportWriter::fixedFileNames()) {
        EXPECT_TRUE(fs::is_regular_file(m_directory + name)) << name;
    }
    EXPECT_EQ(report("overview.htm").find("Root document"), std::string::npos);

    web.setStartNode(web.findOrAddNode(CUrl("http://www.example.com/\"><b>x</b>.htm")));
    ASSERT_TRUE(ReportWriter::write(web).isOk());
    const std::string overview = report("overview.htm");
    EXPECT_EQ(overview.find("<b>"), std::string::npos) << overview;
    EXPECT_NE(overview.find("for http://www.example.com/&quot;&gt;&lt;b&gt;x&lt;/b&gt;.htm</B>"), std::string::npos);
}

} // namespace
} // namespace corvida
