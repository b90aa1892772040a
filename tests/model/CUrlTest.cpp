// SPDX-License-Identifier: MIT
#include "model/CUrl.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/MimeTable.h"

namespace corvida {
namespace {

struct Resolution {
    const char* text;
    const char* base;
    const char* expected;
};

TEST(CUrlTest, ResolvesRelativeTextsAgainstTheBase) {
    const Resolution cases[] = {
        {"page2.htm", "http://h/dir/", "http://h/dir/page2.htm"},
        {"/img/a.gif", "http://h", "http://h/img/a.gif"},
        {"/img/a.gif", "dir/", "dir/img/a.gif"}, // no host: the text replaces the final '/'
        {"mailto:x@y", "http://h/dir/", "mailto:x@y"},
        {"../up.htm", "http://h/a/b/", "http://h/a/up.htm"},
        {"  \t sub\\x.htm", "http://h/", "http://h/sub/x.htm"},
        {"pa\r\nge.htm", "http://h/", "http://h/page.htm"},
    };
    for (const Resolution& c : cases) {
        EXPECT_EQ(CUrl(c.text, c.base).url(), c.expected) << c.text << " against " << c.base;
    }
}

TEST(CUrlTest, NormalisesEscapesAndDotSegments) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://h/a/b/../../c.htm", "http://h/c.htm"},
        {"http://h/../../../../c.htm", "http://h/c.htm"},
        {"http://h/a//../b.htm", "http://h/a//../b.htm"}, // preceded by '/': left alone
        {"http://h/a/..", "http://h/a/.."},               // no '/' after the dots: left alone
        {"a/b/../c.htm", "a/b/../c.htm"},                 // no root, no resolution
        {"http://h/%7e%7E.htm", "http://h/~~.htm"},
        {"http://h/%zz%4.htm", "http://h/%zz%4.htm"},
        {"http://h/%2541", "http://h/%41"},   // decoded once only
        {"http://h/a%00b.htm", "http://h/a"}, // a decoded NUL ends the text
        {"http://h/%2e%2e/x.htm", "http://h/x.htm"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(CUrl(text).url(), expected) << text;
    }
}

TEST(CUrlTest, SplitsSchemeHostBaseExtensionAndFragment) {
    const CUrl page("HTTP://Www.H.com:8080/x/y.htm#top");
    EXPECT_EQ(page.scheme(), "HTTP");
    EXPECT_EQ(page.host(), "Www.H.com:8080");
    EXPECT_EQ(page.baseDirectory(), "HTTP://Www.H.com:8080/x/");
    EXPECT_EQ(page.extension(), "htm");
    EXPECT_EQ(page.fragment(), "top");

    EXPECT_EQ(CUrl("http://h").baseDirectory(), "http://h/");
    EXPECT_EQ(CUrl("page.htm").baseDirectory(), "page.htm/");
    EXPECT_EQ(CUrl("http://h/a.GIF").mimeIndexByExtension(), MimeTable::kTypeGif);
    // The backward scan does not stop at '/': a last segment without a dot takes the text
    // after the host's last dot, which matches no type.
    const CUrl noDot("http://www.h.com/dir");
    EXPECT_EQ(noDot.extension(), "com/dir");
    EXPECT_EQ(noDot.mimeIndexByExtension(), MimeTable::kUnknown);
    EXPECT_EQ(CUrl("http://h/a..b").extension(), ".b"); // the dot after a dot does not count

    EXPECT_EQ(CUrl("news:comp.lang").schemeIndex(), MimeTable::kUnknown);
    EXPECT_TRUE(CUrl("MailTo:someone@h.com").isMailto());

    CUrl stripped("http://h/a.htm#x");
    stripped.stripFragment(); // the fragment kept aside
    EXPECT_EQ(stripped.fragment(), "x");
    EXPECT_EQ(stripped.compare(CUrl("HTTP://H/A.HTM")), 0);
    EXPECT_EQ(stripped.mimeIndexByExtension(), MimeTable::kTypeHtml);
    // An escaped '%' is not decoded a second time: the link is the same node with or without
    // its fragment, and no '#' comes back.
    CUrl escaped("http://h/%2541/a%2523b.htm#x");
    escaped.stripFragment();
    EXPECT_EQ(escaped.url(), CUrl("http://h/%2541/a%2523b.htm").url());
}

TEST(CUrlTest, FoldHashIsTheExactStoredSum) {
    // ':' counts as '|', '\' as '/', upper case as lower case, high bytes as negative.
    EXPECT_EQ(CUrl("A:").foldHash(), 97u + 124u);
    EXPECT_EQ(CUrl("\x80").foldHash(), 4294967168u);
    EXPECT_EQ(CUrl("http://h/a.htm").foldHash(), 1289u);
}

TEST(CUrlTest, ComparisonFoldsAndIsAStrictTotalOrder) {
    EXPECT_EQ(CUrl("file:///C:/x").compare(CUrl("FILE:///c|/x")), 0);
    EXPECT_LT(CUrl("http://h/dir").compare(CUrl("http://h/dir/")), 0); // shorter first
    // Equal length and hash: the last differing position decides ("ab" vs "ba").
    EXPECT_GT(CUrl("http://h/ab").compare(CUrl("http://h/ba")), 0);

    std::mt19937 random(20261206);
    const std::string alphabet = "abAB:|/\\.%\xe9";
    std::vector<CUrl> urls;
    for (int i = 0; i < 400; ++i) {
        std::string text = "http://h/";
        const int length = static_cast<int>(random() % 6);
        for (int j = 0; j < length; ++j) {
            text.push_back(alphabet[random() % alphabet.size()]);
        }
        urls.emplace_back(text);
    }
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const CUrl& a : urls) {
        for (const CUrl& b : urls) {
            const int ab = a.compare(b);
            ASSERT_EQ(sign(ab), -sign(b.compare(a))) << a.url() << " / " << b.url();
            ASSERT_TRUE(ab != 0 || a.identityHash() == b.identityHash()) << a.url() << " / " << b.url();
        }
    }
    std::sort(urls.begin(), urls.end(), [](const CUrl& a, const CUrl& b) { return a.compare(b) < 0; });
    for (std::size_t i = 0; i + 2 < urls.size(); ++i) {
        ASSERT_LE(urls[i].compare(urls[i + 1]), 0);
        ASSERT_LE(urls[i].compare(urls[i + 2]), 0) << "not transitive";
    }
}

