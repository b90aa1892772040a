// SPDX-License-Identifier: MIT
#include "viewlogic/NodeFacts.h"

#include <filesystem>
#include <system_error>

#include "model/ColumnEntry.h"
#include "model/LocalNames.h"
#include "model/MimeTable.h"
#include "model/UrlListColumns.h"
#include "model/WebNode.h"
#include "viewlogic/NodeGlyph.h"

namespace corvida {

namespace {

constexpr std::uint32_t kMajorText = 1;
constexpr std::string_view kEscapedLessThan = "&lt;";

} // namespace

NodeFacts NodeFacts::of(const WebNode* node, std::string_view workingDirectory) {
    NodeFacts facts;
    if (node == nullptr) {
        facts.urlName = kNoNode;
        return facts;
    }
    facts.urlName = node->address();
    // The list's Content Type text: the MIME type for web and file addresses, the kind of
    // address for the others, which have no MIME type.
    facts.mimeType = UrlListColumns::cellText(*node, ColumnEntry::kContentType);
    facts.lastModified = UrlListColumns::lastModifiedText(node->lastModified());
    facts.size = std::to_string(node->size());
    facts.inLinks = std::to_string(node->inCount());
    facts.outLinks = std::to_string(node->outCount());
    facts.depth = std::to_string(node->level());

    switch (MimeTable::instance().majorOf(node->url().effectiveMimeIndex())) {
    case kMajorText:
        facts.showExcerpt = true;
        facts.excerpt = unescapeExcerpt(node->excerpt());
        break;
    case MimeTable::kMajorImage:
        facts.showPreview = true;
        facts.showThumbnail = NodeGlyph::hasThumbnail(*node) && node->hasAnyFlag(kFlagProcessed);
        break;
    case MimeTable::kMajorAudio: {
        facts.showPreview = true;
        std::string file = std::string(workingDirectory) + LocalNames::workingCopy(*node);
        std::error_code error;
        if (std::filesystem::is_regular_file(file, error)) {
            facts.showSound = true;
            facts.soundFile = std::move(file);
        }
        break;
    }
    default:
        break;
    }
    return facts;
}

std::string NodeFacts::unescapeExcerpt(std::string_view excerpt) {
    std::string text;
    text.reserve(excerpt.size());
    std::size_t from = 0;
    for (std::size_t at = excerpt.find(kEscapedLessThan); at != std::string_view::npos;
         at = excerpt.find(kEscapedLessThan, from)) {
        text.append(excerpt.substr(from, at - from));
        text += '<';
        from = at + kEscapedLessThan.size();
    }
    text.append(excerpt.substr(from));
    return text;
}

} // namespace corvida
