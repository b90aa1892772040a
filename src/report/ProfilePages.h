// SPDX-License-Identifier: MIT
#pragma once

// ProfilePages writes a profile of every node: its URL and local copy, sizes and dates, HTTP
// outcome, whether it is broken or unprocessed, its excerpt, and the links from and to it.
// Documents go on one page per group number (docsG.htm) and pictures likewise (picsG.htm);
// those pages have no head or banner. A group holds a bounded number of documents and
// pictures (ReportGroups), so these pages stay small on any site. Every other kind goes on the framed page p_oths.htm.
// Each profile starts with the anchor "ww" and the node's number, which every profile link
// of the report (LocalNames::reportAnchor) points to.
//
// Dates are written in local time as "YYYY/MM/DD hh:mm:ss" (hour padded with a blank), "???"
// when unknown.

#include <cstdint>
#include <string>

namespace corvida {

class PageFile;
class ReportContext;
class WebNode;

class ProfilePages {
public:
    // docsG.htm for every group number G that has documents.
    static void writeDocumentProfiles(ReportContext& context);
    // picsG.htm for every group number G that has pictures. Lowers the Web's highest level
    // seen to 128 when it is higher.
    static void writePictureProfiles(ReportContext& context);
    // p_oths.htm: audio, then video, then FTP, Gopher, mail and other-type nodes.
    static void writeOtherProfiles(ReportContext& context);

    // The part of a profile that all three kinds of page share, streamed into page.
    static void appendProfileBlock(PageFile& page, const WebNode& node);
    // A time as the profiles write it: local time, or "???" for -1 or a time that cannot be
    // converted.
    static std::string formatTime(std::int32_t time);
};

} // namespace corvida
