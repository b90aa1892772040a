// SPDX-License-Identifier: MIT
#include "html/HtmlDocument.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <ostream>

#include "base/Ascii.h"
#include "html/AppletTag.h"
#include "html/EndTag.h"
#include "html/HtmlAttribute.h"
#include "html/HtmlReadBuffer.h"
#include "html/ObjectTag.h"
#include "html/TextNode.h"

namespace corvida {

namespace {

constexpr std::string_view kEllipsis = "...";
constexpr std::size_t kMinExcerptCapacity = 5;

// Classes of the bytes at which the tokenizer's scans stop, looked up in one table.
enum ByteClass : std::uint8_t { kSpace = 1, kGreater = 2, kEquals = 4, kDoubleQuote = 8 };
// A tag name ends at these; an attribute name also at '='; a bare value also at '"'.
constexpr std::uint8_t kTagNameStop = kSpace | kGreater;
constexpr std::uint8_t kAttributeNameStop = kSpace | kGreater | kEquals;
constexpr std::uint8_t kBareValueStop = kSpace | kGreater | kDoubleQuote;

constexpr std::array<std::uint8_t, 256> makeByteClasses() {
    std::array<std::uint8_t, 256> classes{};
    for (int i = 0; i < 256; ++i) {
        const char c = static_cast<char>(i);
        classes[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>((isHtmlSpace(c) ? kSpace : 0) | (c == '>' ? kGreater : 0) |
                                      (c == '=' ? kEquals : 0) | (c == '"' ? kDoubleQuote : 0));
    }
    return classes;
}

constexpr std::array<std::uint8_t, 256> kByteClasses = makeByteClasses();

bool isIn(char c, std::uint8_t classes) {
    return (kByteClasses[static_cast<unsigned char>(c)] & classes) != 0;
}

// The first position in [from, bound) whose byte is in classes, or bound.
const char* scanUntil(const char* from, const char* bound, std::uint8_t classes) {
    while (from < bound && !isIn(*from, classes)) {
        ++from;
    }
    return from;
}

// The position kLookahead bytes after from, or end when that comes first.
const char* lookaheadBound(const char* from, const char* end) {
    return static_cast<std::size_t>(end - from) > HtmlDocument::kLookahead ? from + HtmlDocument::kLookahead : end;
}

// A tag name runs to white space, '>' or the end of the data, at most kLookahead bytes.
const char* scanTagName(const char* cursor, const char* end) {
    return scanUntil(cursor, lookaheadBound(cursor, end), kTagNameStop);
}

bool isStartTagNamed(const HtmlNode* node, std::string_view name) {
    return node != nullptr && node->kind() == HtmlNodeKind::StartTag && equalsIgnoreCase(node->name(), name);
}

bool isEndTagNamed(const HtmlNode* node, std::string_view name) {
    return node != nullptr && node->kind() == HtmlNodeKind::EndTag && equalsIgnoreCase(node->name(), name);
}

// Drops leading white space and turns every run of white space into one space. Trailing
// white space ends as (at most) one space.
std::string collapseWhiteSpace(std::string_view text) {
    std::string collapsed;
    collapsed.reserve(text.size());
    bool pendingSpace = false;
    for (const char c : text) {
        if (isHtmlSpace(c)) {
            pendingSpace = !collapsed.empty();
            continue;
        }
        if (pendingSpace) {
            collapsed += ' ';
            pendingSpace = false;
        }
        collapsed += c;
    }
    if (pendingSpace) {
        collapsed += ' ';
    }
    return collapsed;
}

// Appends the texts of consecutive text nodes from node on, one space between two texts,
// until out holds limit bytes (or the walk ends); with textRunOnly the walk stops at the
// first node that is not a text node, otherwise it skips such nodes.
void gatherText(const HtmlNode* node, std::size_t limit, bool textRunOnly, std::string& out) {
    bool first = true;
    for (; node != nullptr && out.size() < limit; node = node->next()) {
        if (node->kind() != HtmlNodeKind::Text) {
            if (textRunOnly) {
                break;
            }
            continue;
        }
        if (!first) {
            out += ' ';
        }
        first = false;
        out += node->text().substr(0, limit - out.size());
    }
}

} // namespace

HtmlDocument::HtmlDocument(const std::string& path, std::string_view documentUrl) : m_documentUrl(documentUrl) {
    {
        HtmlReadBuffer buffer(path);
        tokenize(buffer);
    }
    fixUpRules();
    setBaseUrl();
}

HtmlDocument::HtmlDocument(FromMemory, std::string_view bytes, std::string_view documentUrl)
    : m_documentUrl(documentUrl) {
    {
        HtmlReadBuffer buffer(HtmlReadBuffer::FromMemory{}, bytes);
        tokenize(buffer);
    }
    fixUpRules();
    setBaseUrl();
}

HtmlDocument HtmlDocument::fromBytes(std::string_view bytes, std::string_view documentUrl) {
    return HtmlDocument(FromMemory{}, bytes, documentUrl);
}

StartTag* HtmlDocument::makeStartTag(std::string_view name) {
    const std::string_view head = name.substr(0, 6);
    if (equalsIgnoreCase(head, "applet")) {
        return m_arena.make<AppletTag>(m_arena, name);
    }
    if (equalsIgnoreCase(head, "object")) {
        return m_arena.make<ObjectTag>(m_arena, name);
    }
    return m_arena.make<StartTag>(m_arena, name);
}

void HtmlDocument::append(HtmlNode* node) {
    if (m_last == nullptr) {
        m_first = node;
    } else {
        node->linkAfter(m_last);
    }
    m_last = node;
}

void HtmlDocument::appendText(const char* begin, const char* end) {
    append(m_arena.make<TextNode>(m_arena, std::string_view(begin, static_cast<std::size_t>(end - begin))));
}

// The tokenizer keeps two positions in the buffer: pending, where the text not yet given to a
// node starts, and cursor, where scanning goes on. They differ only after a start tag without
// '>', whose unread rest becomes the start of the next text node.
void HtmlDocument::tokenize(HtmlReadBuffer& buffer) {
    const char* const start = buffer.begin();
    const char* end = buffer.end();
    const char* pending = start;
    const char* cursor = start;
    for (;;) {
        if (static_cast<std::size_t>(pending - start) > kRefillThreshold && !buffer.atEnd()) {
            const std::size_t shift = buffer.shiftAndFill(pending);
            pending -= shift;
            cursor -= shift;
            end = buffer.end();
        }

        // Tag search: a '<' followed by a letter starts a start tag, by '/' an end tag; any
        // other '<' is text. The search looks kLookahead bytes ahead at most.
        const char* const limit = lookaheadBound(cursor, end);
        const char* tag = cursor;
        while (tag < limit) {
            const void* open = std::memchr(tag, '<', static_cast<std::size_t>(limit - tag));
            if (open == nullptr) {
                tag = limit;
                break;
            }
            tag = static_cast<const char*>(open);
            if (isHtmlLetter(tag[1]) || tag[1] == '/') {
                break;
            }
            ++tag;
        }

        if (tag == end) {
            // The data ends while the file goes on only when one tag's scans ran through the
            // whole buffer; shifting the pending text down makes room to read on.
            if (pending != start && !buffer.atEnd()) {
                const std::size_t shift = buffer.shiftAndFill(pending);
                pending -= shift;
                cursor -= shift;
                end = buffer.end();
                continue;
            }
            appendText(pending, end);
            return;
        }
        if (tag == limit) {
            if (tag > pending) {
                appendText(pending, tag);
                pending = tag;
            }
            cursor = tag;
            continue;
        }
        if (tag > pending) {
            appendText(pending, tag);
        }
        if (tag[1] == '/') {
            cursor = scanTagName(tag + 2, end);
            append(
                m_arena.make<EndTag>(m_arena, std::string_view(tag + 2, static_cast<std::size_t>(cursor - tag - 2))));
            if (cursor < end && *cursor == '>') {
                ++cursor;
            }
            pending = cursor;
        } else {
            pending = readStartTag(tag, cursor, end);
        }
    }
}

const char* HtmlDocument::readStartTag(const char* tagStart, const char*& cursor, const char* end) {
    const char* const nameStart = tagStart + 1;
    const char* const nameEnd = scanTagName(nameStart, end);
    const std::string_view name(nameStart, static_cast<std::size_t>(nameEnd - nameStart));
    StartTag* tag = makeStartTag(name);
    append(tag);
    // The base tag and the rules are looked for again after reading; noting them now spares
    // those walks over pages that have neither.
    if (m_baseTag == nullptr && equalsIgnoreCase(name, "base")) {
        m_baseTag = tag;
    }
    if (equalsIgnoreCase(name, "hr")) {
        m_rules.push_back(tag);
    }

    const char* c = nameEnd;
    const char* const limit = lookaheadBound(c, end);
    while (c < limit && *c != '>') {
        // Name: it must begin with a letter, else one byte is skipped.
        const char* const nameBound = lookaheadBound(c, end);
        while (c < nameBound && isIn(*c, kSpace)) {
            ++c;
        }
        if (c == end || !isHtmlLetter(*c)) {
            if (c < end && *c != '>') {
                ++c;
            }
            continue;
        }
        const char* const attributeName = c;
        c = scanUntil(c, nameBound, kAttributeNameStop);
        HtmlAttribute* attribute =
            tag->addAttribute(std::string_view(attributeName, static_cast<std::size_t>(c - attributeName)));

        // Value. Without '=' the cursor stays on the next word, which is the next name.
        const char* const valueBound = lookaheadBound(c, end);
        while (c < valueBound && isIn(*c, kSpace)) {
            ++c;
        }
        if (c == end || *c != '=') {
            continue;
        }
        ++c;
        while (c < end && isIn(*c, kSpace)) {
            ++c;
        }
        // A quoted value ends at the next quote of the same kind or at '>'; a bare value at
        // white space, '"' or '>'. Either is kept only when that end lies within the bound;
        // the '>' that ends a quoted value also ends the tag.
        const char* valueStart = c;
        if (c < end && (*c == '"' || *c == '\'')) {
            const char quote = *c;
            valueStart = ++c;
            while (c < valueBound && *c != quote && *c != '>') {
                ++c;
            }
        } else {
            c = scanUntil(c, valueBound, kBareValueStop);
        }
        if (c < valueBound) {
            attribute->setText(std::string_view(valueStart, static_cast<std::size_t>(c - valueStart)));
        }
        if (c < end && *c != '>') {
            ++c;
        }
    }

    cursor = c;
    if (c < end && *c == '>') {
        cursor = c + 1;
        return cursor;
    }
    return nameEnd;
}

// A rule inside a bold run ("<b><hr>", "<hr></b>") is a block inside an inline element;
// moving each rule out of the run keeps written pages well nested.
void HtmlDocument::fixUpRules() {
    // Swaps move a rule only past a "b" tag, never past another rule, so the rules noted
    // while reading are still in document order and each is checked once.
    for (StartTag* rule : m_rules) {
        if (isStartTagNamed(rule->prev(), "b")) {
            swapWithNext(rule->prev());
        } else if (isEndTagNamed(rule->next(), "b")) {
            swapWithNext(rule);
        }
    }
    m_rules = {};
}

void HtmlDocument::swapWithNext(HtmlNode* node) {
    HtmlNode* following = node->next();
    following->unlink();
    following->linkBefore(node);
    if (m_first == node) {
        m_first = following;
    }
    if (m_last == following) {
        m_last = node;
    }
}

HtmlNode* HtmlDocument::find(HtmlNode* start, HtmlNodeKind kind, std::string_view name) {
    if (kind == HtmlNodeKind::Attribute) {
        return findTagWithAttribute(start, name);
    }
    for (HtmlNode* node = start; node != nullptr; node = node->next()) {
        if (node->kind() == kind && equalsIgnoreCase(node->name(), name)) {
            return node;
        }
    }
    return nullptr;
}

StartTag* HtmlDocument::findStartTag(HtmlNode* start, std::string_view name) {
    return static_cast<StartTag*>(find(start, HtmlNodeKind::StartTag, name));
}

StartTag* HtmlDocument::findTagWithAttribute(HtmlNode* start, std::string_view name) {
    for (HtmlNode* node = start; node != nullptr; node = node->next()) {
        if (node->kind() == HtmlNodeKind::StartTag && static_cast<StartTag*>(node)->attribute(name) != nullptr) {
            return static_cast<StartTag*>(node);
        }
    }
    return nullptr;
}

void HtmlDocument::setBaseUrl() {
    StartTag* withHref = findTagWithAttribute(m_baseTag, "href");
    if (withHref != nullptr && equalsIgnoreCase(withHref->name(), "base")) {
        const HtmlAttribute* href = withHref->attribute("href");
        if (href->hasText()) {
            // A relative base ("../guide/") is taken relative to the page itself; alone it
            // would turn every link of the page into a relative text that names nothing.
            m_baseUrl = CUrl(href->text().substr(0, kMaxUrlText), m_documentUrl.baseDirectory());
            return;
        }
    }
    m_baseUrl = m_documentUrl;
}

HtmlNode* HtmlDocument::linkScanStart() const {
    StartTag* withHref = findTagWithAttribute(m_baseTag, "href");
    if (withHref == nullptr || withHref->next() == nullptr) {
        return m_first;
    }
    // A base tag without href (one that only sets a target, say) must not hide the href of
    // the next tag: the scan then starts right after the base tag itself.
    if (!equalsIgnoreCase(withHref->name(), "base")) {
        return m_baseTag->next();
    }
    return withHref->next();
}

void HtmlDocument::removeBaseTag() {
    StartTag* base = m_baseTag;
    if (base == nullptr) {
        return;
    }
    m_baseTag = findStartTag(base->next(), "base");
    if (m_first == base) {
        m_first = base->next();
    }
    if (m_last == base) {
        m_last = base->prev();
    }
    base->unlink();
}

std::string HtmlDocument::title(std::size_t capacity) {
    m_titleTag = findStartTag(m_first, "title");
    if (capacity == 0) {
        return {};
    }
    const std::size_t limit = capacity - 1;
    std::string title;
    if (m_titleTag != nullptr) {
        std::string raw;
        gatherText(m_titleTag->next(), limit, true, raw);
        title = collapseWhiteSpace(raw);
        if (!title.empty() && title.back() == ' ') {
            title.pop_back();
        }
    }
    if (title.empty()) {
        title = m_documentUrl.url().substr(0, limit);
    }
    return title;
}

std::string HtmlDocument::excerpt(std::size_t capacity) const {
    if (capacity < kMinExcerptCapacity) {
        return {};
    }
    std::string raw;
    gatherText(m_first, capacity - 1 - kEllipsis.size(), false, raw);
    std::string excerpt = collapseWhiteSpace(raw);
    // The last word may have been cut by the limit, so it goes, unless it is the only one.
    if (!excerpt.empty() && excerpt.back() != ' ') {
        const std::size_t space = excerpt.rfind(' ');
        excerpt.resize(space == std::string::npos ? 1 : space);
    }
    while (excerpt.size() > 1 && excerpt.back() == ' ') {
        excerpt.pop_back();
    }
    excerpt += kEllipsis;
    return excerpt;
}

void HtmlDocument::writeAll(std::ostream& out) const {
    for (const HtmlNode* node = m_first; node != nullptr; node = node->next()) {
        node->write(out);
    }
}

void HtmlDocument::dumpAll(std::ostream& out) const {
    for (const HtmlNode* node = m_first; node != nullptr; node = node->next()) {
        node->dump(out);
    }
}

} // namespace corvida
