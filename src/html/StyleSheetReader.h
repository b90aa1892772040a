// SPDX-License-Identifier: MIT
#pragma once

// A StyleSheetReader finds the URLs that CSS text names: the argument of each url(...) and
// the string of each @import "x", in the order in which they stand. The text is fed in pieces
// of any size (a style sheet file read block by block, a style block spread over several text
// runs of a page); where the pieces are cut does not change what is found.
//
// The reader tokenizes as a browser does, as far as finding URLs needs: comments, strings,
// names and url() arguments are read whole, so "url(" inside a comment or a string names
// nothing, and a name must be exactly "url" ("myurl(" is another function). Names and
// keywords ignore ASCII case. Escapes are decoded in names, strings and url() arguments: a
// backslash and up to six hex digits (one blank after them belongs to the escape) stand for
// that code point in UTF-8, a backslash and any other character for that character, and in a
// string a backslash before a line break joins the lines. CR LF, CR and FF count as one line
// break.
//
// Deliberate leniencies and refusals, each of which a browser shares or would not load:
//   - an unquoted url() argument that holds a quote, '(', a control character, or a blank
//     before something other than ')' is malformed and skipped up to its ')';
//   - a string broken by a line break names nothing;
//   - a URL is trimmed of blanks and control characters at both ends; an empty one, and one
//     starting "data:" (its content is in the URL itself), name nothing;
//   - the URL of an @namespace rule is a name, not a resource: it is not reported;
//   - at the end of the input an unfinished comment, string or url() ends the reading and
//     names nothing.
//
// Every byte is looked at once with a fixed amount of work, so the time is linear in the
// input whatever it holds; a URL keeps its first kMaxUrlBytes bytes only, so memory does not
// grow with the input beyond the URLs found and not yet taken.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvida {

class StyleSheetReader {
public:
    // A longer URL is cut to this many bytes.
    static constexpr std::size_t kMaxUrlBytes = 4096;

    // Reads the next piece of the text.
    void read(std::string_view piece);
    // Ends the input: whatever is unfinished is dropped. Later pieces start a new text.
    void finish();
    // The URLs found since the last call, in document order.
    std::vector<std::string> takeUrls();

    // The URLs of a whole text.
    static std::vector<std::string> urlsOf(std::string_view text);

private:
    enum class State {
        Text,         // between tokens
        Name,         // inside a name, an at-keyword or a hash
        Slash,        // after a '/' that may open a comment
        Comment,      // inside a comment
        CommentStar,  // after a '*' inside a comment
        String,       // inside a quoted string
        UrlSpace,     // after "url(", before its argument
        Url,          // inside an unquoted url() argument
        UrlEndSpace,  // after an unquoted argument, before its ')'
        BadUrl,       // inside a malformed url() argument, up to its ')'
        BadUrlEscape, // after a backslash in a malformed argument
        Escape,       // after a backslash
        HexEscape,    // inside the hex digits of an escape
    };
    // What a name is, by the byte before it.
    enum class NameKind { Ident, AtKeyword, Hash };

    // Takes c in the current state; false when c must be taken again in the new state.
    bool step(char c);
    bool stepText(char c);
    bool stepName(char c);
    bool stepEscape(char c);
    bool stepHexEscape(char c);
    bool stepString(char c);
    bool stepUrl(char c);
    void startName(NameKind kind);
    void endName(char next);
    void startEscape(State from);
    // Appends bytes to the name when a name is read, else to the value.
    void appendDecoded(std::string_view bytes);
    void appendToValue(char c);
    void report();

    State m_state = State::Text;
    State m_escapeFrom = State::Text;
    std::uint32_t m_hexValue = 0;
    int m_hexDigits = 0;
    bool m_afterCr = false;

    NameKind m_nextNameKind = NameKind::Ident;
    NameKind m_nameKind = NameKind::Ident;
    std::string m_name; // lower case, cut short: only a few keywords matter
    bool m_nameTooLong = false;

    char m_quote = '"';
    bool m_stringIsUrl = false;
    bool m_importPending = false; // "@import" was read; a string may follow as its URL
    bool m_inNamespaceRule = false;
    std::string m_value; // the string or URL being read, at most kMaxUrlBytes bytes

    std::vector<std::string> m_urls;
};

} // namespace corvida
