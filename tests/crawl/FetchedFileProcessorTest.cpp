// SPDX-License-Identifier: MIT
#include "crawl/FetchedFileProcessor.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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
    Web m_web{settings(m_dir.path().toStdString() + "/"), &m_listener};
    std::vector<WebNode*> m_reached;

    static CrawlSettings settings(const std::string& directory) {
        for (const char* sub : {"temp", "docs", "images", "mmedia", "report"}) {
            fs::create_directories(directory + sub);
        }
        CrawlSettings settings;
        settings.setWorkingDirectory(directory);
        return settings;
    }
    void process(WebNode* node) { FetchedFileProcessor(m_web, nullptr, m_reached).process(node); }

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
    process(node);
    EXPECT_FALSE(exists(LocalNames::newCopy(*node)));
    EXPECT_FALSE(node->hasAnyFlag(kFlagChanged));
    EXPECT_EQ(node->title(), ""); // equal: not parsed again

    write(LocalNames::newCopy(*node), "<title>Changed</title>");
    process(node);
    EXPECT_TRUE(node->hasAnyFlag(kFlagChanged));
    EXPECT_EQ(read(LocalNames::workingCopy(*node)), "<title>Changed</title>");
    EXPECT_EQ(node->title(), "Changed");

    // After "not modified" the copies count as equal without a comparison.
    node->setFlags(kFlagNotModified);
    write(LocalNames::newCopy(*node), "different bytes");
    process(node);
    EXPECT_FALSE(node->hasAnyFlag(kFlagNotModified));
    EXPECT_EQ(read(LocalNames::workingCopy(*node)), "<title>Changed</title>");
}

TEST_F(FetchedFileProcessorTest, SecondCopyOfTheStartPageBecomesAnAlias) {
    WebNode* start = m_web.findOrAddNode(CUrl("http://h/index.htm"));
    m_web.setStartNode(start);
    start->setFlags(kFlagStart | kFlagFetched);
    write(LocalNames::workingCopy(*start), "<a href=\"x.htm\">x</a>");
    process(start);
    ASSERT_EQ(m_reached.size(), 1u); // the link gave x.htm its level: the crawl queues it
    EXPECT_EQ(m_reached[0]->url().url(), "http://h/x.htm");

    WebNode* copy = m_web.addLink(start, CUrl("http://h/default.htm"), 1, false);
    copy->setFlags(kFlagFetched);
    write(LocalNames::workingCopy(*copy), "<a href=\"x.htm\">x</a>");
    const int processedBefore = m_listener.processed;
    process(copy);
    EXPECT_TRUE(copy->hasAnyFlag(kFlagStartAlias));
    EXPECT_EQ(m_listener.aliases, 1);
    EXPECT_EQ(m_listener.processed, processedBefore); // an alias is not reported processed
}

TEST_F(FetchedFileProcessorTest, EmptyOrMissingFilesAreNotParsedButProcessed) {
    WebNode* empty = m_web.findOrAddNode(CUrl("http://h/empty.htm"));
    write(LocalNames::workingCopy(*empty), "");
    process(empty);
    EXPECT_TRUE(empty->hasAnyFlag(kFlagFetched));
    EXPECT_FALSE(empty->hasAnyFlag(kFlagDocumentCopy));

    WebNode* missing = m_web.findOrAddNode(CUrl("http://h/missing.htm"));
    process(missing);
    EXPECT_FALSE(missing->hasAnyFlag(kFlagFetched));
    EXPECT_EQ(m_listener.processed, 2);
}

TEST_F(FetchedFileProcessorTest, PageInMemoryIsParsedWithoutAFileAndComparedWithTheStartCopy) {
    m_web.settings().optionBytes[static_cast<std::size_t>(KindRow::Documents)] = kOptionFetchInStartDirectory;
    WebNode* start = m_web.findOrAddNode(CUrl("http://h/index.htm"));
    m_web.setStartNode(start);
    const std::string startBytes = "<title>Home</title><a href=\"x.htm\">x</a>";
    start->setFlags(kFlagStart | kFlagFetched);
    FetchedFileProcessor(m_web, nullptr, m_reached).process(start, &startBytes);
    EXPECT_EQ(start->title(), "Home");
    EXPECT_EQ(start->localSize(), static_cast<std::int32_t>(startBytes.size()));
    EXPECT_TRUE(start->hasAnyFlag(kFlagFetched));
    EXPECT_FALSE(start->hasAnyFlag(kFlagDocumentCopy));
    ASSERT_EQ(m_reached.size(), 1u);
    EXPECT_TRUE(fs::is_empty(m_web.workingDirectory() + "temp"));

    // Bytes in memory are compared with the start page's copy when one is on disk: equal
    // bytes make an alias, bytes of the same length that differ in the last one do not.
    write(LocalNames::workingCopy(*start), startBytes);
    WebNode* copy = m_web.addLink(start, CUrl("http://h/default.htm"), 1, false);
    FetchedFileProcessor(m_web, nullptr, m_reached).process(copy, &startBytes);
    EXPECT_TRUE(copy->hasAnyFlag(kFlagStartAlias));
    WebNode* other = m_web.addLink(start, CUrl("http://h/other.htm"), 1, false);
    const std::string otherBytes = startBytes.substr(0, startBytes.size() - 1) + "!";
    FetchedFileProcessor(m_web, nullptr, m_reached).process(other, &otherBytes);
    EXPECT_FALSE(other->hasAnyFlag(kFlagStartAlias));
    EXPECT_EQ(other->title(), "Home");
    EXPECT_EQ(m_listener.aliases, 1);
}

TEST_F(FetchedFileProcessorTest, BytesInMemoryForANodeThatKeepsItsCopyAreWrittenToIt) {
    // The options changed to keep pages while the page was fetched into memory.
    m_web.settings().optionBytes[static_cast<std::size_t>(KindRow::Documents)] =
        kOptionFetchInStartDirectory | kOptionKeepCopy;
    WebNode* node = m_web.findOrAddNode(CUrl("http://h/a.htm"));
    const std::string bytes = "<title>Kept</title>";
    FetchedFileProcessor(m_web, nullptr, m_reached).process(node, &bytes);
    EXPECT_EQ(read(LocalNames::workingCopy(*node)), bytes);
    EXPECT_TRUE(node->hasAllFlags(kFlagFetched | kFlagDocumentCopy));
    EXPECT_EQ(node->title(), "Kept");
}

} // namespace
} // namespace corvida
