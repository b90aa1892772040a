// SPDX-License-Identifier: MIT
#include "model/LocalNames.h"

#include <string>

#include <gtest/gtest.h>

#include "model/Web.h"

namespace corvida {
namespace {

TEST(LocalNamesTest, NamesByKindNumberAndExtension) {
    Web web;
    const auto numbered = [&web](const char* url, int number) {
        WebNode* node = web.findOrAddNode(CUrl(url));
        node->setNumber(number);
        return node;
    };
    WebNode* picture = numbered("http://h/LOGO.GIF", 5);
    WebNode* page = numbered("http://h/page.html", 12);
    WebNode* sound = numbered("http://h/s.wav", 13);
    WebNode* other = numbered("http://h/f.zip", 14);

    EXPECT_EQ(LocalNames::workingCopy(*picture), "images/z0000005.GIF");
    EXPECT_EQ(LocalNames::newCopy(*picture), "images/u0000005.GIF");
    EXPECT_EQ(LocalNames::thumbnail(*picture), "images/t0000005.gif");
    EXPECT_EQ(LocalNames::workingCopy(*page), "temp/w0000012.htm");
    EXPECT_EQ(LocalNames::localSiteCopy(*page), "docs/v0000012.htm");
    EXPECT_EQ(LocalNames::workingCopy(*sound), "mmedia/z0000013.wav");
    EXPECT_EQ(LocalNames::workingCopy(*other), "temp/x0000014.zip");
    EXPECT_EQ(LocalNames::newCopy(*other), "temp/y0000014.zip");
    EXPECT_EQ(LocalNames::reportAnchor(*picture), "pics0.htm#ww5");
    page->setGroupNumber(2);
    EXPECT_EQ(LocalNames::reportAnchor(*page), "docs2.htm#ww12");
    EXPECT_EQ(LocalNames::reportAnchor(*other), "p_oths.htm#ww14");

    // Numbers past seven digits and negative ones (a damaged project file) as "%07d" has them.
    page->setNumber(123456789);
    EXPECT_EQ(LocalNames::workingCopy(*page), "temp/w123456789.htm");
    page->setNumber(-42);
    EXPECT_EQ(LocalNames::workingCopy(*page), "temp/w-000042.htm");
    page->setNumber(-2147483647 - 1);
    page->setGroupNumber(-3);
    EXPECT_EQ(LocalNames::localSiteCopy(*page), "docs/v-2147483648.htm");
    EXPECT_EQ(LocalNames::reportAnchor(*page), "docs-3.htm#ww-2147483648");
}

TEST(LocalNamesTest, LocalSiteAndReportLinksOnlyForFetchedNodes) {
    Web web;
    WebNode* start = web.findOrAddNode(CUrl("http://h/"));
    web.setStartNode(start);
    start->setFlags(kFlagStart | kFlagFetched | kFlagFetchStarted);
    web.findOrAddNode(CUrl("http://h/page.htm"))->setFlags(kFlagFetched | kFlagFetchStarted);
    WebNode* picture = web.findOrAddNode(CUrl("http://h/p.gif"));
    picture->setFlags(kFlagFetched | kFlagLocalServer);
    web.findOrAddNode(CUrl("http://h/tested.htm"))->setFlags(kFlagTested);
    WebNode* external = web.findOrAddNode(CUrl("http://x/p.jpg"));
    external->setFlags(kFlagFetched);

    EXPECT_EQ(LocalNames::localSiteLink(web, CUrl("http://h/")), "index.htm");
    EXPECT_EQ(LocalNames::localSiteLink(web, CUrl("http://h/page.htm#part")), "v0000001.htm#part");
    EXPECT_EQ(LocalNames::localSiteLink(web, CUrl("http://h/p.gif#x")), "../images/z0000002.gif");
    EXPECT_EQ(LocalNames::localSiteLink(web, CUrl("http://h/tested.htm")), "");
    EXPECT_EQ(LocalNames::localSiteLink(web, CUrl("http://h/absent.htm")), "");

    EXPECT_EQ(LocalNames::reportLink(*start), ""); // the start page "/" is of the other kind
    start->assignFlags(kFlagDocument | kFlagStart | kFlagFetched | kFlagFetchStarted);
    EXPECT_EQ(LocalNames::reportLink(*start), "../docs/index.htm");
    EXPECT_EQ(LocalNames::reportLink(*picture), "../images/z0000002.gif");
    EXPECT_EQ(LocalNames::reportLink(*external), "");
}

TEST(LocalNamesTest, CrawledExtensionsCannotLeaveTheDirectory) {
    EXPECT_EQ(LocalNames::safeExtension("htm"), "htm");
    EXPECT_EQ(LocalNames::safeExtension("b/../../../etc/passwd"), "b_.__.__.__etc_passwd");
    EXPECT_EQ(LocalNames::safeExtension("..\\x"), "_._x");
    EXPECT_EQ(LocalNames::safeExtension(std::string("a\0b\n", 4)), "a_b_");
    EXPECT_EQ(LocalNames::safeExtension(std::string(100, 'x')).size(), LocalNames::kMaxExtension);

    Web web;
    WebNode* node = web.findOrAddNode(CUrl("http://h/a.b//../../../../../../tmp/evil"));
    const std::string name = LocalNames::workingCopy(*node);
    EXPECT_EQ(name.find('/', 5), std::string::npos) << name; // only the "temp/" separator
}

} // namespace
} // namespace corvida
