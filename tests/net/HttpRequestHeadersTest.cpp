// SPDX-License-Identifier: MIT
#include "net/HttpRequestHeaders.h"

#include <gtest/gtest.h>

namespace corvida {
namespace {

struct SplitCase {
    const char* url;
    const char* host;
    std::uint16_t port;
    const char* target;
};

TEST(HttpRequestHeadersTest, SplitsUrlsIntoHostPortAndTarget) {
    const SplitCase cases[] = {
        {"http://h:8080/a/b.htm?x=1#f", "h", 8080, "/a/b.htm?x=1#f"},
        {"http://h", "h", 80, "/"},
        {"  h:81/x", "h", 81, "/x"},
        {"ftp://h/f.txt", "h", 80, "/f.txt"},
        {"http://h:/x", "h", 80, "/x"},
        {"http://h:65535/", "h", 65535, "/"},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.url);
        const std::optional<HttpUrlParts> parts = HttpRequestHeaders::splitUrl(c.url);
        ASSERT_TRUE(parts);
        EXPECT_EQ(parts->host, c.host);
        EXPECT_EQ(parts->port, c.port);
        EXPECT_EQ(parts->target, c.target);
    }
    for (const char* malformed : {"http://user@h/", "http://my_host/", "http://h?x", "http://h:8o/", "h x/",
                                  "http://h:65536/", "http://h:99999999999999999999/"}) {
        EXPECT_FALSE(HttpRequestHeaders::splitUrl(malformed)) << malformed;
        EXPECT_FALSE(HttpRequestHeaders().build("GET", malformed)) << malformed;
    }
}

TEST(HttpRequestHeadersTest, WritesHeadersInFixedOrderAfterTheHostLine) {
    HttpRequestHeaders headers;
    headers.accept = "*/*";
    headers.userAgent = "Agent/1.0";
    headers.referer = "http://h/from.htm";
    headers.ifModifiedSince = 784111777;
    headers.from = "me@example.org";
    headers.authorization = HttpRequestHeaders::basicCredentials("user", "pass");

    EXPECT_EQ(headers.build("GET", "http://h:8080/dir/page.htm").value().text,
              "GET /dir/page.htm HTTP/1.0\r\n"
              "Host: h:8080\r\n"
              "Authorization: Basic dXNlcjpwYXNz\r\n"
              "From: me@example.org\r\n"
              "If-Modified-Since: Sun, 06 Nov 1994 08:49:37 GMT\r\n"
              "Referer: http://h/from.htm\r\n"
              "User-Agent: Agent/1.0\r\n"
              "Accept: */*\r\n"
              "\r\n");
}

TEST(HttpRequestHeadersTest, LeavesOutAbsentEmptyAndUnsetHeaders) {
    HttpRequestHeaders headers;
    headers.accept = "*/*";
    headers.userAgent = "";
    for (const std::int32_t unset : {-1, 0}) {
        headers.ifModifiedSince = unset;
        EXPECT_EQ(headers.build("HEAD", "http://h/a.gif").value().text,
                  "HEAD /a.gif HTTP/1.0\r\nHost: h\r\nAccept: */*\r\n\r\n");
    }
}

TEST(HttpRequestHeadersTest, ProxyGetsTheWholeUrlAndHostNamesTheSite) {
    HttpRequestHeaders headers;
    const HttpRequestText viaPort = headers.build("GET", "http://site:81/x.htm", "proxy:8080").value();
    EXPECT_EQ(viaPort.host, "proxy");
    EXPECT_EQ(viaPort.port, 8080);
    EXPECT_EQ(viaPort.text, "GET http://site:81/x.htm HTTP/1.0\r\nHost: site:81\r\n\r\n");

    EXPECT_EQ(HttpRequestHeaders::splitProxy("proxy").port, 80);
    EXPECT_EQ(HttpRequestHeaders::splitProxy("proxy:65537").port, 0); // not wrapped to 1

    // The proxy is asked even for a URL that cannot be split here; it just has no Host line.
    EXPECT_EQ(headers.build("GET", "http://user@site/", "proxy").value().text,
              "GET http://user@site/ HTTP/1.0\r\n\r\n");
}

TEST(HttpRequestHeadersTest, HttpsGoesOverTlsOnPort443AndThroughAProxyTunnel) {
    HttpRequestHeaders headers;
    headers.userAgent = "Agent/1.0";
    const HttpRequestText direct = headers.build("GET", "HTTPS://site/a.htm").value();
    EXPECT_TRUE(direct.secure);
    EXPECT_EQ(direct.serverName, "site");
    EXPECT_EQ(direct.port, 443);
    EXPECT_EQ(direct.text, "GET /a.htm HTTP/1.0\r\nHost: site\r\nUser-Agent: Agent/1.0\r\n\r\n");
    EXPECT_TRUE(direct.tunnelText.empty());
    // Each scheme's own default port goes without a number, the other's with one.
    EXPECT_EQ(headers.build("GET", "https://site:80/").value().text.substr(0, 31),
              "GET / HTTP/1.0\r\nHost: site:80\r\n");
    EXPECT_EQ(headers.build("GET", "http://site:443/").value().text.substr(0, 32),
              "GET / HTTP/1.0\r\nHost: site:443\r\n");
    // "https:8443" without slashes is a host named https and its port, as ever.
    EXPECT_FALSE(HttpRequestHeaders::splitUrl("https:8443/x").value().secure);

    const HttpRequestText tunnelled = headers.build("HEAD", "https://site:8443/b.gif", "proxy:3128").value();
    EXPECT_EQ(tunnelled.host, "proxy");
    EXPECT_EQ(tunnelled.port, 3128);
    EXPECT_TRUE(tunnelled.secure);
    EXPECT_EQ(tunnelled.serverName, "site");
    EXPECT_EQ(tunnelled.tunnelText, "CONNECT site:8443 HTTP/1.0\r\nHost: site:8443\r\nUser-Agent: Agent/1.0\r\n\r\n");
    EXPECT_EQ(tunnelled.text, "HEAD /b.gif HTTP/1.0\r\nHost: site:8443\r\nUser-Agent: Agent/1.0\r\n\r\n");
    // A tunnel needs the URL's host: one that cannot be split is not sent at all.
    EXPECT_FALSE(headers.build("GET", "https://user@site/", "proxy"));
}

TEST(HttpRequestHeadersTest, CrawledBytesCannotAddRequestLines) {
    HttpRequestHeaders headers;
    headers.referer = "http://h/a\r\nX-Injected: 1";
    EXPECT_EQ(headers.build("GET", "http://h/a b\r\nX-Injected: 1\r\n\r\nGET /other\x7F").value().text,
              "GET /a%20b%0D%0AX-Injected:%201%0D%0A%0D%0AGET%20/other%7F HTTP/1.0\r\n"
              "Host: h\r\n"
              "Referer: http://h/a  X-Injected: 1\r\n"
              "\r\n");
}

TEST(HttpRequestHeadersTest, BasicCredentialsAreStandardBase64) {
    EXPECT_EQ(HttpRequestHeaders::basicCredentials("Aladdin", "open sesame"), "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
    EXPECT_EQ(HttpRequestHeaders::basicCredentials("u", ""), "Basic dTo="); // 2 bytes
    // Bytes from 0x80 up are taken as unsigned.
    EXPECT_EQ(HttpRequestHeaders::basicCredentials("\xFF\xFE", "\xFD"), "Basic //46/Q==");
}

} // namespace
} // namespace corvida
