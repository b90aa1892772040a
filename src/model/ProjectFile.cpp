// SPDX-License-Identifier: MIT
#include "model/ProjectFile.h"

#include <array>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/CUrl.h"
#include "model/MimeTable.h"
#include "model/WebListener.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

constexpr std::uint32_t kNeighbourListEnd = 0xFFFFFFFE;
constexpr std::size_t kStoredKindRows = 4;
// The smallest node record: every text absent, both neighbour lists empty.
constexpr std::size_t kMinimumNodeRecordSize = 136;
// Room for the head and the redirect section beyond the node records' own sizes.
constexpr std::size_t kHeadRoom = 4096;
// The redirect section follows the last node when any node holds redirect hops: the marker
// (the bytes "RDIR"), the section's version, the length of its body in bytes, then the body.
// Version 1's body is the number of chained nodes and, for each in stored order, the node's
// position among the node records, its hop count and every hop (status, the location as
// received, the URL it led to; two counted texts). Readers that stop after the last node
// never see it; a project without redirects ends after its last node, as before.
constexpr std::string_view kRedirectSectionMarker = "RDIR";
constexpr std::uint32_t kRedirectSectionVersion = 1;
// A chained node's position and hop count, and a hop whose texts are absent.
constexpr std::size_t kMinimumChainSize = 8;
constexpr std::size_t kMinimumHopSize = 12;
constexpr const char* kStoringText = "Storing...";
constexpr const char* kLoadingText = "Loading...";
constexpr const char* kFinishedText = " FINISHED";

constexpr std::array<WebNode::Text, 5> kStoredNodeTexts = {WebNode::Text::Title, WebNode::Text::Excerpt,
                                                           WebNode::Text::RequestUrl, WebNode::Text::StatusText,
                                                           WebNode::Text::StatusDetail};
constexpr std::array<const char*, 5> kStoredNodeTextNames = {"the title", "the excerpt", "the request URL",
                                                             "the status text", "the status detail"};
constexpr std::array<KindRow, kStoredKindRows> kStoredKindRowOrder = {KindRow::Documents, KindRow::Pictures,
                                                                      KindRow::Audio, KindRow::Video};
constexpr std::array<NodeKind, kNodeKindCount> kCounterOrder = {NodeKind::Document, NodeKind::Picture, NodeKind::Audio,
                                                                NodeKind::Video,    NodeKind::Ftp,     NodeKind::Gopher,
                                                                NodeKind::Mail,     NodeKind::Other};

// Reports whole percents of work done, each value once.
class ProgressReporter {
public:
    ProgressReporter(WebListener* listener, std::size_t total) : m_listener(listener), m_total(total) { report(0); }
    // Called before item index is handled.
    void before(std::size_t index) { report(static_cast<int>(static_cast<std::uint64_t>(index) * 100 / m_total)); }
    void finish() { report(100); }

private:
    void report(int percent) {
        if (m_listener != nullptr && percent != m_last) {
            m_last = percent;
            m_listener->progress(percent);
        }
    }

    WebListener* m_listener;
    std::size_t m_total;
    int m_last = -1;
};

// Web texts that are empty are stored absent.
void writeWebText(ArchiveWriter& writer, const std::string& text) {
    if (text.empty()) {
        writer.writeAbsentText();
    } else {
        writer.writeCountedText(text);
    }
}

void writeNeighbours(ArchiveWriter& writer, const NeighbourList& neighbours) {
    for (const WebNode* neighbour : neighbours.sorted()) {
        // Empty references and unnumbered nodes cannot be named in the file.
        if (neighbour != nullptr && neighbour->number() >= 0) {
            writer.writeI32(neighbour->number());
        }
    }
    writer.writeU32(kNeighbourListEnd);
}

void writeUrl(ArchiveWriter& writer, const CUrl& url, const MimeTable& table) {
    writer.writeCountedText(url.url());
    writer.writeCountedText(url.baseDirectory());
    writer.writeCountedText(url.scheme());
    writer.writeCountedText(url.extension());
    writer.writeCountedText(url.host());
    writer.writeCountedText(url.fragment());
    writer.writeU32(url.length());
    writer.writeU32(url.foldHash());
    writer.writeCountedText(table.schemeName(url.schemeIndex()));
    writer.writeCountedText(table.typeName(url.mimeIndexByExtension()));
    writer.writeCountedText(table.typeName(url.mimeIndexByServer()));
}

