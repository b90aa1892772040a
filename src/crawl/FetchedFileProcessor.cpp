// SPDX-License-Identifier: MIT
#include "crawl/FetchedFileProcessor.h"

#include <algorithm>
#include <climits>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "base/Ascii.h"
#include "crawl/Thumbnailer.h"
#include "crawl/WebLinkSink.h"
#include "html/HtmlDocument.h"
#include "html/LinkExtractor.h"
#include "html/StyleSheetLinkExtractor.h"
#include "model/LocalNames.h"
#include "model/MimeTable.h"
#include "model/Web.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

namespace fs = std::filesystem;

// True when the file at path can be read and holds exactly bytes; any error counts as different.
bool fileHolds(const std::string& path, std::string_view bytes) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error || size != bytes.size()) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    char buffer[65536];
    while (file && !bytes.empty()) {
        file.read(buffer, static_cast<std::streamsize>(std::min(sizeof buffer, bytes.size())));
        const auto count = static_cast<std::size_t>(file.gcount());
        if (count == 0 || bytes.substr(0, count) != std::string_view(buffer, count)) {
            return false;
        }
        bytes.remove_prefix(count);
    }
    return bytes.empty();
}

// True when both files can be read and hold the same bytes; any error counts as different.
bool sameContent(const std::string& a, const std::string& b) {
    std::error_code error;
    const auto sizeA = fs::file_size(a, error);
    if (error) {
        return false;
    }
    const auto sizeB = fs::file_size(b, error);
    if (error || sizeA != sizeB) {
        return false;
    }
    std::ifstream fileA(a, std::ios::binary);
    std::ifstream fileB(b, std::ios::binary);
    if (!fileA || !fileB) {
        return false;
    }
    char bufferA[65536];
    char bufferB[65536];
    while (fileA && fileB) {
        fileA.read(bufferA, sizeof bufferA);
        fileB.read(bufferB, sizeof bufferB);
        if (fileA.gcount() != fileB.gcount() || !std::equal(bufferA, bufferA + fileA.gcount(), bufferB)) {
            return false;
        }
    }
    return fileA.eof() && fileB.eof();
}

std::int32_t now() {
    return static_cast<std::int32_t>(std::time(nullptr));
}

} // namespace

bool FetchedFileProcessor::isStyleSheet(const WebNode& node) {
    if (!node.hasAnyFlag(kFlagOther)) {
        return false;
    }
    const CUrl& url = node.url();
    if (url.mimeIndexByServer() != MimeTable::kUnknown) {
        return equalsIgnoreCase(MimeTable::instance().typeName(url.mimeIndexByServer()), "text/css");
    }
    // Style sheets are often named with a version query ("site.css?v=3").
    const std::string_view extension = url.extension();
    return equalsIgnoreCase(extension.substr(0, extension.find('?')), "css");
}

void FetchedFileProcessor::removeFile(const std::string& path) {
    std::error_code error;
    if (!fs::remove(path, error) && error) {
        m_web.listener().showStatusText("Cannot remove " + path + ": " + error.message());
    }
}

void FetchedFileProcessor::moveFile(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::rename(from, to, error);
    if (error) {
        m_web.listener().showStatusText("Cannot move " + from + " to " + to + ": " + error.message());
    }
}

bool FetchedFileProcessor::parsesWithoutCopy(const Web& web, const WebNode& node) {
    return node.hasAnyFlag(kFlagDocument) && !node.hasAnyFlag(kFlagFetchToNewCopy) &&
           (web.settings().optionByte(KindRow::Documents) & (kOptionKeepCopy | kOptionKeepDocumentOrThumbnail)) == 0;
}

