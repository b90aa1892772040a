// SPDX-License-Identifier: MIT
#pragma once

// ProjectFile is the byte codec of a project (its options and its Web): the sequence that the
// stream "Contents" of a .zpj compound file holds, with the project record, the Web record
// and every node in URL order. Names of schemes and MIME types are stored instead of indexes,
// so a file stays readable whatever rows the MimeTable of another machine holds. The file
// itself is read and written by the document's ProjectStore.
//
// Decoding reads and checks the whole sequence before it builds anything: a damaged or
// truncated sequence is refused with a message, no Web is made and the MimeTable is left as
// it was.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/Status.h"
#include "model/ArchiveWriter.h"
#include "model/ProjectOptions.h"
#include "model/Web.h"

namespace corvida {

class WebListener;

class ProjectFile {
public:
    // The name of the stream that holds the project inside the compound file.
    static constexpr const char* kStreamName = "Contents";

    // The outcome of a load: a Web and the options on success, why not otherwise.
    struct Loaded {
        ProjectOptions options;
        std::unique_ptr<Web> web; // null exactly when status is not OK
        Status status;
    };

    // The byte sequence of a project, as the stream holds it. web may be null for a project
    // never crawled: an empty Web record is written. The Web's listener sees
    // "Storing...", progress 0 to 100 in whole percent of nodes written (each value once) and
    // " FINISHED".
    static std::string encode(const ProjectOptions& options, const Web* web);
    // The same bytes handed to sink piece by piece as they are made, so that a big project's
    // contents are never held whole. Returns false when sink refused a piece.
    static bool encodeInto(const ProjectOptions& options, const Web* web, const ArchiveWriter::Sink& sink);

    // What a project says of itself without its nodes: the options, and a Web that holds the
    // crawl settings, counters, highest level and next node number but no node, with the
    // stored start node number and node count beside it.
    struct Summary {
        ProjectOptions options;
        std::unique_ptr<Web> web; // null exactly when status is not OK
        std::int32_t startNumber = -1;
        std::uint32_t nodeCount = 0;
        Status status;
    };

    // Reads the summary of a byte sequence: far less work and memory than decode() on a big
    // project. The node records are not read, so damage among them goes unnoticed here.
    static Summary decodeSummary(std::string_view contents);

    // Builds a project from its byte sequence. The listener sees "Loading...", progress as
    // for encode, every node as added (not new) and processed (mark false), and " FINISHED";
    // nothing but "Loading..." and progress when the sequence is refused.
    static Loaded decode(std::string_view contents, WebListener* listener);

private:
    static void encodeWith(ArchiveWriter& writer, const ProjectOptions& options, const Web* web);
};

} // namespace corvida