// The bytes a counted text of length takes: its length field, the text and the NUL.
constexpr std::size_t countedSize(std::size_t length) {
    return 4 + length + 1;
}

// At least the bytes writeNode() writes for node (it may write fewer: texts cut at a NUL,
// neighbours without a number), so that the output buffer is reserved once at its size. A
// big project's contents are held in memory while it is saved, and a buffer grown by
// doubling could take twice their size.
std::size_t nodeRecordBound(const WebNode& node, const MimeTable& table) {
    const CUrl& url = node.url();
    std::size_t size = countedSize(url.url().size()) + countedSize(url.baseDirectory().size()) +
                       countedSize(url.scheme().size()) + countedSize(url.extension().size()) +
                       countedSize(url.host().size()) + countedSize(url.fragment().size()) + 8 +
                       countedSize(table.schemeName(url.schemeIndex()).size()) +
                       countedSize(table.typeName(url.mimeIndexByExtension()).size()) +
                       countedSize(table.typeName(url.mimeIndexByServer()).size());
    for (const WebNode::Text which : kStoredNodeTexts) {
        const std::optional<std::string_view> text = node.text(which);
        size += text ? countedSize(text->size()) : 4;
    }
    constexpr std::size_t kNumberFields = 15;
    size += kNumberFields * 4;
    size += 4 * (node.inCount() + 1) + 4 * (node.outCount() + 1);
    return size + 4;
}

void writeNode(ArchiveWriter& writer, const WebNode& node, const MimeTable& table) {
    writeUrl(writer, node.url(), table);
    for (const WebNode::Text which : kStoredNodeTexts) {
        writer.writeOptionalText(node.text(which));
    }
    writer.writeI32(node.localSize());
    writer.writeI32(node.number());
    writer.writeI32(node.httpStatus());
    // The fetch-anyway tag travels as a flag bit that the running program never uses.
    const std::uint32_t flags =
        node.fetchAnyway() ? (node.flags() | kFlagStoredFetchAnyway) : (node.flags() & ~kFlagStoredFetchAnyway);
    writer.writeU32(flags);
    writer.writeI32(node.level());
    writer.writeI32(node.expires());
    writer.writeI32(node.lastModified());
    writer.writeI32(node.checked());
    writer.writeI32(node.size());
    writer.writeI32(node.pictureWidth());
    writer.writeI32(node.pictureHeight());
    writer.writeI32(node.pictureDepth());
    writer.writeI32(node.thumbnailWidth());
    writer.writeI32(node.thumbnailHeight());
    writer.writeI32(node.thumbnailDepth());
    writeNeighbours(writer, node.inNeighbours());
    writeNeighbours(writer, node.outNeighbours());
    writer.writeU32(node.robotsVerdict());
}

// Appends the redirect section for the nodes (in stored order) that hold hops; nothing when
// none does.
void writeRedirectSection(ArchiveWriter& writer, const std::vector<WebNode*>& nodes) {
    std::vector<std::uint32_t> chained;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i]->redirects().empty()) {
            chained.push_back(static_cast<std::uint32_t>(i));
        }
    }
    if (chained.empty()) {
        return;
    }
    ArchiveWriter body;
    body.writeU32(static_cast<std::uint32_t>(chained.size()));
    for (const std::uint32_t position : chained) {
        const std::vector<RedirectHop>& hops = nodes[position]->redirects();
        body.writeU32(position);
        body.writeU32(static_cast<std::uint32_t>(hops.size()));
        for (const RedirectHop& hop : hops) {
            body.writeI32(hop.status);
            body.writeCountedText(hop.location);
            body.writeCountedText(hop.target);
        }
    }
    writer.append(kRedirectSectionMarker);
    writer.writeU32(kRedirectSectionVersion);
    writer.writeU32(static_cast<std::uint32_t>(body.bytes().size()));
    writer.append(body.bytes());
}

