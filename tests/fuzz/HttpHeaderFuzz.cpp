// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes received as the start of a reply, fed to the header parser as a
// stream in pieces that end at points derived from the bytes, and fed again in one piece and
// in single bytes. Traps when the three readings differ, when the parser consumes bytes past
// the end of its block or keeps more than its limit, or when a complete block does not read
// back to the same records. Some streams whose block has not ended are repeated until it ends
// or the length guard refuses it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/HttpReplyHeaders.h"
#include "net/HttpReplyParser.h"

namespace {

using corvida::HttpReplyParser;

// What the parser made of a stream, in a form that can be compared.
struct Reading {
    std::size_t consumed = 0;
    bool complete = false;
    bool tooLong = false;
    std::string text;
    std::int32_t status = 0;
    std::string reason;
    std::vector<std::pair<std::string, std::string>> fields;

    bool operator==(const Reading&) const = default;
};

// Cuts at up to three points taken from the bytes themselves, so the fuzzer steers them.
std::vector<std::size_t> cutsFor(std::string_view bytes) {
    std::vector<std::size_t> cuts;
    if (bytes.empty()) {
        return cuts;
    }
    std::size_t hash = 14695981039346656037u;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    }
    cuts.push_back(static_cast<unsigned char>(bytes.front()) % (bytes.size() + 1));
    cuts.push_back(static_cast<unsigned char>(bytes.back()) % (bytes.size() + 1));
    cuts.push_back(hash % (bytes.size() + 1));
    std::sort(cuts.begin(), cuts.end());
    return cuts;
}

// Feeds the bytes rounds times over, each round cut into the given pieces; pieceSize 0 uses
// cuts, else pieces of that size.
Reading readStream(std::string_view bytes, const std::vector<std::size_t>& cuts, std::size_t pieceSize,
                   std::size_t rounds = 1) {
    std::vector<std::size_t> ends;
    if (pieceSize == 0) {
        ends = cuts;
    } else {
        for (std::size_t end = pieceSize; end < bytes.size(); end += pieceSize) {
            ends.push_back(end);
        }
    }
    ends.push_back(bytes.size());

    HttpReplyParser parser;
    Reading reading;
    for (std::size_t round = 0; round < rounds && !parser.isComplete() && !parser.isTooLong(); ++round) {
        std::size_t start = 0;
        for (const std::size_t end : ends) {
            const std::string_view piece = bytes.substr(start, end - start);
            const std::size_t used = parser.feed(piece);
            if (used > piece.size() || (used < piece.size() && !parser.isComplete() && !parser.isTooLong())) {
                __builtin_trap();
            }
            reading.consumed += used;
            start = end;
        }
    }
    reading.complete = parser.isComplete();
    reading.tooLong = parser.isTooLong();
    reading.text = parser.headerText();
    reading.status = parser.statusCode();
    reading.reason = parser.reason();
    if (reading.complete) {
        reading.fields = HttpReplyParser::storedFields(parser.replyHeaders(), parser.entityHeaders());
        if (parser.replyHeaders().wwwAuthenticate) {
            (void)corvida::HttpReplyHeaders::challengeRealm(*parser.replyHeaders().wwwAuthenticate);
        }
    }
    // Nothing is fed once the block ended or was refused.
    if ((reading.complete || reading.tooLong) && parser.feed(bytes) != 0) {
        __builtin_trap();
    }
    if (reading.text.size() > HttpReplyParser::kMaxHeaderBlock || reading.consumed != reading.text.size()) {
        __builtin_trap();
    }
    return reading;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Reading whole = readStream(bytes, {}, 0);
    if (whole.complete) {
        // The block is exactly the bytes consumed, and parsing it again gives the same records.
        std::int32_t status = 0;
        std::string reason;
        corvida::HttpReplyHeaders reply;
        corvida::HttpEntityHeaders entity;
        HttpReplyParser::parseBlock(whole.text, status, reason, reply, entity);
        if (whole.text != bytes.substr(0, whole.consumed) || status != whole.status || reason != whole.reason ||
            HttpReplyParser::storedFields(reply, entity) != whole.fields) {
            __builtin_trap();
        }
    }
    if (readStream(bytes, cutsFor(bytes), 0) != whole) {
        __builtin_trap();
    }
    if (size <= 512 && readStream(bytes, {}, 1) != whole) {
        __builtin_trap();
    }
    // A block that has not ended, repeated past the limit, must end or be refused. This costs
    // the limit's worth of bytes, so only some inputs (chosen by their last byte) do it.
    if (!whole.complete && size > 0 && static_cast<unsigned char>(bytes.back()) % 64 == 0) {
        const Reading repeated = readStream(bytes, cutsFor(bytes), 0, HttpReplyParser::kMaxHeaderBlock / size + 2);
        if (repeated.complete == repeated.tooLong) {
            __builtin_trap();
        }
    }
    return 0;
}
