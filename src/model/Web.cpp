// SPDX-License-Identifier: MIT
#include "model/Web.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "model/Ascii.h"
#include "model/FetchedFileProcessor.h"
#include "model/LocalNames.h"
#include "model/MimeTable.h"
#include "net/HttpReplyHeaders.h"
#include "net/StringTable.h"

namespace corvida {

namespace {

constexpr const char* kGettingRobots = "Getting robots.txt file...";
constexpr const char* kGotRobots = "Got robots.txt file";
constexpr const char* kNoRobots = "No robots.txt file for this server";
constexpr const char* kRobotsFileName = "robots.txt";
constexpr const char* kCouldNotGetFile = "COULD NOT GET FILE";
constexpr const char* kSubDirectories[] = {"temp", "docs", "images", "mmedia", "report"};
constexpr int kRobotsVerbosity = 0;

std::int32_t now() {
    return static_cast<std::int32_t>(std::time(nullptr));
}

// Waits for the one robots.txt request of a crawl's start.
class RobotsListener : public TransferListener {
public:
    bool succeeded = false;
    int status = -1;

    void statusText(std::string_view /*text*/) override {}
    void percent(int /*value*/) override {}
    void headers(int statusCode, std::string_view /*reason*/, const HttpReplyHeaders& /*reply*/,
                 const HttpEntityHeaders& /*entity*/) override {
        status = statusCode;
    }
    void end(bool success, int /*stringNumber*/, int /*errorCode*/) override { succeeded = success; }
};

// The file's last modification, in seconds since 1970, or -1.
std::int32_t fileTime(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return -1;
    }
    return static_cast<std::int32_t>(status.st_mtime);
}

// The base directory starts with prefix, ignoring case, over the prefix's length.
bool isInsideDirectory(std::string_view base, std::string_view prefix) {
    return startsWithIgnoreCase(base, prefix);
}

} // namespace

Web::Web(WebListener* listener) : m_listener(listener) {
    if (m_listener == nullptr) {
        m_ownedListener = std::make_unique<WebListener>();
        m_listener = m_ownedListener.get();
    }
}

Web::Web(std::string_view workingDirectory, std::string_view startUrl, WebListener* listener, int slotCount)
    : Web(listener) {
    std::string directory(workingDirectory);
    std::replace(directory.begin(), directory.end(), '\\', '/');
    setWorkingDirectory(directory);
    m_startUrlText = startUrl;
    prepareCrawl(slotCount);
}

void Web::prepareCrawl(int slotCount) {
    // A buffer size read from a project file may be anything; a transfer needs a sane one.
    if (m_bufferSize < 1 || m_bufferSize > kMaxBufferSize) {
        m_bufferSize = kDefaultBufferSize;
    }
    m_slots.clear();
    for (int i = 0; i < std::max(slotCount, 1); ++i) {
        m_slots.push_back(std::make_unique<FetchSlot>(*this, i));
    }
    for (const char* sub : kSubDirectories) {
        std::error_code ignored;
        std::filesystem::create_directories(m_workingDirectory + sub, ignored);
    }
    m_requestHeaders.accept = m_accept;
    m_requestHeaders.userAgent = m_userAgent.empty() ? std::nullopt : std::optional<std::string>(m_userAgent);
    m_requestHeaders.from = m_emailAddress.empty() ? std::nullopt : std::optional<std::string>(m_emailAddress);
}

Web::~Web() {
    m_slots.clear();
    m_listener->destroy();
}

WebNode* Web::findNode(const CUrl& url) const {
    return m_index.find(url);
}

WebNode* Web::findOrAddNode(const CUrl& url) {
    if (WebNode* node = findNode(url)) {
        return node;
    }
    WebNode* node = m_owned.emplace_back(std::make_unique<WebNode>(url)).get();
    m_index.insert(node);
    m_order.push(node);
    classifyAndNumber(node);
    return node;
}

