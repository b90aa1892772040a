// SPDX-License-Identifier: MIT
#pragma once

// HttpRequestHeaders is the header record of a request: the crawl fills one per site and
// reuses it for every request, and build() turns it, with a method and a URL, into the
// exact bytes that are sent. The request also carries a Host line (the URL's host, and its
// port when not the scheme's default: 80, or 443 for https) right after the request line, so
// name-based virtual hosts serve the right site, also through a proxy.
//
// An https URL is requested alike over TLS. Through a proxy it goes through a tunnel: the
// proxy is first asked to CONNECT to the URL's host and port, and the request that follows
// inside the tunnel names only the target, as a direct request does.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvida {

// Where a URL's request goes: host and port to connect to, and the request target.
struct HttpUrlParts {
    std::string host;
    std::uint16_t port = 80;
    std::string target = "/";
    bool secure = false; // https: the request goes over TLS
};

// A request ready to send: its bytes and where to send them.
struct HttpRequestText {
    std::string text;
    std::string host;
    std::uint16_t port = 80;
    // Whether text goes over TLS, and the name the server's certificate must carry and its
    // port (the URL's, also when host and port are a proxy's).
    bool secure = false;
    std::string serverName;
    std::uint16_t serverPort = 0;
    // Through a proxy, for an https URL: the CONNECT request that opens the tunnel, sent
    // before the TLS handshake. Empty otherwise.
    std::string tunnelText;
};

struct HttpRequestHeaders {
    // Absent or empty texts and times of 0 or less are not written.
    std::optional<std::string> authorization;
    std::optional<std::string> from;
    std::int32_t ifModifiedSince = -1;
    std::optional<std::string> referer;
    std::optional<std::string> userAgent;
    std::optional<std::string> accept;

    // Builds the request text for method ("GET" or "HEAD") and url. Without a proxy (empty
    // proxy text) the URL is split into host, port and target; with one, the target is the
    // whole URL and host and port are the proxy's ("host:port", port 80 when absent), except
    // for an https URL, which keeps its target and gets the tunnel's CONNECT text.
    // Returns nullopt when the URL cannot be split (string 70, nothing to send).
    // Control bytes and spaces in the target are sent %-escaped, and line breaks in header
    // values as spaces, so that a crawled URL can never add lines to the request.
    std::optional<HttpRequestText> build(std::string_view method, std::string_view url,
                                         std::string_view proxy = {}) const;

    // Splits url for a direct request; nullopt when it is malformed (a host holding '@',
    // '_', '?' or another byte a host name cannot have, or a port that is not a number
    // from 0 to 65535).
    // Any scheme is accepted and requested as HTTP; https (any letter case) over TLS, on port
    // 443 unless the URL names another.
    static std::optional<HttpUrlParts> splitUrl(std::string_view url);

    // Splits a proxy setting "host:port" at its first ':'; port 80 when it names none, 0 when
    // it names one past 65535.
    static HttpUrlParts splitProxy(std::string_view proxy);

    // Returns the Authorization value for Basic credentials: "Basic " and the Base64 form
    // (with '=' padding) of "user:password".
    static std::string basicCredentials(std::string_view user, std::string_view password);
};

} // namespace corvida
