// SPDX-License-Identifier: MIT
// Crawls that cross between http and https: a site behind an http-to-https redirect, links
// back to http, a redirect loop between the two, and a server whose certificate is not
// trusted.

#include <sstream>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "cli/CliProgram.h"
#include "support/ScriptedServer.h"
#include "support/TestPaths.h"

namespace corvida {
namespace {

using test::Script;
using test::ScriptedServer;

Script page(const std::string& body) {
    return Script::reply("HTTP/1.0 200 OK",
                         {"Content-Type: text/html", "Content-Length: " + std::to_string(body.size())}, body);
}

Script redirect(const std::string& location) {
    return Script::reply("HTTP/1.0 301 Moved Permanently", {"Location: " + location}, {});
}

bool asks(std::string_view request, std::string_view path) {
    return request.find(" " + std::string(path) + " HTTP/1.0") != std::string_view::npos;
}

// The node line of url in --nodes output, or "".
std::string nodeLine(const std::string& out, const std::string& url) {
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (line.ends_with('\t' + url)) {
            return line;
        }
    }
    return {};
}

class HttpsCrawlTest : public testing::Test {
protected:
    HttpsCrawlTest()
        : m_secure(ScriptedServer::TlsIdentity{test::dataPath("tls/server.pem"), test::dataPath("tls/server.key")}) {
        const std::string secure = m_secure.url("");
        const std::string plain = m_plain.url("");
        m_secure.setResponder([=](std::string_view request) {
            if (asks(request, "/")) {
                return page("<a href=\"page.htm\">p</a> <a href=\"" + plain + "/back.htm\">b</a> <a href=\"" + plain +
                            "/loop\">l</a>");
            }
            if (asks(request, "/page.htm") || asks(request, "/final.htm")) {
                return page("<title>secure</title>");
            }
            if (asks(request, "/loop")) {
                return redirect(plain + "/loop");
            }
            return Script::reply("HTTP/1.0 404 Not Found", {}, {});
        });
        m_plain.setResponder([=](std::string_view request) {
            if (asks(request, "/start")) {
                return redirect(secure + "/");
            }
            if (asks(request, "/back.htm")) {
                return redirect(secure + "/final.htm");
            }
            if (asks(request, "/loop")) {
                return redirect(secure + "/loop");
            }
            return Script::reply("HTTP/1.0 404 Not Found", {}, {});
        });
    }

    int crawl(const std::vector<std::string>& extra) {
        std::vector<std::string> args{"crawl",   m_plain.url("/start"), "--dir",         m_dir.path().toStdString(),
                                      "--nodes", "--external",          "--connections", "4"};
        args.insert(args.end(), extra.begin(), extra.end());
        m_out.str({});
        m_err.str({});
        return runCliProgram(args, m_out, m_err);
    }

    QTemporaryDir m_dir;
    ScriptedServer m_secure;
    ScriptedServer m_plain;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(HttpsCrawlTest, FollowsRedirectsBetweenHttpAndHttpsAndEndsALoopBetweenThem) {
    EXPECT_EQ(crawl({"--ca-file", test::dataPath("tls/ca.pem")}), 0) << m_err.str();
    const std::string plain = m_plain.url("");
    const std::string secure = m_secure.url("");
    // The start page was reached over https; its links are resolved against where it came from.
    EXPECT_NE(nodeLine(m_out.str(), plain + "/start").find("\t200\t"), std::string::npos) << m_out.str();
    EXPECT_NE(nodeLine(m_out.str(), secure + "/page.htm").find("\t200\t"), std::string::npos) << m_out.str();
    // http to https to http: the link back to http ends on an https page.
    EXPECT_NE(nodeLine(m_out.str(), plain + "/back.htm").find("\t200\t"), std::string::npos) << m_out.str();
    // The loop ends after its redirect limit as one broken node; the crawl completes.
    EXPECT_NE(nodeLine(m_out.str(), plain + "/loop").find("\t301\t"), std::string::npos) << m_out.str();
}

TEST_F(HttpsCrawlTest, UntrustedCertificateFailsTheStartWithItsReasonAndInsecureSaysItSkipsTheCheck) {
    EXPECT_EQ(crawl({}), 3);
    EXPECT_NE(m_err.str().find("The server's certificate was not accepted: "), std::string::npos) << m_err.str();

    EXPECT_EQ(crawl({"--insecure"}), 0) << m_err.str();
    EXPECT_NE(m_err.str().find("certificates of https servers are not checked"), std::string::npos);

    EXPECT_EQ(crawl({"--ca-file", test::dataPath("tls/missing.pem")}), 2);
    EXPECT_NE(m_err.str().find("--ca-file: cannot read the CA file"), std::string::npos) << m_err.str();
}

} // namespace
} // namespace corvida
