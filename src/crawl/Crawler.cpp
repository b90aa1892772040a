// SPDX-License-Identifier: MIT
#include "crawl/Crawler.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "crawl/FetchedFileProcessor.h"
#include "model/LocalNames.h"
#include "model/MimeTable.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "net/HttpReplyHeaders.h"
#include "net/StringTable.h"
#include "net/TransferFactory.h"
#include "platform/DiskFile.h"

namespace corvida {

namespace {

constexpr const char* kGettingRobots = "Getting robots.txt file...";
constexpr const char* kGotRobots = "Got robots.txt file";
constexpr const char* kNoRobots = "No robots.txt file for this server";
constexpr const char* kRobotsFileName = "robots.txt";
constexpr const char* kCouldNotGetFile = "COULD NOT GET FILE";
constexpr const char* kSubDirectories[] = {"temp", "docs", "images", "mmedia", "report"};
constexpr int kRobotsVerbosity = 0;
// Credentials, user names and passwords are cut to this many bytes.
constexpr std::size_t kCredentialsLimit = 511;
// Answers of a server too busy for the request now; the same request may succeed later.
constexpr int kStatusTooManyRequests = 429;
constexpr int kStatusServiceUnavailable = 503;

std::int32_t now() {
    return static_cast<std::int32_t>(std::time(nullptr));
}

// The file's last modification, in seconds since 1970, or -1.
std::int32_t fileTime(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return -1;
    }
    return static_cast<std::int32_t>(status.st_mtime);
}

std::optional<std::string> textOrNone(const std::string& text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

// The answers that send a node on to their Location: moved (301, 308), found (302), see other
// (303) and temporary (307). Each is followed with the method of the request it answered.
bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Where a redirect's location leads: a relative location (common, though HTTP/1.0 asks for
// absolute ones) is resolved against the URL that was requested.
std::string redirectTarget(const std::string& location, const std::string& requested) {
    return isAbsolute(location) ? location : std::string(CUrl(location, CUrl(requested).baseDirectory()).url());
}

} // namespace

static_assert(Crawler::kMaxRedirects <= static_cast<int>(WebNode::kMaxRedirectHops),
              "a node keeps every redirect the crawl follows for it");

Crawler::Crawler(Web& web, TransferFactory* transfers, ImagingLibrary* imaging, int slotCount)
    : m_web(web), m_transfers(transfers), m_imaging(imaging) {
    CrawlSettings& settings = m_web.settings();
    // A buffer size read from a project file may be anything; a transfer needs a sane one.
    if (settings.bufferSize < 1 || settings.bufferSize > kMaxBufferSize) {
        settings.bufferSize = kDefaultBufferSize;
    }
    for (int i = 0; i < std::max(slotCount, 1); ++i) {
        m_slots.push_back(std::make_unique<FetchSlot>(*this, i));
    }
    for (const char* sub : kSubDirectories) {
        std::error_code ignored; // a directory that cannot be made fails the files written into it
        std::filesystem::create_directories(settings.workingDirectory + sub, ignored);
    }
    m_requestHeaders.accept = settings.accept;
    m_requestHeaders.userAgent = textOrNone(settings.userAgent);
    m_requestHeaders.from = textOrNone(settings.emailAddress);
}

// Each fetch slot stops its running transfer silently as it goes.
Crawler::~Crawler() = default;

CrawlQueue::TimePoint Crawler::clockNow() const {
    return m_clock ? m_clock() : CrawlQueue::Clock::now();
}

void Crawler::queue(WebNode* node) {
    if (m_queueBuilt) {
        m_queue.push(node);
    }
}

void Crawler::markUnprocessed(WebNode* node) {
    node->clearFlags(kFlagProcessed);
    queue(node);
}

WebNode* Crawler::pickNext(std::uint32_t kindMask) {
    if (!m_queueBuilt) {
        // Built on first use, so that a loaded project resumes with its unprocessed nodes.
        m_queueBuilt = true;
        for (WebNode* node : m_web.nodes()) {
            queue(node);
        }
    }
    return m_queue.pop(kindMask, clockNow());
}

FetchSlot* Crawler::freeSlot() {
    for (const auto& slot : m_slots) {
        if (!slot->busy()) {
            return slot.get();
        }
    }
    return nullptr;
}

int Crawler::busySlotCount() const {
    return static_cast<int>(
        std::count_if(m_slots.begin(), m_slots.end(), [](const auto& slot) { return slot->busy(); }));
}

void Crawler::start() {
    FetchSlot* slot = freeSlot();
    if (slot == nullptr) {
        return;
    }
    m_phase = Phase::Crawling;
    if (m_web.settings().robotsExclusion) {
        m_web.listener().showText(kGettingRobots);
        if (startRobots(*slot)) {
            return;
        }
        m_web.listener().endText(kNoRobots);
    }
    addStartNode(*slot);
}

bool Crawler::startRobots(FetchSlot& slot) {
    const CrawlSettings& settings = m_web.settings();
    const CUrl startUrl(settings.startUrl);
    if (!startUrl.isHttp() || m_transfers == nullptr) {
        return false;
    }
    m_robotsRedirects = 0;
    return requestRobots(slot,
                         std::string(startUrl.scheme()) + "://" + std::string(startUrl.host()) + "/" + kRobotsFileName);
}

bool Crawler::requestRobots(FetchSlot& slot, std::string url) {
    const CrawlSettings& settings = m_web.settings();
    m_robotsUrl = url;
    m_robotsLocation.clear();
    slot.begin(nullptr, false);
    slot.setTarget(settings.workingDirectory + kRobotsFileName);
    HttpRequestHeaders headers = m_requestHeaders;
    headers.authorization.reset();
    headers.ifModifiedSince = -1;
    m_phase = Phase::Robots;
    Transfer& transfer = slot.newTransfer(m_transfers->create(settings.bufferSize));
    const TransferStart started = transfer.getIntoFile(slot, url, slot.target(), headers, settings.proxy);
    if (started == TransferStart::FileNotCreated) {
        slot.finish();
        m_phase = Phase::Crawling;
        return false;
    }
    // A request that failed at once has ended already, and the start node is added.
    return true;
}

void Crawler::robotsFinished(FetchSlot& slot, bool success) {
    const CrawlSettings& settings = m_web.settings();
    if (isRedirect(slot.status()) && !m_robotsLocation.empty() && m_robotsRedirects < kMaxRedirects) {
        // Sites that moved to https redirect their robots.txt too; its rules still hold. The
        // request goes again from the next step, not from inside this report.
        ++m_robotsRedirects;
        slot.finish();
        m_phase = Phase::RobotsMoved;
        m_web.listener().slotFreed(nullptr, slot.index());
        return;
    }
    bool found = success && slot.status() == 200;
    if (found) {
        m_robotRules = RobotRules::parseFile(slot.target(), kRobotsVerbosity, settings.userAgent);
        found = m_robotRules != nullptr;
    }
    m_web.listener().endText(found ? kGotRobots : kNoRobots);
    slot.finish();
    m_phase = Phase::StartNode;
    m_web.listener().slotFreed(nullptr, slot.index());
}

void Crawler::addStartNode(FetchSlot& slot) {
    m_phase = Phase::Crawling;
    CUrl startUrl(m_web.settings().startUrl);
    startUrl.stripFragment();
    WebNode* start = m_web.findOrAddNode(startUrl);
    m_web.setStartNode(start);
    start->setLevel(0);
    start->setFlags(kFlagStart | kFlagLocalServer | kFlagInStartDirectory);
    m_web.listener().nodeAdded(start, true, nullptr);
    if (!start->hasAnyFlag(kFlagProcessed)) {
        process(start, slot);
    }
}

Crawler::Step Crawler::step(std::uint32_t kindMask) {
    FetchSlot* slot = freeSlot();
    if (slot == nullptr) {
        return Step::NoFreeSlot;
    }
    switch (m_phase) {
    case Phase::Restart:
        start();
        return Step::Started;
    case Phase::RobotsMoved:
        if (!requestRobots(*slot, m_robotsLocation)) {
            m_web.listener().endText(kNoRobots);
            addStartNode(*slot);
        }
        return Step::Started;
    case Phase::Robots:
        return Step::Waiting;
    case Phase::StartNode:
        addStartNode(*slot);
        return Step::Started;
    case Phase::Crawling:
        break;
    }
    if (WebNode* node = pickNext(kindMask)) {
        process(node, *slot);
        return Step::Started;
    }
    return busySlotCount() > 0 || !m_parked.empty() || m_queue.hasWaiting() ? Step::Waiting : Step::Complete;
}

std::optional<std::chrono::milliseconds> Crawler::timeUntilDue() const {
    const std::optional<CrawlQueue::TimePoint> due = m_queue.nextDue();
    if (!due) {
        return std::nullopt;
    }
    return std::max(std::chrono::ceil<std::chrono::milliseconds>(*due - clockNow()), std::chrono::milliseconds::zero());
}

void Crawler::stopTransfers() {
    for (const auto& slot : m_slots) {
        if (slot->busy()) {
            WebNode* node = slot->node();
            m_queue.requestEnded(slot->host(), clockNow());
            slot->stop();
            if (node != nullptr) {
                node->clearFlags(kFlagTestStarted | kFlagFetchStarted);
                markUnprocessed(node);
            }
        }
    }
    for (WebNode* node : m_queue.takeDeferred()) {
        markUnprocessed(node);
    }
    if (m_phase == Phase::Robots) {
        // The robots.txt request goes again when the crawl goes on.
        m_phase = Phase::Restart;
    }
}

std::string Crawler::requestUrl(const WebNode* node) const {
    return std::string(node->address());
}

Crawler::BodyPlace Crawler::bodyPlace(const WebNode* node) const {
    // A node with a copy from an earlier crawl is compared with it on disk.
    if (node->hasAnyFlag(kFlagEarlierCopy | kFlagFetchToNewCopy)) {
        return BodyPlace::File;
    }
    // A GET that only learns the type never uses the body.
    if (node->hasAnyFlag(kFlagFullFetch)) {
        return BodyPlace::Nowhere;
    }
    return FetchedFileProcessor::parsesWithoutCopy(m_web, *node) ? BodyPlace::Memory : BodyPlace::File;
}

bool Crawler::isOtherMedia(const WebNode* node) const {
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

bool Crawler::mayFetch(const WebNode* node, std::int32_t limit, std::uint32_t options) const {
    const bool localServer = node->hasAnyFlag(kFlagLocalServer);
    const bool inside = node->hasAnyFlag(kFlagInStartDirectory);
    return node->level() < limit && (options & kOptionNeverFetch) == 0 &&
           ((options & kOptionFetchAnywhere) != 0 || (localServer && (options & kOptionFetchOnLocalServer) != 0) ||
            (inside && (options & kOptionFetchInStartDirectory) != 0));
}

bool Crawler::isStyleSheetToFetch(const WebNode* node) const {
    if (!node->hasAnyFlag(kFlagHttp | kFlagFile) || !FetchedFileProcessor::isStyleSheet(*node)) {
        return false;
    }
    // A style sheet belongs to the pages that name it, as their pictures do: it is read down
    // to the pictures' level, so that the pictures only it names are found one level below
    // it. Where it is fetched follows the pages' rule.
    const CrawlSettings& settings = m_web.settings();
    return mayFetch(node, settings.maximumLevel(KindRow::Pictures), settings.optionByte(KindRow::Documents));
}

void Crawler::process(WebNode* node, FetchSlot& slot) {
    node->setFlags(kFlagProcessed);
    if (m_web.settings().robotsExclusion) {
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
    } else if (isStyleSheetToFetch(node)) {
        fetch(node, slot);
        return;
    } else {
        processOtherHttp(node, slot);
        return;
    }
    const std::uint32_t options = m_web.settings().optionByte(row);
    const bool fetchable = mayFetch(node, m_web.settings().maximumLevel(row), options);
    const bool local = node->hasAnyFlag(kFlagLocalServer | kFlagInStartDirectory);
    const bool testable =
        (local && (options & (kOptionTestLocal | kOptionTestAll)) != 0) || (!local && (options & kOptionTestAll) != 0);
    if (fetchable) {
        fetch(node, slot);
    } else if (testable) {
        test(node, slot);
    }
}

void Crawler::processOtherHttp(WebNode* node, FetchSlot& slot) {
    if (!node->hasAllFlags(kFlagHttp | kFlagOther)) {
        return;
    }
    if (node == m_web.startNode()) {
        // Once a test has told its type and it stayed an other file, the start node is done:
        // testing it again would learn the same and never end the crawl.
        if (!node->hasAnyFlag(kFlagTypeLearnedByTest)) {
            node->setFlags(kFlagTypePending);
            test(node, slot);
        }
        return;
    }
    if (node->hasAnyFlag(kFlagTypeLearnedByTest) && node->fetchAnyway()) {
        fetch(node, slot);
        return;
    }
    const std::uint32_t options = m_web.settings().optionByte(KindRow::Documents);
    const bool local = node->hasAnyFlag(kFlagLocalServer | kFlagInStartDirectory);
    const bool testable =
        (local && (options & (kOptionTestLocal | kOptionTestAll)) != 0) || (!local && (options & kOptionTestAll) != 0);
    if (testable && !node->hasAnyFlag(kFlagTypeLearnedByTest | kFlagTypeLearnedByFetch)) {
        node->setFlags(kFlagTypePending);
        test(node, slot);
    }
}

void Crawler::test(WebNode* node, FetchSlot& slot) {
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
            m_web.listener().nodeTested(node, true);
        } else {
            recordFailure(node, 404, kCouldNotGetFile, path, false);
        }
        return;
    }
    if (!node->hasAnyFlag(kFlagFullFetch) && !m_web.settings().alwaysFetch) {
        node->setFlags(kFlagTestStarted);
        startTransfer(node, slot, true, {});
        return;
    }
    node->setFlags(kFlagFullFetch);
    fetch(node, slot);
}

