// SPDX-License-Identifier: MIT
#include "model/LocalNames.h"

#include <charconv>
#include <cstdint>

#include "model/CUrl.h"
#include "model/Web.h"
#include "model/WebNode.h"

namespace corvida {

namespace {

void appendDecimal(std::string& out, std::int64_t number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out.append(digits, end);
}

// prefix, number as "%07d" would write it (at least seven characters, a sign included, padded
// with zeros after the sign), suffix.
std::string numbered(const char* prefix, std::int32_t number, std::string_view suffix) {
    constexpr std::size_t kWidth = 7;
    char digits[16];
    const std::int64_t magnitude = number < 0 ? -std::int64_t{number} : number;
    const std::size_t count =
        static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
    std::string name(prefix);
    const std::size_t sign = number < 0 ? 1 : 0;
    if (sign != 0) {
        name += '-';
    }
    if (count + sign < kWidth) {
        name.append(kWidth - count - sign, '0');
    }
    name.append(digits, count);
    name += suffix;
    return name;
}

std::string dotted(const WebNode& node) {
    return "." + LocalNames::safeExtension(node.url().extension());
}

bool isSafeExtensionByte(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
        return false;
    }
    switch (c) {
    case '/':
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
    case '#':
    case '%':
    case '&':
    case '\'':
    case ' ':
        return false;
    default:
        return true;
    }
}

} // namespace

std::string LocalNames::safeExtension(std::string_view extension) {
    std::string safe(extension.substr(0, std::min(extension.size(), kMaxExtension)));
    for (char& c : safe) {
        if (!isSafeExtensionByte(c)) {
            c = '_';
        }
    }
    // No dot run survives, so no part of a name reads as "..".
    for (std::size_t i = 0; i < safe.size(); ++i) {
        if (safe[i] == '.' && (i == 0 || safe[i - 1] == '.')) {
            safe[i] = '_';
        }
    }
    return safe;
}

std::string LocalNames::workingCopy(const WebNode& node) {
    const std::int32_t number = node.number();
    if (node.hasAnyFlag(kFlagPicture)) {
        return numbered("images/z", number, dotted(node));
    }
    if (node.hasAnyFlag(kFlagAudio | kFlagVideo)) {
        return numbered("mmedia/z", number, dotted(node));
    }
    if (node.hasAnyFlag(kFlagDocument)) {
        return numbered("temp/w", number, ".htm");
    }
    return numbered("temp/x", number, dotted(node));
}

std::string LocalNames::newCopy(const WebNode& node) {
    const std::int32_t number = node.number();
    if (node.hasAnyFlag(kFlagPicture)) {
        return numbered("images/u", number, dotted(node));
    }
    if (node.hasAnyFlag(kFlagAudio | kFlagVideo)) {
        return numbered("mmedia/u", number, dotted(node));
    }
    if (node.hasAnyFlag(kFlagDocument)) {
        return numbered("temp/u", number, ".htm");
    }
    return numbered("temp/y", number, dotted(node));
}

std::string LocalNames::localSiteCopy(const WebNode& node) {
    if (!node.hasAnyFlag(kFlagPicture | kFlagAudio | kFlagVideo) && node.hasAnyFlag(kFlagDocument)) {
        return numbered("docs/v", node.number(), ".htm");
    }
    return workingCopy(node);
}

std::string LocalNames::thumbnail(const WebNode& node) {
    return numbered("images/t", node.number(), ".gif");
}

std::string LocalNames::localSiteLink(const Web& web, const CUrl& url) {
    const WebNode* node = nullptr;
    if (url.url().find('#') == std::string_view::npos) {
        node = web.findNode(url);
    } else {
        CUrl stripped(url);
        stripped.stripFragment();
        node = web.findNode(stripped);
    }
    if (node == nullptr || !node->hasAnyFlag(kFlagFetched)) {
        return {};
    }
    if (node->hasAnyFlag(kFlagStart | kFlagStartAlias)) {
        return "index.htm";
    }
    const std::int32_t number = node->number();
    if (node->hasAnyFlag(kFlagPicture)) {
        return numbered("../images/z", number, dotted(*node));
    }
    if (node->hasAnyFlag(kFlagAudio | kFlagVideo)) {
        return numbered("../mmedia/z", number, dotted(*node));
    }
    if (node->hasAnyFlag(kFlagDocument)) {
        std::string link = numbered("v", number, ".htm");
        if (!url.fragment().empty()) {
            link += "#";
            link += url.fragment();
        }
        return link;
    }
    return numbered("../temp/x", number, dotted(*node));
}

std::string LocalNames::reportLink(const WebNode& node) {
    const std::uint32_t flags = node.flags();
    const bool fullyFetched = (flags & (kFlagFetched | kFlagFetchStarted)) == (kFlagFetched | kFlagFetchStarted);
    if (fullyFetched && (flags & (kFlagDocument | kFlagAudio | kFlagVideo)) != 0) {
        if ((flags & (kFlagStart | kFlagStartAlias)) != 0) {
            return "../docs/index.htm";
        }
        std::string link = "../" + localSiteCopy(node);
        if ((flags & kFlagDocument) != 0 && !node.url().fragment().empty()) {
            link += "#";
            link += node.url().fragment();
        }
        return link;
    }
    if ((flags & (kFlagPicture | kFlagLocalServer | kFlagFetched)) ==
        (kFlagPicture | kFlagLocalServer | kFlagFetched)) {
        return "../" + workingCopy(node);
    }
    return {};
}

std::string LocalNames::reportThumbnailLink(const WebNode& node) {
    const std::uint32_t flags = node.flags();
    if ((flags & (kFlagPicture | kFlagLocalServer | kFlagFetched)) ==
        (kFlagPicture | kFlagLocalServer | kFlagFetched)) {
        return "../" + thumbnail(node);
    }
    return {};
}

std::string LocalNames::reportAnchor(const WebNode& node) {
    std::string anchor;
    appendReportAnchor(anchor, node);
    return anchor;
}

void LocalNames::appendReportAnchor(std::string& out, const WebNode& node) {
    const bool picture = node.hasAnyFlag(kFlagPicture);
    if (picture || node.hasAnyFlag(kFlagDocument)) {
        out += picture ? "pics" : "docs";
        appendDecimal(out, node.groupNumber());
        out += ".htm#ww";
    } else {
        out += "p_oths.htm#ww";
    }
    appendDecimal(out, node.number());
}

} // namespace corvida
