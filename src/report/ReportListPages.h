// SPDX-License-Identifier: MIT
#pragma once

// ReportListPages writes the report's list pages, which sort the nodes into categories
// (tested, untested, broken, unknown, unprocessed, FTP, Gopher, mail) with a web link, a
// local link or blank, a thumbnail for pictures and a profile link per node, and the
// statistics page that sums the site up by kind. Each page is framed (head, banner, end) and
// streamed into its file entry by entry; a failed write is the context's to record.
//
// Unless a page says otherwise it walks the report order once per pass and rules its entries
// by link level, each level in <DIR> ... </DIR><HR>; the groups of a level that was split
// share one ruler (ReportContext::rulerOf). A node that meets two passes is listed twice.
// The pages only read the graph.

namespace corvida {

class ReportContext;

class ReportListPages {
public:
    // p_idocl.htm: fetched documents (not the start node's alias), then tested documents
    // other than the start node and its alias.
    static void writeTestedDocuments(ReportContext& context);
    // p_ipicl.htm: fetched pictures with their thumbnails, then tested pictures.
    static void writeTestedPictures(ReportContext& context);
    // p_iothl.htm: audio fetched, audio tested, video fetched, video tested.
    static void writeTestedOtherMedia(ReportContext& context);
    // p_ulink.htm: every broken node with its HTTP status.
    static void writeBrokenLinks(ReportContext& context);
    // p_udlink.htm: each fetched document that links to broken nodes, followed by them.
    static void writeDocumentsWithBrokenLinks(ReportContext& context);
    // p_edocl.htm: documents neither fetched nor tested.
    static void writeUntestedDocuments(ReportContext& context);
    // p_epicl.htm: pictures neither fetched nor tested.
    static void writeUntestedPictures(ReportContext& context);
    // p_eothl.htm (untested audio, then video), p_eukl.htm (nodes of other type) and
    // p_eupl.htm (unprocessed nodes of any kind).
    static void writeUntestedOtherMedia(ReportContext& context);
    // p_ftp.htm, p_gopher.htm, p_mail.htm: every node of that kind, in one list.
    static void writeFtp(ReportContext& context);
    static void writeGopher(ReportContext& context);
    static void writeMail(ReportContext& context);
    // p_stats.htm: the node counters and the summed download sizes by kind.
    static void writeStatistics(ReportContext& context);
};

} // namespace corvida