void Crawler::fetch(WebNode* node, FetchSlot& slot) {
    m_web.listener().fetchStarting(node);
    const std::string target =
        m_web.workingDirectory() +
        (node->hasAnyFlag(kFlagFetchToNewCopy) ? LocalNames::newCopy(*node) : LocalNames::workingCopy(*node));
    node->setFlags(node->hasAnyFlag(kFlagFullFetch) ? kFlagTestStarted : kFlagFetchStarted);
    if (node->hasAnyFlag(kFlagFile)) {
        fetchLocalFile(node, target);
        return;
    }
    startTransfer(node, slot, false, target);
}

void Crawler::fetchLocalFile(WebNode* node, const std::string& target) {
    const std::string path = node->url().localPath();
    std::error_code error;
    const bool regular = !path.empty() && std::filesystem::is_regular_file(path, error);
    // A page without a kept copy is read where it lies instead of being copied first.
    std::optional<std::string> body;
    if (regular && bodyPlace(node) == BodyPlace::Memory) {
        const auto size = std::filesystem::file_size(path, error);
        if (!error && size <= kMaxBodyInMemory && DiskFile::readAll(path, body.emplace()).isOk()) {
            node->setSize(static_cast<std::int32_t>(body->size()));
        } else {
            body.reset();
        }
    }
    if (regular && !body) {
        std::filesystem::copy_file(path, target, std::filesystem::copy_options::overwrite_existing, error);
        if (!error) {
            const auto size = std::filesystem::file_size(target, error);
            node->setSize(error ? 0 : static_cast<std::int32_t>(std::min<std::uintmax_t>(size, INT32_MAX)));
            error.clear();
        }
    }
    if (!regular || error) {
        recordFailure(node, 404, kCouldNotGetFile, path, false);
        return;
    }
    node->setLastModified(fileTime(path));
    node->setChecked(now());
    if (node->hasAnyFlag(kFlagFullFetch)) {
        node->setFlags(kFlagTested);
        node->clearFlags(kFlagFullFetch);
        m_web.listener().nodeTested(node, true);
        return;
    }
    processFetchedFile(node, body ? &*body : nullptr);
}

