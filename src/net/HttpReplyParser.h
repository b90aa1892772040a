// SPDX-License-Identifier: MIT
#pragma once

// An HttpReplyParser reads the header block at the start of one reply: the connection feeds
// it received bytes in pieces of any size until the block is complete, then hands the rest
// of the bytes on as body. The block ends at the first LF that follows a LF or a CR LF (LF
// LF, CR LF CR LF and LF CR LF all end it); a bare CR does not end a line for this purpose.
// Once complete the status line and header lines are read: the parser never refuses a
// reply, it skips what it cannot read and keeps unknown headers as extra headers.
//
// A block longer than kMaxHeaderBlock bytes is refused (isTooLong()) so that a server that
// never ends its headers cannot make the program grow without limit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "net/HttpEntityHeaders.h"
#include "net/HttpReplyHeaders.h"

namespace corvida {

class HttpReplyParser {
public:
    // The longest header block accepted, ending included.
    static constexpr std::size_t kMaxHeaderBlock = 64 * 1024;

    // The connection's state numbers while the block is read.
    static constexpr int kStateInLine = 4;        // reading a line
    static constexpr int kStateCrInLine = 5;      // a CR was read inside a line
    static constexpr int kStateLineStart = 6;     // at the start of a line, after its LF
    static constexpr int kStateCrAtLineStart = 7; // a CR was read at the start of a line
    static constexpr int kStateBody = 8;          // the block is complete

    HttpReplyParser() = default;

    // Takes bytes of the reply and returns how many of them belong to the header block;
    // the rest (if any) are body. Returns 0 once the block is complete or too long.
    std::size_t feed(std::string_view bytes);

    // True once the block has ended; the fields below are then filled.
    bool isComplete() const { return m_state == kStateBody; }
    // True when the block grew past kMaxHeaderBlock bytes without ending; nothing more is read.
    bool isTooLong() const { return m_tooLong; }
    // kStateInLine to kStateCrAtLineStart while reading, kStateBody once complete.
    int state() const { return m_state; }

    // The block as received so far (complete: up to and including its ending).
    const std::string& headerText() const { return m_text; }
    // The status code (0 when the reply has no status line) and reason phrase.
    std::int32_t statusCode() const { return m_statusCode; }
    const std::string& reason() const { return m_reason; }
    const HttpReplyHeaders& replyHeaders() const { return m_reply; }
    const HttpEntityHeaders& entityHeaders() const { return m_entity; }

    // Reads a complete header block into the given records (status line, then header lines);
    // what feed() does at the end of the block.
    static void parseBlock(std::string_view block, std::int32_t& statusCode, std::string& reason,
                           HttpReplyHeaders& reply, HttpEntityHeaders& entity);

    // Every stored field of the two records as (name, value) pairs for display: Location,
    // Server, WWW-Authenticate, Retry-After, Date, Content-Encoding, Content-Length, Content-Type,
    // Expires, Last-Modified (those present; times and lengths as decimal numbers), then
    // each extra header in arrival order.
    static std::vector<std::pair<std::string, std::string>> storedFields(const HttpReplyHeaders& reply,
                                                                         const HttpEntityHeaders& entity);

private:
    std::string m_text;
    int m_state = kStateInLine;
    bool m_tooLong = false;
    std::int32_t m_statusCode = 0;
    std::string m_reason;
    HttpReplyHeaders m_reply;
    HttpEntityHeaders m_entity;
};

} // namespace corvida