// The chains of a redirect section by node position, or nothing when the section is damaged,
// cut short or of another version: the graph never depends on it, so it is read whole or not
// at all.
std::optional<std::vector<std::pair<std::size_t, std::vector<RedirectHop>>>>
readRedirectSection(std::string_view section, std::size_t nodeCount) {
    if (section.size() < kRedirectSectionMarker.size()) {
        return std::nullopt;
    }
    ArchiveReader header(section.substr(kRedirectSectionMarker.size()));
    const std::uint32_t version = header.readU32("the redirect version");
    const std::uint32_t length = header.readU32("the redirect section length");
    if (!header.ok() || version != kRedirectSectionVersion || length != header.remaining()) {
        return std::nullopt;
    }
    ArchiveReader body(header.rest());
    const std::uint32_t chained = body.readU32("the chained node count");
    if (chained > nodeCount || chained > body.remaining() / (kMinimumChainSize + kMinimumHopSize)) {
        return std::nullopt;
    }
    std::vector<std::pair<std::size_t, std::vector<RedirectHop>>> chains;
    chains.reserve(chained);
    for (std::uint32_t c = 0; c < chained && body.ok(); ++c) {
        const std::uint32_t position = body.readU32("the chained node");
        const std::uint32_t hopCount = body.readU32("the hop count");
        // Positions rise strictly, so no node gets two chains.
        const bool ordered = chains.empty() || position > chains.back().first;
        if (!body.ok() || !ordered || position >= nodeCount || hopCount == 0 || hopCount > WebNode::kMaxRedirectHops) {
            return std::nullopt;
        }
        std::vector<RedirectHop> hops(hopCount);
        for (RedirectHop& hop : hops) {
            hop.status = body.readI32("the hop status");
            hop.location = body.readCountedView("the hop location");
            hop.target = body.readCountedView("the hop target");
        }
        chains.emplace_back(position, std::move(hops));
    }
    if (!body.ok() || body.remaining() != 0) {
        return std::nullopt;
    }
    return chains;
}

// Whether the bytes after the last node begin a redirect section, or are the start of its
// marker cut short.
bool startsRedirectSection(std::string_view rest) {
    return !rest.empty() && kRedirectSectionMarker.starts_with(rest.substr(0, kRedirectSectionMarker.size()));
}

// The stored Web record without its nodes.
struct WebRecord {
    std::int32_t startNumber = -1;
    std::uint32_t nodeCount = 0;
    std::string workingDirectory;
    std::string workingFileName;
    std::string startUrl;
    std::string userAgent;
    std::string proxy;
    std::int32_t bufferSize = 0;
    bool robotsExclusion = false;
    std::string emailAddress;
    std::int32_t nextNodeNumber = 0;
    std::array<std::uint32_t, kNodeKindCount> counters{};
    std::int32_t highestLevel = 0;
    std::array<std::int32_t, kStoredKindRows> maximumLevels{};
    std::array<std::uint32_t, kStoredKindRows> optionBytes{};
    bool alwaysFetch = false;
};

// A node read from the file whose neighbours are still numbers.
struct PendingNode {
    std::unique_ptr<WebNode> node;
    std::size_t inBegin = 0;  // into the shared number list
    std::size_t outBegin = 0; // ends where the next node's in-numbers begin
};

struct UrlHash {
    std::size_t operator()(const CUrl* url) const { return url->identityHash(); }
};
struct UrlEqual {
    bool operator()(const CUrl* a, const CUrl* b) const { return a->compare(*b) == 0; }
};

class ContentsReader {
public:
    ContentsReader(std::string_view contents, WebListener* listener)
        : m_reader(contents), m_listener(listener), m_table(MimeTable::instance()) {}

    // Reads everything; false (with error()) when the sequence is damaged.
    bool read(ProjectOptions& options) {
        if (!readHead(options)) {
            return false;
        }
        m_progress.emplace(m_listener, m_record.nodeCount);
        readNodes();
        return m_reader.ok();
    }

    // Reads the options and the Web record, up to the first node; false (with error()) when
    // they are damaged or name more nodes than the rest can hold.
    bool readHead(ProjectOptions& options) {
        readOptions(options);
        readWebRecord();
        if (!m_reader.ok()) {
            return false;
        }
        if (m_record.nodeCount > m_reader.remaining() / kMinimumNodeRecordSize) {
            m_reader.fail("the node count",
                          "of " + std::to_string(m_record.nodeCount) + " is more than the rest of the file can hold");
            return false;
        }
        return true;
    }

