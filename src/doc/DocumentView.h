// SPDX-License-Identifier: MIT
#pragma once

// A DocumentView is a view attached to a project document. The document tells every view
// what changed through update hints; a master view (the hidden view that holds a window's
// filter and link-tree restriction) also decides which nodes its window shows.

#include <span>

#include "doc/InsertRecord.h"

namespace corvida {

class WebNode;

class DocumentView {
public:
    // Update hints and what they carry. The numbers are the program's own and stay fixed.
    enum class Hint : int {
        None = 0,
        Insert = 1,       // records: at most 20 InsertRecords
        Reset = 2,        // master: empty that window's views
        Select = 3,       // master
        InsertDone = 4,   // nothing
        NewNodes = 5,     // nodes newly added to the document
        NodesChanged = 6, // nodes
        Redraw = 8,
        Deselect = 9,
        Columns = 10,
        Find = 11,
        Output = 12,
        // Nothing. Every node and link-tree entry of the document is about to be freed (a
        // restart of a completed project, or a close): views drop every pointer they hold to
        // them (rows, selection, restriction, maps), as no later hint names those nodes again.
        ContentsGone = 13,
    };

    // One notification. Only the members that the hint names are set; spans are valid during
    // the call only.
    struct Update {
        Hint hint = Hint::None;
        const DocumentView* master = nullptr;
        std::span<const InsertRecord> records;
        std::span<WebNode* const> nodes;
    };

    virtual ~DocumentView() = default;

    // True for the master view of a window.
    virtual bool isMaster() const { return false; }
    // For a master: whether its window shows node (its link-tree restriction, then its
    // filter).
    virtual bool shows(const WebNode& /*node*/) const { return false; }
    virtual void update(const Update& update) = 0;
};

} // namespace corvida
