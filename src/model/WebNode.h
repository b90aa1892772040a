// SPDX-License-Identifier: MIT
#pragma once

// A WebNode is one URL of a project's site graph: what the crawl learned about it (kind,
// link level, status, sizes, dates, texts, picture data) and its links to and from other
// nodes. The Web owns every node; a node owns its CUrl and its texts, while its neighbour
// lists and link-tree entry are references only.
//
// A graph holds hundreds of thousands of nodes, so a node keeps its optional texts in one
// block of memory, allocated only once a text is set, and nothing else of its own on the heap
// unless it has redirects.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/CUrl.h"
#include "model/NeighbourList.h"
#include "model/NodeTally.h"
#include "model/RedirectHop.h"

namespace corvida {

class LinkTreeEntry;

// Flag bits of WebNode::flags(). Project files store them, so the values are fixed.
inline constexpr std::uint32_t kFlagFile = 0x1;
inline constexpr std::uint32_t kFlagHttp = 0x2;
inline constexpr std::uint32_t kFlagFtp = 0x4;
inline constexpr std::uint32_t kFlagGopher = 0x8;
inline constexpr std::uint32_t kFlagMail = 0x10;
inline constexpr std::uint32_t kFlagDocument = 0x20;
inline constexpr std::uint32_t kFlagPicture = 0x40;
inline constexpr std::uint32_t kFlagAudio = 0x80;
inline constexpr std::uint32_t kFlagVideo = 0x100;
inline constexpr std::uint32_t kFlagOther = 0x200;
inline constexpr std::uint32_t kFlagNotModified = 0x400;
inline constexpr std::uint32_t kFlagEarlierCopy = 0x800;
inline constexpr std::uint32_t kFlagFetchToNewCopy = 0x1000;
inline constexpr std::uint32_t kFlagChanged = 0x2000;
inline constexpr std::uint32_t kFlagTypeLearnedByTest = 0x4000;
inline constexpr std::uint32_t kFlagFullFetch = 0x8000;
inline constexpr std::uint32_t kFlagStart = 0x10000;
inline constexpr std::uint32_t kFlagStartAlias = 0x20000;
inline constexpr std::uint32_t kFlagStoredFetchAnyway = 0x40000;
inline constexpr std::uint32_t kFlagTested = 0x80000;
inline constexpr std::uint32_t kFlagFetched = 0x100000;
inline constexpr std::uint32_t kFlagTestStarted = 0x200000;
inline constexpr std::uint32_t kFlagFetchStarted = 0x400000;
inline constexpr std::uint32_t kFlagProcessed = 0x800000;
inline constexpr std::uint32_t kFlagInStartDirectory = 0x1000000;
inline constexpr std::uint32_t kFlagLocalServer = 0x2000000;
inline constexpr std::uint32_t kFlagTypePending = 0x4000000;
inline constexpr std::uint32_t kFlagTypeLearnedByFetch = 0x8000000;
inline constexpr std::uint32_t kFlagPictureCopy = 0x10000000;
inline constexpr std::uint32_t kFlagDocumentCopy = 0x20000000;
inline constexpr std::uint32_t kFlagWrittenToLocalSite = 0x40000000;
inline constexpr std::uint32_t kFlagThumbnail = 0x80000000;

// The exclusive kind bits, one of which a numbered node carries.
inline constexpr std::uint32_t kKindMask =
    kFlagFtp | kFlagGopher | kFlagMail | kFlagDocument | kFlagPicture | kFlagAudio | kFlagVideo | kFlagOther;

// Robots verdicts (WebNode::robotsVerdict()).
inline constexpr std::uint32_t kRobotsNotChecked = 0;
inline constexpr std::uint32_t kRobotsNoRules = 1;
inline constexpr std::uint32_t kRobotsExcluded = 2;
inline constexpr std::uint32_t kRobotsAllowed = 3;

class WebNode {
public:
    // The node's optional texts. Status texts and excerpts are stored with '<' escaped.
    enum class Text { Credentials, Title, Excerpt, RequestUrl, StatusText, StatusDetail };

    // A new node for url (copied): level, number and HTTP status -1, no flags.
    explicit WebNode(const CUrl& url);
    WebNode(const WebNode&) = delete;
    WebNode& operator=(const WebNode&) = delete;

