// SPDX-License-Identifier: MIT
#include "net/HttpReplyParser.h"

#include <limits>

#include "base/Ascii.h"
#include "base/AsciiChars.h"
#include "net/HttpDate.h"

namespace corvida {

namespace {

constexpr bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Header names are printable bytes other than space and ':'.
constexpr bool isNameByte(char c) {
    return c > ' ' && c < 0x7F && c != ':';
}

// Reads the run of digits at the start of text; 0 when there is none. Saturates at limit.
std::int64_t leadingNumber(std::string_view text, std::int64_t limit) {
    std::int64_t value = 0;
    for (std::size_t i = 0; i < text.size() && isAsciiDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) {
            return limit + 1;
        }
    }
    return value;
}

void storeHeader(const std::string& name, const std::string& value, HttpReplyHeaders& reply,
                 HttpEntityHeaders& entity) {
    constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
    if (equalsIgnoreCase(name, "Location")) {
        reply.location = value;
    } else if (equalsIgnoreCase(name, "Server")) {
        reply.server = value;
    } else if (equalsIgnoreCase(name, "WWW-Authenticate")) {
        reply.wwwAuthenticate = value;
    } else if (equalsIgnoreCase(name, "Retry-After")) {
        reply.retryAfter = value;
    } else if (equalsIgnoreCase(name, "Date")) {
        reply.date = HttpDate::parse(value);
    } else if (equalsIgnoreCase(name, "Content-Encoding")) {
        entity.contentEncoding = value;
    } else if (equalsIgnoreCase(name, "Content-Length")) {
        // A length too large for 32 bits is treated as unknown: the body then runs to the
        // server's close instead of being cut at a wrapped-around count.
        const std::int64_t length = leadingNumber(value, kInt32Max);
        entity.contentLength = length > kInt32Max ? -1 : static_cast<std::int32_t>(length);
    } else if (equalsIgnoreCase(name, "Content-Type")) {
        entity.contentType = value;
    } else if (equalsIgnoreCase(name, "Expires")) {
        entity.expires = HttpDate::parse(value);
    } else if (equalsIgnoreCase(name, "Last-Modified")) {
        entity.lastModified = HttpDate::parse(value);
    } else {
        std::string& extra = entity.extraHeaders ? *entity.extraHeaders : entity.extraHeaders.emplace();
        extra += name;
        extra += ':';
        extra += value;
        extra += "\r\n";
    }
}

// The header lines after the status line, one byte at a time.
class HeaderLineReader {
public:
    HeaderLineReader(HttpReplyHeaders& reply, HttpEntityHeaders& entity) : m_reply(reply), m_entity(entity) {}

    void read(std::string_view text) {
        for (const char c : text) {
            step(c);
        }
        // A header whose line never ended is dropped; a complete block always ends its lines.
    }

private:
    enum class State {
        BetweenHeaders,    // skipping up to the next name
        InName,            // reading a name
        AfterColon,        // skipping spaces before the value
        InValue,           // reading the value up to the line end
        AfterCr,           // a CR ended a value line; a LF may follow
        LineStart,         // the first byte of the line after a value decides
        ContinuationSpace, // skipping the spaces that start a continuation line
    };

    void step(char c) {
        switch (m_state) {
        case State::BetweenHeaders:
            if (isNameByte(c)) {
                startName(c);
            }
            break;
        case State::InName:
            if (isNameByte(c)) {
                m_name += c;
            } else if (c == ':') {
                m_state = State::AfterColon;
            } else {
                // "Content Type: x" loses "Content" and is read as "Type".
                m_name.clear();
                m_state = State::BetweenHeaders;
            }
            break;
        case State::AfterColon:
        case State::ContinuationSpace:
            // Blanks before a value, and before the rest of a continued value, are skipped.
            if (c == ' ') {
                break;
            }
            if (isLineEnd(c)) {
                endLine(c);
            } else {
                m_value += c;
                m_state = State::InValue;
            }
            break;
        case State::InValue:
            if (isLineEnd(c)) {
                endLine(c);
            } else {
                m_value += c;
            }
            break;
        case State::AfterCr:
            if (c == '\n') {
                m_state = State::LineStart;
            } else {
                // A bare CR ended the line: this byte already begins the next one.
                lineStart(c);
            }
            break;
        case State::LineStart:
            lineStart(c);
            break;
        }
    }

    void startName(char c) {
        m_name.assign(1, c);
        m_value.clear();
        m_state = State::InName;
    }

    void endLine(char c) { m_state = c == '\r' ? State::AfterCr : State::LineStart; }