void Crawler::startTransfer(WebNode* node, FetchSlot& slot, bool testingOnly, const std::string& target) {
    if (m_transfers == nullptr) {
        recordFailure(node, -1, {}, StringTable::text(kStringCannotInitialise), true);
        return;
    }
    slot.begin(node, testingOnly);
    slot.setTarget(target);
    slot.setHost(CrawlQueue::hostKey(requestUrl(node)));
    m_queue.requestStarted(slot.host(), clockNow());
    m_web.listener().slotStarted(node, slot.index());
    if (!node->text(WebNode::Text::RequestUrl)) {
        // Asked for at its own URL, the node starts a new chain of redirects; a chain from an
        // earlier crawl must not grow on toward the limit.
        node->clearRedirects();
    }
    HttpRequestHeaders headers = m_requestHeaders;
    const std::optional<std::string_view> credentials = node->text(WebNode::Text::Credentials);
    headers.authorization = credentials ? std::optional<std::string>(*credentials) : std::nullopt;
    headers.ifModifiedSince = !testingOnly && node->hasAnyFlag(kFlagEarlierCopy) ? node->checked() : -1;
    const CrawlSettings& settings = m_web.settings();
    Transfer& transfer = slot.newTransfer(m_transfers->create(settings.bufferSize));
    const std::string url = requestUrl(node);
    if (testingOnly) {
        transfer.head(slot, url, headers, settings.proxy);
        return;
    }
    const BodyPlace place = bodyPlace(node);
    if (place != BodyPlace::File) {
        transfer.getIntoMemory(slot, url, place == BodyPlace::Memory ? kMaxBodyInMemory : 0,
                               place == BodyPlace::Memory ? target : std::string(), headers, settings.proxy);
        return;
    }
    if (transfer.getIntoFile(slot, url, target, headers, settings.proxy) == TransferStart::FileNotCreated) {
        // The output file could not be created, so the transfer never reports: the node
        // fails here instead of holding its slot.
        recordFailure(node, -1, {}, StringTable::text(kStringWriteFailed), true);
        m_web.listener().transferEnded(false, StringTable::text(kStringWriteFailed), slot.index());
        m_queue.requestEnded(slot.host(), clockNow());
        slot.finish();
        m_web.listener().slotFreed(node, slot.index());
    }
}

