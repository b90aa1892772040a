// SPDX-License-Identifier: MIT
#include "model/FetchedFileProcessor.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/LocalNames.h"
#include "model/Web.h"

namespace corvida {
namespace {

namespace fs = std::filesystem;

class ProcessedListener : public WebListener {
public:
    int processed = 0;
    int aliases = 0;
    void nodeProcessed(WebNode* /*node*/, bool /*mark*/) override { ++processed; }
    void aliasFound(WebNode* /*node*/) override { ++aliases; }
};

class FetchedFileProcessorTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    ProcessedListener m_listener;
    Web m_web{m_dir.path().toStdString() + "/", "http://h/", &m_listener, 1};

    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(m_web.workingDirectory() + name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) {
        std::ifstream in(m_web.workingDirectory() + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool exists(const std::string& name) { return fs::exists(m_web.workingDirectory() + name); }
};

TEST_F(FetchedFileProcessorTest, NewCopyReplacesTheOldOnlyWhenChanged) {
    WebNode* node = m_web.findOrAddNode(CUrl("http://h/a.htm"));
    node->setFlags(kFlagFetchToNewCopy | kFlagEarlierCopy | kFlagFetched);
    write(LocalNames::workingCopy(*node), "<title>Same</title>");
    write(LocalNames::newCopy(*node), "<title>Same</title>");
    m_web.processFetchedFile(node);
    EXPECT_FALSE(exists(LocalNames::newCopy(*node)));
    EXPECT_FALSE(node->hasAnyFlag(kFlagChanged));
    EXPECT_EQ(node->title(), ""); // equal: not parsed again

    write(LocalNames::newCopy(*node), "<title>Changed</title>");
    m_web.processFetchedFile(node);
    EXPECT_TRUE(node->hasAnyFlag(kFlagChanged));
    EXPECT_EQ(read(LocalNames::workingCopy(*node)), "<title>Changed</title>");
    EXPECT_EQ(node->title(), "Changed");

    // After "not modified" the copies count as equal without a comparison.
    node->setFlags(kFlagNotModified);
    write(LocalNames::newCopy(*node), "different bytes");
    m_web.processFetchedFile(node);
    EXPECT_FALSE(node->hasAnyFlag(kFlagNotModified));
    EXPECT_EQ(read(LocalNames::workingCopy(*node)), "<title>Changed</title>");
}

TEST_F(FetchedFileProcessorTest, SecondCopyOfTheStartPageBecomesAnAlias) {
    WebNode* start = m_web.findOrAddNode(CUrl("http://h/index.htm"));
    m_web.setStartNode(start);
    start->setFlags(kFlagStart | kFlagFetched);
    write(LocalNames::workingCopy(*start), "<a href=\"x.htm\">x</a>");
    m_web.processFetchedFile(start);

    WebNode* copy = m_web.addLink(start, CUrl("http://h/default.htm"), 1, false);
    copy->setFlags(kFlagFetched);
    write(LocalNames::workingCopy(*copy), "<a href=\"x.htm\">x</a>");
    const int processedBefore = m_listener.processed;
    m_web.processFetchedFile(copy);
    EXPECT_TRUE(copy->hasAnyFlag(kFlagStartAlias));
    EXPECT_EQ(m_listener.aliases, 1);
    EXPECT_EQ(m_listener.processed, processedBefore); // an alias is not reported processed
}

TEST_F(FetchedFileProcessorTest, EmptyOrMissingFilesAreNotParsedButProcessed) {
    WebNode* empty = m_web.findOrAddNode(CUrl("http://h/empty.htm"));
    write(LocalNames::workingCopy(*empty), "");
    m_web.processFetchedFile(empty);
    EXPECT_TRUE(empty->hasAnyFlag(kFlagFetched));
    EXPECT_FALSE(empty->hasAnyFlag(kFlagDocumentCopy));

    WebNode* missing = m_web.findOrAddNode(CUrl("http://h/missing.htm"));
    m_web.processFetchedFile(missing);
    EXPECT_FALSE(missing->hasAnyFlag(kFlagFetched));
    EXPECT_EQ(m_listener.processed, 2);
}

} // namespace
} // namespace corvida
