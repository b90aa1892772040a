// SPDX-License-Identifier: MIT
// The local site: links pointed at local copies or absolute URLs, pages written into docs/,
// copies let go, progress and unwritable pages.

#include <filesystem>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "LocalSiteTestSupport.h"
#include "model/LocalNames.h"
#include "model/Web.h"
#include "report/LocalSiteWriter.h"

namespace corvida {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::RecordingListener;
using test::writeFile;

std::string numbered(const WebNode* node) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%07d", node->number());
    return digits;
}

class LocalSiteWriterTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    RecordingListener m_listener;
    std::unique_ptr<Web> m_web;

    std::string work() const { return m_dir.path().toStdString() + "/work/"; }

    void SetUp() override {
        CrawlSettings settings;
        settings.setWorkingDirectory(work());
        settings.startUrl = "http://h/d/index.html";
        m_web = std::make_unique<Web>(settings, &m_listener);
        for (const char* sub : {"temp", "docs", "images", "mmedia", "report"}) {
            std::filesystem::create_directories(work() + sub);
        }
        m_web->settings().optionBytes[static_cast<std::size_t>(KindRow::Documents)] =
            kOptionTestLocal | kOptionKeepDocumentOrThumbnail;
    }

    WebNode* add(const std::string& url, std::uint32_t flags) {
        WebNode* node = m_web->findOrAddNode(CUrl(url));
        node->setFlags(flags);
        return node;
    }
    // A fetched document whose working copy holds bytes.
    WebNode* addPage(const std::string& url, const std::string& bytes, std::uint32_t flags = 0) {
        WebNode* node = add(url, kFlagFetched | kFlagDocumentCopy | flags);
        writeFile(work() + LocalNames::workingCopy(*node), bytes);
        return node;
    }
    WebNode* addStart(const std::string& bytes) {
        WebNode* start = addPage("http://h/d/index.html", bytes, kFlagStart);
        m_web->setStartNode(start);
        return start;
    }
    std::string docs(const std::string& name) const { return readFile(work() + "docs/" + name); }
};

TEST_F(LocalSiteWriterTest, LinksPointAtLocalCopiesOrAbsoluteUrls) {
    WebNode* start =
        addStart("<html><head><base href=\"http://h/d/\"><title>Home</title></head><body>\n"
                 "<a href=\"b.htm\">b</a><img src=\"p.gif\"><a href=\"index.html\">i</a><a href=\"c.htm#s2\">c</a>"
                 "<a href=\"nf.htm#s2\">nf</a><a href=\"mailto:x@h\">m</a>\n"
                 "<applet code=A.class codebase=cls></applet><object classid=\"java:B.class\" codebase=\"http://h/j\">"
                 "</object><object classid=\"clsid:12\" codebase=\"ctl.cab\" data=\"p.gif\"></object>\n"
                 "<a href=\"q%22x%3Cy%3E.htm\">q</a><a href>none</a><applet code>none</applet>"
                 "<a href=\"s?a=1&amp;b=2\" title=\"&amp;&#64;\">s</a></body></html>");
    WebNode* b = addPage("http://h/d/b.htm", "<a href=\"#top\" style=\"background: url(p.gif)\">top</a>");
    WebNode* c = add("http://h/d/c.htm", kFlagFetched); // fetched, but its working copy is gone
    WebNode* picture = add("http://h/d/p.gif", kFlagFetched);
    WebNode* applet = add("http://h/d/cls/A.class", kFlagFetched);
    WebNode* cabinet = add("http://h/d/ctl.cab", kFlagFetched);
    add("http://h/d/nf.htm", kFlagTested);

    EXPECT_TRUE(LocalSiteWriter::write(*m_web).ok());

    const std::string pictureLink = "../images/z" + numbered(picture) + ".gif";
    EXPECT_EQ(
        docs("index.htm"),
        "<html><head><title>Home</title></head><body>\n<a href=\"v" + numbered(b) + ".htm\">b</a><img src=\"" +
            pictureLink + "\"><a href=\"index.htm\">i</a><a href=\"v" + numbered(c) +
            ".htm#s2\">c</a><a href=\"http://h/d/nf.htm\">nf</a><a href=\"mailto:x@h\">m</a>\n"
            "<applet code=\"../temp/x" +
            numbered(applet) +
            ".class\" codebase=\"\"></applet><object classid=\"java:http://h/j/B.class\" codebase=\"\"></object>"
            "<object classid=\"clsid:12\" codebase=\"../temp/x" +
            numbered(cabinet) + ".cab\" data=\"" + pictureLink +
            "\"></object>\n<a href=\"http://h/d/q%22x%3Cy%3E.htm\">q</a><a href>none</a><applet code>none</applet>"
            // A rewritten link is markup again; an attribute that is no link keeps its bytes.
            "<a href=\"http://h/d/s?a=1&amp;b=2\" title=\"&amp;&#64;\">s</a></body></html>");
    // Style-sheet text names URLs within it; it is written back as it stands.
    EXPECT_EQ(docs("v" + numbered(b) + ".htm"),
              "<a href=\"v" + numbered(b) + ".htm#top\" style=\"background: url(p.gif)\">top</a>");
    EXPECT_EQ(docs("v" + numbered(c) + ".htm"), ""); // a missing working copy gives an empty page

    // Documents are not kept: the written pages' working copies are gone.
    for (const WebNode* page : {start, b, c}) {
        EXPECT_TRUE(page->hasAnyFlag(kFlagWrittenToLocalSite)) << page->url().url();
        EXPECT_FALSE(page->hasAnyFlag(kFlagDocumentCopy)) << page->url().url();
        EXPECT_FALSE(fs::exists(work() + LocalNames::workingCopy(*page))) << page->url().url();
    }
    EXPECT_FALSE(picture->hasAnyFlag(kFlagWrittenToLocalSite)); // other kinds are not copied
    EXPECT_EQ(m_listener.texts, (std::vector<std::string>{"Outputting Web...", " FINISHED"}));
}