void Crawler::recordFailure(WebNode* node, int status, std::string_view reason, std::string_view detail, bool tell) {
    node->setStatus(status, reason, detail);
    if (tell) {
        m_web.listener().nodeFailed(node, status, detail);
    }
}

void Crawler::headersArrived(FetchSlot& slot, int status, std::string_view reason, const HttpReplyHeaders& reply,
                             const HttpEntityHeaders& entity) {
    WebNode* node = slot.node();
    slot.setAnswer(status, reason, reply.wwwAuthenticate.value_or(std::string()));
    if (node == nullptr) {
        if (isRedirect(status) && reply.location && !reply.location->empty()) {
            m_robotsLocation = redirectTarget(*reply.location, m_robotsUrl);
        }
        return;
    }
    // The node shows the status of its last answer, whatever the answer was.
    node->setHttpStatus(status);
    if (status == kStatusTooManyRequests) {
        m_queue.slowDown(slot.host());
    }
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
            m_web.reclassifyByServerType(node);
            node->setFlags(node->hasAnyFlag(kFlagFullFetch) || slot.testingOnly() ? kFlagTypeLearnedByTest
                                                                                  : kFlagTypeLearnedByFetch);
            reclassified = !node->hasAnyFlag(kFlagOther);
        }
    } else if (isRedirect(status)) {
        if (reply.location && !reply.location->empty()) {
            if (node->redirectCount() >= kMaxRedirects) {
                recordFailure(node, status, reason, StringTable::text(kStringTooManyRedirects), true);
            } else {
                const std::string& location = *reply.location;
                const std::string resolved = redirectTarget(location, requestUrl(node));
                node->addRedirect(RedirectHop{status, location, resolved});
                node->setRequestUrl(resolved);
                node->clearFlags(kFlagProcessed);
            }
        }
    } else if (status == 304) {
        // The kept copy stands; the end of the transfer processes it.
    } else if (status == 401) {
        node->setStatus(status, reason, {});
        node->clearFlags(kFlagProcessed);
    } else if (shouldRetry(node, status)) {
        // A date is taken against the server's own clock when it sent one.
        const std::int32_t reference = reply.date >= 0 ? reply.date : now();
        slot.setRetryAfter(reply.retryAfter ? HttpReplyHeaders::retryDelay(*reply.retryAfter, reference)
                                            : std::nullopt);
    } else if (slot.testingOnly()) {
        if (node->hasAnyFlag(kFlagTypePending) && !node->hasAnyFlag(kFlagFullFetch)) {
            node->setFlags(kFlagFullFetch);
            node->clearFlags(kFlagProcessed | kFlagTypePending | kFlagTypeLearnedByFetch);
        }
    } else {
        recordFailure(node, status, reason, {}, true);
    }
    m_web.listener().answerArrived(status, reason, slot.index());
    if (reclassified) {
        m_web.listener().nodeReclassified(node);
    }
}

