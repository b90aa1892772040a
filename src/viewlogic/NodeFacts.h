// SPDX-License-Identifier: MIT
#pragma once

// NodeFacts are the texts and the choice of preview that the URL Properties window shows for
// one node: its address, type, date, size, link counts and depth, and by the node's major
// MIME type a text excerpt (text), a picture (image) or a sound to play (audio). The texts are
// the node's bytes as they stand (crawled text: the window shows them as plain text), except
// the excerpt, which the node stores with '<' escaped and which comes back unescaped here.

#include <cstdint>
#include <string>
#include <string_view>

namespace corvida {

class WebNode;

struct NodeFacts {
    // What "URL Name:" says when no node is shown.
    static constexpr std::string_view kNoNode = "Node is not selected";

    std::string urlName; // the address the node is known by, or kNoNode
    std::string mimeType;
    std::string lastModified; // as the URL list writes it; empty when unknown
    std::string size;
    std::string inLinks;
    std::string outLinks;
    std::string depth;

    std::string excerpt;        // set when showExcerpt
    bool showExcerpt = false;   // a text node: the read-only excerpt
    bool showPreview = false;   // an image or audio node: the preview group
    bool showThumbnail = false; // an image with a picture of its own, processed: the picture box
    bool showSound = false;     // an audio node whose working copy exists: PLAY and Stop
    std::string soundFile;      // that working copy, set when showSound

    // The facts of node (nullptr: none shown, every text but urlName empty). workingDirectory
    // ends with '/'; an audio node's working copy is looked for there.
    static NodeFacts of(const WebNode* node, std::string_view workingDirectory);

    // excerpt with every "&lt;" turned back into '<'.
    static std::string unescapeExcerpt(std::string_view excerpt);
};

} // namespace corvida
