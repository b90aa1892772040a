// SPDX-License-Identifier: MIT
#include "net/HttpRequestHeaders.h"

#include <algorithm>

#include "base/Ascii.h"
#include "base/AsciiChars.h"
#include "net/HttpDate.h"

namespace corvida {

namespace {

constexpr std::uint16_t kDefaultPort = 80;
constexpr std::uint16_t kDefaultSecurePort = 443;
constexpr std::string_view kSecureScheme = "https";
constexpr std::uint32_t kMaxPort = 65535;

constexpr bool isSchemeByte(char c) {
    return isAsciiLetter(c) || isAsciiDigit(c) || c == '+' || c == '-' || c == '.';
}

constexpr bool isHostByte(char c) {
    return isAsciiLetter(c) || isAsciiDigit(c) || c == '.' || c == '-';
}

// Targets go on the request line as they stand, except for bytes that would end or split
// that line: controls, space and DEL are sent %-escaped, which servers decode to the same
// resource.
std::string escapeTarget(std::string_view target) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(target.size());
    for (const char c : target) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

// A header value never ends its line early: CR and LF become spaces.
std::string headerValue(std::string_view value) {
    std::string out(value);
    for (char& c : out) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return out;
}

void appendHeader(std::string& text, std::string_view name, const std::optional<std::string>& value) {
    if (value && !value->empty()) {
        text += name;
        text += ": ";
        text += headerValue(*value);
        text += "\r\n";
    }
}

std::string hostLine(const HttpUrlParts& parts) {
    std::string value = parts.host;
    if (parts.port != (parts.secure ? kDefaultSecurePort : kDefaultPort)) {
        value += ':';
        value += std::to_string(parts.port);
    }
    return value;
}

} // namespace

std::optional<HttpUrlParts> HttpRequestHeaders::splitUrl(std::string_view url) {
    enum class State { Scheme, AfterColon, Host, Port };

    HttpUrlParts parts;
    std::size_t pos = url.find_first_not_of(' ');
    if (pos == std::string_view::npos) {
        pos = url.size();
    }
    State state = State::Scheme;
    std::size_t wordStart = pos;
    std::size_t slashes = 0;
    std::size_t colon = 0;
    std::uint32_t port = 0;
    bool hasPort = false;
    std::optional<std::size_t> targetStart;

    for (; pos < url.size() && !targetStart; ++pos) {
        const char c = url[pos];
        switch (state) {
        case State::Scheme:
            if (c == ':') {
                colon = pos;
                state = State::AfterColon;
                parts.secure = equalsIgnoreCase(url.substr(wordStart, pos - wordStart), kSecureScheme);
            } else if (c == '/') {
                // "host/path": the word was the host.
                parts.host = std::string(url.substr(wordStart, pos - wordStart));
                targetStart = pos;
            } else if (!isSchemeByte(c)) {
                return std::nullopt;
            }
            break;
        case State::AfterColon:
            if (c == '/') {
                if (++slashes == 2) {
                    state = State::Host;
                    wordStart = pos + 1;
                }
            } else if (isAsciiDigit(c)) {
                // "host:port": the word before the colon was the host.
                parts.host = std::string(url.substr(wordStart, colon - wordStart));
                parts.secure = false;
                state = State::Port;
                --pos;
            } else if (isAsciiLetter(c)) {
                targetStart = pos; // no host at all
            }
            break;
        case State::Host:
            if (c == ':') {
                parts.host = std::string(url.substr(wordStart, pos - wordStart));
                state = State::Port;
            } else if (c == '/') {
                parts.host = std::string(url.substr(wordStart, pos - wordStart));
                targetStart = pos;
            } else if (!isHostByte(c)) {
                return std::nullopt;
            }
            break;
        case State::Port:
            if (isAsciiDigit(c)) {
                // A port past 65535 would wrap around to some other server's port.
                port = port * 10 + static_cast<std::uint32_t>(c - '0');
                if (port > kMaxPort) {
                    return std::nullopt;
                }
                hasPort = true;
            } else if (c == '/') {
                targetStart = pos;
            } else {
                return std::nullopt;
            }
            break;
        }
    }
    if (targetStart) {
        // Never empty: it starts at a '/' or a letter. Without one it stays "/".
        parts.target = std::string(url.substr(*targetStart));
    } else if (state == State::Scheme || state == State::Host) {
        // The text ended inside the word: all of it is the host.
        parts.host = std::string(url.substr(wordStart));
    }
    parts.port = hasPort ? static_cast<std::uint16_t>(port) : parts.secure ? kDefaultSecurePort : kDefaultPort;
    return parts;
}

HttpUrlParts HttpRequestHeaders::splitProxy(std::string_view proxy) {
    HttpUrlParts parts;
    const std::size_t colon = proxy.find(':');
    parts.host = std::string(proxy.substr(0, colon));
    if (colon != std::string_view::npos) {
        std::uint32_t port = 0;
        bool hasPort = false;
        for (std::size_t i = colon + 1; i < proxy.size() && isAsciiDigit(proxy[i]) && port <= kMaxPort; ++i) {
            port = port * 10 + static_cast<std::uint32_t>(proxy[i] - '0');
            hasPort = true;
        }
        if (hasPort) {
            // An impossible port gives 0, where no proxy answers, rather than a wrapped one.
            parts.port = port > kMaxPort ? 0 : static_cast<std::uint16_t>(port);
        }
    }
    return parts;
}

std::optional<HttpRequestText> HttpRequestHeaders::build(std::string_view method, std::string_view url,
                                                         std::string_view proxy) const {
    const std::optional<HttpUrlParts> urlParts = splitUrl(url);
    HttpRequestText request;
    std::string target;
    if (!urlParts && !proxy.empty() &&
        startsWithIgnoreCase(url.substr(std::min(url.find_first_not_of(' '), url.size())), "https:")) {
        return std::nullopt; // a tunnel needs the URL's host and port
    }
    if (proxy.empty() || (urlParts && urlParts->secure)) {
        if (!urlParts) {
            return std::nullopt;
        }
        request.host = urlParts->host;
        request.port = urlParts->port;
        request.secure = urlParts->secure;
        request.serverName = urlParts->host;
        request.serverPort = urlParts->port;
        target = urlParts->target;
        if (!proxy.empty()) {
            const HttpUrlParts proxyParts = splitProxy(proxy);
            request.host = proxyParts.host;
            request.port = proxyParts.port;
            const std::string authority = urlParts->host + ':' + std::to_string(urlParts->port);
            request.tunnelText = "CONNECT " + authority + " HTTP/1.0\r\n";
            appendHeader(request.tunnelText, "Host", authority);
            appendHeader(request.tunnelText, "User-Agent", userAgent);
            request.tunnelText += "\r\n";
        }
    } else {
        const HttpUrlParts proxyParts = splitProxy(proxy);
        request.host = proxyParts.host;
        request.port = proxyParts.port;
        target = std::string(url);
    }

    std::string& text = request.text;
    text += method;
    text += ' ';
    text += escapeTarget(target);
    text += " HTTP/1.0\r\n";
    // Through a proxy the Host line still names the URL's host; a URL the proxy gets whole
    // but that cannot be split goes without one.
    if (urlParts && !urlParts->host.empty()) {
        appendHeader(text, "Host", hostLine(*urlParts));
    }
    appendHeader(text, "Authorization", authorization);
    appendHeader(text, "From", from);
    if (ifModifiedSince > 0) {
        appendHeader(text, "If-Modified-Since", HttpDate::format(ifModifiedSince));
    }
    appendHeader(text, "Referer", referer);
    appendHeader(text, "User-Agent", userAgent);
    appendHeader(text, "Accept", accept);
    text += "\r\n";
    return request;
}

std::string HttpRequestHeaders::basicCredentials(std::string_view user, std::string_view password) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string plain(user);
    plain += ':';
    plain += password;

    std::string out = "Basic ";
    for (std::size_t i = 0; i < plain.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, plain.size() - i);
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 3; ++j) {
            const std::uint32_t byte = j < count ? static_cast<unsigned char>(plain[i + j]) : 0U;
            group = (group << 8) | byte;
        }
        out += kAlphabet[(group >> 18) & 0x3F];
        out += kAlphabet[(group >> 12) & 0x3F];
        out += count > 1 ? kAlphabet[(group >> 6) & 0x3F] : '=';
        out += count > 2 ? kAlphabet[group & 0x3F] : '=';
    }
    return out;
}

} // namespace corvida