    const CUrl& url() const { return m_url; }
    CUrl& url() { return m_url; }

    // The text, or nullopt when it is absent. The view is valid until a text of the node is
    // set or cleared.
    std::optional<std::string_view> text(Text which) const;
    // The text, or an empty text when it is absent.
    std::string_view textOrEmpty(Text which) const { return text(which).value_or(std::string_view()); }
    // Where text which is kept (the block of all the node's texts, which a read of any text
    // starts with), or nullptr while no text is set; a walk over many nodes asks the memory for
    // it ahead of reading the text. Reads only the node.
    const void* textSlot(Text /*which*/) const { return m_texts.get(); }
    std::string_view title() const { return textOrEmpty(Text::Title); }
    std::string_view excerpt() const { return textOrEmpty(Text::Excerpt); }
    std::string_view requestUrl() const { return textOrEmpty(Text::RequestUrl); }
    // The address the node is known by: the URL it was asked for, else its own URL.
    std::string_view address() const { return requestUrl().empty() ? m_url.url() : requestUrl(); }
    std::string_view credentials() const { return textOrEmpty(Text::Credentials); }
    std::string_view statusText() const { return textOrEmpty(Text::StatusText); }
    std::string_view statusDetail() const { return textOrEmpty(Text::StatusDetail); }
    // Sets a text as given (no escaping); std::nullopt makes it absent.
    void setText(Text which, std::optional<std::string_view> value);
    void setTitle(std::string_view title) { setText(Text::Title, title); }
    // Stores the excerpt with every '<' written as "&lt;".
    void setExcerpt(std::string_view excerpt);
    void setRequestUrl(std::string_view url) { setText(Text::RequestUrl, url); }
    void setCredentials(std::string_view credentials) { setText(Text::Credentials, credentials); }
    // Records an answer or failure: the code, and both texts with '<' escaped, each replacing
    // the previous one; an empty text leaves its field absent.
    void setStatus(std::int32_t httpStatus, std::string_view reason, std::string_view detail);

    std::uint32_t flags() const { return m_flags; }
    bool hasAnyFlag(std::uint32_t mask) const { return (m_flags & mask) != 0; }
    bool hasAllFlags(std::uint32_t mask) const { return (m_flags & mask) == mask; }
    void setFlags(std::uint32_t mask) { changeFlags(m_flags | mask); }
    void clearFlags(std::uint32_t mask) { changeFlags(m_flags & ~mask); }
    void assignFlags(std::uint32_t flags) { changeFlags(flags); }
    // From now on every change of the flags is counted in tally (null: none), which must
    // outlive the node or be replaced first. The current flags are counted at once.
    void setTally(NodeTally* tally);
    // Broken: a fetch or a test was started and did not succeed.
    bool isBroken() const;

    // Neighbours, read in URL order. Entries are never null except after loading a damaged
    // project file.
    const NeighbourList& inNeighbours() const { return m_in; }
    const NeighbourList& outNeighbours() const { return m_out; }
    std::size_t inCount() const { return m_in.size(); }
    std::size_t outCount() const { return m_out.size(); }
    WebNode* in(std::size_t i) const { return m_in.at(i); }
    WebNode* out(std::size_t i) const { return m_out.at(i); }
    // Adds a node to the in- or out-neighbours unless it is there; returns whether it was added.
    bool linkIn(WebNode* node) { return m_in.insert(node); }
    bool linkOut(WebNode* node) { return m_out.insert(node); }
    // Entries as read from a project file (null for a number without a node).
    void appendLoadedIn(WebNode* node) { m_in.appendLoaded(node); }
    void appendLoadedOut(WebNode* node) { m_out.appendLoaded(node); }

    std::int32_t groupNumber() const { return m_groupNumber; }
    void setGroupNumber(std::int32_t group) { m_groupNumber = group; }
    LinkTreeEntry* linkTreeEntry() const { return m_linkTreeEntry; }
    void setLinkTreeEntry(LinkTreeEntry* entry) { m_linkTreeEntry = entry; }

