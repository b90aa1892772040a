// SPDX-License-Identifier: MIT
#include "viewlogic/NodeGlyph.h"

#include "model/MimeTable.h"
#include "model/WebNode.h"

namespace corvida {

NodeGlyph NodeGlyph::of(const WebNode& node, bool thumbnailFlag) {
    if (thumbnailFlag && hasThumbnail(node)) {
        return {Kind::Thumbnail, 0, Overlay::None};
    }
    if (node.hasAnyFlag(kFlagHttp | kFlagFile)) {
        if (!node.hasAnyFlag(kFlagProcessed)) {
            return {Kind::Unprocessed, majorIcon(node), Overlay::None};
        }
        Overlay overlay = Overlay::None;
        if (!node.hasAnyFlag(kFlagLocalServer)) {
            overlay = node.isBroken() ? Overlay::ExternalBroken : Overlay::ExternalOk;
        }
        return {Kind::Type, majorIcon(node), overlay};
    }
    int icon = kOtherSchemeIcon;
    if (node.hasAnyFlag(kFlagMail)) {
        icon = kMailIcon;
    } else if (node.hasAnyFlag(kFlagFtp)) {
        icon = kFtpIcon;
    } else if (node.hasAnyFlag(kFlagGopher)) {
        icon = kGopherIcon;
    }
    return {Kind::Scheme, icon, Overlay::None};
}

std::optional<NodeGlyph> NodeGlyph::listIcon(const WebNode& node) {
    switch (node.url().schemeIndex()) {
    case MimeTable::kSchemeHttp:
    case MimeTable::kSchemeHttps:
    case MimeTable::kSchemeFile:
        return NodeGlyph{Kind::Type, majorIcon(node), Overlay::None};
    case MimeTable::kSchemeMailto:
        return NodeGlyph{Kind::Scheme, kMailIcon, Overlay::None};
    case MimeTable::kSchemeFtp:
        return NodeGlyph{Kind::Scheme, kFtpIcon, Overlay::None};
    default:
        return std::nullopt;
    }
}

bool NodeGlyph::hasThumbnail(const WebNode& node) {
    return node.hasAllFlags(kFlagPicture | kFlagFetchStarted | kFlagFetched) && node.size() >= 1;
}

int NodeGlyph::majorIcon(const WebNode& node) {
    // Majors are added at run time for new content types; only the first six have icons.
    const std::uint32_t major = MimeTable::instance().majorOf(node.url().effectiveMimeIndex());
    return major < static_cast<std::uint32_t>(kMajorTypes) ? static_cast<int>(major) : 0;
}

} // namespace corvida