void FetchedFileProcessor::process(WebNode* node, const std::string* body) {
    WebListener& listener = m_web.listener();
    const std::string& directory = m_web.workingDirectory();
    const std::string workingCopy = directory + LocalNames::workingCopy(*node);
    const std::string newCopy = directory + LocalNames::newCopy(*node);

    if (body != nullptr && !parsesWithoutCopy(m_web, *node)) {
        // The node turned out to need its file (its kind or the options changed while it was
        // fetched): the bytes go where the transfer would have written them.
        const std::string& file = node->hasAnyFlag(kFlagFetchToNewCopy) ? newCopy : workingCopy;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        if (!out.write(body->data(), static_cast<std::streamsize>(body->size())) || !out.flush()) {
            listener.showStatusText("Cannot write " + file);
        }
        body = nullptr;
    }
    if (body != nullptr) {
        node->setLocalSize(static_cast<std::int32_t>(std::min<std::size_t>(body->size(), INT32_MAX)));
        node->setFlags(kFlagFetched);
        if (node->localSize() >= 1 && !processDocument(node, workingCopy, body)) {
            return;
        }
        listener.nodeProcessed(node, true);
        return;
    }

    if (node->hasAnyFlag(kFlagFetchToNewCopy)) {
        if (!node->hasAnyFlag(kFlagEarlierCopy)) {
            if (node->hasAnyFlag(kFlagFetched)) {
                node->setChecked(now());
                moveFile(newCopy, workingCopy);
            }
        } else {
            bool equal = false;
            if (node->hasAnyFlag(kFlagNotModified)) {
                equal = true;
                node->clearFlags(kFlagNotModified);
            } else {
                equal = sameContent(workingCopy, newCopy);
            }
            if (!equal) {
                node->setChecked(now());
                node->setFlags(kFlagChanged);
                removeFile(workingCopy);
                moveFile(newCopy, workingCopy);
            } else {
                removeFile(newCopy);
                listener.nodeProcessed(node, true);
                return;
            }
        }
    }

    std::error_code error;
    const auto size = fs::file_size(workingCopy, error);
    if (!error) {
        node->setLocalSize(static_cast<std::int32_t>(std::min<std::uintmax_t>(size, INT32_MAX)));
        node->setFlags(kFlagFetched);
    }

    if (node->hasAnyFlag(kFlagPicture) && node->hasAnyFlag(kFlagFetched) && node->localSize() >= 1) {
        processPicture(node, workingCopy);
    } else if (node->hasAnyFlag(kFlagDocument) && node->hasAnyFlag(kFlagFetched) && node->localSize() >= 1) {
        if (!processDocument(node, workingCopy, nullptr)) {
            return;
        }
    } else if (node->hasAnyFlag(kFlagFetched) && isStyleSheet(*node)) {
        // Its links are read as a page's are; the copy stays as other files' copies do.
        WebLinkSink sink(m_web, node, &m_reached);
        StyleSheetLinkExtractor::extract(workingCopy, node->address(), sink);
    }
    listener.nodeProcessed(node, true);
}

void FetchedFileProcessor::processPicture(WebNode* node, const std::string& workingCopy) {
    const std::uint32_t options = m_web.settings().optionByte(KindRow::Pictures);
    if (m_imaging != nullptr) {
        const bool writeFile = (options & kOptionKeepDocumentOrThumbnail) != 0;
        Thumbnailer(*m_imaging)
            .make(*node, workingCopy, m_web.workingDirectory() + LocalNames::thumbnail(*node), writeFile);
    }
    if ((options & kOptionKeepCopy) == 0) {
        removeFile(workingCopy);
        node->clearFlags(kFlagPictureCopy);
    }
}

bool FetchedFileProcessor::processDocument(WebNode* node, const std::string& workingCopy, const std::string* body) {
    const WebNode* start = m_web.startNode();
    if (start != nullptr && node != start && node->localSize() == start->localSize()) {
        const std::string startCopy = m_web.workingDirectory() + LocalNames::workingCopy(*start);
        if (body != nullptr ? fileHolds(startCopy, *body) : sameContent(workingCopy, startCopy)) {
            m_web.makeAliasOfStartNode(node);
            return false;
        }
    }
    const std::string_view documentUrl = node->address();
    HtmlDocument document =
        body != nullptr ? HtmlDocument::fromBytes(*body, documentUrl) : HtmlDocument(workingCopy, documentUrl);
    // A page parsed from memory has no copy to keep or to delete.
    if (body == nullptr) {
        node->setFlags(kFlagDocumentCopy);
    }
    node->setTitle(document.title(kTextCapacity));
    node->setExcerpt(document.excerpt(kTextCapacity));
    WebLinkSink sink(m_web, node, &m_reached);
    LinkExtractor(document).extract(sink);
    const std::uint32_t options = m_web.settings().optionByte(KindRow::Documents);
    if (body == nullptr && (options & (kOptionKeepCopy | kOptionKeepDocumentOrThumbnail)) == 0) {
        removeFile(workingCopy);
        node->clearFlags(kFlagDocumentCopy);
    }
    return true;
}

} // namespace corvida