    // A Web of the record alone, after readHead().
    std::unique_ptr<Web> recordWeb() const {
        auto web = std::make_unique<Web>();
        applyRecord(*web);
        return web;
    }
    const WebRecord& record() const { return m_record; }

    std::string error() const { return "damaged project file: " + m_reader.error(); }

    // Builds the Web from what was read; requires a successful read().
    std::unique_ptr<Web> build(WebListener* listener) {
        auto web = std::make_unique<Web>(listener);
        applyRecord(*web);

        std::vector<WebNode*> adopted;
        adopted.reserve(m_nodes.size());
        for (PendingNode& pending : m_nodes) {
            // URLs were checked for duplicates while reading, so every node is taken.
            adopted.push_back(web->adoptLoadedNode(std::move(pending.node)));
        }
        for (std::size_t i = 0; i < m_nodes.size(); ++i) {
            const std::size_t inEnd = m_nodes[i].outBegin;
            const std::size_t outEnd = i + 1 < m_nodes.size() ? m_nodes[i + 1].inBegin : m_numbers.size();
            WebNode* node = adopted[i];
            for (std::size_t k = m_nodes[i].inBegin; k < inEnd; ++k) {
                linkLoaded(node, nodeOfNumber(m_numbers[k]), true);
            }
            for (std::size_t k = inEnd; k < outEnd; ++k) {
                linkLoaded(node, nodeOfNumber(m_numbers[k]), false);
            }
        }
        web->setStartNode(nodeOfNumber(static_cast<std::uint32_t>(m_record.startNumber)));
        if (listener != nullptr) {
            for (WebNode* node : adopted) {
                listener->nodeAdded(node, false, nullptr);
                listener->nodeProcessed(node, false);
            }
        }
        return web;
    }

    void finishProgress() { m_progress->finish(); }

private:
    void readOptions(ProjectOptions& options) {
        m_reader.setRecord("project record");
        options.startUrl = m_reader.readShortText("the start URL");
        options.autoReport = m_reader.readBool("the auto report switch");
        options.autoLocalSite = m_reader.readBool("the auto local site switch");
        options.checkExternal = m_reader.readBool("the check external switch");
        options.getDocuments = m_reader.readBool("the get documents switch");
        options.getPictures = m_reader.readBool("the get pictures switch");
        options.getAudio = m_reader.readBool("the get audio switch");
        options.getVideo = m_reader.readBool("the get video switch");
        options.maximumLevel = m_reader.readU32("the maximum level");
        options.localSiteMade = m_reader.readBool("the local site made switch");
        options.reportMade = m_reader.readBool("the report made switch");
    }

    std::string readWebText(const char* what) { return std::string(m_reader.readCountedView(what)); }

    void readWebRecord() {
        m_reader.setRecord("Web record");
        WebRecord& r = m_record;
        r.startNumber = m_reader.readI32("the start node number");
        r.nodeCount = m_reader.readU32("the node count");
        r.workingDirectory = readWebText("the working directory");
        r.workingFileName = readWebText("the working file name");
        r.startUrl = readWebText("the start URL");
        r.userAgent = readWebText("the user agent");
        r.proxy = readWebText("the proxy");
        r.bufferSize = m_reader.readI32("the buffer size");
        r.robotsExclusion = m_reader.readBool("the robots switch");
        r.emailAddress = readWebText("the e-mail address");
        r.nextNodeNumber = m_reader.readI32("the next node number");
        for (std::uint32_t& counter : r.counters) {
            counter = m_reader.readU32("a counter");
        }
        r.highestLevel = m_reader.readI32("the highest level");
        for (std::int32_t& level : r.maximumLevels) {
            level = m_reader.readI32("a maximum level");
        }
        for (std::uint32_t& options : r.optionBytes) {
            options = m_reader.readU32("an option byte");
        }
        r.alwaysFetch = m_reader.readBool("the always-fetch switch");
    }

