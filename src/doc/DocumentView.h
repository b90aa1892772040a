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
    // Update hints and what they carry.
    static constexpr int kHintInsert = 1;     // records: at most 20 InsertRecords
    static constexpr int kHintReset = 2;      // master: empty that window's views
    static constexpr int kHintSelect = 3;     // master
    static constexpr int kHintInsertDone = 4; // nothing
    static constexpr int kHintNewNodes = 5;   // nodes newly added to the document
    static constexpr int kHintNodesChanged = 6;
    static constexpr int kHintRedraw = 8;
    static constexpr int kHintDeselect = 9;
    static constexpr int kHintColumns = 10;
    static constexpr int kHintFind = 11;
    static constexpr int kHintOutput = 12;

    // One notification. Only the members that the hint names are set; spans are valid during
    // the call only.
    struct Update {
        int hint = 0;
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
