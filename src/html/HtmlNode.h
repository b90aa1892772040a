// SPDX-License-Identifier: MIT
#pragma once

// An HtmlNode is one item of a tokenized HTML page: a text run, a start tag, an end tag, or an
// attribute of a start tag. Nodes form flat, doubly linked sequences: the page's nodes in
// source order, and each start tag's own attribute list. Nothing is nested; end tags are never
// matched to start tags.
//
// Nodes and their texts live in their document's HtmlArena: a node is made by the document
// (or its tag, for attributes), stays valid until the document is destroyed, and is never
// destroyed on its own. Taking a node out of its sequence (unlink) is how it is removed.

#include <cstdint>
#include <iosfwd>
#include <string_view>

#include "html/HtmlArena.h"

namespace corvida {

// Node kinds. The numbers are part of the tokenizer's interface (searches use them).
enum class HtmlNodeKind : std::int32_t { StartTag = 0, EndTag = 1, Attribute = 2, Text = 3 };

class HtmlNode {
public:
    HtmlNode(const HtmlNode&) = delete;
    HtmlNode& operator=(const HtmlNode&) = delete;

    HtmlNodeKind kind() const { return m_kind; }

    // The node's text: a text run's bytes, a tag's name as written, an attribute's value.
    // Only an attribute can be without one (hasText() false, text() empty).
    bool hasText() const { return m_hasText; }
    std::string_view text() const { return m_text; }
    // Replaces the text with a copy of text (which may be empty), kept in the arena.
    void setText(std::string_view text) {
        m_text = m_arena->copy(text);
        m_hasText = true;
    }
    // Leaves the node without a text.
    void clearText() {
        m_text = {};
        m_hasText = false;
    }

    // The name: the text for tags and text runs, the attribute name for attributes.
    virtual std::string_view name() const { return m_text; }
    // Sets what name() returns, as setText() does.
    virtual void setName(std::string_view name) { setText(name); }

    // Appends the node's HTML form to out.
    virtual void write(std::ostream& out) const = 0;
    // Appends the node's one-line diagnostic form (a start tag adds one line per attribute).
    virtual void dump(std::ostream& out) const = 0;

    HtmlNode* next() const { return m_next; }
    HtmlNode* prev() const { return m_prev; }

    // Links this node, which must be in no sequence, between node and node's successor.
    void linkAfter(HtmlNode* node);
    // Links this node, which must be in no sequence, between node's predecessor and node.
    void linkBefore(HtmlNode* node);
    // Takes the node out of its sequence; its neighbours become each other's.
    void unlink();

protected:
    HtmlNode(HtmlNodeKind kind, HtmlArena& arena) : m_arena(&arena), m_kind(kind) {}
    // Nodes are left in their arena, never destroyed one by one; they own nothing outside it.
    virtual ~HtmlNode() = default;

    HtmlArena& arena() const { return *m_arena; }
    // Sets the text to bytes that already live in the arena, without copying them.
    void adoptText(std::string_view text) {
        m_text = text;
        m_hasText = true;
    }

    // The label every dump line starts with, padded to 19 columns.
    static void dumpLabel(std::ostream& out, std::string_view label);

private:
    HtmlArena* m_arena;
    std::string_view m_text;
    HtmlNode* m_next = nullptr;
    HtmlNode* m_prev = nullptr;
    HtmlNodeKind m_kind;
    bool m_hasText = false;
};

// True for the bytes the tokenizer takes as white space: space, tab, LF, VT, FF and CR.
constexpr bool isHtmlSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// True for A-Z and a-z only; bytes from 0x80 up are never letters.
constexpr bool isHtmlLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace corvida
