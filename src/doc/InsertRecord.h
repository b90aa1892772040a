// SPDX-License-Identifier: MIT
#pragma once

// An InsertRecord asks the views of one master to show a node: added as a new row or point,
// or, with redrawOnly set, drawn again because its data changed.

namespace corvida {

class DocumentView;
class WebNode;

struct InsertRecord {
    WebNode* node = nullptr;
    DocumentView* master = nullptr;
    bool redrawOnly = false;
};

} // namespace corvida