    void applyRecord(Web& web) const {
        const WebRecord& r = m_record;
        CrawlSettings& settings = web.settings();
        settings.workingDirectory = r.workingDirectory;
        settings.workingFileName = r.workingFileName;
        settings.startUrl = r.startUrl;
        settings.userAgent = r.userAgent;
        settings.proxy = r.proxy;
        settings.bufferSize = r.bufferSize;
        settings.robotsExclusion = r.robotsExclusion;
        settings.emailAddress = r.emailAddress;
        web.setNextNodeNumber(r.nextNodeNumber);
        for (std::size_t i = 0; i < kNodeKindCount; ++i) {
            web.setCount(kCounterOrder[i], r.counters[i]);
        }
        web.setHighestLevel(r.highestLevel);
        for (std::size_t i = 0; i < kStoredKindRows; ++i) {
            const auto row = static_cast<std::size_t>(kStoredKindRowOrder[i]);
            settings.maximumLevels[row] = r.maximumLevels[i];
            settings.optionBytes[row] = r.optionBytes[i];
        }
        settings.alwaysFetch = r.alwaysFetch;
    }

    // A stored scheme or type name as an index of this program's table. Unknown names are
    // added; an empty name, like "???", means none.
    std::uint32_t schemeIndexOf(std::string_view name) { return name.empty() ? 0 : m_table.addScheme(name); }
    std::uint32_t typeIndexOf(std::string_view name) { return name.empty() ? 0 : m_table.addType(name); }

    CUrl readUrl() {
        const std::string_view text = m_reader.readCountedView("the URL");
        m_reader.readCountedView("the base directory");
        m_reader.readCountedView("the scheme");
        m_reader.readCountedView("the extension");
        m_reader.readCountedView("the host");
        const std::string_view fragment = m_reader.readCountedView("the fragment");
        const std::uint32_t length = m_reader.readU32("the URL length");
        const std::uint32_t hash = m_reader.readU32("the URL hash");
        const std::string_view scheme = m_reader.readCountedView("the scheme name");
        const std::string_view byExtension = m_reader.readCountedView("the MIME type by extension");
        const std::string_view byServer = m_reader.readCountedView("the MIME type by server");
        if (!m_reader.ok()) {
            return CUrl();
        }
        // The base directory, scheme, extension and host follow from the URL text; they are
        // stored only for other readers.
        CUrl url =
            CUrl::restore(text, fragment, schemeIndexOf(scheme), typeIndexOf(byExtension), typeIndexOf(byServer));
        // Lookups trust the stored length and hash, so a record whose numbers do not belong
        // to its text is damage, not something to repair silently.
        if (url.length() != length || url.foldHash() != hash) {
            m_reader.fail("the URL", "does not match its stored length and hash");
        }
        return url;
    }

    void readNeighbourNumbers(const char* what) {
        for (;;) {
            const std::uint32_t number = m_reader.readU32(what);
            if (!m_reader.ok() || number == kNeighbourListEnd) {
                return;
            }
            m_numbers.push_back(number);
        }
    }

    void readNode() {
        const CUrl url = readUrl();
        if (!m_reader.ok()) {
            return;
        }
        auto node = std::make_unique<WebNode>(url);
        for (std::size_t i = 0; i < kStoredNodeTexts.size(); ++i) {
            bool present = false;
            const std::string_view text = m_reader.readCountedView(kStoredNodeTextNames[i], &present);
            if (present) {
                node->setText(kStoredNodeTexts[i], text);
            }
        }
        node->setLocalSize(m_reader.readI32("the local size"));
        node->setNumber(m_reader.readI32("the node number"));
        node->setHttpStatus(m_reader.readI32("the HTTP status"));
        const std::uint32_t flags = m_reader.readU32("the flags");
        if ((flags & kFlagStoredFetchAnyway) != 0) {
            node->markFetchAnyway();
        }
        node->assignFlags(flags & ~kFlagStoredFetchAnyway);
        node->setLevel(m_reader.readI32("the level"));
        node->setExpires(m_reader.readI32("the expiry time"));
        node->setLastModified(m_reader.readI32("the modification time"));
        node->setChecked(m_reader.readI32("the check time"));
        node->setSize(m_reader.readI32("the size"));
        const std::int32_t pictureWidth = m_reader.readI32("the picture width");
        const std::int32_t pictureHeight = m_reader.readI32("the picture height");
        const std::int32_t pictureDepth = m_reader.readI32("the picture depth");
        node->setPicture(pictureWidth, pictureHeight, pictureDepth);
        const std::int32_t thumbnailWidth = m_reader.readI32("the thumbnail width");
        const std::int32_t thumbnailHeight = m_reader.readI32("the thumbnail height");
        const std::int32_t thumbnailDepth = m_reader.readI32("the thumbnail depth");
        node->setThumbnail(thumbnailWidth, thumbnailHeight, thumbnailDepth);
        PendingNode pending;
        pending.inBegin = m_numbers.size();
        readNeighbourNumbers("the in-neighbours");
        pending.outBegin = m_numbers.size();
        readNeighbourNumbers("the out-neighbours");
        node->setRobotsVerdict(m_reader.readU32("the robots verdict"));
        if (!m_reader.ok()) {
            return;
        }
        if (!m_urls.insert(&node->url()).second) {
            m_reader.fail("the URL", "is the URL of an earlier node");
            return;
        }
        if (!enterNumber(node->number(), node.get())) {
            m_reader.fail("the node number", "is the number of an earlier node");
            return;
        }
        pending.node = std::move(node);
        m_nodes.push_back(std::move(pending));
    }

