// SPDX-License-Identifier: MIT
// A report page streamed through PageFile takes the place of the old page only when it is
// committed whole; an abandoned page leaves the old one and no temporary file behind. (A
// write that fails part way is tested on a whole report, in LargeReportTest.)

#include <filesystem>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "report/LocalSiteTestSupport.h"
#include "report/PageFile.h"

namespace corvida {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesIn(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// size bytes that differ from one block of 100 to the next.
std::string sample(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) {
        bytes += static_cast<char>('a' + i / 100 % 26);
    }
    return bytes;
}

// Writes bytes into page in pieces of 100, spilling between pieces.
void fill(PageFile& page, const std::string& bytes) {
    for (std::size_t at = 0; at < bytes.size(); at += 100) {
        page.out() += bytes.substr(at, 100);
        page.spill();
    }
}

class PageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_directory = m_folder.path().toStdString() + "/";
        test::writeFile(m_directory + "p_idocl.htm", "old page");
    }

    std::string page() const { return test::readFile(m_directory + "p_idocl.htm"); }

    QTemporaryDir m_folder;
    std::string m_directory;
};

TEST_F(PageFileTest, PageReplacesTheOldOneOnlyWhenCommitted) {
    const std::string bytes = sample(5 * PageFile::kBufferSize + 17);
    {
        PageFile file(m_directory, "p_idocl.htm");
        fill(file, bytes);
        EXPECT_EQ(page(), "old page"); // most of the new page is on the disk already
        ASSERT_TRUE(file.commit().isOk());
        // A second commit changes nothing.
        EXPECT_TRUE(file.commit().isOk());
    }
    EXPECT_EQ(page(), bytes);
    EXPECT_EQ(namesIn(m_directory), std::vector<std::string>{"p_idocl.htm"});

    {
        PageFile abandoned(m_directory, "p_idocl.htm");
        fill(abandoned, sample(3 * PageFile::kBufferSize));
    }
    EXPECT_EQ(page(), bytes);
    EXPECT_EQ(namesIn(m_directory), std::vector<std::string>{"p_idocl.htm"});
}

} // namespace
} // namespace corvida
