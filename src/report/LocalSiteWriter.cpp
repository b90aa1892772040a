// SPDX-License-Identifier: MIT
#include "report/LocalSiteWriter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "html/AppletTag.h"
#include "html/HtmlDocument.h"
#include "html/LinkExtractor.h"
#include "html/LinkSink.h"
#include "html/ObjectTag.h"
#include "model/LocalNames.h"
#include "model/Web.h"

namespace corvida {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPhaseText = "Outputting Web...";
constexpr std::string_view kFinishedText = " FINISHED";
constexpr std::uint32_t kWrittenDocument = kFlagDocument | kFlagFetched;

// Points each link it is given at the link's local copy, or at its absolute URL when the
// target has no local copy.
class LocalLinkSink : public LinkSink {
public:
    LocalLinkSink(const Web& web, std::string_view baseDirectory) : m_web(web), m_baseDirectory(baseDirectory) {}

    void addLink(const CUrl& url, bool /*fetchAnyway*/, const LinkOrigin& origin) override {
        if (origin.inStyleSheet) {
            // The URL is a part of a style attribute or block, which stays as it is.
            return;
        }
        CUrl target(url);
        target.stripFragment(); // the fragment stays known to target
        std::string link = LocalNames::localSiteLink(m_web, target);
        if (link.empty()) {
            // The target was not fetched: the page keeps pointing at the original, now absolute.
            link = CUrl(target.url(), m_baseDirectory).url();
        }
        link = LocalSiteWriter::encodeUnsafeBytes(link);

        if (origin.attribute != nullptr) {
            origin.attribute->setText(link);
        } else if (auto* applet = dynamic_cast<AppletTag*>(origin.tag)) {
            applet->setCodeUrl(link);
        } else if (auto* object = dynamic_cast<ObjectTag*>(origin.tag)) {
            object->setCodeUrl(link);
        }
    }

private:
    const Web& m_web;
    std::string m_baseDirectory;
};

// Reads node's working copy, rewrites it for the local site and writes it to path. Returns
// false when path could not be written whole.
bool writePage(const Web& web, const WebNode& node, const std::string& path) {
    HtmlDocument document(web.workingDirectory() + LocalNames::workingCopy(node), node.address());
    LocalSiteWriter::rewriteLinks(document, web);
    document.removeBaseTag();

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    document.writeAll(out);
    out.close();
    return !out.fail();
}

// Records what became of node's page and, once it is written, lets its working copy go when
// documents are not kept.
void settlePage(Web& web, WebNode& node, const std::string& path, bool written, LocalSiteWriter::Result& result) {
    if (!written) {
        // The working copy is all that is left of the page: keep it.
        result.unwritten.push_back(path);
        return;
    }
    ++result.pagesWritten;
    node.setFlags(kFlagWrittenToLocalSite);
    const bool keepCopies = (web.settings().optionByte(KindRow::Documents) & kOptionKeepCopy) != 0;
    if (!keepCopies && node.hasAnyFlag(kFlagDocument)) {
        std::error_code error;
        fs::remove(web.workingDirectory() + LocalNames::workingCopy(node), error);
        if (!error) {
            node.clearFlags(kFlagDocumentCopy);
        }
    }
}

} // namespace

std::string LocalSiteWriter::encodeUnsafeBytes(std::string_view text) {
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '"':
            encoded += "%22";
            break;
        case '<':
            encoded += "%3C";
            break;
        case '>':
            encoded += "%3E";
            break;
        case '&':
            // The link is markup again: a '&' written bare could be read as a reference.
            encoded += "&amp;";
            break;
        default:
            encoded += c;
        }
    }
    return encoded;
}

void LocalSiteWriter::rewriteLinks(HtmlDocument& document, const Web& web) {
    LocalLinkSink sink(web, document.baseUrl().baseDirectory());
    LinkExtractor(document).extract(sink);
}

std::string LocalSiteWriter::endText(const Result& result) {
    std::string text(kFinishedText);
    const std::size_t failed = result.unwritten.size();
    if (failed == 1) {
        text += " (1 page could not be written: " + result.unwritten.front() + ")";
    } else if (failed > 1) {
        text +=
            " (" + std::to_string(failed) + " pages could not be written, the first: " + result.unwritten.front() + ")";
    }
    return text;
}

LocalSiteWriter::Result LocalSiteWriter::write(Web& web) {
    WebListener& listener = web.listener();
    listener.showText(kPhaseText);
    listener.progress(0);
    Result result;
    WebNode* start = web.startNode();
    if (start == nullptr) {
        listener.endText(endText(result));
        return result;
    }

    const std::string& directory = web.workingDirectory();
    if (!directory.empty()) {
        // A project opened from a file has not made its sub-directories yet.
        std::error_code ignored;
        fs::create_directory(directory + "docs", ignored);
    }

    const std::vector<WebNode*>& nodes = web.nodes();
    const int pageCount = static_cast<int>(std::count_if(
        nodes.begin(), nodes.end(), [](const WebNode* node) { return node->hasAllFlags(kWrittenDocument); }));

    const std::string startPath = directory + kStartPage;
    settlePage(web, *start, startPath, writePage(web, *start, startPath), result);

    int lastProgress = 0;
    const int step = pageCount > 0 ? 100 / pageCount : 0;
    if (step != 0) {
        listener.progress(step);
        lastProgress = step;
    }
    int total = 100;
    for (WebNode* node : nodes) {
        if (!node->hasAllFlags(kWrittenDocument) || node->hasAnyFlag(kFlagStart | kFlagStartAlias)) {
            continue;
        }
        const std::string path = directory + LocalNames::localSiteCopy(*node);
        settlePage(web, *node, path, writePage(web, *node, path), result);
        total += 100;
        // Without a fetched start page the pages counted are one fewer than those written.
        const int position = std::min(100, total / pageCount);
        if (position != lastProgress) {
            listener.progress(position);
            lastProgress = position;
        }
    }
    if (lastProgress != 100) {
        listener.progress(100);
    }
    listener.endText(endText(result));
    return result;
}

} // namespace corvida