    void readNodes() {
        const std::size_t count = m_record.nodeCount;
        m_nodes.reserve(count);
        m_urls.reserve(count);
        // Numbers are discovery numbers, so almost all are below the node count: those go
        // into a plain array, any others into a map.
        m_denseLimit = static_cast<std::int64_t>(count) * 2 + 1024;
        m_byNumber.reserve(count);
        for (std::size_t i = 0; i < count && m_reader.ok(); ++i) {
            m_progress->before(i);
            m_reader.setRecord("node", static_cast<std::int64_t>(i));
            readNode();
        }
        m_reader.setRecord(nullptr);
        if (!m_reader.ok()) {
            return;
        }
        const std::string_view rest = m_reader.rest();
        if (!startsRedirectSection(rest)) {
            // Anything else after the last node means the records were not what they seemed.
            m_reader.expectEnd("the last node");
            return;
        }
        if (auto chains = readRedirectSection(rest, m_nodes.size())) {
            for (auto& [position, hops] : *chains) {
                for (RedirectHop& hop : hops) {
                    m_nodes[position].node->addRedirect(std::move(hop));
                }
            }
        }
    }

    // Enters node under number; false when another node has it. Negative numbers name nothing.
    bool enterNumber(std::int32_t number, WebNode* node) {
        if (number < 0) {
            return true;
        }
        if (number >= m_denseLimit) {
            return m_sparseByNumber.emplace(number, node).second;
        }
        const auto index = static_cast<std::size_t>(number);
        if (index >= m_byNumber.size()) {
            m_byNumber.resize(index + 1, nullptr);
        }
        if (m_byNumber[index] != nullptr) {
            return false;
        }
        m_byNumber[index] = node;
        return true;
    }

    WebNode* nodeOfNumber(std::uint32_t stored) const {
        const auto number = static_cast<std::int32_t>(stored);
        if (number < 0) {
            return nullptr;
        }
        if (number >= m_denseLimit) {
            const auto it = m_sparseByNumber.find(number);
            return it == m_sparseByNumber.end() ? nullptr : it->second;
        }
        const auto index = static_cast<std::size_t>(number);
        return index < m_byNumber.size() ? m_byNumber[index] : nullptr;
    }

    // A number without a node becomes an empty reference; a node named twice is kept once.
    static void linkLoaded(WebNode* node, WebNode* neighbour, bool in) {
        if (in && neighbour == nullptr) {
            node->appendLoadedIn(nullptr);
        } else if (in) {
            node->linkIn(neighbour);
        } else if (neighbour == nullptr) {
            node->appendLoadedOut(nullptr);
        } else {
            node->linkOut(neighbour);
        }
    }

    ArchiveReader m_reader;
    WebListener* m_listener;
    MimeTable& m_table;
    WebRecord m_record;
    std::vector<PendingNode> m_nodes;
    std::vector<std::uint32_t> m_numbers;
    std::unordered_set<const CUrl*, UrlHash, UrlEqual> m_urls;
    std::int64_t m_denseLimit = 0;
    std::vector<WebNode*> m_byNumber; // index: node number
    std::unordered_map<std::int32_t, WebNode*> m_sparseByNumber;
    std::optional<ProgressReporter> m_progress;
};

} // namespace

