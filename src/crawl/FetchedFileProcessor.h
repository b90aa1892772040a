// SPDX-License-Identifier: MIT
#pragma once

// A FetchedFileProcessor settles what a crawl does with a node's file once it is on disk
// (fetched, copied from a local file, or kept after a "not modified" answer): it puts the
// working copy in place (replacing an older copy only when the content changed), records
// the local size, parses documents for title, excerpt and links, reads the links of style
// sheets, recognises a second copy of the start page, makes picture thumbnails, and deletes
// copies that the kind's option byte does not keep. It ends by telling the listener that the
// node was processed.
//
// A page whose copy is not kept may arrive as bytes in memory instead: it is then parsed
// from there and never written. Bytes in memory for any other node are first written to its
// working copy, and that file is processed as above.

#include <string>
#include <vector>

namespace corvida {

class ImagingLibrary;
class Web;
class WebNode;

class FetchedFileProcessor {
public:
    // The longest title and excerpt kept on a node, terminator included.
    static constexpr int kTextCapacity = 260;

    // web, imaging (may be null: no thumbnails) and reached must outlive the processor;
    // reached collects the nodes that a page's links gave their level.
    FetchedFileProcessor(Web& web, ImagingLibrary* imaging, std::vector<WebNode*>& reached)
        : m_web(web), m_imaging(imaging), m_reached(reached) {}

    // Processes node's fetched file, or body (when not null), the bytes fetched for node.
    void process(WebNode* node, const std::string* body = nullptr);

    // Whether node, once fetched, is a page that is parsed and whose copy is not kept, so its
    // bytes need not reach the disk.
    static bool parsesWithoutCopy(const Web& web, const WebNode& node);

    // Whether node is a style sheet, whose links are read: a file of the other kind served as
    // "text/css", or, when no server named a type, whose path ends in ".css" (a query may follow).
    static bool isStyleSheet(const WebNode& node);

private:
    // File steps whose failure the listener hears as a status text; the crawl goes on.
    void removeFile(const std::string& path);
    void moveFile(const std::string& from, const std::string& to);
    void processPicture(WebNode* node, const std::string& workingCopy);
    // Returns false when the page turned out to be the start page again. body holds the
    // page's bytes, or is null when they are in workingCopy.
    bool processDocument(WebNode* node, const std::string& workingCopy, const std::string* body);

    Web& m_web;
    ImagingLibrary* m_imaging;
    std::vector<WebNode*>& m_reached;
};

} // namespace corvida