WebNode* Web::adoptLoadedNode(std::unique_ptr<WebNode> node) {
    if (findNode(node->url()) != nullptr) {
        return nullptr;
    }
    WebNode* adopted = m_owned.emplace_back(std::move(node)).get();
    m_index.insert(adopted);
    m_order.push(adopted);
    const std::int32_t number = adopted->number();
    if (number >= 0 && static_cast<std::size_t>(number) < m_owned.size() * 2 + 1024) {
        if (m_byNumber.size() <= static_cast<std::size_t>(number)) {
            m_byNumber.resize(static_cast<std::size_t>(number) + 1, nullptr);
        }
        if (m_byNumber[static_cast<std::size_t>(number)] == nullptr) {
            m_byNumber[static_cast<std::size_t>(number)] = adopted;
        }
    }
    return adopted;
}

WebNode* Web::nodeByNumber(std::int32_t number) const {
    if (number < 0 || static_cast<std::size_t>(number) >= m_byNumber.size()) {
        return nullptr;
    }
    return m_byNumber[static_cast<std::size_t>(number)];
}

void Web::setWorkingDirectory(std::string_view path) {
    // The directory ends after the last separator, searched from the last byte down to the
    // second; without one the whole text is the directory.
    std::size_t split = std::string_view::npos;
    for (std::size_t i = path.size(); i-- > 1;) {
        if (path[i] == '/' || path[i] == '\\') {
            split = i + 1;
            break;
        }
    }
    if (split == std::string_view::npos) {
        setWorkingDirectoryParts(std::string(path), std::string());
    } else {
        setWorkingDirectoryParts(std::string(path.substr(0, split)), std::string(path.substr(split)));
    }
}

void Web::setWorkingDirectoryParts(std::string directory, std::string fileName) {
    m_workingDirectory = std::move(directory);
    m_workingFileName = std::move(fileName);
}

WebNode* Web::addLink(WebNode* from, const CUrl& url, std::int32_t level, bool fetchAnyway) {
    WebNode* target = nullptr;
    if (url.url().find('#') == std::string_view::npos) {
        target = findOrAddNode(url);
    } else {
        CUrl stripped(url);
        stripped.stripFragment();
        target = findOrAddNode(stripped);
    }
    if (fetchAnyway) {
        target->markFetchAnyway();
    }
    if (target->level() < 0) {
        target->setLevel(level);
        if (level > m_highestLevel) {
            m_highestLevel = level;
        }
        m_listener->nodeAdded(target, true, from);
        queue(target);
    }
    WebNode* linked = target;
    if (target->hasAnyFlag(kFlagStartAlias) && m_startNode != nullptr) {
        if (from != target && from != nullptr && target->linkIn(from)) {
            m_listener->linksChanged(target);
        }
        linked = m_startNode;
    }
    if (from != nullptr && from != linked) {
        from->linkOut(linked);
        if (linked->linkIn(from)) {
            m_listener->linksChanged(linked);
        }
    }
    return target;
}

void Web::placeOnSite(WebNode* node) const {
    if (m_startNode == nullptr) {
        return;
    }
    const std::uint32_t schemeBits = node->flags() & (kFlagFile | kFlagHttp);
    if (schemeBits == 0 || !m_startNode->hasAnyFlag(schemeBits)) {
        return;
    }
    const CUrl& url = node->url();
    bool local = equalsIgnoreCase(url.host(), m_startNode->url().host());
    for (const CUrl& extra : m_extraStartUrls) {
        local = local || equalsIgnoreCase(url.host(), extra.host());
    }
    if (!local) {
        return;
    }
    node->setFlags(kFlagLocalServer);
    bool inside = isInsideDirectory(url.baseDirectory(), m_startNode->url().baseDirectory());
    for (const CUrl& extra : m_extraStartUrls) {
        inside = inside || isInsideDirectory(url.baseDirectory(), extra.baseDirectory());
    }
    if (inside) {
        node->setFlags(kFlagInStartDirectory);
    }
}