std::string ProjectFile::encode(const ProjectOptions& options, const Web* web) {
    std::size_t expectedSize = kHeadRoom;
    if (web != nullptr) {
        const MimeTable& table = MimeTable::instance();
        for (const WebNode* node : web->nodes()) {
            expectedSize += nodeRecordBound(*node, table);
        }
    }
    ArchiveWriter writer(expectedSize);
    encodeWith(writer, options, web);
    return writer.takeBytes();
}

bool ProjectFile::encodeInto(const ProjectOptions& options, const Web* web, const ArchiveWriter::Sink& sink) {
    ArchiveWriter writer(sink);
    encodeWith(writer, options, web);
    return writer.finish();
}

void ProjectFile::encodeWith(ArchiveWriter& writer, const ProjectOptions& options, const Web* web) {
    const Web empty;
    const Web& source = web != nullptr ? *web : empty;
    WebListener* listener = web != nullptr ? &web->listener() : nullptr;
    if (listener != nullptr) {
        listener->showText(kStoringText);
    }
    const std::vector<WebNode*>& nodes = source.nodes();
    const MimeTable& table = MimeTable::instance();

    writer.writeShortText(options.startUrl);
    writer.writeBool(options.autoReport);
    writer.writeBool(options.autoLocalSite);
    writer.writeBool(options.checkExternal);
    writer.writeBool(options.getDocuments);
    writer.writeBool(options.getPictures);
    writer.writeBool(options.getAudio);
    writer.writeBool(options.getVideo);
    writer.writeU32(options.maximumLevel);
    writer.writeBool(options.localSiteMade);
    writer.writeBool(options.reportMade);

    writer.writeI32(source.startNode() != nullptr ? source.startNode()->number() : -1);
    writer.writeU32(static_cast<std::uint32_t>(nodes.size()));
    const CrawlSettings& settings = source.settings();
    writeWebText(writer, settings.workingDirectory);
    writeWebText(writer, settings.workingFileName);
    writeWebText(writer, settings.startUrl);
    writeWebText(writer, settings.userAgent);
    writeWebText(writer, settings.proxy);
    writer.writeI32(settings.bufferSize);
    writer.writeBool(settings.robotsExclusion);
    writeWebText(writer, settings.emailAddress);
    writer.writeI32(source.nextNodeNumber());
    for (const NodeKind kind : kCounterOrder) {
        writer.writeU32(source.count(kind));
    }
    writer.writeI32(source.highestLevel());
    for (const KindRow row : kStoredKindRowOrder) {
        writer.writeI32(settings.maximumLevel(row));
    }
    for (const KindRow row : kStoredKindRowOrder) {
        writer.writeU32(settings.optionByte(row));
    }
    writer.writeBool(settings.alwaysFetch);

    ProgressReporter progress(listener, nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        progress.before(i);
        writeNode(writer, *nodes[i], table);
    }
    writeRedirectSection(writer, nodes);
    progress.finish();
    if (listener != nullptr) {
        listener->endText(kFinishedText);
    }
}

ProjectFile::Summary ProjectFile::decodeSummary(std::string_view contents) {
    Summary summary;
    ContentsReader reader(contents, nullptr);
    if (!reader.readHead(summary.options)) {
        summary.status = Status::corrupt(reader.error());
        return summary;
    }
    summary.web = reader.recordWeb();
    summary.startNumber = reader.record().startNumber;
    summary.nodeCount = reader.record().nodeCount;
    return summary;
}

ProjectFile::Loaded ProjectFile::decode(std::string_view contents, WebListener* listener) {
    Loaded loaded;
    if (listener != nullptr) {
        listener->showText(kLoadingText);
    }
    // Names of schemes and types join the table while nodes are read; a refused file leaves
    // none of them behind.
    const MimeTable::Mark mark = MimeTable::instance().mark();
    {
        ContentsReader reader(contents, listener);
        if (reader.read(loaded.options)) {
            loaded.web = reader.build(listener);
            reader.finishProgress();
            if (listener != nullptr) {
                listener->endText(kFinishedText);
            }
            return loaded;
        }
        loaded.status = Status::corrupt(reader.error());
    }
    MimeTable::instance().rollBack(mark);
    return loaded;
}

} // namespace corvida
