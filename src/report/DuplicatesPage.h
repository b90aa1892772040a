// SPDX-License-Identifier: MIT
#pragma once

// DuplicatesPage writes p_sim.htm, the sets of fetched documents and of fetched pictures that
// hold the same bytes. Each set is listed once, headed by its first member in report order
// (which shows its title and URL, or its thumbnail for pictures) and followed by the others:
// documents in report order, pictures in URL order. The start node and its alias are never
// listed as another node's duplicate, and a document set is never headed by them.
//
// Files are compared through DuplicateFinder (size buckets, content hashes, confirming byte
// comparison). The graph is not changed.

namespace corvida {

class ReportContext;

class DuplicatesPage {
public:
    // Writes p_sim.htm through the context.
    static void write(ReportContext& context);
};

} // namespace corvida