void Web::classifyAndNumber(WebNode* node) {
    const CUrl& url = node->url();
    if (url.isFile()) {
        node->setFlags(kFlagFile);
    } else if (url.isHttp()) {
        node->setFlags(kFlagHttp);
    }
    placeOnSite(node);
    node->setNumber(m_nextNodeNumber++);
    if (m_byNumber.size() <= static_cast<std::size_t>(node->number())) {
        m_byNumber.resize(static_cast<std::size_t>(node->number()) + 1, nullptr);
    }
    m_byNumber[static_cast<std::size_t>(node->number())] = node;

    if (url.isGif() || url.isJpeg()) {
        node->setFlags(kFlagPicture);
        countKind(NodeKind::Picture, 1);
    } else if (url.isDocument()) {
        node->setFlags(kFlagDocument);
        countKind(NodeKind::Document, 1);
    } else if (url.isAudio()) {
        node->setFlags(kFlagAudio);
        countKind(NodeKind::Audio, 1);
    } else if (url.isVideo()) {
        node->setFlags(kFlagVideo);
        countKind(NodeKind::Video, 1);
    } else if (url.isFtp()) {
        node->setFlags(kFlagFtp | kFlagProcessed);
        countKind(NodeKind::Ftp, 1);
    } else if (url.isGopher()) {
        node->setFlags(kFlagGopher | kFlagProcessed);
        countKind(NodeKind::Gopher, 1);
    } else if (url.isMailto()) {
        node->setFlags(kFlagMail | kFlagProcessed);
        countKind(NodeKind::Mail, 1);
    } else {
        node->setFlags(kFlagOther);
        countKind(NodeKind::Other, 1);
    }
}

void Web::reclassifyByServerType(WebNode* node) {
    node->clearFlags(kFlagOther | kFlagProcessed | kFlagTypePending | kFlagTypeLearnedByFetch);
    const CUrl& url = node->url();
    NodeKind kind = NodeKind::Other;
    if (url.isGif() || url.isJpeg()) {
        node->setFlags(kFlagPicture);
        kind = NodeKind::Picture;
    } else if (url.isDocument()) {
        node->setFlags(kFlagDocument);
        kind = NodeKind::Document;
    } else if (url.isAudio()) {
        node->setFlags(kFlagAudio);
        kind = NodeKind::Audio;
    } else if (url.isVideo()) {
        node->setFlags(kFlagVideo);
        kind = NodeKind::Video;
    } else {
        node->setFlags(kFlagOther);
    }
    if (kind != NodeKind::Other) {
        countKind(kind, 1);
        countKind(NodeKind::Other, -1);
    }
}

void Web::makeAliasOfStartNode(WebNode* node) {
    m_listener->aliasFound(node);
    node->setFlags(kFlagStartAlias);
    for (WebNode* source : node->inNeighbours().sorted()) {
        // The start page's own link to its alias adds no self-link.
        if (source != nullptr && source != m_startNode) {
            m_startNode->linkIn(source);
        }
    }
    m_listener->linksChanged(m_startNode);
}

void Web::countKind(NodeKind kind, int delta) {
    m_counters[static_cast<std::size_t>(kind)] += static_cast<std::uint32_t>(delta);
}

} // namespace corvida