void Crawler::transferFinished(FetchSlot& slot, bool success, std::string_view text) {
    if (m_phase == Phase::Robots && slot.node() == nullptr) {
        robotsFinished(slot, success);
        return;
    }
    WebNode* node = slot.node();
    const int status = slot.status();
    const int index = slot.index();
    if (node != nullptr) {
        bool parked = false;
        const bool fullFetch = node->hasAnyFlag(kFlagFullFetch);
        // A body that will not be processed (an error page, a redirect notice, a GET made only
        // to learn the type) is not kept as the node's copy. A body still in memory never
        // reached the disk.
        const bool bodyUsed = (success && status == 200 && !fullFetch) || status == 304;
        const std::optional<std::string> body = slot.takeBody();
        if (!slot.testingOnly() && !bodyUsed && !slot.target().empty() && !body) {
            std::error_code error;
            if (!std::filesystem::remove(slot.target(), error) && error) {
                m_web.listener().showStatusText("Cannot remove " + slot.target() + ": " + error.message());
            }
        }
        if (success && status == 200) {
            if (slot.testingOnly()) {
                node->setFlags(kFlagTested);
                m_web.listener().nodeTested(node, true);
            } else if (fullFetch) {
                node->setFlags(kFlagTested);
                node->clearFlags(kFlagFullFetch);
                m_web.listener().nodeTested(node, true);
            } else {
                node->setFlags(kFlagFetched);
                processFetchedFile(node, body ? &*body : nullptr);
            }
        } else if (status == 304) {
            node->setFlags(kFlagNotModified | kFlagFetched);
            processFetchedFile(node);
        } else if (status == 401) {
            parked = answerChallenge(node, slot);
        } else if (isRedirect(status)) {
            // A node that took one redirect too many has failed with its reason already; a
            // followed redirect left it unprocessed.
            const bool refused = node->hasAnyFlag(kFlagProcessed) && node->redirectCount() >= kMaxRedirects;
            if (!slot.testingOnly() && !fullFetch && !refused) {
                recordFailure(node, status, slot.reason(), {}, true);
            }
        } else if (shouldRetry(node, status)) {
            scheduleRetry(node, slot);
        } else if (slot.testingOnly() && !fullFetch) {
            node->setFlags(kFlagFullFetch);
            node->clearFlags(kFlagProcessed);
            node->setHttpStatus(-1);
        } else {
            recordFailure(node, status, slot.reason(), text, true);
        }
        // A node that the answer made unprocessed is queued only now, so that no other slot
        // picks it while this transfer still runs; a parked node waits for its realm, and a
        // node to be retried for its time.
        if (!parked) {
            queue(node);
        }
    }
    m_queue.requestEnded(slot.host(), clockNow());
    m_web.listener().transferEnded(success, text, index);
    slot.finish();
    m_web.listener().slotFreed(node, index);
}

