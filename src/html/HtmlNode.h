// SPDX-License-Identifier: MIT
#pragma once

// An HtmlNode is one item of a tokenized HTML page: a text run, a start tag, an end tag, or an
// attribute of a start tag. Nodes form flat, doubly linked sequences: the page's nodes in
// source order, and each start tag's own attribute list. Nothing is nested; end tags are never
// matched to start tags.
//
// A node owns its texts. Whoever holds the sequence owns the nodes (HtmlDocument owns the
// page's nodes, StartTag its attributes); destroying a node unlinks it from its neighbours.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace corvida {

// Node kinds. The numbers are part of the tokenizer's interface (searches use them).
enum class HtmlNodeKind : std::int32_t { StartTag = 0, EndTag = 1, Attribute = 2, Text = 3 };

class HtmlNode {
public:
    HtmlNode(const HtmlNode&) = delete;
    HtmlNode& operator=(const HtmlNode&) = delete;
    // Unlinks the node: its predecessor and successor become neighbours.
    virtual ~HtmlNode();

    HtmlNodeKind kind() const { return m_kind; }

    // The node's text: a text run's bytes, a tag's name as written, an attribute's value.
    // Only an attribute can be without one (hasText() false, text() empty).
    bool hasText() const { return m_hasText; }
    std::string_view text() const { return m_text; }
    // Replaces the text with a copy of text (which may be empty).
    void setText(std::string_view text);
    // Leaves the node without a text.
    void clearText();

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
    explicit HtmlNode(HtmlNodeKind kind) : m_kind(kind) {}

    // The label every dump line starts with, padded to 19 columns.
    static void dumpLabel(std::ostream& out, std::string_view label);

private:
    std::string m_text;
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