TEST(CUrlTest, ServerTypeOverridesTheExtension) {
    CUrl url("http://h/page");
    url.setMimeIndexByServer("Text/HTML; charset=utf-8 ");
    EXPECT_TRUE(url.isDocument());
    url.setMimeIndexByServer("audio/x-corvida-test");
    EXPECT_TRUE(url.isAudio());
    EXPECT_EQ(MimeTable::instance().typeName(url.effectiveMimeIndex()), "audio/x-corvida-test");
}

TEST(CUrlTest, LocalPathOfFileUrls) {
    EXPECT_EQ(CUrl("file:///home/u/site/a.htm#p").localPath(), "/home/u/site/a.htm");
    EXPECT_EQ(CUrl("file:///C|/web/i.htm").localPath(), "C:/web/i.htm");
    EXPECT_EQ(CUrl("file:///home/u/a|b.htm").localPath(), "/home/u/a|b.htm");
    EXPECT_EQ(CUrl("file://srv/share/a.htm").localPath(), "//srv/share/a.htm");
    EXPECT_EQ(CUrl("http://h/a.htm").localPath(), "");
    EXPECT_EQ(CUrl("file:///home/u/a.htm").localPath(8), "/home/u");
}

// Short hostile texts are the fuzz target's; these are the long ones it never makes.
TEST(CUrlTest, HugeTextsAreHandledWhole) {
    const std::string texts[] = {std::string(1 << 20, '%'), "http://h/" + std::string(1 << 20, 'a') + ".htm",
                                 std::string(100000, '/') + "../", "http://h" + std::string(5000, '/') + ".."};
    for (const std::string& text : texts) {
        for (const std::string& base : {std::string(), std::string("http://h/d/"), texts[0]}) {
            CUrl url(text, base);
            CUrl copy = url;
            copy.stripFragment();
            EXPECT_LE(url.baseDirectory().size(), url.length() + 1u);
            EXPECT_EQ(url.url().size(), url.length());
            EXPECT_EQ(url.compare(copy), 0);
        }
    }
}

} // namespace
} // namespace corvida