bool Crawler::shouldRetry(const WebNode* node, int status) const {
    if (status != kStatusTooManyRequests && status != kStatusServiceUnavailable) {
        return false;
    }
    const auto retried = m_retries.find(node);
    return retried == m_retries.end() || retried->second < kMaxRetries;
}

void Crawler::scheduleRetry(WebNode* node, const FetchSlot& slot) {
    const int attempt = ++m_retries[node];
    ++m_retried;
    // Without a usable Retry-After the waits double: 1, 2, 4 seconds.
    const std::chrono::seconds wait =
        slot.retryAfter() ? std::chrono::seconds(std::min<std::int64_t>(*slot.retryAfter(), kMaxRetryWait.count()))
                          : std::chrono::seconds(1 << (attempt - 1));
    // Until then the node is neither processed nor failed: it waits as if never requested.
    node->clearFlags(kFlagProcessed | kFlagTestStarted | kFlagFetchStarted);
    node->setHttpStatus(-1);
    m_queue.defer(node, clockNow() + wait);
}

bool Crawler::answerChallenge(WebNode* node, const FetchSlot& slot) {
    const std::optional<std::string> realm = HttpReplyHeaders::challengeRealm(slot.challenge());
    if (!realm || m_realms.declined(*realm)) {
        node->setFlags(kFlagProcessed);
        return false;
    }
    if (node->text(WebNode::Text::Credentials)) {
        m_realms.forget(*realm); // the cached credentials were just refused
    }
    if (const std::string* cached = m_realms.credentials(*realm)) {
        node->setCredentials(*cached);
        node->clearFlags(kFlagProcessed);
        return false;
    }
    const auto [parked, first] = m_parked.try_emplace(*realm);
    parked->second.push_back(node);
    if (first) {
        // The answer may come during this call; the realm's entry is complete by then.
        m_web.listener().credentialsNeeded(requestUrl(node), *realm);
    }
    return true;
}