namespace corvida {

void Web::setUserAgent(std::string_view agent) {
    m_userAgent = agent;
    m_requestHeaders.userAgent = agent.empty() ? std::nullopt : std::optional<std::string>(agent);
}

void Web::setEmailAddress(std::string_view address) {
    m_emailAddress = address;
    m_requestHeaders.from = address.empty() ? std::nullopt : std::optional<std::string>(address);
}

void Web::configure(const ProjectOptions& options) {
    const bool unset = options.maximumLevel == 0;
    const std::int32_t level = unset ? kDefaultMaximumLevel : static_cast<std::int32_t>(options.maximumLevel);
    setMaximumLevel(KindRow::Documents, level);
    for (const KindRow row : {KindRow::Pictures, KindRow::Audio, KindRow::Video}) {
        setMaximumLevel(row, unset ? kDefaultMaximumLevel : level + 1);
    }
    setMaximumLevel(KindRow::OtherMedia, kDefaultMaximumLevel);
    const std::uint32_t testBits = options.checkExternal ? kOptionTestAll : kOptionTestLocal;
    setOptionByte(KindRow::Documents, (options.getDocuments ? 194u : 2u) + testBits);
    setOptionByte(KindRow::Pictures, (options.getPictures ? 193u : 192u) + testBits);
    setOptionByte(KindRow::Audio, (options.getAudio ? 193u : 192u) + testBits);
    setOptionByte(KindRow::Video, (options.getVideo ? 193u : 192u) + testBits);
    setOptionByte(KindRow::OtherMedia, kDefaultOptionByte);
}

bool Web::QueueLater::operator()(const QueueEntry& a, const QueueEntry& b) const {
    if (a.level != b.level) {
        return a.level > b.level;
    }
    return a.node->url().compare(b.node->url()) > 0;
}

void Web::queue(WebNode* node) {
    if (!m_queueBuilt || node->hasAnyFlag(kFlagProcessed)) {
        return;
    }
    m_queue.push_back(QueueEntry{node->level(), node});
    std::push_heap(m_queue.begin(), m_queue.end(), QueueLater{});
}

void Web::markUnprocessed(WebNode* node) {
    node->clearFlags(kFlagProcessed);
    queue(node);
}

WebNode* Web::pickNext(std::uint32_t kindMask) {
    if (!m_queueBuilt) {
        // Built on first use, so that a loaded project resumes with its unprocessed nodes.
        m_queueBuilt = true;
        for (const auto& node : m_owned) {
            queue(node.get());
        }
    }
    std::vector<QueueEntry> passedOver;
    WebNode* picked = nullptr;
    while (!m_queue.empty() && picked == nullptr) {
        std::pop_heap(m_queue.begin(), m_queue.end(), QueueLater{});
        const QueueEntry entry = m_queue.back();
        m_queue.pop_back();
        WebNode* node = entry.node;
        // An entry is stale when the node was processed since, or queued again meanwhile.
        if (node->hasAnyFlag(kFlagProcessed) || entry.level != node->level()) {
            continue;
        }
        if (!node->hasAnyFlag(kindMask)) {
            passedOver.push_back(entry);
            continue;
        }
        picked = node;
    }
    for (const QueueEntry& entry : passedOver) {
        m_queue.push_back(entry);
        std::push_heap(m_queue.begin(), m_queue.end(), QueueLater{});
    }
    return picked;
}

FetchSlot* Web::freeSlot() {
    for (const auto& slot : m_slots) {
        if (!slot->busy()) {
            return slot.get();
        }
    }
    return nullptr;
}

int Web::busySlotCount() const {
    return static_cast<int>(
        std::count_if(m_slots.begin(), m_slots.end(), [](const auto& slot) { return slot->busy(); }));
}

std::size_t Web::processedCount() const {
    return static_cast<std::size_t>(std::count_if(m_owned.begin(), m_owned.end(),
                                                  [](const auto& node) { return node->hasAnyFlag(kFlagProcessed); }));
}

std::size_t Web::brokenCount() const {
    return static_cast<std::size_t>(
        std::count_if(m_owned.begin(), m_owned.end(), [](const auto& node) { return node->isBroken(); }));
}

void Web::start() {
    FetchSlot* slot = freeSlot();
    if (slot == nullptr) {
        return;
    }
    if (m_robotsExclusion) {
        fetchRobots(*slot);
    }
    CUrl startUrl(m_startUrlText);
    startUrl.stripFragment();
    WebNode* start = findOrAddNode(startUrl);
    m_startNode = start;
    start->setLevel(0);
    start->setFlags(kFlagStart | kFlagLocalServer | kFlagInStartDirectory);
    m_listener->nodeAdded(start, true, nullptr);
    if (!start->hasAnyFlag(kFlagProcessed)) {
        process(start, *slot);
    }
}

void Web::fetchRobots(FetchSlot& slot) {
    m_listener->showText(kGettingRobots);
    const CUrl startUrl(m_startUrlText);
    bool found = false;
    if (startUrl.isHttp() && m_transfers != nullptr) {
        const std::string url =
            std::string(startUrl.scheme()) + "://" + std::string(startUrl.host()) + "/" + kRobotsFileName;
        const std::string path = m_workingDirectory + kRobotsFileName;
        RobotsListener listener;
        Transfer& transfer = slot.newTransfer(m_transfers->create(m_bufferSize));
        HttpRequestHeaders headers = m_requestHeaders;
        headers.authorization.reset();
        headers.ifModifiedSince = -1;
        if (transfer.getIntoFile(listener, url, path, headers, m_proxy) == 1) {
            transfer.waitUntilEnded();
        }
        found = listener.succeeded && listener.status == 200;
        if (found) {
            m_robotRules = RobotRules::parseFile(path, kRobotsVerbosity, m_userAgent);
            found = m_robotRules != nullptr;
        }
    }
    m_listener->endText(found ? kGotRobots : kNoRobots);
}

int Web::step(std::uint32_t kindMask) {
    FetchSlot* slot = freeSlot();
    if (slot == nullptr) {
        return kStepNoFreeSlot;
    }
    if (WebNode* node = pickNext(kindMask)) {
        process(node, *slot);
        return kStepStarted;
    }
    return busySlotCount() > 0 ? kStepWaiting : kStepComplete;
}

void Web::stopTransfers() {
    for (const auto& slot : m_slots) {
        if (slot->busy()) {
            WebNode* node = slot->node();
            slot->stop();
            if (node != nullptr) {
                node->clearFlags(kFlagTestStarted | kFlagFetchStarted);
                markUnprocessed(node);
            }
        }
    }
}

std::string Web::requestUrl(const WebNode* node) const {
    const std::string* request = node->text(WebNode::Text::RequestUrl);
    return request != nullptr ? *request : std::string(node->url().url());
}

bool Web::isOtherMedia(const WebNode* node) const {
    if (node->hasAnyFlag(kFlagPicture | kFlagAudio | kFlagVideo)) {
        return false;
    }
    switch (node->url().mimeIndexByExtension()) {
    case MimeTable::kTypeTextPlain:
    case MimeTable::kTypePostscript:
    case MimeTable::kTypePdf:
    case MimeTable::kTypeDirector:
    case MimeTable::kTypeVrml:
        return true;
    default:
        return false;
    }
}

void Web::process(WebNode* node, FetchSlot& slot) {
    node->setFlags(kFlagProcessed);
    if (m_robotsExclusion) {
        const std::string_view url = node->url().url();
        const std::size_t mark = url.find("://");
        std::string_view path = "/";
        if (mark != std::string_view::npos) {
            const std::size_t slash = url.find('/', mark + 3);
            if (slash != std::string_view::npos) {
                path = url.substr(slash);
            }
        }
        const std::uint32_t verdict = m_robotRules == nullptr                           ? kRobotsNoRules
                                      : RobotRules::isAllowed(m_robotRules.get(), path) ? kRobotsAllowed
                                                                                        : kRobotsExcluded;
        node->setRobotsVerdict(verdict);
        if (verdict == kRobotsExcluded) {
            return;
        }
    }

    KindRow row;
    if (node->hasAnyFlag(kFlagPicture)) {
        row = KindRow::Pictures;
    } else if (node->hasAnyFlag(kFlagAudio)) {
        row = KindRow::Audio;
    } else if (node->hasAnyFlag(kFlagVideo)) {
        row = KindRow::Video;
    } else if (isOtherMedia(node)) {
        row = KindRow::OtherMedia;
    } else if (node->hasAnyFlag(kFlagDocument)) {
        row = KindRow::Documents;
    } else {
        processOtherHttp(node, slot);
        return;
    }
    const std::int32_t limit = maximumLevel(row);
    const std::uint32_t options = optionByte(row);
    const bool localServer = node->hasAnyFlag(kFlagLocalServer);
    const bool inside = node->hasAnyFlag(kFlagInStartDirectory);
    const bool fetchable =
        node->level() < limit && (options & kOptionNeverFetch) == 0 &&
        ((options & kOptionFetchAnywhere) != 0 || (localServer && (options & kOptionFetchOnLocalServer) != 0) ||
         (inside && (options & kOptionFetchInStartDirectory) != 0));
    const bool local = localServer || inside;
    const bool testable =
        (local && (options & (kOptionTestLocal | kOptionTestAll)) != 0) || (!local && (options & kOptionTestAll) != 0);
    if (fetchable) {
        fetch(node, slot);
    } else if (testable) {
        test(node, slot);
    }
}

void Web::processOtherHttp(WebNode* node, FetchSlot& slot) {
    if (!node->hasAllFlags(kFlagHttp | kFlagOther)) {
        return;
    }
    if (node == m_startNode) {
        node->setFlags(kFlagTypePending);
        test(node, slot);
        return;
    }
    if (node->hasAnyFlag(kFlagTypeLearnedByTest) && node->fetchAnyway()) {
        fetch(node, slot);
        return;
    }
    const std::uint32_t options = optionByte(KindRow::Documents);
    const bool local = node->hasAnyFlag(kFlagLocalServer | kFlagInStartDirectory);
    const bool testable =
        (local && (options & (kOptionTestLocal | kOptionTestAll)) != 0) || (!local && (options & kOptionTestAll) != 0);
    if (testable && !node->hasAnyFlag(kFlagTypeLearnedByTest | kFlagTypeLearnedByFetch)) {
        node->setFlags(kFlagTypePending);
        test(node, slot);
    }
}

void Web::test(WebNode* node, FetchSlot& slot) {
    if (node->hasAnyFlag(kFlagFile)) {
        // A local file that cannot be found counts as broken like a failed HTTP test.
        node->setFlags(kFlagTestStarted);
        const std::string path = node->url().localPath();
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        if (!path.empty() && !error) {
            node->setSize(static_cast<std::int32_t>(std::min<std::uintmax_t>(size, INT32_MAX)));
            node->setLastModified(fileTime(path));
            node->setChecked(now());
            node->setFlags(kFlagTested);
            m_listener->nodeTested(node, true);
        } else {
            recordFailure(node, 404, kCouldNotGetFile, path, false);
        }
        return;
    }
    if (!node->hasAnyFlag(kFlagFullFetch) && !m_alwaysFetch) {
        node->setFlags(kFlagTestStarted);
        startTransfer(node, slot, true, {});
        return;
    }
    node->setFlags(kFlagFullFetch);
    fetch(node, slot);
}

void Web::fetch(WebNode* node, FetchSlot& slot) {
    m_listener->fetchStarting(node);
    const std::string target =
        m_workingDirectory +
        (node->hasAnyFlag(kFlagFetchToNewCopy) ? LocalNames::newCopy(*node) : LocalNames::workingCopy(*node));
    node->setFlags(node->hasAnyFlag(kFlagFullFetch) ? kFlagTestStarted : kFlagFetchStarted);
    if (node->hasAnyFlag(kFlagFile)) {
        fetchLocalFile(node, target);
        return;
    }
    startTransfer(node, slot, false, target);
}

void Web::fetchLocalFile(WebNode* node, const std::string& target) {
    const std::string path = node->url().localPath();
    std::error_code error;
    const bool regular = !path.empty() && std::filesystem::is_regular_file(path, error);
    if (regular) {
        std::filesystem::copy_file(path, target, std::filesystem::copy_options::overwrite_existing, error);
    }
    if (!regular || error) {
        recordFailure(node, 404, kCouldNotGetFile, path, false);
        return;
    }
    const auto size = std::filesystem::file_size(target, error);
    node->setSize(error ? 0 : static_cast<std::int32_t>(std::min<std::uintmax_t>(size, INT32_MAX)));
    node->setLastModified(fileTime(path));
    node->setChecked(now());
    if (node->hasAnyFlag(kFlagFullFetch)) {
        node->setFlags(kFlagTested);
        node->clearFlags(kFlagFullFetch);
        m_listener->nodeTested(node, true);
        return;
    }
    processFetchedFile(node);
}

void Web::startTransfer(WebNode* node, FetchSlot& slot, bool testingOnly, const std::string& target) {
    if (m_transfers == nullptr) {
        recordFailure(node, -1, {}, StringTable::text(kStringCannotInitialise), true);
        return;
    }
    slot.begin(node, testingOnly);
    slot.setTarget(target);
    m_listener->slotStarted(node, slot.index());
    HttpRequestHeaders headers = m_requestHeaders;
    const std::string* credentials = node->text(WebNode::Text::Credentials);
    headers.authorization = credentials != nullptr ? std::optional<std::string>(*credentials) : std::nullopt;
    headers.ifModifiedSince = !testingOnly && node->hasAnyFlag(kFlagEarlierCopy) ? node->checked() : -1;
    Transfer& transfer = slot.newTransfer(m_transfers->create(m_bufferSize));
    const std::string url = requestUrl(node);
    if (testingOnly) {
        transfer.head(slot, url, headers, m_proxy);
        return;
    }
    if (transfer.getIntoFile(slot, url, target, headers, m_proxy) == 0 && slot.busy() && slot.node() == node) {
        // The output file could not be created, so the transfer never reports: the node
        // fails here instead of holding its slot.
        recordFailure(node, -1, {}, StringTable::text(kStringWriteFailed), true);
        m_listener->transferEnded(false, StringTable::text(kStringWriteFailed), slot.index());
        slot.finish();
        m_listener->slotFreed(node, slot.index());
    }
}

void Web::recordFailure(WebNode* node, int status, std::string_view reason, std::string_view detail, bool tell) {
    node->setStatus(status, reason, detail);
    if (tell) {
        m_listener->nodeFailed(node, status, detail);
    }
}

void Web::headersArrived(FetchSlot& slot, int status, std::string_view reason, const HttpReplyHeaders& reply,
                         const HttpEntityHeaders& entity) {
    WebNode* node = slot.node();
    slot.setAnswer(status, reason, reply.wwwAuthenticate.value_or(std::string()));
    if (node == nullptr) {
        return;
    }
    // The node shows the status of its last answer, whatever the answer was.
    node->setHttpStatus(status);
    if (entity.contentType) {
        node->url().setMimeIndexByServer(*entity.contentType);
    }
    bool reclassified = false;
    if (status == 200) {
        node->setExpires(entity.expires);
        node->setLastModified(entity.lastModified);
        if (entity.contentLength >= 0) {
            node->setSize(entity.contentLength);
        }
        node->setChecked(now());
        if (node->hasAnyFlag(kFlagTypePending)) {
            reclassifyByServerType(node);
            node->setFlags(node->hasAnyFlag(kFlagFullFetch) || slot.testingOnly() ? kFlagTypeLearnedByTest
                                                                                  : kFlagTypeLearnedByFetch);
            reclassified = !node->hasAnyFlag(kFlagOther);
        }
    } else if (status == 301 || status == 302) {
        if (reply.location && !reply.location->empty()) {
            node->countRedirect();
            if (node->redirectCount() > kMaxRedirects) {
                recordFailure(node, status, reason, StringTable::text(kStringTooManyRedirects), true);
            } else {
                // A relative location (common, though HTTP/1.0 asks for absolute ones) is
                // resolved against the URL that was requested.
                const std::string& location = *reply.location;
                const std::string resolved =
                    isAbsolute(location) ? location
                                         : std::string(CUrl(location, CUrl(requestUrl(node)).baseDirectory()).url());
                node->setRequestUrl(resolved);
                node->clearFlags(kFlagProcessed);
            }
        }
    } else if (status == 304) {
        // The kept copy stands; the end of the transfer processes it.
    } else if (status == 401) {
        node->setStatus(status, reason, {});
        node->clearFlags(kFlagProcessed);
    } else if (slot.testingOnly()) {
        if (node->hasAnyFlag(kFlagTypePending) && !node->hasAnyFlag(kFlagFullFetch)) {
            node->setFlags(kFlagFullFetch);
            node->clearFlags(kFlagProcessed | kFlagTypePending | kFlagTypeLearnedByFetch);
        }
    } else {
        recordFailure(node, status, reason, {}, true);
    }
    m_listener->answerArrived(status, reason, slot.index());
    if (reclassified) {
        m_listener->nodeReclassified(node);
    }
}

void Web::transferFinished(FetchSlot& slot, bool success, int stringNumber) {
    WebNode* node = slot.node();
    const std::string_view text = StringTable::text(stringNumber);
    const int status = slot.status();
    const int index = slot.index();
    if (node != nullptr) {
        const bool fullFetch = node->hasAnyFlag(kFlagFullFetch);
        // A body that will not be processed (an error page, a redirect notice, a GET made only
        // to learn the type) is not kept as the node's copy.
        const bool bodyUsed = (success && status == 200 && !fullFetch) || status == 304;
        if (!slot.testingOnly() && !bodyUsed && !slot.target().empty()) {
            std::error_code ignored;
            std::filesystem::remove(slot.target(), ignored);
        }
        if (success && status == 200) {
            if (slot.testingOnly()) {
                node->setFlags(kFlagTested);
                m_listener->nodeTested(node, true);
            } else if (fullFetch) {
                node->setFlags(kFlagTested);
                node->clearFlags(kFlagFullFetch);
                m_listener->nodeTested(node, true);
            } else {
                node->setFlags(kFlagFetched);
                processFetchedFile(node);
            }
        } else if (status == 304) {
            node->setFlags(kFlagNotModified | kFlagFetched);
            processFetchedFile(node);
        } else if (status == 401) {
            answerChallenge(node, slot);
        } else if (status == 301 || status == 302) {
            if (!slot.testingOnly() && !fullFetch && node->redirectCount() <= kMaxRedirects) {
                recordFailure(node, status, slot.reason(), {}, true);
            }
        } else if (slot.testingOnly() && !fullFetch) {
            node->setFlags(kFlagFullFetch);
            node->clearFlags(kFlagProcessed);
            node->setHttpStatus(-1);
        } else {
            recordFailure(node, status, slot.reason(), text, true);
        }
        // A node that the answer made unprocessed is queued only now, so that no other slot
        // picks it while this transfer still runs.
        queue(node);
    }
    m_listener->transferEnded(success, text, index);
    slot.finish();
    m_listener->slotFreed(node, index);
}

void Web::answerChallenge(WebNode* node, const FetchSlot& slot) {
    const std::optional<std::string> realm = HttpReplyHeaders::challengeRealm(slot.challenge());
    std::optional<std::string> credentials;
    if (realm && !m_realms.declined(*realm)) {
        if (node->text(WebNode::Text::Credentials) != nullptr) {
            m_realms.forget(*realm); // the cached credentials were just refused
        }
        if (const std::string* cached = m_realms.credentials(*realm)) {
            credentials = *cached;
        } else {
            std::string user;
            std::string password;
            if (m_listener->getCredentials(requestUrl(node), user, password)) {
                std::string text = HttpRequestHeaders::basicCredentials(user.substr(0, 511), password.substr(0, 511));
                credentials = text.substr(0, 511);
                m_realms.store(*realm, *credentials);
            } else {
                m_realms.decline(*realm);
            }
        }
    }
    if (credentials) {
        node->setCredentials(*credentials);
        node->clearFlags(kFlagProcessed);
    } else {
        node->setFlags(kFlagProcessed);
    }
}

void Web::processFetchedFile(WebNode* node) {
    FetchedFileProcessor(*this).process(node);
}

} // namespace corvida