TEST_F(LocalSiteWriterTest, ProgressAliasesAndKeptCopies) {
    m_web->settings().optionBytes[static_cast<std::size_t>(KindRow::Documents)] =
        kOptionTestLocal | kOptionKeepCopy | kOptionKeepDocumentOrThumbnail;
    WebNode* start = addStart("<a href=\"home.htm\">alias</a>");
    WebNode* alias = addPage("http://h/d/home.htm", "<a href=\"index.html\">start</a>", kFlagStartAlias);
    addPage("http://h/d/a.htm", "a");
    LocalSiteWriter::write(*m_web);
    EXPECT_EQ(m_listener.progressValues, (std::vector<int>{0, 33, 66, 100}));
    EXPECT_EQ(docs("index.htm"), "<a href=\"index.htm\">alias</a>");
    EXPECT_FALSE(fs::exists(work() + LocalNames::localSiteCopy(*alias))); // the alias is the start page
    EXPECT_TRUE(fs::exists(work() + LocalNames::workingCopy(*start)));
}

TEST_F(LocalSiteWriterTest, UnwritablePageIsReportedAndTheRunGoesOn) {
    addStart("<a href=\"a.htm\">a</a><a href=\"b.htm\">b</a>");
    WebNode* a = addPage("http://h/d/a.htm", "page a");
    WebNode* b = addPage("http://h/d/b.htm", "page b");
    const std::string blocked = work() + LocalNames::localSiteCopy(*a);
    fs::create_directories(blocked); // a directory where the page should go

    EXPECT_EQ(LocalSiteWriter::write(*m_web).unwritten, std::vector<std::string>{blocked});
    EXPECT_EQ(m_listener.texts.back(), " FINISHED (1 page could not be written: " + blocked + ")");
    // The page that failed keeps its working copy although documents are not kept.
    EXPECT_TRUE(a->hasAnyFlag(kFlagDocumentCopy));
    EXPECT_EQ(readFile(work() + LocalNames::workingCopy(*a)), "page a");
    EXPECT_EQ(docs("v" + numbered(b) + ".htm"), "page b");
}

} // namespace
} // namespace corvida