void Crawler::provideCredentials(std::string_view realm, std::string_view user, std::string_view password) {
    const auto parked = m_parked.find(realm);
    if (parked == m_parked.end()) {
        return;
    }
    const std::string credentials =
        HttpRequestHeaders::basicCredentials(user.substr(0, kCredentialsLimit), password.substr(0, kCredentialsLimit))
            .substr(0, kCredentialsLimit);
    m_realms.store(realm, credentials);
    const std::vector<WebNode*> nodes = std::move(parked->second);
    m_parked.erase(parked);
    for (WebNode* node : nodes) {
        node->setCredentials(credentials);
        node->clearFlags(kFlagProcessed);
        queue(node);
    }
}

void Crawler::skipRealm(std::string_view realm) {
    m_realms.decline(realm);
    const auto parked = m_parked.find(realm);
    if (parked == m_parked.end()) {
        return;
    }
    const std::vector<WebNode*> nodes = std::move(parked->second);
    m_parked.erase(parked);
    for (WebNode* node : nodes) {
        node->setFlags(kFlagProcessed);
    }
}

void Crawler::processFetchedFile(WebNode* node, const std::string* body) {
    FetchedFileProcessor(m_web, m_imaging, m_reached).process(node, body);
    // The links of a page reach new nodes; they join the queue only now, all at once.
    for (WebNode* reached : m_reached) {
        queue(reached);
    }
    m_reached.clear();
}

} // namespace corvida