    void lineStart(char c) {
        if (c == ' ') {
            m_value += ' ';
            m_state = State::ContinuationSpace;
            return;
        }
        storeHeader(m_name, m_value, m_reply, m_entity);
        if (isNameByte(c)) {
            startName(c);
        } else {
            m_state = State::BetweenHeaders;
        }
    }

    HttpReplyHeaders& m_reply;
    HttpEntityHeaders& m_entity;
    State m_state = State::BetweenHeaders;
    std::string m_name;
    std::string m_value;
};

} // namespace

std::size_t HttpReplyParser::feed(std::string_view bytes) {
    if (m_state == kStateBody || m_tooLong) {
        return 0;
    }
    std::size_t used = 0;
    while (used < bytes.size()) {
        if (m_text.size() >= kMaxHeaderBlock) {
            m_tooLong = true;
            return used;
        }
        const char c = bytes[used++];
        m_text += c;
        switch (m_state) {
        case kStateInLine:
            m_state = c == '\r' ? kStateCrInLine : c == '\n' ? kStateLineStart : kStateInLine;
            break;
        case kStateCrInLine:
            m_state = c == '\n' ? kStateLineStart : kStateInLine;
            break;
        case kStateLineStart:
            m_state = c == '\r' ? kStateCrAtLineStart : c == '\n' ? kStateBody : kStateInLine;
            break;
        case kStateCrAtLineStart:
            m_state = c == '\n' ? kStateBody : kStateInLine;
            break;
        default:
            break;
        }
        if (m_state == kStateBody) {
            parseBlock(m_text, m_statusCode, m_reason, m_reply, m_entity);
            return used;
        }
    }
    return used;
}

void HttpReplyParser::parseBlock(std::string_view block, std::int32_t& statusCode, std::string& reason,
                                 HttpReplyHeaders& reply, HttpEntityHeaders& entity) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    const auto isWhiteSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    };
    std::size_t pos = 0;
    while (pos < block.size() && isBlank(block[pos])) {
        ++pos;
    }
    while (pos < block.size() && !isWhiteSpace(block[pos])) {
        ++pos; // the protocol version, not used
    }
    while (pos < block.size() && isBlank(block[pos])) {
        ++pos;
    }
    const std::size_t codeStart = pos;
    while (pos < block.size() && isAsciiDigit(block[pos])) {
        ++pos;
    }
    const std::int64_t code = leadingNumber(block.substr(codeStart, pos - codeStart), 999'999'999);
    statusCode = static_cast<std::int32_t>(code);
    while (pos < block.size() && isBlank(block[pos])) {
        ++pos;
    }
    const std::size_t reasonStart = pos;
    while (pos < block.size() && !isLineEnd(block[pos])) {
        ++pos;
    }
    reason.assign(block.substr(reasonStart, pos - reasonStart));

    HeaderLineReader(reply, entity).read(block.substr(pos));
}

std::vector<std::pair<std::string, std::string>> HttpReplyParser::storedFields(const HttpReplyHeaders& reply,
                                                                               const HttpEntityHeaders& entity) {
    std::vector<std::pair<std::string, std::string>> fields;
    const auto addText = [&fields](const char* name, const std::optional<std::string>& value) {
        if (value) {
            fields.emplace_back(name, *value);
        }
    };
    const auto addNumber = [&fields](const char* name, std::int32_t value) {
        if (value != -1) {
            fields.emplace_back(name, std::to_string(value));
        }
    };
    addText("Location", reply.location);
    addText("Server", reply.server);
    addText("WWW-Authenticate", reply.wwwAuthenticate);
    addText("Retry-After", reply.retryAfter);
    addNumber("Date", reply.date);
    addText("Allow", entity.allow);
    addText("Content-Encoding", entity.contentEncoding);
    addNumber("Content-Length", entity.contentLength);
    addText("Content-Type", entity.contentType);
    addNumber("Expires", entity.expires);
    addNumber("Last-Modified", entity.lastModified);
    if (entity.extraHeaders) {
        std::string_view extra = *entity.extraHeaders;
        while (!extra.empty()) {
            const std::size_t end = extra.find("\r\n");
            const std::string_view line = extra.substr(0, end);
            const std::size_t colon = line.find(':');
            fields.emplace_back(std::string(line.substr(0, colon)),
                                colon == std::string_view::npos ? std::string() : std::string(line.substr(colon + 1)));
            extra = end == std::string_view::npos ? std::string_view() : extra.substr(end + 2);
        }
    }
    return fields;
}

} // namespace corvida
