// SPDX-License-Identifier: MIT
#pragma once

// NodeGlyph says which picture stands for a node: in the Wavefront map, a page icon per major
// type for processed HTTP and FILE nodes (with an overlay for pages of other servers), the same
// in an unprocessed look until the node is processed, a scheme icon for mail, FTP, gopher and
// other schemes, or the node's thumbnail; in the URL list's Type column, the type or scheme
// icon. The pictures themselves are drawn elsewhere; this class only chooses.

#include <optional>

namespace corvida {

class WebNode;

struct NodeGlyph {
    enum class Kind {
        Type,        // a processed HTTP or FILE node: icon = major type 0..5
        Unprocessed, // an HTTP or FILE node not yet processed: icon = major type 0..5
        Scheme,      // any other node: icon = kMailIcon .. kOtherSchemeIcon
        Thumbnail,   // the node's picture in a 32 x 32 box
    };
    enum class Overlay { None, ExternalOk, ExternalBroken };

    // Major types with an icon: 0 "???", 1 text, 2 image, 3 audio, 4 application, 5 video.
    static constexpr int kMajorTypes = 6;
    static constexpr int kMailIcon = 0;
    static constexpr int kFtpIcon = 1;
    static constexpr int kGopherIcon = 2;
    static constexpr int kOtherSchemeIcon = 3;
    static constexpr int kSchemeIcons = 4;

    Kind kind = Kind::Type;
    int icon = 0;
    Overlay overlay = Overlay::None;

    bool operator==(const NodeGlyph&) const = default;

    // The Wavefront picture of node. thumbnailFlag is the map's flag for the node (thumbnails
    // on and an image); the thumbnail is chosen only when the node also has one.
    static NodeGlyph of(const WebNode& node, bool thumbnailFlag);
    // The icon of the URL list's Type column: the major type for HTTP and FILE URLs, the mail
    // and FTP scheme icons, none for other schemes.
    static std::optional<NodeGlyph> listIcon(const WebNode& node);
    // Whether node has a picture to show as a thumbnail: a picture whose fetch started and
    // succeeded, of size at least 1.
    static bool hasThumbnail(const WebNode& node);
    // The node's major type index, 0 ("???") for majors without an icon (6 and above).
    static int majorIcon(const WebNode& node);
};

} // namespace corvida