    std::int32_t httpStatus() const { return m_httpStatus; }
    void setHttpStatus(std::int32_t status) { m_httpStatus = status; }
    std::int32_t number() const { return m_number; }
    void setNumber(std::int32_t number) { m_number = number; }
    std::int32_t localSize() const { return m_localSize; }
    void setLocalSize(std::int32_t size) { m_localSize = size; }
    std::int32_t level() const { return m_level; }
    void setLevel(std::int32_t level) { m_level = level; }
    std::int32_t expires() const { return m_expires; }
    void setExpires(std::int32_t time) { m_expires = time; }
    std::int32_t lastModified() const { return m_lastModified; }
    void setLastModified(std::int32_t time) { m_lastModified = time; }
    std::int32_t checked() const { return m_checked; }
    void setChecked(std::int32_t time) { m_checked = time; }
    std::int32_t size() const { return m_size; }
    void setSize(std::int32_t size) { m_size = size; }

    std::int32_t pictureWidth() const { return m_pictureWidth; }
    std::int32_t pictureHeight() const { return m_pictureHeight; }
    std::int32_t pictureDepth() const { return m_pictureDepth; }
    void setPicture(std::int32_t width, std::int32_t height, std::int32_t depth);
    std::int32_t thumbnailWidth() const { return m_thumbnailWidth; }
    std::int32_t thumbnailHeight() const { return m_thumbnailHeight; }
    std::int32_t thumbnailDepth() const { return m_thumbnailDepth; }
    void setThumbnail(std::int32_t width, std::int32_t height, std::int32_t depth);
    std::int32_t viewPictureHandle() const { return m_viewPictureHandle; }
    void setViewPictureHandle(std::int32_t handle) { m_viewPictureHandle = handle; }

    std::uint32_t robotsVerdict() const { return m_robotsVerdict; }
    void setRobotsVerdict(std::uint32_t verdict) { m_robotsVerdict = verdict; }
    bool fetchAnyway() const { return m_fetchAnyway != 0; }
    // Once set, the tag stays set.
    void markFetchAnyway() { m_fetchAnyway = 1; }

    // The most redirect hops a node keeps; a crawl never follows more for one node.
    static constexpr std::size_t kMaxRedirectHops = 10;
    // The redirects followed since the node was last requested from its own URL, in order;
    // empty for almost every node, which then holds no chain at all.
    const std::vector<RedirectHop>& redirects() const;
    int redirectCount() const { return m_redirects ? static_cast<int>(m_redirects->size()) : 0; }
    // Appends a hop; false (and nothing kept) when the node holds kMaxRedirectHops already.
    bool addRedirect(RedirectHop hop);
    // Forgets the chain, as when the node is requested from its own URL again.
    void clearRedirects() { m_redirects.reset(); }

private:
    void changeFlags(std::uint32_t flags) {
        if (m_tally != nullptr) {
            m_tally->change(m_flags, flags);
        }
        m_flags = flags;
    }

    static constexpr std::size_t kTextCount = 6;

    CUrl m_url;
    NeighbourList m_in;
    NeighbourList m_out;
    // Every set text in one block: kTextCount 32-bit sizes, each a text's length + 1 or 0 for
    // an absent text, then the texts' bytes one after another. Null while no text is set.
    std::unique_ptr<char[]> m_texts;
    std::unique_ptr<std::vector<RedirectHop>> m_redirects; // allocated by the first redirect
    LinkTreeEntry* m_linkTreeEntry = nullptr;
    NodeTally* m_tally = nullptr;
    std::int32_t m_groupNumber = 0;
    std::int32_t m_httpStatus = -1;
    std::int32_t m_number = -1;
    std::int32_t m_localSize = 0;
    std::uint32_t m_flags = 0;
    std::int32_t m_level = -1;
    std::int32_t m_expires = -1;
    std::int32_t m_lastModified = -1;
    std::int32_t m_checked = -1;
    std::int32_t m_size = 0;
    std::int32_t m_pictureWidth = 0;
    std::int32_t m_thumbnailWidth = 0;
    std::int32_t m_pictureHeight = 0;
    std::int32_t m_thumbnailHeight = 0;
    std::int32_t m_pictureDepth = 0;
    std::int32_t m_thumbnailDepth = 0;
    std::int32_t m_viewPictureHandle = -1;
    std::uint32_t m_robotsVerdict = kRobotsNotChecked;
    std::uint32_t m_fetchAnyway = 0;
};

} // namespace corvida
