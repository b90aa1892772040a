// SPDX-License-Identifier: MIT
#pragma once

// An HtmlDocument is one HTML page read from a file and cut into a flat, doubly linked
// sequence of nodes: text runs, start tags with their attributes, and end tags. It answers
// what the program asks of a page (title, excerpt, the tags carrying an attribute, the base
// URL its links resolve against) and writes the sequence back out as HTML.
//
// The tokenizer is forgiving and never rejects input: it builds no tree, matches no end tags,
// knows no comments, scripts or entities, and bounds every lookahead at kLookahead bytes, so
// malformed markup costs at most a misread tag. The file is read through a fixed buffer
// (HtmlReadBuffer), so memory for reading does not grow with the file.
//
// The document owns its nodes and both URLs. Nodes and their texts live in the document's
// arena, so node pointers and texts stay valid until the document is destroyed, even after a
// node is removed from the sequence or a text is replaced.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "html/HtmlArena.h"
#include "html/HtmlNode.h"
#include "html/StartTag.h"
#include "model/CUrl.h"

namespace corvida {

class HtmlAttribute;
class HtmlReadBuffer;

class HtmlDocument {
public:
    // The most bytes any single scan of the tokenizer looks ahead.
    static constexpr std::size_t kLookahead = 1024;
    // Once the unconsumed text starts further than this into the buffer, the buffer is
    // shifted and filled up again.
    static constexpr std::size_t kRefillThreshold = 16000;
    // URL texts taken from a page (base href, link values) are cut to this many bytes.
    static constexpr std::size_t kMaxUrlText = 511;

    // Reads and tokenizes the file at path, the page fetched from documentUrl (a URL text,
    // parsed without a base). A file that cannot be opened reads as an empty page: one empty
    // text node.
    HtmlDocument(const std::string& path, std::string_view documentUrl);
    // The same for a page held in memory, read exactly as a file with these bytes would be.
    static HtmlDocument fromBytes(std::string_view bytes, std::string_view documentUrl);

    HtmlDocument(const HtmlDocument&) = delete;
    HtmlDocument& operator=(const HtmlDocument&) = delete;
    ~HtmlDocument() = default;

    const CUrl& documentUrl() const { return m_documentUrl; }
    // The URL the page's links resolve against: the href of a leading base tag, else a copy
    // of the document URL.
    const CUrl& baseUrl() const { return m_baseUrl; }

    // The ends of the node sequence; never null.
    HtmlNode* firstNode() const { return m_first; }
    HtmlNode* lastNode() const { return m_last; }

    // Walks from start (may be null) along next() and returns the first node of kind whose
    // name equals name ignoring ASCII case, or nullptr. With HtmlNodeKind::Attribute it
    // returns instead the first start tag that has an attribute of that name.
    static HtmlNode* find(HtmlNode* start, HtmlNodeKind kind, std::string_view name);
    // The first start tag at or after start named name (ignoring case), or nullptr.
    static StartTag* findStartTag(HtmlNode* start, std::string_view name);
    // The first start tag at or after start with an attribute named name, or nullptr.
    static StartTag* findTagWithAttribute(HtmlNode* start, std::string_view name);
    // The tag's first attribute named name (ignoring case), or nullptr.
    static HtmlAttribute* attributeOf(const StartTag* tag, std::string_view name) { return tag->attribute(name); }

    // The first start tag named "base" (ignoring case), or nullptr.
    StartTag* baseTag() const { return m_baseTag; }
    // Where a scan for href links starts, so that a base tag's own href is not taken for a
    // link: the node after the base tag when the first "base" tag carries an href; when it
    // carries none, the node after it; the first node when there is no base tag.
    HtmlNode* linkScanStart() const;
    // Unlinks the base tag, if any, from the sequence; the next "base" tag, if any, takes its
    // place.
    void removeBaseTag();

    // The page title for a buffer of capacity bytes (at most capacity - 1 bytes): the text
    // runs right after the first "title" tag, joined by spaces, with white space trimmed and
    // collapsed; the document URL (cut) when there is no title tag or the title is empty.
    // Remembers the title tag.
    std::string title(std::size_t capacity);
    // The tag found by the last title() call, or nullptr.
    StartTag* titleTag() const { return m_titleTag; }
    // A plain-text excerpt of the page for a buffer of capacity bytes: the text runs from the
    // start, joined by spaces, white space collapsed, the last (maybe cut) word dropped, then
    // "...". Empty when capacity is below 5.
    std::string excerpt(std::size_t capacity) const;

    // Writes every node's HTML form, in order.
    void writeAll(std::ostream& out) const;
    // Writes every node's diagnostic form, in order.
    void dumpAll(std::ostream& out) const;

private:
    struct FromMemory {};
    HtmlDocument(FromMemory, std::string_view bytes, std::string_view documentUrl);

    void tokenize(HtmlReadBuffer& buffer);
    void append(HtmlNode* node);
    StartTag* makeStartTag(std::string_view name);
    void appendText(const char* begin, const char* end);
    // Reads a start tag whose '<' is at tagStart; returns where pending text now starts and
    // moves cursor past what was read.
    const char* readStartTag(const char* tagStart, const char*& cursor, const char* end);
    void fixUpRules();
    void swapWithNext(HtmlNode* node);
    void setBaseUrl();

    HtmlArena m_arena; // first member: the nodes in it go last
    CUrl m_documentUrl;
    CUrl m_baseUrl;
    HtmlNode* m_first = nullptr;
    HtmlNode* m_last = nullptr;
    StartTag* m_titleTag = nullptr;
    StartTag* m_baseTag = nullptr;
    std::vector<StartTag*> m_rules; // the "hr" start tags in reading order, until fixed up
};

} // namespace corvida
